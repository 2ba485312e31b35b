#include "settings/IniSyntax.h"

namespace {

bool IsTrimmed(char16_t c) { return c <= u' '; }

// The rules as they stand, applied once.
TIniLine ParseOnce(std::u16string_view raw) {
  std::u16string_view line = TrimIni(raw);
  if (line.empty() || line.front() == u';') return {};
  if (line.front() == u'[' && line.back() == u']' && line.size() >= 2)
    return {TIniLine::Section, std::u16string(TrimIni(line.substr(1, line.size() - 2)))};
  size_t eq = line.find(u'=');
  if (eq == std::u16string_view::npos) return {TIniLine::Stored, UnescapeIniLine(line)};
  std::u16string entry(TrimIni(line.substr(0, eq)));
  entry += u'=';
  entry += TrimIni(line.substr(eq + 1));
  return {TIniLine::Stored, UnescapeIniLine(entry)};
}

}  // namespace

std::u16string_view TrimIni(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::u16string EscapeIniLine(std::u16string_view line) {
  std::u16string out;
  out.reserve(line.size());
  for (char16_t c : line) {
    switch (c) {
      case u'\\': out += u"\\\\"; break;
      case u'\r': out += u"\\r"; break;
      case u'\n': out += u"\\n"; break;
      case u'\t': out += u"\\t"; break;
      case u'\0': break;
      default: out += c; break;
    }
  }
  return out;
}

std::u16string UnescapeIniLine(std::u16string_view line) {
  std::u16string out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != u'\\') {
      out += line[i];
      continue;
    }
    if (++i == line.size()) break;
    switch (line[i]) {
      case u'\\': out += u'\\'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u't': out += u'\t'; break;
      default: break;  // unknown escape: both characters go
    }
  }
  return out;
}

TIniLine ParseIniLine(std::u16string_view raw) {
  TIniLine line = ParseOnce(raw);
  if (line.kind != TIniLine::Stored) return line;
  // Dropping an unknown escape can leave text the file cannot hold as it
  // stands: spaces at an end of the name or value, or a line that now starts
  // with ";" or "[", or is empty. Keep what the written line will read back
  // as, so that the next save and load give this store again instead of
  // quietly changing it.
  TIniLine written = ParseOnce(EscapeIniLine(line.text));
  if (written.kind != TIniLine::Stored) return {};
  return written;
}
