// Where the program's exchanges go, fixed when it is built: the news site's
// feed host, the maker's web host (update manifest, the maker's page, the
// download page) and the visitor counter.
#pragma once

#include <string>

namespace build {

struct TEndpoint {
  const char* Host;
  bool Secure;          // https
  unsigned short Port;  // 0: the scheme's own (80, or 443 when Secure)
};

// Defined in the generated Endpoints.cpp of the build (see
// cmake/Endpoints.cpp.in), which the program links.
extern const TEndpoint News;
extern const TEndpoint Web;
extern const TEndpoint Counter;

}  // namespace build

// "https://host" or "http://host:port": the endpoint as an address prefix.
std::string EndpointOrigin(const build::TEndpoint& endpoint);

class TRequest;
// Points the request at the endpoint: host, scheme and port.
void TargetEndpoint(TRequest& request, const build::TEndpoint& endpoint);
