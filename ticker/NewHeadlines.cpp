#include "ticker/NewHeadlines.h"

#include <unordered_set>

std::vector<std::size_t> NewPositions(const std::vector<std::wstring>& before,
                                      const std::vector<std::wstring>& after) {
  std::unordered_set<std::wstring> known(before.begin(), before.end());
  std::vector<std::size_t> fresh;
  for (std::size_t i = 0; i < after.size(); ++i)
    if (!after[i].empty() && known.count(after[i]) == 0) fresh.push_back(i);
  return fresh;
}

void TUnseen::Add(const std::wstring& identity) {
  if (!identity.empty() && identity.size() <= MaxLength && ids_.size() < MaxIdentities) ids_.insert(identity);
}

void TUnseen::Seen(const std::wstring& identity) { ids_.erase(identity); }

void TUnseen::KeepOnly(const std::vector<std::wstring>& identities) {
  std::set<std::wstring> kept;
  for (const std::wstring& id : identities)
    if (ids_.count(id)) kept.insert(id);
  ids_.swap(kept);
}

std::u16string TUnseen::Text() const {
  std::u16string text;
  for (const std::wstring& id : ids_) {
    for (wchar_t c : id) text += static_cast<char16_t>(c);
    text += u"\r\n";
  }
  return text;
}

TUnseen TUnseen::Parse(const std::u16string& text) {
  TUnseen unseen;
  std::size_t start = 0;
  while (start < text.size() && unseen.ids_.size() < MaxIdentities) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::size_t stop = end > start && text[end - 1] == u'\r' ? end - 1 : end;
    std::wstring id;
    bool clean = stop - start <= MaxLength;
    for (std::size_t i = start; clean && i < stop; ++i) {
      if (text[i] < 0x20 || text[i] == 0x7F) clean = false;
      id += static_cast<wchar_t>(text[i]);
    }
    if (clean) unseen.Add(id);
    start = end + 1;
  }
  return unseen;
}

bool NoticeAllowed(bool stateKnown, int state) { return !stateKnown || state == UserStateAccepts; }

TNotice NoticeFor(std::size_t newCount, bool firstListOfRun, bool windowActive, bool switchOn, bool trayShown) {
  if (newCount == 0) return TNotice::Nothing;
  if (firstListOfRun) return TNotice::FirstList;
  if (!switchOn) return TNotice::SwitchOff;
  if (!trayShown) return TNotice::NoTray;
  if (windowActive) return TNotice::WindowActive;
  return TNotice::Show;
}
