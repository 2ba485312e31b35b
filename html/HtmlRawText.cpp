#include "html/HtmlRawText.h"

namespace {

// What may follow an end tag's name: TAB, LF, FF, CR (a browser has made it
// LF by then), space, "/" or ">". FF counts here although the reader's tag
// names do not stop at it: a browser ends "</script\f>" there.
bool IsTagNameEnd(char16_t c) {
  return c == 9 || c == 10 || c == 12 || c == 13 || c == 32 || c == u'/' || c == u'>';
}

char16_t LowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// name (lower case) at i in any case, then the end of a tag name.
bool NameAt(std::u16string_view text, std::size_t i, std::u16string_view name) {
  if (i >= text.size() || text.size() - i <= name.size()) return false;
  for (std::size_t k = 0; k < name.size(); ++k)
    if (LowerAscii(text[i + k]) != name[k]) return false;
  return IsTagNameEnd(text[i + name.size()]);
}

constexpr std::u16string_view Script = u"script";

// The script data states of a browser's tokenizer, from "script data" to
// "script data double escape end", in one scan. The states that wait for the
// next letter of a fixed word ("<!--", "</script", "<script") are look-aheads
// here; the rest are the cases of the switch. Only "<", "-" and ">" ever
// change the state.
std::size_t FindScriptDataEnd(std::u16string_view text, std::size_t from,
                              std::u16string_view endTagName) {
  enum class TState {
    Data,
    Escaped,
    EscapedDash,
    EscapedDashDash,
    DoubleEscaped,
    DoubleEscapedDash,
    DoubleEscapedDashDash,
  };
  TState state = TState::Data;
  std::size_t i = from;
  while (i < text.size()) {
    const char16_t c = text[i];
    switch (state) {
      // Script data: "</script" ends the script; "<!--" escapes, already at
      // its "--", so that "<!-->" is over at once.
      case TState::Data:
        if (c == u'<') {
          if (IsRawTextEndTag(text, i, endTagName)) return i;
          if (text.substr(i, 4) == u"<!--") {
            state = TState::EscapedDashDash;
            i += 4;
            continue;
          }
        }
        break;
      // Script data escaped, escaped dash, escaped dash dash: "-->" goes back
      // to script data; "</script" still ends the script; "<script" and
      // whitespace, "/" or ">" escape once more.
      case TState::Escaped:
      case TState::EscapedDash:
      case TState::EscapedDashDash:
        if (c == u'-') {
          state = state == TState::Escaped ? TState::EscapedDash : TState::EscapedDashDash;
        } else if (c == u'>' && state == TState::EscapedDashDash) {
          state = TState::Data;
        } else if (c == u'<') {
          if (IsRawTextEndTag(text, i, endTagName)) return i;
          state = TState::Escaped;
          if (NameAt(text, i + 1, Script)) {
            state = TState::DoubleEscaped;
            i += 1 + Script.size() + 1;
            continue;
          }
        } else {
          state = TState::Escaped;
        }
        break;
      // Script data double escaped, double escaped dash, double escaped dash
      // dash: "-->" goes back to script data; "</script" and whitespace, "/"
      // or ">" only back to escaped. Nothing ends the script here.
      case TState::DoubleEscaped:
      case TState::DoubleEscapedDash:
      case TState::DoubleEscapedDashDash:
        if (c == u'-') {
          state = state == TState::DoubleEscaped ? TState::DoubleEscapedDash
                                                 : TState::DoubleEscapedDashDash;
        } else if (c == u'>' && state == TState::DoubleEscapedDashDash) {
          state = TState::Data;
        } else if (c == u'<' && i + 1 < text.size() && text[i + 1] == u'/' &&
                   NameAt(text, i + 2, Script)) {
          state = TState::Escaped;
          i += 2 + Script.size() + 1;
          continue;
        } else {
          state = TState::DoubleEscaped;
        }
        break;
    }
    ++i;
  }
  return text.size();
}

}  // namespace

bool IsRawTextEndTag(std::u16string_view text, std::size_t i, std::u16string_view endTagName) {
  return i + 1 < text.size() && text[i] == u'<' && text[i + 1] == u'/' &&
         NameAt(text, i + 2, endTagName);
}

std::size_t FindRawTextEnd(std::u16string_view text, std::size_t from,
                           std::u16string_view endTagName, THtmlRawTextKind kind) {
  if (from >= text.size()) return text.size();
  if (kind == THtmlRawTextKind::ScriptData) return FindScriptDataEnd(text, from, endTagName);
  // Raw text: only "<" can begin the end.
  for (std::size_t i = text.find(u'<', from); i != std::u16string_view::npos;
       i = text.find(u'<', i + 1))
    if (IsRawTextEndTag(text, i, endTagName)) return i;
  return text.size();
}
