#include "framework/Streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

std::int64_t NewPosition(std::int64_t position, std::int64_t size, std::int64_t offset, TStream::Origin origin) {
  std::int64_t base = origin == TStream::FromBeginning ? 0 : origin == TStream::FromCurrent ? position : size;
  if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) ||
      (offset < 0 && base + offset < 0))
    throw EStreamError("Seek outside the stream");
  return base + offset;
}

// Copies from data[0..size) at position; positions past the end read nothing.
std::int32_t ReadAt(const std::uint8_t* data, std::int64_t size, std::int64_t& position, void* buffer,
                    std::int32_t count) {
  if (count <= 0 || position >= size) return 0;
  auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, size - position));
  std::memcpy(buffer, data + position, static_cast<size_t>(n));
  position += n;
  return n;
}

}  // namespace

std::int32_t TMemoryStream::Read(void* buffer, std::int32_t count) {
  return ReadAt(bytes_.data(), Size(), position_, buffer, count);
}

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  std::int64_t end = position_ + count;
  if (end > static_cast<std::int64_t>(bytes_.size())) SetSize(end);
  std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, Origin origin) {
  position_ = NewPosition(position_, Size(), offset, origin);
  return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
  // A 32-bit process cannot hold more; refuse before the allocation fails.
  if (size < 0 || static_cast<std::uint64_t>(size) > std::numeric_limits<std::int32_t>::max())
    throw EStreamError("Memory stream size out of range");
  try {
    bytes_.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory");
  }
  position_ = std::min(position_, size);
}

TResourceStream::TResourceStream(HINSTANCE instance, int resId, const wchar_t* resType) {
  HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(resId), resType);
  HGLOBAL global = info ? LoadResource(instance, info) : nullptr;
  const void* data = global ? LockResource(global) : nullptr;
  if (!data) throw EResNotFound("Resource " + std::to_string(resId) + " not found");
  data_ = static_cast<const std::uint8_t*>(data);
  size_ = SizeofResource(instance, info);
}

std::int32_t TResourceStream::Read(void* buffer, std::int32_t count) {
  return ReadAt(data_, size_, position_, buffer, count);
}

std::int32_t TResourceStream::Write(const void*, std::int32_t) {
  throw EStreamError("Resource streams are read-only");
}

std::int64_t TResourceStream::Seek(std::int64_t offset, Origin origin) {
  position_ = NewPosition(position_, size_, offset, origin);
  return position_;
}

void TResourceStream::SetSize(std::int64_t) { throw EStreamError("Resource streams are read-only"); }
