#include <doctest.h>

#include <windows.h>

#include "TestHttpServer.h"
#include "feed/InternetHandles.h"
#include "feed/InternetThread.h"

namespace {

constexpr UINT DoneMessage = WM_USER + 23;

// A message-only window to receive completions.
struct TargetWindow {
  TargetWindow() { window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
  ~TargetWindow() {
    if (window) ::DestroyWindow(window);
  }
  HWND window = nullptr;
};

// Waits for the completion message; returns whether it came, and its lParam.
bool WaitForDone(HWND window, LPARAM& result, DWORD timeoutMs = 15000) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < timeoutMs) {
    if (::PeekMessageW(&msg, window, DoneMessage, DoneMessage, PM_REMOVE)) {
      result = msg.lParam;
      return true;
    }
    ::Sleep(5);
  }
  return false;
}

}  // namespace

TEST_CASE("worker posts its completion with the exchange's result") {
  TestHttpServer server;
  UniqueInternetHandle root(::InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  TargetWindow target;
  REQUIRE(target.window);

  SUBCASE("success") {
    TInternetThread worker(target.window, DoneMessage, root.Get());
    worker.Request().SetField(rfHost, "127.0.0.1");
    worker.Request().SetField(rfPath, "/ok");
    worker.Request().Port = server.Port();
    worker.Resume();
    LPARAM result = 1;
    REQUIRE(WaitForDone(target.window, result));
    CHECK(result == 0);
    worker.WaitFor();
    CHECK(ContentAsString(worker.Response()) == TestHttpServer::OkBody());
  }
  SUBCASE("a null root handle still reports, with -1") {
    TInternetThread worker(target.window, DoneMessage, nullptr);
    worker.Request().SetField(rfHost, "127.0.0.1");
    worker.Resume();
    LPARAM result = 0;
    REQUIRE(WaitForDone(target.window, result));
    CHECK(result == -1);
  }
  SUBCASE("a worker freed before it was resumed performs no exchange") {
    {
      TInternetThread worker(target.window, DoneMessage, root.Get());
      worker.Request().SetField(rfHost, "127.0.0.1");
      worker.Request().SetField(rfPath, "/ok");
      worker.Request().Port = server.Port();
    }
    LPARAM result = 0;
    CHECK_FALSE(WaitForDone(target.window, result, 300));
    CHECK(server.Requests().empty());
  }
  SUBCASE("a window gone before the exchange ends receives nothing") {
    TInternetThread worker(target.window, DoneMessage, root.Get());
    worker.Request().SetField(rfHost, "127.0.0.1");
    worker.Request().SetField(rfPath, "/ok");
    worker.Request().Port = server.Port();
    ::DestroyWindow(target.window);
    // Another window of this thread: it must not get the completion meant
    // for the one that went, and nothing reaches the thread's queue.
    TargetWindow other;
    worker.Resume();
    worker.WaitFor();
    CHECK(worker.Result() == 0);
    CHECK(server.Requests().size() == 1);  // the exchange itself did happen
    MSG msg;
    CHECK_FALSE(::PeekMessageW(&msg, nullptr, DoneMessage, DoneMessage, PM_REMOVE));
    target.window = nullptr;
  }
  SUBCASE("a cancelled worker still reports, at once for a trickling server") {
    TInternetThread worker(target.window, DoneMessage, root.Get());
    worker.Request().SetField(rfHost, "127.0.0.1");
    worker.Request().SetField(rfPath, "/trickle");
    worker.Request().Port = server.Port();
    worker.Request().TimeoutMs = 5000;
    worker.Resume();
    CHECK_FALSE(worker.WaitFor(300));  // still reading
    DWORD start = ::GetTickCount();
    worker.Cancel();
    CHECK(worker.WaitFor(3000));
    CHECK(::GetTickCount() - start < 3000);
    LPARAM result = 0;
    REQUIRE(WaitForDone(target.window, result, 1000));
    CHECK(result == -1);
  }
}
