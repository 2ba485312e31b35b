// The update manifest's download: one exchange on a worker thread that also
// reads the version out of the reply, so that nothing a server sends is
// parsed on the window thread.
#pragma once

#include <string>

#include "feed/InternetThread.h"

// The version a manifest text names ("/data/version"), or empty. Throws
// only when the XML service cannot be created.
std::string ManifestVersion(const std::wstring& text);

// The version named by a downloaded manifest: the bytes are decoded, and any
// DOCTYPE removed, as a feed's are; empty for a body larger than a feed may
// be, one without a version, or when the XML service is missing.
std::string ManifestVersionOfBody(const std::string& body);

class TManifestThread : public TInternetThread {
 public:
  using TInternetThread::TInternetThread;
  ~TManifestThread() override { Finish(); }

  // The version the manifest names, or empty; read after the completion
  // message.
  const std::string& Version() const { return version_; }

 protected:
  int Exchange(HINTERNET root) override;

 private:
  std::string version_;
};
