#include "app/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/DataPlace.h"
#include "app/Globals.h"
#include "app/InstanceMutex.h"
#include "app/Paths.h"
#include "app/Random.h"
#include "feed/InternetRoot.h"
#include "framework/Desktop.h"
#include "ticker/MainWindow.h"

namespace {

const wchar_t MutexName[] = L"kavrelomutex";

void ReportUnprovenInstance(DWORD error) {
  wchar_t text[160];
  ::wsprintfW(text, L"Kavrelo: the instance mutex could not be created (error %lu); not starting.\n", error);
  ::OutputDebugStringW(text);
}

}  // namespace

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  // Out of line: the owned types are complete here.
  if (Application == this) Application = nullptr;
}

void TApplication::Run() {
  // Taken before anything else and held (by this object) until the end,
  // an exception from start-up or the loop included.
  TInstanceMutex instance(MutexName);
  if (instance.Claim() != TInstanceMutex::TClaim::Alone) {
    // Another copy runs, silently; or nothing proves this one is alone, and
    // two copies would both write news.xml and options.ini.
    if (instance.Claim() == TInstanceMutex::TClaim::Unproven) ReportUnprovenInstance(instance.Error());
    return;
  }
  Startup();
  try {
    MessageLoop();
  } catch (...) {
    Shutdown();
    throw;
  }
  Shutdown();
}

void TApplication::Startup() {
  InitLibraries();
  InitPaths();
  InitGlobals();
  CreateMainWindow();
}

void TApplication::InitLibraries() {
  ::InitCommonControls();
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  ::InitCommonControlsEx(&icc);
  comInitialized_ = SUCCEEDED(::CoInitialize(nullptr));
}

void TApplication::InitPaths() {
  AppFolder = ProgramFolder();
  ::SetCurrentDirectoryW(AppFolder.c_str());
  const TDataPlace place = FindDataPlace();
  DataFolder = place.Folder;
  ::DataFolder = DataFolder;
  PortableCopy = place.Mode == TDataMode::Portable;
  AutoStartOffered = !PortableCopy || !OnRemovableDrive(AppFolder);
  AppTitle = LoadResString(100);
  if (!place.Writable) {
    sessionFolder_ = place.Folder;
    // Said once, before the window: the user learns why nothing is kept
    // rather than finding it out later.
    ::MessageBoxW(nullptr, LoadResString(112).c_str(), AppTitle.c_str(), MB_OK | MB_ICONWARNING);
  }
}

void TApplication::InitGlobals() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  RandomSeed(static_cast<std::uint32_t>(now.QuadPart ^ (now.QuadPart >> 32)) ^ ::GetTickCount());
  desktop_ = std::make_unique<TDesktop>();
  desktop_->SetName(L"ManagerDesktop");
  OpenInternet();
}

void TApplication::CreateMainWindow() {
  mainWindow_ = std::make_unique<TMainWindow>();
  mainWindow_->SetParentWindow(nullptr);
  mainWindow_->SetName(L"kavrelo");
  mainWindow_->SetClassNameW(L"kavreloclass");
  mainWindow_->SetCaption(L"kavrelo");
  mainWindow_->HandleNeeded();
  mainWindow_->SetOpacity(0);
  mainWindow_->SetVisible(true);
}

void TApplication::MessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void TApplication::Shutdown() {
  // The window has cleaned up (workers waited for) before the loop ended.
  mainWindow_.reset();
  CloseInternet();
  desktop_.reset();
  if (comInitialized_) ::CoUninitialize();
  comInitialized_ = false;
  if (!sessionFolder_.empty()) RemoveSessionFolder(sessionFolder_);
}
