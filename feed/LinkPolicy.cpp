#include "feed/LinkPolicy.h"

#include <string_view>

#include "build/BuildConfig.h"
#include "feed/Endpoints.h"

namespace {

// Beyond this the shell and several browsers cut or refuse the address.
constexpr size_t MaxAddress = 2048;

std::wstring Widen(const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); }

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v'; }

std::wstring Trim(const std::wstring& s) {
  size_t first = 0, last = s.size();
  while (first < last && IsSpace(s[first])) ++first;
  while (last > first && IsSpace(s[last - 1])) --last;
  return s.substr(first, last - first);
}

bool IsAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The scheme's length when s begins with "scheme:", else 0. A drive letter
// ("C:") reads as a one-letter scheme, which is what keeps it from opening.
size_t SchemeLength(std::wstring_view s) {
  if (s.empty() || !IsAlpha(s[0])) return 0;
  size_t i = 1;
  while (i < s.size() && (IsAlpha(s[i]) || IsDigit(s[i]) || s[i] == L'+' || s[i] == L'-' || s[i] == L'.')) ++i;
  return i < s.size() && s[i] == L':' ? i : 0;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
  }
  return true;
}

// Characters a host (with optional user and port) may hold; anything else,
// a backslash or quote above all, means the address is not what it seems.
bool IsAuthorityChar(wchar_t c) {
  if (IsAlpha(c) || IsDigit(c) || c >= 0xA0) return true;
  return std::wstring_view(L"-._~!$&'()*+,;=:@%[]").find(c) != std::wstring_view::npos;
}

// "http" or "https" + "://" + a host; the authority ends at "/", "?" or "#".
bool IsWebAddress(std::wstring_view s) {
  size_t scheme = SchemeLength(s);
  if (!EqualsNoCase(s.substr(0, scheme), L"http") && !EqualsNoCase(s.substr(0, scheme), L"https")) return false;
  if (s.substr(scheme, 3) != L"://") return false;
  size_t start = scheme + 3, end = start;
  while (end < s.size() && s[end] != L'/' && s[end] != L'?' && s[end] != L'#') {
    if (!IsAuthorityChar(s[end])) return false;
    ++end;
  }
  std::wstring_view authority = s.substr(start, end - start);
  size_t at = authority.rfind(L'@');
  std::wstring_view host = at == std::wstring_view::npos ? authority : authority.substr(at + 1);
  std::wstring_view name, port;
  if (!host.empty() && host[0] == L'[') {  // an IPv6 literal
    size_t close = host.find(L']');
    if (close == std::wstring_view::npos || close < 2) return false;
    name = host.substr(0, close + 1);
    port = host.substr(close + 1);
  } else {
    size_t colon = host.find(L':');
    name = host.substr(0, colon);
    port = colon == std::wstring_view::npos ? std::wstring_view() : host.substr(colon);
    if (name.find_first_of(L"[]") != std::wstring_view::npos) return false;
  }
  if (name.empty()) return false;
  if (port.empty()) return true;
  if (port[0] != L':') return false;
  for (wchar_t c : port.substr(1))
    if (!IsDigit(c)) return false;
  return true;
}

// Characters that have no place in an address and that a browser's command
// line could read as the end of its argument: they go out percent-encoded.
std::wstring EncodeUnsafe(const std::wstring& s) {
  static const wchar_t hex[] = L"0123456789ABCDEF";
  std::wstring out;
  out.reserve(s.size());
  for (wchar_t c : s) {
    if (std::wstring_view(L" \"<>^`{|}").find(c) != std::wstring_view::npos) {
      out += L'%';
      out += hex[(c >> 4) & 0xF];
      out += hex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

// scheme://authority of an absolute web address.
std::wstring Origin(const std::wstring& base) {
  size_t start = SchemeLength(base) + 3;
  size_t end = base.find_first_of(L"/?#", start);
  return base.substr(0, end);
}

// The base address without its query and fragment.
std::wstring WithoutQuery(const std::wstring& base) { return base.substr(0, base.find_first_of(L"?#")); }

// A reference resolved against an absolute web address (RFC 3986, section 5.2,
// without removing dot segments: the browser does that itself).
std::wstring Resolve(const std::wstring& ref, const std::wstring& base) {
  if (ref.compare(0, 2, L"//") == 0) return base.substr(0, SchemeLength(base) + 1) + ref;
  if (!ref.empty() && ref[0] == L'/') return Origin(base) + ref;
  std::wstring path = WithoutQuery(base);
  if (ref.empty()) return path;
  if (ref[0] == L'#') return base.substr(0, base.find(L'#')) + ref;
  if (ref[0] == L'?') return path + ref;
  size_t slash = path.rfind(L'/');
  if (slash < Origin(base).size() || slash == std::wstring::npos) return Origin(base) + L"/" + ref;
  return path.substr(0, slash + 1) + ref;
}

}  // namespace

std::wstring FeedAddress() {
  return Widen(EndpointOrigin(build::News).c_str()) + L"/sondakika.rss";
}

std::wstring BuildReferral() { return Widen(build::Referral); }

std::wstring OpenableAddress(const std::wstring& link, const std::wstring& base) {
  std::wstring s = Trim(link);
  if (s.empty() || s.size() > MaxAddress) return {};
  for (wchar_t c : s)
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == L'\\') return {};  // controls; local and UNC paths
  std::wstring address;
  if (SchemeLength(s) != 0) {
    address = s;
  } else {
    if (!IsWebAddress(base)) return {};
    address = Resolve(s, base);
  }
  if (!IsWebAddress(address)) return {};
  address = EncodeUnsafe(address);
  return address.size() > MaxAddress ? std::wstring() : address;
}

std::wstring WithReferral(const std::wstring& address, const std::wstring& referral) {
  size_t hash = address.find(L'#');
  std::wstring head = address.substr(0, hash);
  std::wstring fragment = hash == std::wstring::npos ? std::wstring() : address.substr(hash);
  std::wstring sep;
  if (head.find(L'?') == std::wstring::npos)
    sep = L"?";
  else if (head.back() != L'?' && head.back() != L'&')
    sep = L"&";
  return head + sep + L"ref=" + referral + fragment;
}

std::wstring ClickAddress(const std::wstring& link, const std::wstring& base, const std::wstring& referral) {
  std::wstring address = OpenableAddress(link, base);
  return address.empty() ? address : WithReferral(address, referral);
}
