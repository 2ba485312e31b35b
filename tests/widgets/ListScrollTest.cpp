// The scroll numbers again, now through the live widgets: messages go to the
// list, the window, the track and the thumb, wired as the ticker wires them.
#include <doctest.h>

#include <windows.h>

#include "framework/GdiPlus.h"
#include "framework/WindowEx.h"
#include "widgets/ContentEx.h"
#include "widgets/ListScroll.h"
#include "widgets/ScrollWidgets.h"

namespace {

void Place(TControl& c, TControl& parent, int x, int y, int w, int h) {
  c.SetParent(&parent);
  c.SetLeft(x);
  c.SetTop(y);
  c.SetSize(w, h);
  c.Show();
}

// The ticker's list area: a 213-pixel viewport, a 213-pixel track and a
// 70-pixel thumb; the list (without items: its own Height) is 513 pixels
// tall.
struct ScrollFixture {
  gdiplus::TGdiPlusSession gdip;
  TWindowEx window;
  TContainerEx viewport;
  TContentEx list;
  TScrollerEx track;
  TThumbEx thumb;
  int dragY = 0, dragTop = 0;
  TListScroll scroll{list, viewport, track, thumb, dragY, dragTop};

  ScrollFixture() {
    window.SetSize(475, 350);
    window.HandleNeeded();
    Place(viewport, window, 30, 75, 415, 213);
    Place(list, viewport, 0, 0, 390, 513);
    Place(track, viewport, 395, 0, 20, 213);
    Place(thumb, track, 1, 0, 18, 70);
    list.OnKeyDown = [this](TControl*, WORD& key, TShiftState) { scroll.Key(key); };
    window.OnMouseWheel = [this](TControl*, int, int delta, int, int) { scroll.ScrollBy(WheelScroll(delta)); };
    track.OnMouseDown = [this](TControl*, int, int, int y) { scroll.TrackClick(y); };
    thumb.OnMouseDown = [this](TControl*, int keys, int, int) { scroll.ThumbPressed(keys); };
    thumb.OnDrag = [this](TControl*, int keys, int, int) { scroll.ThumbDragged(keys); };
  }
  void Key(WORD key) { ::SendMessageW(list.Handle(), WM_KEYDOWN, key, 1); }
  void Wheel(int delta) {
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                   MAKELPARAM(100, 100));
  }
  void TrackAt(int y) { ::SendMessageW(track.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, y)); }
  // Presses the thumb with the cursor at screen row y0 and drags it to y1.
  void Drag(int y0, int y1) {
    ::SetCursorPos(200, y0);
    ::SendMessageW(thumb.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SetCursorPos(200, y1);
    ::SendMessageW(thumb.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5 + y1 - y0));
    ::SendMessageW(thumb.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5 + y1 - y0));
  }
};

}  // namespace

TEST_CASE("keys page, jump and step through a tall list") {
  ScrollFixture f;
  struct Step {
    WORD key;
    int top, thumb;
  };
  // Page Down, End, Down past the end, Up, Home, Up at the top, Page Up.
  const Step steps[] = {{VK_NEXT, -213, 102}, {VK_END, -300, 143}, {VK_DOWN, -300, 143}, {VK_UP, -290, 138},
                        {VK_HOME, 0, 0},      {VK_UP, 0, 0},       {VK_RIGHT, -10, 5},   {VK_PRIOR, 0, 0}};
  for (const Step& s : steps) {
    CAPTURE(s.key);
    f.Key(s.key);
    CHECK(f.list.ScrollTop() == s.top);
    CHECK(f.thumb.Top() == s.thumb);
  }
}

TEST_CASE("a wheel notch scrolls half its delta, clamped at both ends") {
  ScrollFixture f;
  f.Wheel(-120);
  CHECK(f.list.ScrollTop() == -60);
  CHECK(f.thumb.Top() == 29);  // 60 * 143 / 300 = 28.6
  for (int i = 0; i < 10; ++i) f.Wheel(-120);
  CHECK(f.list.ScrollTop() == -300);
  CHECK(f.thumb.Top() == 143);
  f.Wheel(1);  // less than one pixel: nothing
  CHECK(f.list.ScrollTop() == -300);
  for (int i = 0; i < 10; ++i) f.Wheel(120);
  CHECK(f.list.ScrollTop() == 0);
}

TEST_CASE("a click on the track pages towards it; on the thumb's rows it does nothing") {
  ScrollFixture f;
  f.TrackAt(150);  // below the thumb
  CHECK(f.list.ScrollTop() == -213);
  CHECK(f.thumb.Top() == 102);
  f.TrackAt(140);  // on the thumb (102..171): no page
  CHECK(f.list.ScrollTop() == -213);
  f.TrackAt(200);
  CHECK(f.list.ScrollTop() == -300);
  f.TrackAt(10);  // above it
  CHECK(f.list.ScrollTop() == -87);
  CHECK(f.thumb.Top() == 41);  // 87 * 143 / 300 = 41.47
}

TEST_CASE("dragging the thumb moves the list with it, clamped to the track") {
  ScrollFixture f;
  f.Drag(100, 202);
  CHECK(f.thumb.Top() == 102);
  CHECK(f.list.ScrollTop() == -214);  // 102 * 300 / 143 = 213.99
  f.Drag(120, 600);  // far below the track
  CHECK(f.thumb.Top() == 143);
  CHECK(f.list.ScrollTop() == -300);
  f.Drag(300, 0);  // far above it
  CHECK(f.thumb.Top() == 0);
  CHECK(f.list.ScrollTop() == 0);
}

TEST_CASE("a new layout keeps the view inside the list") {
  ScrollFixture f;
  f.Key(VK_END);
  REQUIRE(f.list.ScrollTop() == -300);

  SUBCASE("a shorter list clamps the Top and moves the thumb at once") {
    f.list.SetHeight(300);
    f.scroll.Fit();
    CHECK(f.list.ScrollTop() == -87);
    CHECK(f.thumb.Top() == 143);
    CHECK(f.track.Visible());
  }
  SUBCASE("a list that fits the viewport goes back to the top, without a track") {
    f.list.SetHeight(150);
    f.scroll.Fit();
    CHECK(f.list.ScrollTop() == 0);
    CHECK(f.thumb.Top() == 0);
    CHECK_FALSE(f.track.Visible());
  }
  SUBCASE("the same list again: nothing moves, not even a dragged thumb") {
    f.Drag(100, 50);  // thumb 143 - 50 = 93
    int top = f.list.ScrollTop(), thumb = f.thumb.Top();
    f.scroll.Fit();
    CHECK(f.list.ScrollTop() == top);
    CHECK(f.thumb.Top() == thumb);
  }
  SUBCASE("a longer list keeps the Top; the thumb follows the new ratio") {
    f.list.SetHeight(813);
    f.scroll.Fit();
    CHECK(f.list.ScrollTop() == -300);
    CHECK(f.thumb.Top() == 72);  // 300 * 143 / 600 = 71.5, ties to even
  }
}
