#include "html/StringBuilder.h"

#include <algorithm>
#include <stdexcept>

namespace {
// The largest length a 32-bit signed count can hold.
constexpr std::size_t MaxLength = 0x7FFFFFFF;
}  // namespace

TStringBuilder::TStringBuilder(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)), buffer_(new char16_t[capacity_]) {}

char16_t* TStringBuilder::Reserve(std::size_t count) {
  if (count > MaxLength - length_) throw std::length_error("TStringBuilder: text too long");
  std::size_t needed = length_ + count;
  if (needed > capacity_) {
    std::size_t capacity = capacity_;
    while (capacity < needed) capacity *= 2;
    std::unique_ptr<char16_t[]> buffer(new char16_t[capacity]);
    std::copy(buffer_.get(), buffer_.get() + length_, buffer.get());
    buffer_ = std::move(buffer);
    capacity_ = capacity;
  }
  return buffer_.get() + length_;
}

void TStringBuilder::Append(std::u16string_view text) {
  std::copy(text.begin(), text.end(), Reserve(text.size()));
  length_ += text.size();
}

bool TStringBuilder::LastIsWhitespace() const {
  if (length_ == 0) return false;
  char16_t c = buffer_[length_ - 1];
  return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}
