#include "app/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/Globals.h"
#include "app/Paths.h"
#include "app/Random.h"
#include "feed/InternetRoot.h"
#include "framework/Desktop.h"
#include "ticker/MainWindow.h"

namespace {

const wchar_t MutexName[] = L"kavrelomutex";

// Releases the instance mutex the way it was taken: a zero-time wait, then
// the handle goes.
void ReleaseInstanceMutex(UniqueKernelHandle& mutex) {
  if (!mutex) return;
  ::WaitForSingleObject(mutex.Get(), 0);
  mutex.Reset();
}

}  // namespace

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  // Out of line: the owned types are complete here.
  if (Application == this) Application = nullptr;
}

bool TApplication::InstanceExists() {
  HANDLE h = ::CreateMutexW(nullptr, FALSE, MutexName);
  DWORD error = ::GetLastError();
  if (h != nullptr) {
    ::WaitForSingleObject(h, 0);
    ::CloseHandle(h);
  }
  return error == ERROR_ALREADY_EXISTS;
}

void TApplication::Run() {
  if (InstanceExists()) return;
  mutex_.Reset(::CreateMutexW(nullptr, FALSE, MutexName));
  try {
    Startup();
    try {
      MessageLoop();
    } catch (...) {
      Shutdown();
      throw;
    }
    Shutdown();
  } catch (...) {
    ReleaseInstanceMutex(mutex_);
    throw;
  }
  ReleaseInstanceMutex(mutex_);
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
  DataFolder = UserDataFolder();
  ::DataFolder = DataFolder;
  ForceDirectories(DataFolder);
  AppTitle = LoadResString(100);
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
  mainWindow_->Opacity = 0;
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
}
