#include "ticker/ManifestThread.h"

#include "feed/FeedSource.h"
#include "feed/XmlDom.h"
#include "framework/ComPtr.h"

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
  ComSession apartment;
  if (!apartment.Ok()) return std::string();
  try {
    return ManifestVersion(DecodeFeedBytes(body));
  } catch (...) {
    return std::string();  // no XML service: no offer
  }
}

int TManifestThread::Exchange(HINTERNET root) {
  int result = Request().SendRequest(root);
  if (result == 0 && !Cancelled()) version_ = ManifestVersionOfBody(ContentAsString(Response()));
  return result;
}
