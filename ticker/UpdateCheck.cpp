// Once per run: ask the maker's server for the newest version and offer the
// download. At start and every few minutes: request the visitor counter.
#include <windows.h>
#include <shellapi.h>

#include "app/Globals.h"
#include "app/Random.h"
#include "build/BuildConfig.h"
#include "feed/InternetRoot.h"
#include "ticker/FeedPath.h"
#include "ticker/Links.h"
#include "ticker/ManifestThread.h"
#include "ticker/MainWindow.h"
#include "ticker/Messages.h"
#include "ticker/Version.h"

namespace {

template <class TWorker>
std::unique_ptr<TWorker> StartWorker(HWND window, UINT message, const build::TEndpoint& endpoint,
                                     const std::string& path) {
  auto worker = std::make_unique<TWorker>(window, message, InternetHandle);
  TargetEndpoint(worker->Request(), endpoint);
  worker->Request().SetField(rfPath, path);
  worker->Request().TimeoutMs = build::HttpTimeoutMs;
  worker->Request().DeadlineMs = build::HttpDeadlineMs;
  worker->Request().MaxBodyBytes = build::MaxBodyBytes;
  worker->Resume();
  return worker;
}

}  // namespace

void TMainWindow::CheckForUpdate() {
  if (cleanedUp_) return;
  try {
    UpdateThread = StartWorker<TManifestThread>(WindowHandle(), WM_VERSIONDONE, build::Web,
                                                ManifestRequestPath(RandomBelow(RandLimit)));
  } catch (...) {
    UpdateThread.reset();
  }
}

void TMainWindow::VersionDone() {
  // The worker has read the manifest: a hostile one costs its thread, never
  // this one.
  std::string version;
  if (UpdateThread) {
    UpdateThread->WaitFor();
    if (UpdateThread->Result() == 0) version = UpdateThread->Version();
    UpdateThread.reset();
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
    CounterThread = StartWorker<TInternetThread>(WindowHandle(), WM_COUNTERDONE, build::Counter, CounterPath);
  } catch (...) {
    CounterThread.reset();
  }
}

void TMainWindow::CounterDone() { CounterThread.reset(); }
