// Addresses an HTTP exchange can be sent to, and the rules for following a
// redirect: only http and https, resolved against the address that answered.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct THttpUrl {
  bool Secure = false;
  std::string Host;
  // 0 means the scheme's own port (80, or 443 when Secure).
  std::uint16_t Port = 0;
  // Object path with its query, never empty ("/" at least), no fragment.
  std::string Path = "/";

  std::uint16_t EffectivePort() const { return Port != 0 ? Port : (Secure ? 443 : 80); }
  // The same address compares equal however it was spelled (host case,
  // default port written out or not).
  std::string Key() const;
};

// Where a redirect's Location leads from the address that answered: an
// absolute http or https address, a scheme-relative "//host/path", an
// absolute path or a relative one. Nothing for any other scheme, a missing
// or malformed host or port, or control characters and spaces, and nothing
// that leads from https to plain http.
std::optional<THttpUrl> ResolveRedirect(const THttpUrl& from, const std::string& location);
