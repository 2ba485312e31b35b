// Byte streams in the shape the stream adapter expects: positions and sizes
// 64-bit, transfers 32-bit. Failures throw EStreamError.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A resource that does not exist; the message is "Resource <id> not found".
class EResNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TStream {
 public:
  enum Origin { FromBeginning = 0, FromCurrent = 1, FromEnd = 2 };

  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
  // Writes count bytes; returns how many were written.
  virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
  // Returns the new position.
  virtual std::int64_t Seek(std::int64_t offset, Origin origin) = 0;
  virtual std::int64_t Size() = 0;
  virtual void SetSize(std::int64_t size) = 0;
};

// Growable bytes in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  std::int64_t Seek(std::int64_t offset, Origin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
  void SetSize(std::int64_t size) override;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

// A read-only view of a resource of the module (no copy: resource memory
// lives as long as the module). Writing or resizing throws.
class TResourceStream : public TStream {
 public:
  // Throws EResNotFound when Instance has no resource ResID of type ResType.
  TResourceStream(HINSTANCE instance, int resId, const wchar_t* resType);
  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  std::int64_t Seek(std::int64_t offset, Origin origin) override;
  std::int64_t Size() override { return size_; }
  void SetSize(std::int64_t size) override;

 private:
  const std::uint8_t* data_ = nullptr;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
};
