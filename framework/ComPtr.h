// Owners for COM objects and automation values: one reference, one owner.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* p) : p_(p) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** Put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(const wchar_t* text) : s_(::SysAllocString(text)) {}
  ~UniqueBstr() { ::SysFreeString(s_); }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  BSTR Get() const { return s_; }
  BSTR* Put() {
    ::SysFreeString(s_);
    s_ = nullptr;
    return &s_;
  }
  std::wstring Str() const { return s_ ? std::wstring(s_, ::SysStringLen(s_)) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&v_); }
  explicit UniqueVariant(const wchar_t* text) {
    ::VariantInit(&v_);
    v_.vt = VT_BSTR;
    v_.bstrVal = ::SysAllocString(text);
  }
  ~UniqueVariant() { ::VariantClear(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  const VARIANT& Get() const { return v_; }
  VARIANT* Put() {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

// COM for the calling thread, a single-threaded apartment, for a scope
// (worker threads that use the XML service, tests, tools).
class ComSession {
 public:
  ComSession() : ok_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComSession() {
    if (ok_) ::CoUninitialize();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};
