// The HTML reader on arbitrary input: no crash, no endless loop, at most one
// event per Read, events in the order a start tag allows, and (the reader is
// compiled with KAVRELO_CHECK_SEARCH_MEMO) every remembered search equal to a
// plain one.
//
// Input: the first byte picks how the rest becomes UTF-16. Even: one
// character per byte (markup characters are dense, so mutations reach deep
// into the reader). Odd: little-endian pairs of bytes (any UTF-16 at all,
// unpaired surrogates included).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "html/HtmlReader.h"

namespace {

enum class TPlace { Content, StartTag, Attribute };

struct TChecker {
  TPlace place = TPlace::Content;
  int fired = 0;

  void Expect(bool ok) {
    if (!ok) std::abort();
  }
  void Attach(THtmlReader& r) {
    r.OnElementStart = [this](THtmlReader&) {
      Expect(place == TPlace::Content);
      place = TPlace::StartTag;
      ++fired;
    };
    r.OnAttributeStart = [this](THtmlReader&) {
      Expect(place == TPlace::StartTag);
      place = TPlace::Attribute;
      ++fired;
    };
    r.OnAttributeEnd = [this](THtmlReader&) {
      Expect(place == TPlace::Attribute);
      place = TPlace::StartTag;
      ++fired;
    };
    r.OnElementEnd = [this](THtmlReader&) {
      Expect(place == TPlace::StartTag);
      place = TPlace::Content;
      ++fired;
    };
    r.OnTextNode = [this](THtmlReader& x) {
      Expect(place != TPlace::StartTag && !x.NodeValue().empty());
      ++fired;
    };
    r.OnEntityReference = [this](THtmlReader&) {
      Expect(place != TPlace::StartTag);
      ++fired;
    };
    auto contentOnly = [this](THtmlReader&) {
      Expect(place == TPlace::Content);
      ++fired;
    };
    r.OnEndElement = r.OnComment = r.OnCDataSection = r.OnDocType = contentOnly;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::u16string text;
  if (data[0] & 1) {
    for (std::size_t i = 1; i + 1 < size; i += 2)
      text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  } else {
    text.assign(data + 1, data + size);
  }
  const std::size_t length = text.size();

  THtmlReader reader;
  TChecker checker;
  checker.Attach(reader);
  reader.SetHtmlStr(std::move(text));
  std::size_t reads = 0;
  std::size_t position = reader.Position();
  for (;;) {
    const int before = checker.fired;
    if (!reader.Read()) break;
    ++reads;
    checker.Expect(checker.fired - before <= 1);
    // Every Read but the state changes inside a start tag consumes input,
    // and those are bounded by the tokens around them.
    checker.Expect(reader.Position() >= position);
    position = reader.Position();
    checker.Expect(reads <= 3 * length + 3);
  }
  checker.Expect(reader.Position() > length);
  return 0;
}
