// Which headlines are new, which the user has not seen yet, and when the
// ticker may say so with a balloon. A headline is known by its identity:
// the address it opens, or its guid when it has no address.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

// Positions in `after` of the identities that were not in `before`, top
// first. Headlines without an identity are never new.
std::vector<std::size_t> NewPositions(const std::vector<std::wstring>& before,
                                      const std::vector<std::wstring>& after);

// The headlines marked as new until the user has had the window active
// while they were on screen. Kept beside the cache, one identity a line,
// so the marks come back after a restart.
class TUnseen {
 public:
  void Add(const std::wstring& identity);
  // Seen: the mark goes.
  void Seen(const std::wstring& identity);
  bool Has(const std::wstring& identity) const { return ids_.count(identity) != 0; }
  // Forgets identities no longer in the list, so the record never grows
  // beyond it.
  void KeepOnly(const std::vector<std::wstring>& identities);
  std::size_t Size() const { return ids_.size(); }
  // The record's text (UTF-16, one identity per CR LF line), and back.
  // Parsing takes at most MaxIdentities lines of at most MaxLength
  // characters, skipping lines with control characters.
  std::u16string Text() const;
  static TUnseen Parse(const std::u16string& text);

  static constexpr std::size_t MaxIdentities = 10000;
  static constexpr std::size_t MaxLength = 2048;

 private:
  std::set<std::wstring> ids_;
};

// The states SHQueryUserNotificationState reports (QUERY_USER_NOTIFICATION_STATE).
enum TUserState : int {
  UserStateAway = 1,      // screen saver, locked, another user
  UserStateBusy = 2,            // a full-screen application
  UserStateFullScreen = 3,   // a full-screen game or video
  UserStatePresenting = 4,      // presentation mode
  UserStateAccepts = 5,
  UserStateQuietTime = 6,       // the first hour after a new Windows was set up
  UserStateApp = 7,      // a full-screen store app
};

// Whether a balloon may be shown now; false means it waits until it may.
// A state the call could not tell (older systems) lets it through.
bool NoticeAllowed(bool stateKnown, int state);

// Why a refresh with new headlines shows no balloon, or Show.
enum class TNotice { Show, FirstList, WindowActive, SwitchOff, NoTray, Nothing };
TNotice NoticeFor(std::size_t newCount, bool firstListOfRun, bool windowActive, bool switchOn, bool trayShown);
