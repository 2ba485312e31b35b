// html2text: reads an HTML fragment as UTF-8 on standard input and writes its
// plain text, as the ticker shows it, as UTF-8 on standard output.
//   html2text [--wrap N]
// With --wrap N the text is then wrapped at column N with CR LF, breaking
// after TAB, space, "-" and ".", as the news list does.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "html/HtmlToText.h"
#include "html/HtmlToTextUtf8.h"
#include "html/WrapText.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: html2text [--wrap N] < fragment.html > text.txt\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long wrap = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--wrap") == 0 && i + 1 < argc) {
      char* end = nullptr;
      wrap = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || wrap < 1 || wrap > 1000000) return Usage();
    } else {
      return Usage();
    }
  }
  std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  std::string output = HtmlToTextUtf8(input);
  if (wrap > 0) output = Utf16ToUtf8(WrapText(Utf8ToUtf16(output), WrapBreakStr, WrapBreakChars, static_cast<int>(wrap)));
  std::fwrite(output.data(), 1, output.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
