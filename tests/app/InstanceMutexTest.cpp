#include "app/InstanceMutex.h"

#include <doctest.h>

#include <string>

namespace {

// A name of this test run's own, so a ticker running beside the tests does
// not take part.
std::wstring TestName(const wchar_t* what) {
  return std::wstring(L"kavrelo-test-") + what + L"-" + std::to_wstring(::GetCurrentProcessId());
}

}  // namespace

TEST_CASE("the first claim of a name is alone, the next ones see it until it is released") {
  const std::wstring name = TestName(L"mutex");
  {
    TInstanceMutex first(name.c_str());
    CHECK(first.Claim() == TInstanceMutex::TClaim::Alone);
    TInstanceMutex second(name.c_str());
    CHECK(second.Claim() == TInstanceMutex::TClaim::AnotherRuns);
    CHECK(second.Error() == ERROR_ALREADY_EXISTS);
    // The loser lets go of its handle: it does not keep the name alive.
  }
  TInstanceMutex after(name.c_str());
  CHECK(after.Claim() == TInstanceMutex::TClaim::Alone);
}

TEST_CASE("a name held by another kind of object proves nothing and is not taken") {
  const std::wstring name = TestName(L"event");
  HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  REQUIRE(event != nullptr);
  TInstanceMutex claim(name.c_str());
  CHECK(claim.Claim() == TInstanceMutex::TClaim::Unproven);
  CHECK(claim.Error() == ERROR_INVALID_HANDLE);
  ::CloseHandle(event);
}
