// One owner for one OS or library handle. Copying is a compile error; moving
// hands the handle over explicitly. The traits say what "no handle" is and how
// a handle is released:
//
//   struct FileTraits {
//     using Handle = HANDLE;
//     static Handle Invalid() { return INVALID_HANDLE_VALUE; }
//     static void Close(Handle h) { CloseHandle(h); }
//   };
//   using UniqueFile = UniqueHandle<FileTraits>;
#pragma once

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept : handle_(Traits::Invalid()) {}
  explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const noexcept { return handle_; }
  bool Valid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }

  // Gives up ownership without closing.
  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  void Reset(Handle h = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, h);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_;
};
