// bench_html: HtmlToText throughput on a corpus of feed-sized fragments and on
// pathological inputs; natively also libxml2's HTML parser, gumbo and myhtml
// (each with text extraction) on the same bytes, and the ratios.
//   bench_html [corpus-file]
// The corpus file (records "<byte count>\n<bytes>", UTF-8) is written by
// tools/make_html_corpus.py at build time beside the executable.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "html/HtmlParser.h"
#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"

#ifdef KAVRELO_BENCH_LIBXML2
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#endif
#ifdef KAVRELO_BENCH_GUMBO
#include <gumbo.h>
#endif
#ifdef KAVRELO_BENCH_MYHTML
#include <myhtml/api.h>
#endif

namespace {

struct TInput {
  std::string name;
  std::vector<std::string> fragments;        // UTF-8, what the other parsers get
  std::vector<std::u16string> wide;          // the same, UTF-16, for HtmlToText
  std::size_t bytes = 0;
  // gumbo rebuilds its list of open formatting elements at every level:
  // 20 000 nested <b> already take it 20 s and 3 GB, so deep nesting is not
  // given to it.
  bool deep = false;
};

// Runs pass over the input until at least a second has gone (and at least
// twice); returns MB/s of UTF-8 input bytes for the fastest pass.
double Measure(const TInput& input, const std::function<std::size_t(std::size_t)>& convert) {
  using Clock = std::chrono::steady_clock;
  double best = 1e30;
  std::size_t sink = 0;
  const auto start = Clock::now();
  for (int pass = 0; pass < 2 || Clock::now() - start < std::chrono::seconds(1); ++pass) {
    const auto t0 = Clock::now();
    for (std::size_t i = 0; i < input.fragments.size(); ++i) sink += convert(i);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    if (pass > 200) break;
  }
  if (sink == 1) std::printf(" ");  // keeps the work from being optimised away
  return input.bytes / (1024.0 * 1024.0) / best;
}

#ifdef KAVRELO_BENCH_LIBXML2
std::size_t LibxmlText(const std::string& html) {
  htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                                  HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                      HTML_PARSE_NONET);
  std::size_t n = 0;
  if (doc) {
    if (xmlNodePtr root = xmlDocGetRootElement(doc)) {
      xmlChar* text = xmlNodeGetContent(root);
      if (text) {
        n = static_cast<std::size_t>(xmlStrlen(text));
        xmlFree(text);
      }
    }
    xmlFreeDoc(doc);
  }
  return n;
}
#endif

#ifdef KAVRELO_BENCH_GUMBO
std::size_t GumboExtractText(const std::string& html) {
  GumboOutput* out = gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
  std::string text;
  std::vector<const GumboNode*> stack{out->root};
  while (!stack.empty()) {
    const GumboNode* node = stack.back();
    stack.pop_back();
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE) {
      text += node->v.text.text;
    } else if (node->type == GUMBO_NODE_ELEMENT) {
      const GumboVector& children = node->v.element.children;
      for (unsigned i = children.length; i-- > 0;)
        stack.push_back(static_cast<const GumboNode*>(children.data[i]));
    }
  }
  gumbo_destroy_output(&kGumboDefaultOptions, out);
  return text.size();
}
#endif

#ifdef KAVRELO_BENCH_MYHTML
// One parser and one tree for the whole run, cleaned between documents: the
// fastest way myhtml offers, single-threaded as the others are.
class TMyhtml {
 public:
  TMyhtml() {
    myhtml_ = myhtml_create();
    myhtml_init(myhtml_, MyHTML_OPTIONS_PARSE_MODE_SINGLE, 1, 0);
    tree_ = myhtml_tree_create();
    myhtml_tree_init(tree_, myhtml_);
  }
  ~TMyhtml() {
    myhtml_tree_destroy(tree_);
    myhtml_destroy(myhtml_);
  }
  TMyhtml(const TMyhtml&) = delete;
  TMyhtml& operator=(const TMyhtml&) = delete;

  // Parses, then gathers the text nodes below the body in document order.
  std::size_t Text(const std::string& html) {
    myhtml_tree_clean(tree_);
    myhtml_parse(tree_, MyENCODING_UTF_8, html.data(), html.size());
    std::string text;
    myhtml_tree_node_t* body = myhtml_tree_get_node_body(tree_);
    std::vector<myhtml_tree_node_t*> stack;
    if (body) stack.push_back(body);
    while (!stack.empty()) {
      myhtml_tree_node_t* node = stack.back();
      stack.pop_back();
      if (myhtml_node_tag_id(node) == MyHTML_TAG__TEXT) {
        std::size_t length = 0;
        const char* data = myhtml_node_text(node, &length);
        if (data) text.append(data, length);
      }
      std::size_t first = stack.size();
      for (myhtml_tree_node_t* child = myhtml_node_child(node); child; child = myhtml_node_next(child))
        stack.push_back(child);
      std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
    }
    return text.size();
  }

 private:
  myhtml_t* myhtml_ = nullptr;
  myhtml_tree_t* tree_ = nullptr;
};
#endif

TInput MakeInput(std::string name, std::vector<std::string> fragments, bool deep = false) {
  TInput input;
  input.deep = deep;
  input.name = std::move(name);
  for (auto& f : fragments) {
    input.bytes += f.size();
    input.wide.push_back(Utf8ToUtf16(f));
  }
  input.fragments = std::move(fragments);
  return input;
}

std::string Repeat(const std::string& unit, std::size_t bytes = 1 << 20) {
  std::string out;
  while (out.size() < bytes) out += unit;
  return out;
}

std::vector<std::string> ReadCorpus(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> fragments;
  std::size_t length;
  while (file >> length) {
    file.get();  // the line feed after the count
    std::string data(length, '\0');
    if (!file.read(&data[0], static_cast<std::streamsize>(length))) break;
    fragments.push_back(std::move(data));
  }
  return fragments;
}

// Document nodes built per KB of UTF-8 input: what a conversion allocates,
// which is what separates the pathological inputs from the typical ones.
double NodesPerKB(const TInput& input) {
  std::size_t nodes = 0;
  for (const std::u16string& fragment : input.wide) {
    THtmlParser parser;
    nodes += parser.ParseString(u"<html><body>" + fragment + u"</body></html>")->NodeCount();
  }
  return nodes * 1024.0 / static_cast<double>(input.bytes);
}

std::string CorpusBesideProgram(const char* argv0) {
  std::string path = argv0;
  std::size_t slash = path.find_last_of("/\\");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "html_corpus.dat";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string corpusPath = argc > 1 ? argv[1] : CorpusBesideProgram(argv[0]);
  std::vector<std::string> corpus = ReadCorpus(corpusPath);
  if (corpus.empty()) {
    std::fprintf(stderr, "bench_html: no corpus in %s (built by tools/make_html_corpus.py)\n",
                 corpusPath.c_str());
    return 1;
  }
  std::vector<TInput> inputs;
  const std::size_t count = corpus.size();
  // The same markup as documents the size of the pathological inputs: how
  // much of their difference is size alone (a 1 MB document needs tens of MB
  // of fresh memory for its nodes; small fragments reuse the heap's).
  std::vector<std::string> joined(1);
  for (const std::string& fragment : corpus) {
    if (joined.back().size() >= (1u << 20)) joined.emplace_back();
    joined.back() += fragment;
  }
  inputs.push_back(MakeInput("corpus (" + std::to_string(count) + " fragments)", std::move(corpus)));
  inputs.push_back(MakeInput("corpus as 1 MB documents", std::move(joined)));
  inputs.push_back(MakeInput("unterminated <!--", {Repeat("<!--")}));
  inputs.push_back(MakeInput("unterminated <![CDATA[", {Repeat("<![CDATA[")}));
  inputs.push_back(MakeInput("unterminated <!DOCTYPE", {Repeat("<!DOCTYPE")}));
  inputs.push_back(MakeInput("unterminated </a", {Repeat("</a")}));
  inputs.push_back(MakeInput("200 000 nested <b>", {Repeat("<b>", 600000) + "x"}, true));
  inputs.push_back(MakeInput("200 000 <b> + stray </i>", {Repeat("<b>", 600000) + Repeat("</i>", 800000)}, true));
  inputs.push_back(MakeInput("1 MB of &", {Repeat("&")}));

  std::printf("%-28s %9s %12s", "input", "MB", "HtmlToText");
#ifdef KAVRELO_BENCH_LIBXML2
  std::printf(" %10s %10s", "libxml2", "ratio");
#endif
#ifdef KAVRELO_BENCH_GUMBO
  std::printf(" %10s %10s", "gumbo", "ratio");
#endif
#ifdef KAVRELO_BENCH_MYHTML
  std::printf(" %10s %10s", "myhtml", "ratio");
  TMyhtml myhtml;
#endif
  std::printf(" %12s %10s\n", "vs corpus", "nodes/KB");
  double typical = 0;
  for (const TInput& input : inputs) {
    std::fflush(stdout);
    double ours = Measure(input, [&](std::size_t i) { return HtmlToText(input.wide[i]).size(); });
    if (typical == 0) typical = ours;
    std::printf("%-28s %9.2f %9.1f MB/s", input.name.c_str(), input.bytes / 1048576.0, ours);
#ifdef KAVRELO_BENCH_LIBXML2
    double xml = Measure(input, [&](std::size_t i) { return LibxmlText(input.fragments[i]); });
    std::printf(" %5.1f MB/s %9.2fx", xml, ours / xml);
#endif
#ifdef KAVRELO_BENCH_GUMBO
    if (input.deep) {
      std::printf(" %10s %10s", "skipped", "");
    } else {
      double gumbo = Measure(input, [&](std::size_t i) { return GumboExtractText(input.fragments[i]); });
      std::printf(" %5.1f MB/s %9.2fx", gumbo, ours / gumbo);
    }
#endif
#ifdef KAVRELO_BENCH_MYHTML
    double mine = Measure(input, [&](std::size_t i) { return myhtml.Text(input.fragments[i]); });
    std::printf(" %5.1f MB/s %9.2fx", mine, ours / mine);
#endif
    std::printf(" %11.2fx %10.0f\n", ours / typical, NodesPerKB(input));
  }
  std::printf("(MB/s of UTF-8 input; ratio = HtmlToText / other; vs corpus = HtmlToText here / on the corpus;\n"
              " nodes/KB = document nodes HtmlToText builds per KB of input;\n"
              " gumbo skips deep nesting: 20 000 nested <b> already cost it 20 s and 3 GB;\n"
              " libxml2 stops reading at 256 levels of nesting, hence its speed there)\n");
  return 0;
}
