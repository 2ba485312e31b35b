// The typed reads and writes every ini file offers on top of its string
// reads and writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text to 32-bit integer: an optional sign, then decimal digits or "$" and
// hexadecimal digits, nothing else. Hexadecimal takes up to 32 bits as a bit
// pattern ("$FFFFFFFF" is -1); decimal must lie in the 32-bit range. Returns
// false, leaving value alone, for anything else.
bool ParseIniInteger(std::u16string_view text, std::int32_t& value);

class TWCustomIniFile {
 public:
  explicit TWCustomIniFile(std::u16string fileName) : fileName_(std::move(fileName)) {}
  virtual ~TWCustomIniFile() = default;
  TWCustomIniFile(const TWCustomIniFile&) = delete;
  TWCustomIniFile& operator=(const TWCustomIniFile&) = delete;

  const std::u16string& FileName() const { return fileName_; }

  virtual std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue) const = 0;
  virtual void WriteString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) = 0;

  // "0x1F" and "0X1F" read as hexadecimal; an empty or malformed value gives
  // the default.
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                           std::int32_t defaultValue) const;
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
  // Any integer but 0 is true; text that is not an integer ("yes") gives the
  // default.
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const;
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

 private:
  std::u16string fileName_;
};
