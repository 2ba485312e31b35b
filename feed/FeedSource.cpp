#include "feed/FeedSource.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cwchar>

#include "feed/FeedBytes.h"
#include "feed/FeedRepair.h"
#include "framework/UniqueHandle.h"
#include "framework/WideText.h"

namespace {


struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using UniqueFile = UniqueHandle<FileTraits>;

constexpr UINT Utf8 = CP_UTF8, Utf16Le = 1200, Utf16Be = 1201, Turkish = 1254, Western = 1252;

std::wstring Decode(UINT codePage, const char* data, size_t size, bool strict, bool& ok) {
  ok = true;
  if (size == 0) return {};
  DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  int n = ::MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), nullptr, 0);
  if (n <= 0) {
    ok = false;
    return {};
  }
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), &out[0], n);
  return out;
}

std::wstring DecodeUtf16(const char* data, size_t size, bool bigEndian) {
  std::wstring out;
  out.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    unsigned char a = static_cast<unsigned char>(data[i]), b = static_cast<unsigned char>(data[i + 1]);
    out += static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The encoding label of an XML declaration at the start of the bytes.
std::string DeclaredLabel(const std::string& bytes) {
  if (bytes.compare(0, 5, "<?xml") != 0 || bytes.size() < 6 || !std::isspace(static_cast<unsigned char>(bytes[5])))
    return {};
  size_t end = bytes.find("?>");
  if (end == std::string::npos || end > 1024) return {};
  std::string decl = bytes.substr(0, end);
  size_t at = decl.find("encoding");
  if (at == std::string::npos) return {};
  size_t eq = decl.find_first_not_of(" \t\r\n", at + 8);
  if (eq == std::string::npos || decl[eq] != '=') return {};
  size_t quote = decl.find_first_not_of(" \t\r\n", eq + 1);
  if (quote == std::string::npos || (decl[quote] != '"' && decl[quote] != '\'')) return {};
  size_t close = decl.find(decl[quote], quote + 1);
  if (close == std::string::npos) return {};
  return Lower(decl.substr(quote + 1, close - quote - 1));
}

// The code page for a label, 0 when unknown. UTF-16 labels on bytes that do
// not look like UTF-16 are as good as none.
UINT CodePageOf(const std::string& label) {
  if (label == "utf-8" || label == "utf8") return Utf8;
  for (const char* l : {"iso-8859-9", "iso8859-9", "iso_8859-9", "latin5", "l5", "windows-1254", "cp1254", "x-cp1254"})
    if (label == l) return Turkish;
  for (const char* l : {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "us-ascii", "ascii", "windows-1252",
                        "cp1252", "x-cp1252"})
    if (label == l) return Western;
  if (label.compare(0, 8, "windows-") == 0 && label.size() == 12 && label.compare(8, 3, "125") == 0 &&
      label[11] >= '0' && label[11] <= '8')
    return 1250 + static_cast<UINT>(label[11] - '0');
  if (label.compare(0, 9, "iso-8859-") == 0) {
    int n = std::atoi(label.c_str() + 9);
    if (n >= 2 && n <= 15 && n != 12) return 28590 + static_cast<UINT>(n);
  }
  if (label == "koi8-r") return 20866;
  if (label == "koi8-u") return 21866;
  return 0;
}

// UTF-8 as sites write it: a byte that starts no sequence is windows-1254.
std::wstring DecodeUtf8(const char* data, size_t size, std::uint32_t& repairs) {
  size_t legacy = 0;
  std::wstring text = WideFromU16(DecodeUtf8Or1254(std::string_view(data, size), &legacy));
  if (legacy) repairs |= RepairLegacyBytes;
  return text;
}

std::wstring DecodeBytes(const std::string& bytes, std::uint32_t& repairs) {
  const char* p = bytes.data();
  size_t n = bytes.size();
  bool ok = true;
  auto at = [&](size_t i) { return i < n ? static_cast<unsigned char>(p[i]) : 0x100u; };
  if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return DecodeUtf8(p + 3, n - 3, repairs);
  if (at(0) == 0xFF && at(1) == 0xFE) return DecodeUtf16(p + 2, n - 2, false);
  if (at(0) == 0xFE && at(1) == 0xFF) return DecodeUtf16(p + 2, n - 2, true);
  if (at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) return DecodeUtf16(p, n, false);
  if (at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?') return DecodeUtf16(p, n, true);
  UINT cp = CodePageOf(DeclaredLabel(bytes));
  if (cp != 0 && cp != Utf8) {
    // Every label we know besides UTF-8 is of a single-byte code page. Text
    // that is UTF-8 under such a label is a UTF-8 page labelled by a
    // template: read as labelled, every Turkish letter would come out as two
    // characters. Legacy text forms a valid UTF-8 pair only by chance (an
    // upper-case letter before a quote mark, "Ş’"), so UTF-8 must make up
    // most of the non-ASCII text; a few stray legacy bytes in it (a pasted
    // line) are read as windows-1254, as in a UTF-8 page.
    TUtf8Evidence utf8 = Utf8EvidenceOf(bytes);
    if (utf8.Multibyte > 0 && utf8.Multibyte >= 4 * utf8.Invalid) {
      repairs |= RepairUtf8Label;
      return DecodeUtf8(p, n, repairs);
    }
    std::wstring text = Decode(cp, p, n, false, ok);
    if (ok) return text;
  }
  return DecodeUtf8(p, n, repairs);
}

bool IsXmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool StartsAt(const std::wstring& s, size_t i, const wchar_t* word) { return s.compare(i, wcslen(word), word) == 0; }

// Index just past the end of the markup that begins at i and ends with
// close, or npos.
size_t PastClose(const std::wstring& s, size_t i, const wchar_t* close) {
  size_t at = s.find(close, i);
  return at == std::wstring::npos ? at : at + wcslen(close);
}

// Index just past the DOCTYPE declaration starting at i, or npos when it
// never ends (the DOM then rejects the document as it stands).
size_t PastDoctype(const std::wstring& s, size_t i) {
  bool subset = false;
  for (i += 9; i < s.size(); ++i) {
    wchar_t c = s[i];
    if (c == L'"' || c == L'\'') {
      i = s.find(c, i + 1);
      if (i == std::wstring::npos) return i;
    } else if (subset && StartsAt(s, i, L"<!--")) {
      i = PastClose(s, i + 4, L"-->");
      if (i == std::wstring::npos) return i;
      --i;
    } else if (subset && StartsAt(s, i, L"<?")) {
      i = PastClose(s, i + 2, L"?>");
      if (i == std::wstring::npos) return i;
      --i;
    } else if (c == L'[' && !subset) {
      subset = true;
    } else if (c == L']' && subset) {
      subset = false;
    } else if (c == L'>' && !subset) {
      return i + 1;
    }
  }
  return std::wstring::npos;
}

// Removes the XML declaration and the DOCTYPE from the prolog.
void StripProlog(std::wstring& s) {
  size_t i = 0;
  if (!s.empty() && s[0] == 0xFEFF) i = 1;
  while (i < s.size() && IsXmlSpace(s[i])) ++i;
  if (StartsAt(s, i, L"<?xml") && i + 5 < s.size() && (IsXmlSpace(s[i + 5]) || s[i + 5] == L'?')) {
    size_t end = PastClose(s, i, L"?>");
    if (end == std::wstring::npos) return;
    s.erase(0, end);
    i = 0;
  } else {
    s.erase(0, i);
    i = 0;
  }
  for (;;) {
    while (i < s.size() && IsXmlSpace(s[i])) ++i;
    size_t end;
    if (StartsAt(s, i, L"<!--")) {
      end = PastClose(s, i + 4, L"-->");
    } else if (StartsAt(s, i, L"<?")) {
      end = PastClose(s, i + 2, L"?>");
    } else if (StartsAt(s, i, L"<!DOCTYPE")) {
      end = PastDoctype(s, i);
      if (end != std::wstring::npos) s.erase(i, end - i);
      return;
    } else {
      return;
    }
    if (end == std::wstring::npos) return;
    i = end;
  }
}

}  // namespace

std::wstring DecodeFeedBytes(const std::string& bytes, std::uint32_t* repairs) {
  std::uint32_t made = 0;
  std::wstring text = DecodeBytes(bytes, made);
  if (repairs) *repairs = made;
  StripProlog(text);
  return text;
}

bool ReadFeedText(const std::wstring& path, std::wstring& text, std::uint32_t* repairs) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > MaxFeedBytes) return false;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr)) return false;
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  text = DecodeFeedBytes(bytes, repairs);
  return true;
}
