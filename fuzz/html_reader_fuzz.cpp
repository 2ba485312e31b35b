// The HTML reader on arbitrary input: no crash, no endless loop, at most one
// event per Read, events in the order a start tag allows, and (the reader is
// compiled with KAVRELO_CHECK_SEARCH_MEMO) every remembered search equal to a
// plain one.
//
// Input: the first byte picks how the rest becomes UTF-16. Even: one
// character per byte (markup characters are dense, so mutations reach deep
// into the reader). Odd: little-endian pairs of bytes (any UTF-16 at all,
// unpaired surrogates included). Its bit 1 set, script, style and noscript
// are read as raw text, as the tree builder has them read: then one text at
// most, ending where the input does or where the element's own end tag
// begins (for style and noscript, the first one), and that end tag.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <string>

#include "html/HtmlRawText.h"
#include "html/HtmlReader.h"

namespace {

enum class TPlace { Content, StartTag, Attribute, RawText, RawTextRead };

struct TChecker {
  TPlace place = TPlace::Content;
  int fired = 0;
  bool rawText = false;         // switch to raw text as the tree builder does
  std::u16string element;       // the last start tag's name
  std::u16string rawTextName;   // of the raw-text element being read
  THtmlRawTextKind rawTextKind = THtmlRawTextKind::RawText;
  std::size_t rawTextStart = 0;  // index of its first character

  void Expect(bool ok) {
    if (!ok) std::abort();
  }
  // Raw text stops at the input's end or at its element's end tag (for
  // style and noscript, the first one).
  void ExpectRawTextEnd(THtmlReader& r, std::size_t end) {
    const std::u16string_view html = r.HtmlStr();
    Expect(end == html.size() || IsRawTextEndTag(html, end, rawTextName));
    if (rawTextKind == THtmlRawTextKind::RawText)
      for (std::size_t i = rawTextStart; i < end; ++i) Expect(!IsRawTextEndTag(html, i, rawTextName));
  }
  void Attach(THtmlReader& r) {
    r.OnElementStart = [this](THtmlReader& x) {
      Expect(place == TPlace::Content);
      place = TPlace::StartTag;
      element = x.QualifiedName();
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
    r.OnElementEnd = [this](THtmlReader& x) {
      Expect(place == TPlace::StartTag);
      place = TPlace::Content;
      ++fired;
      if (!rawText || (element != u"script" && element != u"style" && element != u"noscript")) return;
      rawTextName = element;
      rawTextKind = element == u"script" ? THtmlRawTextKind::ScriptData : THtmlRawTextKind::RawText;
      x.ReadRawText(rawTextName, rawTextKind);
      Expect(x.State() == THtmlReaderState::RawText);
      place = TPlace::RawText;
      rawTextStart = x.Position() - 1;
    };
    r.OnTextNode = [this](THtmlReader& x) {
      Expect(place != TPlace::StartTag && place != TPlace::RawTextRead && !x.NodeValue().empty());
      ++fired;
      if (place != TPlace::RawText) return;
      place = TPlace::RawTextRead;
      Expect(x.NodeValue().data() == x.HtmlStr().data() + rawTextStart);
      ExpectRawTextEnd(x, rawTextStart + x.NodeValue().size());
    };
    r.OnEntityReference = [this](THtmlReader&) {
      Expect(place == TPlace::Content || place == TPlace::Attribute);
      ++fired;
    };
    r.OnEndElement = [this](THtmlReader& x) {
      Expect(place == TPlace::Content || place == TPlace::RawText || place == TPlace::RawTextRead);
      if (place != TPlace::Content) Expect(x.QualifiedName() == rawTextName);
      if (place == TPlace::RawText) ExpectRawTextEnd(x, rawTextStart);  // empty content
      place = TPlace::Content;
      ++fired;
    };
    auto contentOnly = [this](THtmlReader&) {
      Expect(place == TPlace::Content);
      ++fired;
    };
    r.OnComment = r.OnCDataSection = r.OnDocType = contentOnly;
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
  checker.rawText = (data[0] & 2) != 0;
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
