// The output buffer of the text formatter: a UTF-16 buffer that grows only by
// doubling, so one conversion makes few allocations however much it writes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class TStringBuilder {
 public:
  explicit TStringBuilder(std::size_t capacity);
  TStringBuilder(const TStringBuilder&) = delete;
  TStringBuilder& operator=(const TStringBuilder&) = delete;

  // Throws std::length_error when the text would not fit in 2^31 characters.
  void Append(std::u16string_view text);
  // Whether the last character is TAB, LF, CR or space. Call only when
  // Length() > 0.
  bool LastIsWhitespace() const;
  std::u16string ToString() const { return std::u16string(buffer_.get(), length_); }
  // The text so far; valid until the builder changes.
  std::u16string_view View() const { return {buffer_.get(), length_}; }
  // Empties the text and keeps the memory.
  void Clear() { length_ = 0; }
  // Room for up to count more characters, to be written in place and then
  // made part of the text with Commit. Throws as Append does.
  char16_t* Reserve(std::size_t count);
  void Commit(std::size_t count) { length_ += count; }

  std::size_t Capacity() const { return capacity_; }
  std::size_t Length() const { return length_; }

 private:
  std::size_t capacity_;
  std::size_t length_ = 0;
  // Not a std::u16string: that would zero-fill the whole reserve up front.
  std::unique_ptr<char16_t[]> buffer_;
};
