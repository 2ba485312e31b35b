// Pathological input converts in linear time and without exhausting the
// stack: a megabyte of each pattern must simply finish (the CTest time-out
// and the sanitizers catch a regression; nothing here is timed).
#include <doctest.h>

#include <string>

#include "html/HtmlToText.h"

namespace {

constexpr std::size_t Megabyte = 1 << 20;

std::u16string Repeat(std::u16string_view unit, std::size_t bytes = Megabyte) {
  std::u16string out;
  out.reserve(bytes + unit.size());
  while (out.size() < bytes) out.append(unit);
  return out;
}

}  // namespace

TEST_CASE("unterminated literals") {
  struct Row {
    std::u16string_view unit;
  };
  const Row rows[] = {
      {u"<!--"},        {u"<![CDATA["},   {u"<!DOCTYPE"}, {u"<!DOCTYPE x y \""},
      {u"</a"},         {u"</"},          {u"<a"},        {u"<a b='"},
      {u"<a b="},       {u"&#"},          {u"&#x12345"},  {u"&name"},
      {u"<!-"},         {u"<!-- -- >"},   {u"]]>"},       {u"<!x"},
  };
  for (const Row& r : rows) {
    CAPTURE(r.unit.size());
    std::u16string text = HtmlToText(Repeat(r.unit));
    CHECK(text.size() <= Megabyte + 16);
  }
}

TEST_CASE("a megabyte of ampersands") {
  std::u16string text = HtmlToText(Repeat(u"&"));
  CHECK(text == std::u16string(Megabyte, u'&'));
}

TEST_CASE("200 000 nested elements: build, walk, destroy") {
  constexpr std::size_t depth = 200000;
  const std::u16string_view tags[] = {u"<b>", u"<div>", u"<li>", u"<pre>", u"<x-y>", u"<td>"};
  for (std::u16string_view tag : tags) {
    CAPTURE(tag.size());
    std::u16string html = Repeat(tag, depth * tag.size());
    html += u"x";
    CHECK(HtmlToText(html).find(u'x') != std::u16string::npos);
  }
}

TEST_CASE("deep nesting with end tags that search the whole chain") {
  constexpr std::size_t depth = 200000;
  // Each stray end tag must not walk all open elements.
  std::u16string html = Repeat(u"<b>", depth * 3) + Repeat(u"</i>", depth * 4) + u"y";
  CHECK(HtmlToText(html) == u"y");
  // Each list item looks for its list above 200 000 elements.
  html = Repeat(u"<span>", depth * 6) + Repeat(u"<li>", depth * 4);
  CHECK(HtmlToText(html).size() == depth * 2);
  // Each paragraph looks for a block container above 200 000 elements.
  html = u"<div>" + Repeat(u"<i>", depth * 3) + Repeat(u"<p>a", depth * 4);
  CHECK(HtmlToText(html) == std::u16string(depth, u'a'));
  // Closing them all one by one.
  html = Repeat(u"<b>", depth * 3) + Repeat(u"</b>", depth * 4) + u"z";
  CHECK(HtmlToText(html) == u"z");
}

TEST_CASE("a megabyte of attributes and of text") {
  CHECK(HtmlToText(u"<a " + Repeat(u"b=c ")).empty());
  CHECK(HtmlToText(u"<a " + Repeat(u"b=&amp;")).empty());
  const std::u16string text = Repeat(u"kar yağışı ");
  CHECK(HtmlToText(text) == text);
  // Inside "pre" only the two leading spaces go.
  CHECK(HtmlToText(u"<pre>" + Repeat(u"  \r\n")).size() == Megabyte - 2);
}

TEST_CASE("a megabyte of script and style: nested, unclosed, nearly closed, or short") {
  // The first start tag takes all the rest as its text.
  const std::u16string_view units[] = {u"<script>", u"<style/>",     u"</scrip", u"</scriptx>",
                                       u"</",       u"<!--<script>", u"-->",     u"<!--<script></script"};
  for (std::u16string_view unit : units) {
    CAPTURE(unit.size());
    CHECK(HtmlToText(u"a<script>" + Repeat(unit)) == u"a");
    CHECK(HtmlToText(u"a<style>" + Repeat(unit)) == u"a");
  }
  // Inside "<!--" every "<script>" and "</script>" flips the state.
  CHECK(HtmlToText(u"a<script><!--" + Repeat(u"<script>x</script >") + u"--></script>b") == u"ab");
  CHECK(HtmlToText(Repeat(u"a<style>x</style>")) == std::u16string(Megabyte / 17 + 1, u'a'));
  CHECK(HtmlToText(Repeat(u"<script><!--<script>x</script>--></script>")).empty());
}

TEST_CASE("a megabyte of templates: nested, unclosed, and full of rules that stop at them") {
  constexpr std::size_t depth = 100000;
  CHECK(HtmlToText(Repeat(u"<template>", depth * 10) + u"x").empty());
  CHECK(HtmlToText(u"a" + Repeat(u"<template>", depth * 10) + Repeat(u"</template>", depth * 11) + u"b") ==
        u"ab");
  // Each block, list item and cell looks for its parent above 100 000
  // elements and finds the template; each end tag finds its element outside
  // and is ignored.
  const std::u16string_view inside[] = {u"<p>", u"<li>", u"<td>", u"<div>", u"</div>", u"</body>"};
  for (std::u16string_view unit : inside) {
    CAPTURE(unit.size());
    CHECK(HtmlToText(u"<div>" + Repeat(u"<i>", depth * 3) + u"<template>" + Repeat(unit) + u"x").empty());
  }
  CHECK(HtmlToText(Repeat(u"<div><template>")).empty());
}
