#include "html/WrapWidth.h"

#include <unordered_map>
#include <vector>

namespace {

constexpr std::u16string_view Break = u"\r\n";

bool IsBreakChar(char16_t c) { return c == u' ' || c == u'\t' || c == u'-' || c == u'.'; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The lines of a text broken at CR LF (a lone CR or LF counts too).
std::vector<std::u16string_view> Lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::u16string_view TrimEnd(std::u16string_view s) {
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

// Pieces of a line: each ends after a break character (or at the line's end).
std::vector<std::u16string_view> Pieces(std::u16string_view line) {
  std::vector<std::u16string_view> pieces;
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (!IsBreakChar(line[i])) continue;
    pieces.push_back(line.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < line.size()) pieces.push_back(line.substr(start));
  return pieces;
}

class TWrapper {
 public:
  TWrapper(const TTextWidth& piece, const TLineFits& fits, int room) : piece_(piece), fits_(fits), room_(room) {}

  // One line of the text: an empty one stays, as a blank line.
  void Paragraph(std::u16string_view line) {
    if (line.empty())
      Put(line);
    else
      Line(line);
  }

  std::u16string Take() { return std::move(out_); }

 private:
  void Line(std::u16string_view line) {
    std::u16string current;
    int guess = 0;
    for (std::u16string_view p : Pieces(line)) {
      const int w = PieceWidth(p);
      if (!current.empty() && guess + w > room_) {
        Emit(current);
        current.clear();
        guess = 0;
      }
      current += p;
      guess += w;
    }
    Emit(current);
  }

  int PieceWidth(std::u16string_view p) {
    auto it = widths_.find(std::u16string(p));
    if (it != widths_.end()) return it->second;
    const int w = piece_(p);
    widths_.emplace(std::u16string(p), w);
    return w;
  }

  bool Fits(std::u16string_view s) { return fits_(TrimEnd(s)); }

  // Puts out `text`, which the guess says fits; the real measure may move
  // pieces from its end to the next line, and a lone word that does not
  // fit is split between characters.
  void Emit(std::u16string_view text) {
    while (!text.empty()) {
      size_t end = text.size();
      while (!Fits(text.substr(0, end))) {
        size_t previous = PreviousBreak(text, end);
        if (previous == 0) {
          end = LongestFitting(text.substr(0, end));
          break;
        }
        end = previous;
      }
      Put(text.substr(0, end));
      text.remove_prefix(end);
    }
  }

  // The end of the last piece before `end`, or 0 when the text up to `end`
  // is one piece.
  static size_t PreviousBreak(std::u16string_view text, size_t end) {
    size_t i = end - 1;  // the last character is part of the piece that ends at `end`
    while (i > 0 && !IsBreakChar(text[i - 1])) --i;
    return i;
  }

  // How many characters of a word fit: at least one, and never half of a
  // surrogate pair.
  size_t LongestFitting(std::u16string_view word) {
    size_t lo = 1, hi = word.size();
    if (IsHighSurrogate(word[0]) && word.size() > 1) lo = 2;
    while (lo < hi) {
      size_t mid = (lo + hi + 1) / 2;
      if (IsHighSurrogate(word[mid - 1]) && mid < word.size()) --mid;
      if (mid <= lo) break;
      if (Fits(word.substr(0, mid)))
        lo = mid;
      else
        hi = mid - 1;
    }
    return lo;
  }

  void Put(std::u16string_view line) {
    if (!first_) out_ += Break;
    first_ = false;
    out_ += TrimEnd(line);
  }

  const TTextWidth& piece_;
  const TLineFits& fits_;
  int room_;
  std::unordered_map<std::u16string, int> widths_;
  std::u16string out_;
  bool first_ = true;
};

}  // namespace

std::u16string UnwrapText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const std::vector<std::u16string_view> lines = Lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    out += lines[i];
    if (i + 1 == lines.size()) break;
    const std::u16string_view line = lines[i];
    const bool wrapped = !line.empty() && (line.back() == u' ' || line.back() == u'\t' || line.back() == u'-');
    if (!wrapped) out += Break;
  }
  return out;
}

std::u16string WrapToWidth(std::u16string_view text, const TTextWidth& pieceWidth, const TLineFits& fits, int room) {
  TWrapper wrapper(pieceWidth, fits, room);
  for (std::u16string_view line : Lines(text)) wrapper.Paragraph(line);
  return wrapper.Take();
}
