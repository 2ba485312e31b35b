// The conversion keeps its memory from call to call: the recycling resource,
// the document arena, and HtmlToText's steady state (no heap traffic but the
// result, and nothing of one input left to change the next).
#include <doctest.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "GoldenCases.h"
#include "html/Arena.h"
#include "html/HtmlParser.h"
#include "html/HtmlReader.h"
#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"
#include "html/RecyclingResource.h"

// Every operator new of this program is counted while counting is on.
namespace {
bool counting = false;
std::size_t news = 0;
}  // namespace

void* operator new(std::size_t bytes) {
  if (counting) ++news;
  if (void* p = std::malloc(bytes ? bytes : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// An upstream that records what it is asked for.
class TRecordingResource final : public std::pmr::memory_resource {
 public:
  std::vector<std::size_t> allocations;
  std::size_t outstanding = 0;

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    allocations.push_back(bytes);
    ++outstanding;
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override {
    --outstanding;
    std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

std::vector<std::u16string> GoldenInputs() {
  std::vector<std::u16string> inputs;
  for (std::size_t i = 0; i < GoldenCaseCount; ++i) inputs.push_back(Utf8ToUtf16(GoldenCases[i].html));
  return inputs;
}

}  // namespace

TEST_CASE("the recycling resource hands given-back blocks out again, up to its limit") {
  TRecordingResource heap;
  {
    TRecyclingResource blocks(10000, &heap);
    void* a = blocks.allocate(4000, 16);
    void* b = blocks.allocate(8000, 16);
    blocks.deallocate(a, 4000, 16);
    blocks.deallocate(b, 8000, 16);  // over the limit with a kept: goes back
    CHECK(blocks.Retained() == 4000);
    CHECK(heap.outstanding == 1);
    CHECK(blocks.allocate(4000, 16) == a);          // the same block again
    void* c = blocks.allocate(4000, 8);             // another alignment: no match
    CHECK(blocks.UpstreamAllocations() == 3);
    blocks.deallocate(c, 4000, 8);
    blocks.deallocate(a, 4000, 16);
    CHECK(blocks.Retained() == 8000);
    blocks.Release();
    CHECK(heap.outstanding == 0);
    blocks.deallocate(blocks.allocate(100, 8), 100, 8);
  }
  CHECK(heap.outstanding == 0);  // what was kept goes with the resource
}

TEST_CASE("the arena: aligned, a request bigger than a block, the same series of blocks each time") {
  TRecordingResource heap;
  std::vector<std::size_t> firstSeries;
  for (int round = 0; round < 2; ++round) {
    heap.allocations.clear();
    {
      TArena arena(&heap);
      for (int i = 0; i < 20000; ++i) {
        const std::size_t alignment = std::size_t{1} << (i % 5);  // 1 to 16
        auto* p = static_cast<unsigned char*>(arena.Allocate(static_cast<std::size_t>(i % 37), alignment));
        CHECK_MESSAGE(reinterpret_cast<std::uintptr_t>(p) % alignment == 0, i);
        for (int k = 0; k < i % 37; ++k) p[k] = 0xAB;  // writable, all of it (the sanitizer watches)
      }
      auto* big = static_cast<unsigned char*>(arena.Allocate(3 * TArena::LargestBlock, 64));
      CHECK(reinterpret_cast<std::uintptr_t>(big) % 64 == 0);
      big[3 * TArena::LargestBlock - 1] = 1;
      arena.Allocate(10, 8);  // the series goes on after the big one
      CHECK_THROWS_AS(arena.Allocate(static_cast<std::size_t>(-1) - 8, 8), std::bad_alloc);
    }
    CHECK(heap.outstanding == 0);
    if (round == 0) firstSeries = heap.allocations;
  }
  CHECK(heap.allocations == firstSeries);
  REQUIRE(firstSeries.size() >= 3);
  CHECK(firstSeries[0] == TArena::FirstBlock);
  CHECK(firstSeries[1] == 2 * TArena::FirstBlock);
}

TEST_CASE("HtmlToText in steady state: only the result is allocated, the results unchanged") {
  const std::vector<std::u16string> inputs = GoldenInputs();
  THtmlToTextSession session;
  std::vector<std::u16string> first, again;
  first.reserve(inputs.size());
  again.reserve(inputs.size());
  for (const auto& input : inputs) first.push_back(HtmlToText(input));
  for (const auto& input : inputs) HtmlToText(input);
  news = 0;
  counting = true;
  for (const auto& input : inputs) again.push_back(HtmlToText(input));
  counting = false;
  // Per conversion the document object and the string returned; beyond that
  // only the rare: a document type's strings, an exception's message.
  CHECK(news <= 2 * inputs.size() + 4);
  CHECK(again == first);
}

TEST_CASE("a session keeps the memory of a large document for the next one") {
  // Half a megabyte of feed-like markup: 20 000 items of a few nodes each.
  std::u16string big;
  while (big.size() < 500000) big += u"<p class=\"x\">Ba\u015Fl\u0131k &amp; <b>metin</b> <a href=\"/h\">ba\u011F</a></p>\n";
  THtmlToTextSession session;
  const std::u16string first = HtmlToText(big);
  std::string utf8;
  HtmlToTextUtf8(Utf16ToUtf8(big), utf8);
  news = 0;
  counting = true;
  const std::u16string again = HtmlToText(big);
  counting = false;
  // The document object and the result; the arena's blocks, the input and
  // the output buffer are the ones of the first conversion.
  CHECK(news <= 4);
  CHECK(again == first);
  CHECK(first.size() > 100000);
}

TEST_CASE("without a session every conversion starts afresh; sessions nest") {
  const std::vector<std::u16string> inputs = GoldenInputs();
  std::vector<std::u16string> alone;
  for (const auto& input : inputs) alone.push_back(HtmlToText(input));
  // Without a session the memory is not kept: more than the document and
  // the result each time.
  news = 0;
  counting = true;
  for (const auto& input : inputs) HtmlToText(input);
  counting = false;
  CHECK(news > 3 * inputs.size());
  {
    THtmlToTextSession outer;
    for (const auto& input : inputs) HtmlToText(input);
    {
      THtmlToTextSession inner;
      for (std::size_t i = 0; i < inputs.size(); ++i) CHECK(HtmlToText(inputs[i]) == alone[i]);
    }
    // The outer session's memory is back in use, warm.
    news = 0;
    counting = true;
    std::vector<std::u16string> again;
    again.reserve(inputs.size());
    for (const auto& input : inputs) again.push_back(HtmlToText(input));
    counting = false;
    CHECK(news <= 2 * inputs.size() + 4);
    CHECK(again == alone);
  }
}

TEST_CASE("nothing of one input carries over to the next conversion") {
  THtmlToTextSession session;
  // Each first input leaves the reader or the tree builder in the middle of
  // something: raw text, a quoted value, a template, an unlisted element.
  const std::u16string unfinished[] = {
      u"<script>var a = '", u"<style>p {", u"<a href=\"x", u"<a href='x", u"<noscript>",
      u"<template><p>in", u"<x:y><z>q", u"<!-- open", u"<![CDATA[ open", u"<!DOCTYPE x \"",
      u"<table><tr><td>cell", u"&am", u"<p a=b c",
  };
  const std::u16string next[] = {u"<b>after</b> &amp; more", u"plain", u"<p>one</p><p>two</p>"};
  for (const auto& following : next) {
    const std::u16string expected = HtmlToTextParsed(following);
    for (const auto& before : unfinished) {
      CAPTURE(Utf16ToUtf8(before));
      HtmlToText(before);
      CHECK(HtmlToText(following) == expected);
    }
  }
  // And after an input big enough that the memory is given back.
  std::u16string huge;
  while (huge.size() < 2200000) huge += u"<i>x</i> <script>";
  HtmlToText(huge);
  CHECK(HtmlToText(next[0]) == u"after & more");
}

TEST_CASE("a reader given a new input reads it as a fresh reader would") {
  auto tokens = [](THtmlReader& reader) {
    std::vector<std::pair<std::int32_t, std::u16string>> out;
    reader.OnTextNode = [&](THtmlReader& r) { out.emplace_back(r.NodeType(), std::u16string(r.NodeValue())); };
    reader.OnElementStart = [&](THtmlReader& r) { out.emplace_back(r.NodeType(), std::u16string(r.QualifiedName())); };
    while (reader.Read()) {
    }
    return out;
  };
  const std::u16string input = u"<p class=x>t&#65;</p>";
  THtmlReader fresh;
  fresh.SetHtmlStr(input);
  const auto expected = tokens(fresh);
  for (const char16_t* before : {u"<a b=\"unclosed", u"<a b=unquoted", u"<a b", u"raw text"}) {
    THtmlReader reader;
    reader.SetHtmlStr(before);
    if (before[0] != u'<') reader.ReadRawText(u"script", THtmlRawTextKind::ScriptData);
    reader.Read();  // stops in the middle of its tag or raw text
    reader.Read();
    reader.SetHtmlStr(input);
    CHECK(tokens(reader) == expected);
  }
}
