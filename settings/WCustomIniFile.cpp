#include "settings/WCustomIniFile.h"

namespace {

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 99;
}

}  // namespace

bool ParseIniInteger(std::u16string_view text, std::int32_t& value) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) negative = text[pos++] == u'-';
  unsigned base = 10;
  if (pos < text.size() && text[pos] == u'$') {
    base = 16;
    ++pos;
  }
  if (pos == text.size()) return false;
  // Decimal may reach 2^31 for "-2147483648"; hexadecimal any 32-bit pattern.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    unsigned digit = static_cast<unsigned>(DigitValue(text[pos]));
    if (digit >= base) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  value = static_cast<std::int32_t>(bits);
  return true;
}

std::int32_t TWCustomIniFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                          std::int32_t defaultValue) const {
  std::u16string text = ReadString(section, key, u"");
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text.replace(0, 2, u"$");
  std::int32_t value = defaultValue;
  return ParseIniInteger(text, value) ? value : defaultValue;
}

void TWCustomIniFile::WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value) {
  std::string digits = std::to_string(value);
  WriteString(section, key, std::u16string(digits.begin(), digits.end()));
}

bool TWCustomIniFile::ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TWCustomIniFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}
