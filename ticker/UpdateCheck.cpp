// Once per run: ask the maker's server for the newest version and offer the
// download. At start and every few minutes: request the visitor counter.
#include <windows.h>
#include <shellapi.h>

#include "app/Globals.h"
#include "app/Random.h"
#include "build/BuildConfig.h"
#include "feed/InternetRoot.h"
#include "feed/XmlDom.h"
#include "ticker/FeedPath.h"
#include "ticker/Links.h"
#include "ticker/MainWindow.h"
#include "ticker/Messages.h"
#include "ticker/Version.h"

namespace {

std::wstring Widen(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
  return text;
}

std::unique_ptr<TInternetThread> StartWorker(HWND window, UINT message, const char* host, const std::string& path) {
  auto worker = std::make_unique<TInternetThread>(window, message, InternetHandle);
  worker->Request().SetField(rfHost, host);
  worker->Request().SetField(rfPath, path);
  worker->Request().Port = build::HttpPort;
  worker->Request().TimeoutMs = build::HttpTimeoutMs;
  worker->Request().DeadlineMs = build::HttpDeadlineMs;
  worker->Request().MaxBodyBytes = build::MaxBodyBytes;
  worker->Resume();
  return worker;
}

}  // namespace

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

void TMainWindow::CheckForUpdate() {
  if (cleanedUp_) return;
  try {
    UpdateThread = StartWorker(WindowHandle(), WM_VERSIONDONE, build::WebHost,
                               ManifestRequestPath(RandomBelow(RandLimit)));
  } catch (...) {
    UpdateThread.reset();
  }
}

void TMainWindow::VersionDone() {
  std::wstring text;
  if (UpdateThread) {
    UpdateThread->WaitFor();
    if (UpdateThread->Result() == 0) text = Widen(ContentAsString(UpdateThread->Response()));
    UpdateThread.reset();
  }
  if (text.empty()) return;
  std::string version;
  try {
    version = ManifestVersion(text);
  } catch (...) {
    version = std::string(CurrentVersion);
  }
  if (version.empty() || !VersionNewer(version)) return;

  std::wstring message = LoadResString(200);
  size_t at = message.find(L"%s");
  if (at != std::wstring::npos) message.replace(at, 2, AppTitle);
  int answer = ::MessageBoxW(WindowHandle(), message.c_str(), AppTitle.c_str(), MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST);
  if (answer == IDYES)
    ::ShellExecuteW(nullptr, L"open", MakerAddress(DownloadPageLink).c_str(), nullptr, nullptr, SW_SHOW);
}

void TMainWindow::SendCounterHit() {
  if (CounterThread || cleanedUp_) return;  // a request still running absorbs the tick
  try {
    CounterThread = StartWorker(WindowHandle(), WM_COUNTERDONE, build::CounterHost, CounterPath);
  } catch (...) {
    CounterThread.reset();
  }
}

void TMainWindow::CounterDone() { CounterThread.reset(); }
