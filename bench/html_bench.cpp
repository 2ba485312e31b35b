// bench_html: HtmlToText throughput on a corpus of feed-sized fragments and on
// pathological inputs; natively also lexbor (when built, see html.cmake),
// myhtml, libxml2's HTML parser and gumbo (each with text extraction) on the
// same bytes, and the ratios. HtmlToText is given UTF-8 and gives UTF-8, as
// the others do, so the conversions at its edges are part of its time.
// Natively the run is pinned to one core, and a second table gives the page
// faults and system calls of each converter per 1,000 fragments of the
// corpus, in steady state (after one pass to warm up).
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
#ifdef KAVRELO_BENCH_LEXBOR
#include <lexbor/dom/interfaces/character_data.h>
#include <lexbor/html/html.h>
#endif
#ifndef _WIN32
#include "bench/ProcessCounters.h"
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

// MB/s of UTF-8 input: the median of 5 runs, each of 10 passes over the
// input (one pass for inputs of a megabyte or more, whose slowest converters
// take seconds).
double Measure(const TInput& input, const std::function<std::size_t(std::size_t)>& convert) {
  using Clock = std::chrono::steady_clock;
  const int passes = input.bytes >= (1u << 20) && input.fragments.size() == 1 ? 1 : 10;
  std::vector<double> rates;
  std::size_t sink = 0;
  for (int run = 0; run < 5; ++run) {
    const auto t0 = Clock::now();
    for (int pass = 0; pass < passes; ++pass)
      for (std::size_t i = 0; i < input.fragments.size(); ++i) sink += convert(i);
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    rates.push_back(passes * input.bytes / (1024.0 * 1024.0) / seconds);
  }
  if (sink == 1) std::printf(" ");  // keeps the work from being optimised away
  std::sort(rates.begin(), rates.end());
  return rates[rates.size() / 2];
}

// HtmlToText with UTF-8 on both sides, through its UTF-8 entry and an
// output buffer kept from call to call, as a caller converting many
// fragments would keep it (main opens the conversion session, as the feed
// reader does for a feed).
std::size_t OurText(const std::string& html) {
  static std::string text;
  HtmlToTextUtf8(html, text);
  return text.size();
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

#ifdef KAVRELO_BENCH_LEXBOR
// One document for the whole run, cleaned by each parse (lexbor does that
// itself for a document already parsed), text gathered as for myhtml.
class TLexbor {
 public:
  TLexbor() : document_(lxb_html_document_create()) {}
  ~TLexbor() { lxb_html_document_destroy(document_); }
  TLexbor(const TLexbor&) = delete;
  TLexbor& operator=(const TLexbor&) = delete;

  std::size_t Text(const std::string& html) {
    if (lxb_html_document_parse(document_, reinterpret_cast<const lxb_char_t*>(html.data()), html.size()) !=
        LXB_STATUS_OK)
      return 0;
    text_.clear();
    auto* body = lxb_dom_interface_node(lxb_html_document_body_element(document_));
    stack_.clear();
    if (body) stack_.push_back(body);
    while (!stack_.empty()) {
      lxb_dom_node_t* node = stack_.back();
      stack_.pop_back();
      if (node->type == LXB_DOM_NODE_TYPE_TEXT) {
        const lexbor_str_t& data = lxb_dom_interface_character_data(node)->data;
        text_.append(reinterpret_cast<const char*>(data.data), data.length);
      }
      const std::size_t first = stack_.size();
      for (lxb_dom_node_t* child = node->first_child; child; child = child->next) stack_.push_back(child);
      std::reverse(stack_.begin() + static_cast<std::ptrdiff_t>(first), stack_.end());
    }
    return text_.size();
  }

 private:
  lxb_html_document_t* document_;
  std::string text_;
  std::vector<lxb_dom_node_t*> stack_;
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

#ifndef _WIN32
  PinToOneCore();
#endif
  THtmlToTextSession conversions;
  // The others, each beside HtmlToText; gumbo is not given deep nesting.
  struct TOther {
    const char* name;
    std::function<std::size_t(const std::string&)> text;
    bool deepToo;
  };
  std::vector<TOther> others;
#ifdef KAVRELO_BENCH_LEXBOR
  TLexbor lexbor;
  others.push_back({"lexbor", [&](const std::string& html) { return lexbor.Text(html); }, true});
#endif
#ifdef KAVRELO_BENCH_MYHTML
  TMyhtml myhtml;
  others.push_back({"myhtml", [&](const std::string& html) { return myhtml.Text(html); }, true});
#endif
#ifdef KAVRELO_BENCH_LIBXML2
  others.push_back({"libxml2", LibxmlText, true});
#endif
#ifdef KAVRELO_BENCH_GUMBO
  others.push_back({"gumbo", GumboExtractText, false});
#endif

  std::printf("%-28s %6s %15s", "input", "MB", "HtmlToText");
  for (const TOther& other : others) std::printf(" %15s %7s", other.name, "ratio");
  std::printf(" %10s %9s\n", "vs corpus", "nodes/KB");
  double typical = 0;
  for (const TInput& input : inputs) {
    std::fflush(stdout);
    const double ours = Measure(input, [&](std::size_t i) { return OurText(input.fragments[i]); });
    if (typical == 0) typical = ours;
    std::printf("%-28s %6.2f %10.1f MB/s", input.name.c_str(), input.bytes / 1048576.0, ours);
    for (const TOther& other : others) {
      if (input.deep && !other.deepToo) {
        std::printf(" %15s %7s", "skipped", "");
        continue;
      }
      const double theirs = Measure(input, [&](std::size_t i) { return other.text(input.fragments[i]); });
      std::printf(" %10.1f MB/s %6.2fx", theirs, ours / theirs);
    }
    std::printf(" %9.2fx %9.0f\n", ours / typical, NodesPerKB(input));
  }
  std::printf("(MB/s of UTF-8 input, median of 5 runs of 10 passes (1 pass for the 1 MB inputs);\n"
              " ratio = HtmlToText / other; vs corpus = HtmlToText here / on the corpus;\n"
              " nodes/KB = document nodes HtmlToText builds per KB of input;\n"
              " gumbo skips deep nesting: 20 000 nested <b> already cost it 20 s and 3 GB;\n"
              " libxml2 stops reading at 256 levels of nesting, hence its speed there)\n");
#ifndef KAVRELO_BENCH_LEXBOR
  std::printf("lexbor not built: configure with -DKAVRELO_LEXBOR_SOURCE=<lexbor source folder> "
              "(scripts/bench.sh does when LEXBOR_SOURCE names one)\n");
#endif

#ifndef _WIN32
  // What each converter costs the system in steady state.
  const TInput& corpusInput = inputs.front();
  const double perThousand = 1000.0 / static_cast<double>(2 * corpusInput.fragments.size());
  // The counters' own reads are system calls too: what two reads in a row
  // count is taken off.
  const TProcessCounters first = ReadProcessCounters();
  const TProcessCounters second = ReadProcessCounters();
  const long long ownCalls = second.systemCalls - first.systemCalls;
  auto steady = [&](const std::function<std::size_t(const std::string&)>& text) {
    std::size_t sink = 0;
    for (const std::string& fragment : corpusInput.fragments) sink += text(fragment);
    const TProcessCounters before = ReadProcessCounters();
    for (int pass = 0; pass < 2; ++pass)
      for (const std::string& fragment : corpusInput.fragments) sink += text(fragment);
    const TProcessCounters after = ReadProcessCounters();
    if (sink == 1) std::printf(" ");
    std::printf(" %14.1f", static_cast<double>(after.pageFaults - before.pageFaults) * perThousand);
    if (after.systemCalls < 0)
      std::printf(" %14s\n", "n/a");
    else
      std::printf(" %14.1f\n", static_cast<double>(after.systemCalls - before.systemCalls - ownCalls) * perThousand);
  };
  std::printf("\n%-12s %14s %14s\n", "converter", "faults/1000", "syscalls/1000");
  std::printf("%-12s", "HtmlToText");
  steady(OurText);
  for (const TOther& other : others) {
    std::printf("%-12s", other.name);
    steady(other.text);
  }
  std::printf("(per 1,000 fragments of the corpus, two passes after one to warm up%s)\n",
              ReadProcessCounters().systemCalls < 0 ? "; system calls need the raw_syscalls tracepoint" : "");
#endif
  return 0;
}
