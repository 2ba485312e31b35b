// feedcheck FILE...: what the news list would make of each feed file, for
// anyone diagnosing a feed and for the tests. For every file one line
//   {"file":"...","kind":"rss|rdf|atom|none","items":N,
//    "read":"strict|recovered|refused","repairs":["bare-ampersands",...]}
// (on one line): whether the XML parser took the file as it stands or its
// repaired text, and what was repaired (decoding's repairs apply to both),
// then one line per item
//   {"title":"...","summary":"...","open":"<address a click opens>|none"}
// as JSON in UTF-8, texts exactly as the list shows them (wrapped with \r\n).
// --base URL sets the feed's own address for relative links, --referral the
// referral value; both default to this build's.
#include <windows.h>

#include <string>

#include "feed/FeedParser.h"
#include "feed/FeedRepair.h"
#include "feed/LinkPolicy.h"
#include "framework/ComPtr.h"

namespace {

std::string Utf8(const std::wstring& s) {
  if (s.empty()) return {};
  int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string Json(const std::wstring& s) {
  std::string out = "\"";
  for (char c : Utf8(s)) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20) {
          char buf[8];
          wsprintfA(buf, "\\u%04x", u);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

void Write(const std::string& line) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ComSession com;
  std::wstring base = FeedAddress(), referral = BuildReferral();
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    if ((arg == L"--base" || arg == L"--referral") && i + 1 < argc) {
      (arg == L"--base" ? base : referral) = argv[++i];
      continue;
    }
    ++files;
    TFeedKind kind = TFeedKind::None;
    TFeedReading reading;
    auto items = ParseFeed(arg, &kind, &reading);
    size_t count = items ? items->size() : 0;
    std::string repairs;
    for (int k = 0; k < FeedRepairKinds; ++k)
      if (reading.Repairs & (1u << k)) repairs += std::string(repairs.empty() ? "\"" : ",\"") + FeedRepairName(1u << k) + "\"";
    const char* read = !items ? "refused" : reading.Recovered ? "recovered" : "strict";
    Write("{\"file\":" + Json(arg) + ",\"kind\":" + Json(FeedKindName(kind)) + ",\"items\":" + std::to_string(count) +
          ",\"read\":\"" + read + "\",\"repairs\":[" + repairs + "]}\n");
    if (!items) continue;
    for (const auto& item : *items) {
      std::wstring open = ClickAddress(item->Link, base, referral);
      Write("{\"title\":" + Json(item->Title) + ",\"summary\":" + Json(item->Summary) +
            ",\"open\":" + Json(open.empty() ? L"none" : open) + "}\n");
    }
  }
  if (files == 0) {
    Write("usage: feedcheck [--base URL] [--referral VALUE] FILE...\n");
    return 2;
  }
  return 0;
}
