#include "settings/WStrings.h"

#include <stdexcept>

#include "settings/WideCase.h"

namespace {

void CheckIndex(int index, int count) {
  if (index < 0 || index >= count) throw std::out_of_range("string list index out of bounds");
}

}  // namespace

int TWStrings::Add(std::u16string text, std::unique_ptr<TWObject> object) {
  int index = Count();
  Insert(index, std::move(text), std::move(object));
  return index;
}

bool TWStrings::SameText(std::u16string_view a, std::u16string_view b) const {
  if (a.size() != b.size()) return false;
  if (caseSensitive_) return a == b;
  for (size_t i = 0; i < a.size(); ++i) {
    if (WideUpperChar(a[i]) != WideUpperChar(b[i])) return false;
  }
  return true;
}

int TWStrings::IndexOf(std::u16string_view text) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(Get(i), text)) return i;
  }
  return -1;
}

int TWStrings::IndexOfName(std::u16string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::u16string& line = Get(i);
    size_t eq = line.find(u'=');
    if (eq != std::u16string::npos && SameText(std::u16string_view(line).substr(0, eq), name)) return i;
  }
  return -1;
}

std::u16string TWStrings::Name(int index) const {
  const std::u16string& line = Get(index);
  size_t eq = line.find(u'=');
  return eq == std::u16string::npos ? std::u16string() : line.substr(0, eq);
}

void TWStrings::SetText(std::u16string_view text) {
  Clear();
  size_t end = text.find(u'\0');
  if (end != std::u16string_view::npos) text = text.substr(0, end);
  size_t start = 0;
  while (start < text.size()) {
    size_t stop = text.find_first_of(u"\r\n", start);
    if (stop == std::u16string_view::npos) {
      Add(std::u16string(text.substr(start)));
      break;
    }
    Add(std::u16string(text.substr(start, stop - start)));
    start = stop + 1;
    if (text[stop] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
  }
}

std::u16string TWStrings::Text() const {
  std::u16string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += u"\r\n";
  }
  return text;
}

void TWStrings::LoadFromBytes(std::string_view bytes) { SetText(DecodeUtf16Le(bytes)); }

std::string TWStrings::SaveToBytes() const { return EncodeUtf16Le(Text()); }

const std::u16string& TWStringList::Get(int index) const {
  CheckIndex(index, Count());
  return items_[index].text;
}

void TWStringList::Put(int index, std::u16string text) {
  CheckIndex(index, Count());
  items_[index].text = std::move(text);
  Changed();
}

TWObject* TWStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return items_[index].object.get();
}

void TWStringList::Insert(int index, std::u16string text, std::unique_ptr<TWObject> object) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, Item{std::move(text), std::move(object)});
  Changed();
}

void TWStringList::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
  Changed();
}

void TWStringList::Clear() {
  items_.clear();
  Changed();
}

void TWStringList::SetCaseSensitive(bool value) {
  if (value == CaseSensitive()) return;
  TWStrings::SetCaseSensitive(value);
  Changed();
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
  size_t pos = 0;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    pos = 2;
  std::u16string text;
  text.reserve((bytes.size() - pos) / 2);
  for (; pos + 1 < bytes.size(); pos += 2) {
    unsigned low = static_cast<unsigned char>(bytes[pos]);
    unsigned high = static_cast<unsigned char>(bytes[pos + 1]);
    text.push_back(static_cast<char16_t>(low | (high << 8)));
  }
  return text;
}

std::string EncodeUtf16Le(std::u16string_view text) {
  std::string bytes("\xFF\xFE", 2);
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}
