#include "feed/InternetThread.h"

#include <process.h>

#include <system_error>

TInetThread::TInetThread(HWND window, UINT message, HINTERNET root)
    : request_(std::make_unique<TRequest>()), window_(window), message_(message), root_(root) {
  uintptr_t h = ::_beginthreadex(nullptr, 0, &TInetThread::ThreadProc, this, CREATE_SUSPENDED, nullptr);
  if (h == 0) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "thread");
  thread_.Reset(reinterpret_cast<HANDLE>(h));
}

TInetThread::~TInetThread() { Finish(); }

void TInetThread::Finish() {
  if (!thread_) return;
  if (!started_) {
    // Let the suspended thread run only to see that it has nothing to do.
    ::InterlockedExchange(&cancelled_, 1);
    started_ = true;
    ::ResumeThread(thread_.Get());
  }
  WaitFor();
}

void TInetThread::Resume() {
  if (started_) return;
  if (::ResumeThread(thread_.Get()) == static_cast<DWORD>(-1))
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "resume");
  started_ = true;
}

void TInetThread::WaitFor() {
  if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
}

bool TInetThread::WaitFor(DWORD timeoutMs) {
  return !thread_ || ::WaitForSingleObject(thread_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

void TInetThread::Cancel() {
  ::InterlockedExchange(&cancelled_, 1);
  request_->Cancel();
}

unsigned __stdcall TInetThread::ThreadProc(void* self) {
  auto* thread = static_cast<TInetThread*>(self);
  if (!thread->Cancelled()) thread->Execute();
  return 0;
}

void TInetThread::Execute() {
  result_ = Exchange(root_);
  // The owner may have gone while we were on the network; then nobody is
  // waiting for the message.
  if (::IsWindow(window_)) {
    LPARAM l = static_cast<LPARAM>(result_);
    if (::IsWindowUnicode(window_))
      ::PostMessageW(window_, message_, 0, l);
    else
      ::PostMessageA(window_, message_, 0, l);
  }
}
