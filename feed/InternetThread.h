// A worker thread that performs one HTTP exchange and reports completion by
// posting a message to a window. Created suspended so the owner can fill in
// the request; never reused; the owner frees it after the completion message
// (or, at shut-down, after WaitFor).
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

  TRequest& Request() { return *request_; }
  TResponse& Response() { return request_->Response; }
  // Result of SendRequest, valid after the thread has ended.
  int Result() const { return result_; }

 private:
  static unsigned __stdcall ThreadProc(void* self);
  void Execute();

  std::unique_ptr<TRequest> request_;
  HWND window_;
  UINT message_;
  HINTERNET root_;
  UniqueKernelHandle thread_;
  bool started_ = false;
  volatile LONG cancelled_ = 0;
  int result_ = -1;
};

// The class callers instantiate.
class TInternetThread : public TInetThread {
 public:
  using TInetThread::TInetThread;
};
