#include "ticker/ManifestThread.h"

#include <objbase.h>

#include "feed/FeedSource.h"
#include "feed/XmlDom.h"

std::string ManifestVersion(const std::wstring& text) {
  TXmlDocument doc;  // an unavailable XML service raises to the caller
  try {
    if (!doc.LoadXml(text)) return std::string();
    ComPtr<IXMLDOMNode> node = SelectSingleNode(doc.Root(), L"/data/version");
    if (!node) return std::string();
    std::wstring version = NodeText(node.Get());
    // Versions are digits and dots; anything else simply compares as bytes.
    return std::string(version.begin(), version.end());
  } catch (const EXmlError&) {
    return std::string();
  }
}

std::string ManifestVersionOfBody(const std::string& body) {
  if (body.empty() || body.size() > static_cast<size_t>(MaxFeedBytes)) return std::string();
  // The XML service is a COM object: this thread has an apartment of its own
  // for the length of the reading.
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return std::string();
  std::string version;
  try {
    version = ManifestVersion(DecodeFeedBytes(body));
  } catch (...) {
    // No XML service: no offer.
  }
  ::CoUninitialize();
  return version;
}

int TManifestThread::Exchange(HINTERNET root) {
  int result = Request().SendRequest(root);
  if (result == 0 && !Cancelled()) version_ = ManifestVersionOfBody(ContentAsString(Response()));
  return result;
}
