#include "feed/HttpUrl.h"

#include <cctype>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// "/a/b/../c/./d" -> "/a/c/d"; the query is not touched.
std::string RemoveDotSegments(const std::string& pathAndQuery) {
  size_t q = pathAndQuery.find('?');
  std::string path = pathAndQuery.substr(0, q);
  std::string query = q == std::string::npos ? std::string() : pathAndQuery.substr(q);
  std::string out;
  size_t i = 0;
  while (i < path.size()) {
    size_t next = path.find('/', i + 1);
    std::string segment = path.substr(i, next == std::string::npos ? std::string::npos : next - i);
    if (segment == "/." || segment == "/..") {
      if (segment == "/..") {
        size_t cut = out.rfind('/');
        out.erase(cut == std::string::npos ? 0 : cut);
      }
      // A trailing dot segment still names the folder.
      if (next == std::string::npos) out += '/';
    } else {
      out += segment;
    }
    if (next == std::string::npos) break;
    i = next;
  }
  if (out.empty() || out[0] != '/') out.insert(out.begin(), '/');
  return out + query;
}

// "host[:port]" into the address; false when it is not a usable authority.
bool ParseAuthority(const std::string& authority, THttpUrl& url) {
  if (authority.empty() || authority.find('@') != std::string::npos) return false;
  std::string host = authority;
  std::string port;
  if (authority[0] == '[') {
    size_t close = authority.find(']');
    if (close == std::string::npos) return false;
    host = authority.substr(0, close + 1);
    std::string rest = authority.substr(close + 1);
    if (!rest.empty()) {
      if (rest[0] != ':') return false;
      port = rest.substr(1);
    }
  } else {
    size_t colon = authority.find(':');
    if (colon != std::string::npos) {
      host = authority.substr(0, colon);
      port = authority.substr(colon + 1);
    }
    for (char c : host)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') return false;
  }
  if (host.empty() || host == "[]") return false;
  url.Host = host;
  url.Port = 0;
  if (!port.empty()) {
    if (port.size() > 5) return false;
    unsigned long value = 0;
    for (char c : port) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
      value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    url.Port = static_cast<std::uint16_t>(value);
  }
  return true;
}

// The scheme of an absolute reference ("http" of "http://x"), or empty when
// the reference is relative.
std::string SchemeOf(const std::string& ref) {
  size_t colon = ref.find(':');
  if (colon == std::string::npos || colon == 0) return std::string();
  if (!std::isalpha(static_cast<unsigned char>(ref[0]))) return std::string();
  for (size_t i = 1; i < colon; ++i) {
    char c = ref[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return std::string();
  }
  // "a/b:c" is a path, not a scheme.
  return ref.substr(0, colon);
}

// Splits "//authority/path" into the address; false when it is not one.
bool ParseNetworkReference(const std::string& ref, THttpUrl& url) {
  size_t end = ref.find_first_of("/?", 2);
  if (!ParseAuthority(ref.substr(2, end == std::string::npos ? std::string::npos : end - 2), url)) return false;
  std::string rest = end == std::string::npos ? std::string() : ref.substr(end);
  if (rest.empty() || rest[0] == '?') rest.insert(rest.begin(), '/');
  url.Path = RemoveDotSegments(rest);
  return true;
}

}  // namespace

std::string THttpUrl::Key() const {
  return std::string(Secure ? "https://" : "http://") + Lower(Host) + ":" + std::to_string(EffectivePort()) + Path;
}

std::optional<THttpUrl> ResolveRedirect(const THttpUrl& from, const std::string& location) {
  size_t first = 0, last = location.size();
  while (first < last && IsSpace(location[first])) ++first;
  while (last > first && IsSpace(location[last - 1])) --last;
  std::string ref = location.substr(first, last - first);
  for (char c : ref)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f || c == '\\') return std::nullopt;
  ref = ref.substr(0, ref.find('#'));
  if (ref.empty()) return std::nullopt;

  THttpUrl url = from;
  std::string scheme = Lower(SchemeOf(ref));
  if (!scheme.empty()) {
    if (scheme != "http" && scheme != "https") return std::nullopt;
    std::string rest = ref.substr(scheme.size() + 1);
    if (rest.compare(0, 2, "//") != 0) return std::nullopt;
    url.Secure = scheme == "https";
    // What came over TLS never leads off it: a server (or whoever sits on
    // the path) cannot strip it with a redirect.
    if (from.Secure && !url.Secure) return std::nullopt;
    if (!ParseNetworkReference(rest, url)) return std::nullopt;
    return url;
  }
  if (ref.compare(0, 2, "//") == 0) {
    if (!ParseNetworkReference(ref, url)) return std::nullopt;
    return url;
  }
  std::string base = from.Path.substr(0, from.Path.find('?'));
  if (ref[0] == '/') {
    url.Path = RemoveDotSegments(ref);
  } else if (ref[0] == '?') {
    url.Path = base + ref;
  } else {
    url.Path = RemoveDotSegments(base.substr(0, base.rfind('/') + 1) + ref);
  }
  return url;
}
