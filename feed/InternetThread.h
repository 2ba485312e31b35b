// A worker thread that performs one HTTP exchange and reports completion by
// posting a message to a window. Created suspended so the owner can fill in
// the request; never reused; the owner frees it after the completion message
// (or, at shut-down, after cancelling it and waiting).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "feed/Request.h"
#include "framework/WinHandles.h"

class TInetThread {
 public:
  // Throws std::system_error when the thread cannot be created.
  TInetThread(HWND window, UINT message, HINTERNET root);
  // Waits for a running exchange to end. A thread that was never resumed
  // ends without performing its exchange.
  virtual ~TInetThread();
  TInetThread(const TInetThread&) = delete;
  TInetThread& operator=(const TInetThread&) = delete;

  // Starts the exchange; throws std::system_error when the thread cannot run.
  void Resume();
  // Blocks until the thread has ended.
  void WaitFor();
  // Waits at most timeoutMs; whether the thread has ended.
  bool WaitFor(DWORD timeoutMs);
  // Aborts the exchange from the owner's thread: open connections are
  // closed, nothing more is read or parsed. The completion is still posted
  // while the window exists.
  void Cancel();

  TRequest& Request() { return *request_; }
  TResponse& Response() { return request_->Response; }
  // Result of SendRequest, valid after the thread has ended.
  int Result() const { return result_; }

 protected:
  // The work of the thread, before the completion is posted: by default the
  // request's exchange, whose result it returns. A subclass that overrides
  // it must call Finish() in its destructor, before its own members go.
  virtual int Exchange(HINTERNET root) { return request_->SendRequest(root); }
  bool Cancelled() const { return ::InterlockedCompareExchange(&cancelled_, 0, 0) != 0; }
  // Lets a never-resumed thread end and waits for the thread; idempotent.
  void Finish();

 private:
  static unsigned __stdcall ThreadProc(void* self);
  void Execute();

  std::unique_ptr<TRequest> request_;
  HWND window_;
  UINT message_;
  HINTERNET root_;
  UniqueKernelHandle thread_;
  bool started_ = false;
  mutable volatile LONG cancelled_ = 0;
  int result_ = -1;
};

// The class callers instantiate.
class TInternetThread : public TInetThread {
 public:
  using TInetThread::TInetThread;
};
