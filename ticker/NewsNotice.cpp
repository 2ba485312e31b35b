// New headlines: marked in the list until the user has had them on screen
// in the active window, and announced with a tray balloon when they come
// while the ticker is not the active window. The balloon never takes the
// focus, waits while the user is presenting, playing or otherwise busy,
// and the ones missed then come in one balloon afterwards.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "app/AtomicFile.h"
#include "app/Globals.h"
#include "settings/WStrings.h"
#include "ticker/FeedCache.h"
#include "ticker/MainWindow.h"
#include "ticker/Messages.h"
#include "ticker/NewHeadlines.h"

namespace {

constexpr UINT NoticeTitleText = 310, MoreNewsText = 311;
// The record of unseen marks is a few hundred addresses at most.
constexpr unsigned long MaxUnseenFile = 4u << 20;

std::wstring UnseenPath() { return FeedCachePath() + L".unseen"; }

std::u16string ReadUnseenText() {
  std::string bytes;
  return ReadSmallFile(UnseenPath(), MaxUnseenFile, bytes) ? DecodeUtf16Le(bytes) : std::u16string();
}

}  // namespace

std::vector<std::wstring> TMainWindow::Identities() const {
  std::vector<std::wstring> ids;
  if (const TElementList* items = NewsList ? NewsList->Items() : nullptr) {
    ids.reserve(items->size());
    for (const auto& item : *items) ids.push_back(item->Identity());
  }
  return ids;
}

void TMainWindow::LoadUnseen() {
  unseen_ = TUnseen::Parse(ReadUnseenText());
  unseenSaved_ = unseen_.Size() == 0 ? std::string() : EncodeUtf16Le(unseen_.Text());
  unseen_.KeepOnly(Identities());
  ShowFreshMarks();
}

void TMainWindow::SaveUnseen() {
  const std::string bytes = unseen_.Size() == 0 ? std::string() : EncodeUtf16Le(unseen_.Text());
  if (bytes == unseenSaved_) return;
  // A record that cannot be written only loses marks at the next start,
  // and is tried again at the next change.
  const bool saved = bytes.empty() ? ::DeleteFileW(UnseenPath().c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND
                                   : SaveFileAtomically(UnseenPath(), bytes);
  if (saved) unseenSaved_ = bytes;
}

void TMainWindow::ShowFreshMarks() {
  if (!NewsList) return;
  const std::vector<std::wstring> ids = Identities();
  std::vector<bool> fresh(ids.size());
  for (size_t i = 0; i < ids.size(); ++i) fresh[i] = !ids[i].empty() && unseen_.Has(ids[i]);
  NewsList->SetFresh(std::move(fresh));
}

bool TMainWindow::UserLooking() const { return ::GetForegroundWindow() == WindowHandle() && !Shrunk && Visible(); }

void TMainWindow::NoteShown() {
  if (!NewsList || !UserLooking()) return;
  auto [first, last] = NewsList->VisibleItems();
  const TElementList* items = NewsList->Items();
  for (size_t i = first; i < last && items; ++i)
    if (NewsList->IsFresh(i)) shownWhileActive_.insert((*items)[i]->Identity());
}

void TMainWindow::CommitSeen() {
  if (shownWhileActive_.empty()) return;
  for (const std::wstring& id : shownWhileActive_) unseen_.Seen(id);
  shownWhileActive_.clear();
  SaveUnseen();
  ShowFreshMarks();
}

void TMainWindow::HeadlinesArrived(const std::vector<std::wstring>& before) {
  const std::vector<std::wstring> after = Identities();
  // Against no list at all nothing can be called new.
  const std::vector<size_t> fresh = before.empty() ? std::vector<size_t>() : NewPositions(before, after);
  for (size_t i : fresh) unseen_.Add(after[i]);
  unseen_.KeepOnly(after);
  SaveUnseen();
  ShowFreshMarks();
  NoteShown();
  // The first download of a run is news against the saved list only: it
  // gets its marks, but the user has just started the ticker.
  const bool firstList = before.empty() || !downloadedThisRun_;
  downloadedThisRun_ = true;
  const TNotice notice = NoticeFor(fresh.size(), firstList, UserLooking(), NotifyOn,
                                   TrayIcon && TrayIcon->VisibleTray());
  if (notice != TNotice::Show) return;
  // Newest first: the feed lists them top down.
  for (auto it = fresh.rbegin(); it != fresh.rend(); ++it) pendingNotice_.insert(pendingNotice_.begin(), after[*it]);
  ShowPendingNotice();
}

void TMainWindow::ShowPendingNotice() {
  if (NoticeTimer) NoticeTimer->SetEnabled(false);
  // Only what is still in the list and still unseen is news.
  const std::vector<std::wstring> ids = Identities();
  pendingNotice_.erase(std::remove_if(pendingNotice_.begin(), pendingNotice_.end(),
                                      [&](const std::wstring& id) {
                                        return !unseen_.Has(id) ||
                                               std::find(ids.begin(), ids.end(), id) == ids.end();
                                      }),
                       pendingNotice_.end());
  if (pendingNotice_.empty() || !TrayIcon || !TrayIcon->VisibleTray() || !NotifyOn) {
    pendingNotice_.clear();
    return;
  }
  QUERY_USER_NOTIFICATION_STATE state{};
  const bool known = SUCCEEDED(::SHQueryUserNotificationState(&state));
  if (!NoticeAllowed(known, static_cast<int>(state))) {
    // Asked again until the user is back; then one balloon for them all.
    if (NoticeTimer) NoticeTimer->SetEnabled(true);
    return;
  }
  const std::wstring newest = pendingNotice_.front();
  const size_t at = static_cast<size_t>(std::find(ids.begin(), ids.end(), newest) - ids.begin());
  std::wstring text = NewsList->ItemTitle(at);
  if (pendingNotice_.size() > 1) {
    std::wstring more = LoadResString(MoreNewsText);
    const size_t mark = more.find(L"%1");
    if (mark != std::wstring::npos) more.replace(mark, 2, std::to_wstring(pendingNotice_.size() - 1));
    text += L" " + more;
  }
  noticeIdentity_ = newest;
  pendingNotice_.clear();
  TrayIcon->SetBalloonTitle(LoadResString(NoticeTitleText));
  TrayIcon->SetBalloonHint(text);
  TrayIcon->BalloonFlags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
  TrayIcon->ShowBalloon();
}

void TMainWindow::NoticeClicked() {
  const std::vector<std::wstring> ids = Identities();
  const auto at = std::find(ids.begin(), ids.end(), noticeIdentity_);
  // The user asked for the ticker: it comes to the front, and the headline
  // opens as a click on it would.
  ::ShowWindow(WindowHandle(), SW_SHOW);
  ::SetForegroundWindow(WindowHandle());
  if (at != ids.end() && !noticeIdentity_.empty()) {
    const size_t index = static_cast<size_t>(at - ids.begin());
    SelectHeadline(static_cast<int>(index));
    NewsList->OpenIndex(index);
  }
}
