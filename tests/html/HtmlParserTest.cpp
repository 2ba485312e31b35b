// The tree builder's placement and repair rules, each input beside the tree
// it must give (see TreeDump.h for the notation).
#include <doctest.h>

#include <string>

#include "TreeDump.h"
#include "html/HtmlParser.h"
#include "html/HtmlToTextUtf8.h"

namespace {

std::string Parse(const std::string& html) {
  THtmlParser parser;
  auto doc = parser.ParseString(Utf8ToUtf16(html));
  return DumpNode(*doc);
}

struct Row {
  const char* html;
  const char* tree;
};

void CheckRows(const Row* begin, const Row* end) {
  for (const Row* r = begin; r != end; ++r) {
    const std::string html = r->html;
    CAPTURE(html);
    CHECK(Parse(r->html) == r->tree);
  }
}

}  // namespace

TEST_CASE("paragraphs, blocks and lists close their predecessors") {
  const Row rows[] = {
      {"<html><body>a<p>b<p>d</body></html>", R"(html(body("a" p("b") p("d"))))"},
      {"<html><body><div><p>a<p>b</div>d</body></html>", R"(html(body(div(p("a") p("b")) "d")))"},
      {"<html><body><b>x<p>y</p>z</b></body></html>", R"(html(body(b("x") p("y") "z")))"},
      {"<html><body><ul><li>a<li>b</ul></body></html>", R"(html(body(ul(li("a") li("b")))))"},
      {"<html><body><li>a</body></html>", R"(html(body(li("a"))))"},
      {"<html><body><ul><li>a<ul><li>b</ul><li>c</ul></body></html>",
       R"(html(body(ul(li("a" ul(li("b"))) li("c")))))"},
      {"<html><body><ol><li><p>a<p>b</ol></body></html>", R"(html(body(ol(li(p("a") p("b"))))))"},
      {"<html><body><dl><dt>a<dd>b<dt>c</dl></body></html>",
       R"(html(body(dl(dt("a") dd("b") dt("c")))))"},
      {"<html><body><dd>x</body></html>", R"(html(body(dd("x"))))"},
      // A heading is a block container: a second heading nests in the first.
      {"<html><body><h1>a<h2>b</body></html>", R"(html(body(h1("a" h2("b")))))"},
      {"<html><body><pre>a<p>b</pre></body></html>", R"(html(body(pre("a" p("b")))))"},
      {"<html><body><span><nobr>x</nobr></span></body></html>",
       R"(html(body(span nobr("x"))))"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("table parts find their table") {
  const Row rows[] = {
      {"<html><body><table><tr><td>a<td>b</table>x</body></html>",
       R"(html(body(table(tr(td("a") td("b"))) "x")))"},
      {"<html><body><table><tbody><tr><td>a</td></tr><tr><th>b</table></body></html>",
       R"(html(body(table(tbody(tr(td("a")) tr(th("b")))))))"},
      {"<html><body><table><thead><tr><td>a<tbody><tr><td>b</table></body></html>",
       R"(html(body(table(thead(tr(td("a"))) tbody(tr(td("b")))))))"},
      {"<html><body><table><colgroup><col><col></colgroup></table></body></html>",
       R"(html(body(table(colgroup(col col)))))"},
      {"<html><body><td>x<tr>y</body></html>", R"(html(body(td("x") tr("y"))))"},
      {"<html><body><table><tr><td><table><tr><td>a</table>b</table></body></html>",
       R"(html(body(table(tr(td(table(tr(td("a"))) "b"))))))"},
      {"<html><body><select><option>1<option>2<optgroup><option>3</select></body></html>",
       R"(html(body(select(option("1") option("2" optgroup(option("3")))))))"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("void and self-closed elements close at once") {
  const Row rows[] = {
      {"<html><body>a<br>b<img src=x>d</body></html>", R"(html(body("a" br "b" img[src="x"] "d")))"},
      {"<html><body><span/>x</body></html>", R"(html(body(span "x")))"},
      {"<html><body><hr>x<input>y<meta>z</body></html>", R"(html(body(hr "x" input "y" meta "z")))"},
      {"<html><body><a href=x/y>t</a></body></html>", R"(html(body(a[href="x"] "t")))"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("end tags close the nearest open element of their name") {
  const Row rows[] = {
      {"<html><body><b><i>x</b>y</body></html>", R"(html(body(b(i("x")) "y")))"},
      {"<html><body>x</i>y</body></html>", R"(html(body("x" "y")))"},
      {"<html><body><x-a><x-b>1</x-a>2</body></html>", R"(html(body(x-a(x-b("1")) "2")))"},
      {"<html><body><o:p>1</o:p>2</body></html>", R"(html(body(o:p("1") "2")))"},
      {"<html><body><b>1<b>2</b>3</b>4</body></html>", R"(html(body(b("1" b("2") "3") "4")))"},
      // After </body> the current node is html; a block finds the body again
      // and the text after it stays there.
      {"<html><body>a</body>b<p>c</p>d</html>", R"(html(body("a" p("c") "d") "b"))"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("nothing inside a template reaches outside it") {
  const Row rows[] = {
      // What finds no parent inside stays in the template ...
      {"<html><body><div><template><p>a</template>b</div></body></html>",
       R"(html(body(div(template(p("a")) "b"))))"},
      {"<html><body><ul><template><li>a<td>b<tr>c</template></ul></body></html>",
       R"(html(body(ul(template(li("a") td("b") tr("c"))))))"},
      // ... end tags close nothing outside, and templates nest.
      {"<html><body><div><template>a</div></body></html>b</template>c</div>d</body></html>",
       R"(html(body(div(template("a" "b") "c") "d")))"},
      {"<html><body><template>a<p>b<template></p>c</template>d</p>e</template>f</body></html>",
       R"(html(body(template("a" p("b" template("c") "d") "e") "f")))"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("a token the rules cannot place ends the build") {
  const Row rows[] = {
      {"<html><body>a</html>b<i>d</i></body></html>", R"(html(body("a")) "b")"},
      {"<html></html><html>x", R"(html)"},
      {"x<html>y", R"("x" html("y"))"},
      {"<p>a", R"(html(body(p("a"))))"},
      {"<td>a</td>", R"(html(body(td("a"))))"},
  };
  CheckRows(std::begin(rows), std::end(rows));
}

TEST_CASE("attributes, references, comments, CDATA and declarations") {
  const Row rows[] = {
      {R"(<html><body><a href="x">t</a></body></html>)", R"(html(body(a[href="x"]("t"))))"},
      {R"(<html><body><a href="1" href='2'>t</a></body></html>)", R"(html(body(a[href="2"]("t"))))"},
      {R"(<html><body><a title='p&amp;q' id=r>t</a></body></html>)",
       R"(html(body(a[title="p&q" id="r"]("t"))))"},
      {"<html><body>x &amp; y</body></html>", R"(html(body("x " &amp; " y")))"},
      {"<html><body>&#252;&#x131;</body></html>", R"(html(body("ü" "ı")))"},
      {"<html><body><!-- c --><![CDATA[d]]></body></html>", R"(html(body(<!-- c --> <![d]>)))"},
      {"<html><body>a < b</body></html>", R"(html(body("a " &lt; " b")))"},
  };
  CheckRows(std::begin(rows), std::end(rows));

  THtmlParser parser;
  auto doc = parser.ParseString(u"<!DOCTYPE html PUBLIC \"-//W3C//DTD\" \"x.dtd\"><p>");
  REQUIRE(doc->DocType() != nullptr);
  CHECK(doc->DocType()->NodeName() == u"html");
  CHECK(doc->DocType()->PublicId() == u"-//W3C//DTD");
  CHECK(doc->DocType()->SystemId() == u"x.dtd");
  CHECK(DumpNode(*doc) == "html(body(p))");
}

TEST_CASE("a parser can be used again") {
  THtmlParser parser;
  auto first = parser.ParseString(u"<p>a");
  auto second = parser.ParseString(u"<i>b");
  CHECK(DumpNode(*first) == R"(html(body(p("a"))))");
  CHECK(DumpNode(*second) == R"(i("b"))");
}
