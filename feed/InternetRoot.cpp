#include "feed/InternetRoot.h"

#include "feed/UserAgent.h"

HINTERNET InternetHandle = nullptr;

bool OpenInternet() {
  CloseInternet();
  InternetHandle = ::InternetOpenA(UserAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  return InternetHandle != nullptr;
}

void CloseInternet() {
  if (InternetHandle != nullptr && ::InternetCloseHandle(InternetHandle)) InternetHandle = nullptr;
}
