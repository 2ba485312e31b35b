#include <doctest.h>

#include "ticker/NewHeadlines.h"

TEST_CASE("a headline is new when its identity was not in the list it replaces") {
  const std::vector<std::wstring> before{L"http://a/1", L"http://a/2", L"guid:7", L""};
  CHECK(NewPositions(before, {L"http://a/9", L"http://a/8", L"http://a/1", L"http://a/2"}) ==
        std::vector<std::size_t>{0, 1});
  // Moved, or only its texts changed: not new.
  CHECK(NewPositions(before, {L"http://a/2", L"http://a/1", L"guid:7"}).empty());
  // Without an identity nothing can be told: never new.
  CHECK(NewPositions(before, {L"", L"http://a/1"}).empty());
  // Everything is new against nothing; the caller knows the first list.
  CHECK(NewPositions({}, {L"x", L"y"}).size() == 2);
  // The same identity twice in the new list: both places are new.
  CHECK(NewPositions(before, {L"http://a/3", L"http://a/3"}) == std::vector<std::size_t>{0, 1});
}

TEST_CASE("unseen marks go when seen, follow the list, and survive a restart") {
  TUnseen u;
  u.Add(L"http://a/9");
  u.Add(L"http://a/8");
  u.Add(L"");  // no identity, no mark
  CHECK(u.Size() == 2);
  u.Seen(L"http://a/9");
  CHECK_FALSE(u.Has(L"http://a/9"));
  CHECK(u.Has(L"http://a/8"));
  u.Add(L"http://a/7");
  u.KeepOnly({L"http://a/7", L"http://a/1"});  // a/8 left the list
  CHECK(u.Size() == 1);
  TUnseen back = TUnseen::Parse(u.Text());
  CHECK(back.Has(L"http://a/7"));
  CHECK(back.Size() == 1);
  CHECK(back.Text() == u"http://a/7\r\n");
}

TEST_CASE("a damaged record gives what can be read, within bounds") {
  TUnseen u = TUnseen::Parse(u"http://a/1\r\nbad\x01line\r\n\r\nhttp://a/2\nhttp://a/3");
  CHECK(u.Size() == 3);
  CHECK(u.Has(L"http://a/3"));
  CHECK_FALSE(u.Has(L"badline"));
  std::u16string many;
  for (int i = 0; i < 20000; ++i) {
    std::string n = std::to_string(i);
    many += u"http://a/" + std::u16string(n.begin(), n.end()) + u"\r\n";
  }
  CHECK(TUnseen::Parse(many).Size() == TUnseen::MaxIdentities);
  CHECK(TUnseen::Parse(std::u16string(5000, u'a')).Size() == 0);  // too long for an address
}

TEST_CASE("a balloon only when the user accepts notifications") {
  struct Row {
    int state;
    bool allowed;
  };
  const Row rows[] = {{UserStateAway, false},     {UserStateBusy, false},      {UserStateFullScreen, false},
                      {UserStatePresenting, false},     {UserStateAccepts, true}, {UserStateQuietTime, false},
                      {UserStateApp, false}};
  for (const Row& r : rows) {
    CAPTURE(r.state);
    CHECK(NoticeAllowed(true, r.state) == r.allowed);
  }
  CHECK(NoticeAllowed(false, 0));  // the system could not tell
}

TEST_CASE("a balloon for new headlines, except for the first list, an active window, the switch off or no tray") {
  CHECK(NoticeFor(2, false, false, true, true) == TNotice::Show);
  CHECK(NoticeFor(0, false, false, true, true) == TNotice::Nothing);
  CHECK(NoticeFor(2, true, false, true, true) == TNotice::FirstList);
  CHECK(NoticeFor(2, false, true, true, true) == TNotice::WindowActive);
  CHECK(NoticeFor(2, false, false, false, true) == TNotice::SwitchOff);
  CHECK(NoticeFor(2, false, false, true, false) == TNotice::NoTray);
}
