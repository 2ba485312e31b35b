#include "feed/Endpoints.h"

#include "feed/Request.h"

std::string EndpointOrigin(const build::TEndpoint& endpoint) {
  std::string origin = endpoint.Secure ? "https://" : "http://";
  origin += endpoint.Host;
  if (endpoint.Port != 0) origin += ":" + std::to_string(endpoint.Port);
  return origin;
}

void TargetEndpoint(TRequest& request, const build::TEndpoint& endpoint) {
  request.SetField(rfHost, endpoint.Host);
  request.Secure = endpoint.Secure;
  request.Port = endpoint.Port;
}
