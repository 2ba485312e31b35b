#include <doctest.h>

#include "framework/ComPtr.h"
#include "ticker/MainWindow.h"

TEST_CASE("the manifest's /data/version, or nothing") {
  ComSession com;
  CHECK(ManifestVersion(L"<?xml version=\"1.0\"?><data><version>2.1</version><x/></data>") == "2.1");
  CHECK(ManifestVersion(L"<data><other>3</other></data>").empty());
  CHECK(ManifestVersion(L"<html><body>404</body></html>").empty());
  CHECK(ManifestVersion(L"not xml at all").empty());
  CHECK(ManifestVersion(L"").empty());
  CHECK(ManifestVersion(L"<root><data><version>9</version></data></root>").empty());  // not the root
}
