#include <doctest.h>

#include "framework/ComPtr.h"
#include "ticker/ManifestThread.h"

TEST_CASE("the manifest's /data/version, or nothing") {
  ComSession com;
  CHECK(ManifestVersion(L"<?xml version=\"1.0\"?><data><version>2.1</version><x/></data>") == "2.1");
  CHECK(ManifestVersion(L"<data><other>3</other></data>").empty());
  CHECK(ManifestVersion(L"<html><body>404</body></html>").empty());
  CHECK(ManifestVersion(L"not xml at all").empty());
  CHECK(ManifestVersion(L"").empty());
  CHECK(ManifestVersion(L"<root><data><version>9</version></data></root>").empty());  // not the root
}

TEST_CASE("a downloaded manifest is read as a feed is: decoded, its DOCTYPE dropped, its size capped") {
  // The worker's own apartment: no session of the caller's needed.
  CHECK(ManifestVersionOfBody("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><data><version>2.1</version></data>") ==
        "2.1");
  // The DOCTYPE goes, and with it every entity it declares: the reference
  // no longer resolves and the document does not load.
  CHECK(ManifestVersionOfBody("<!DOCTYPE data [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                              "<data><version>&b;</version></data>")
            .empty());
  CHECK(ManifestVersionOfBody("<!DOCTYPE data [<!ENTITY x SYSTEM \"file:///C:/windows/win.ini\">]>"
                              "<data><version>&x;</version></data>")
            .empty());
  // A harmless DOCTYPE does not cost the version.
  CHECK(ManifestVersionOfBody("<!DOCTYPE data><data><version>3</version></data>") == "3");
  std::string big = "<data><version>9</version>" + std::string(16 * 1024 * 1024, ' ') + "</data>";
  CHECK(ManifestVersionOfBody(big).empty());
  CHECK(ManifestVersionOfBody("").empty());
}
