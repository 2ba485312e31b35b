// Addresses on the maker's web server and the counter service, from the
// build settings.
#pragma once

#include <string>

#include "feed/Endpoints.h"

// The maker's page ("/?linkid=7940") and the download page ("/?linkid=7941"),
// https when the web host is reached that way.
inline std::wstring MakerAddress(const char* pathAndQuery) {
  std::string a = EndpointOrigin(build::Web) + pathAndQuery;
  return std::wstring(a.begin(), a.end());
}

// The maker's host name, as the face shows it.
inline std::wstring MakerDomain() {
  std::string host = build::Web.Host;
  return std::wstring(host.begin(), host.end());
}

inline constexpr char MakerPageLink[] = "/?linkid=7940";
inline constexpr char DownloadPageLink[] = "/?linkid=7941";
inline constexpr char CounterPath[] = "/swidget/kavrelo.gif";

inline std::string ManifestRequestPath(unsigned rand) { return "/kavrelo.xml?rand=" + std::to_string(rand); }
