// The ticker's own kinds of frame on the real widgets: each composes and
// hands over only what it changed, and the window then looks, pixel for
// pixel, as a full recompose of the same state does.
#include <doctest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/GdiPlus.h"
#include "framework/WindowEx.h"
#include "tests/framework/FrameRecorder.h"
#include "widgets/BackgroundEx.h"
#include "widgets/ContentEx.h"
#include "widgets/ListScroll.h"
#include "widgets/ScrollWidgets.h"
#include "widgets/SkinResource.h"
#include "widgets/ThrobberEx.h"

namespace {

std::vector<RECT>& handed = FrameRecorder::Handed();

std::unique_ptr<TElementList> Items(int count) {
  auto items = std::make_unique<TElementList>();
  for (int i = 0; i < count; ++i) {
    auto item = std::make_unique<TElement>();
    item->Title = L"Haber " + std::to_wstring(i) + L": İstanbul'da yağmur";
    item->Summary = L"Meteoroloji uyardı; sağanak öğleden sonra\r\nkuzey ilçelerde etkili olacak.";
    item->Link = L"http://news.example/" + std::to_wstring(i);
    items->push_back(std::move(item));
  }
  return items;
}

// The ticker's face as it lays it out: the skin's background, the list in
// its viewport with the scroll bar, the busy indicator in the footer.
struct Face {
  gdiplus::TGdiPlusSession gdip;
  FrameRecorder recorder;
  TWindowEx window;
  TBackgroundEx background;
  TContainerEx viewport;
  TContentEx list;
  TScrollerEx track;
  TThumbEx thumb;
  TThrobberEx throbber;
  int dragY = 0, dragTop = 0;
  TListScroll scroll{list, viewport, track, thumb, dragY, dragTop};

  static void Place(TControl& c, TControl& parent, int x, int y, int w, int h) {
    c.SetParent(&parent);
    c.SetLeft(x);
    c.SetTop(y);
    c.SetSize(w, h);
    c.Show();
  }
  Face() {
    window.SetSize(475, 350);
    window.HandleNeeded();
    Place(background, window, 0, 0, 475, 350);
    background.SetBitmap(LoadSkinImage(5002, background.Scale()));
    Place(viewport, background, 30, 75, 415, 213);
    Place(list, viewport, 0, 0, 390, 213);
    Place(track, viewport, 395, 0, 20, 213);
    track.SetBitmap(LoadSkinImage(5000, track.Scale()));
    Place(thumb, track, 1, 0, 18, 70);
    thumb.SetBitmap(LoadSkinImage(5001, thumb.Scale()));
    Place(throbber, background, 26, 301, TThrobberEx::FrameSize, TThrobberEx::FrameSize);
    list.Canvas().SetAntialias(false);
    list.Font().SetName(L"Trebuchet MS");
    list.Font().SetSize(9);
    list.ShowFeed(L"news.xml", Items(60));
    scroll.Fit();
    window.Update();
    handed.clear();
  }
  // Presents what is marked, then the same state painted and composed from
  // scratch: the first pixel where the two differ, or "".
  std::string PresentAndCompare() {
    window.Update();
    const std::vector<std::uint32_t> partial = Pixels(window.Canvas().Bitmap());
    for (TControlEx* c : std::initializer_list<TControlEx*>{&window, &background, &viewport, &list, &track, &thumb,
                                                            &throbber})
      c->Invalidate();
    window.Update();
    return Difference(window.Canvas().Bitmap(), partial);
  }
};

int Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

}  // namespace

TEST_CASE("a busy-indicator frame: its own square handed over, the face as a full recompose") {
  Face f;
  for (int frame = 0; frame < 3; ++frame) {
    CAPTURE(frame);
    handed.clear();
    f.throbber.NextFrame();
    f.window.Update();
    REQUIRE(handed.size() == 1);
    CHECK(Str(handed[0]) == "26,301-44,319");
    handed.clear();
    CHECK(f.PresentAndCompare() == "");
  }
}

TEST_CASE("the highlighted row moves: only the two rows handed over, the face as a full recompose") {
  Face f;
  f.list.ShowSelection(true, true);
  f.list.SetSelected(1);
  CHECK(f.PresentAndCompare() == "");
  for (int to : {2, 3, 1}) {
    CAPTURE(to);
    handed.clear();
    const int from = f.list.Selected();
    f.list.SetSelected(to);
    f.window.Update();
    REQUIRE(handed.size() == 1);
    // The two items' rows, as far as the viewport shows each.
    const RECT view{0, 0, 390, 213};
    RECT seen{0, 0, 0, 0};
    for (int i : {from, to}) {
      RECT row = f.list.ItemRect(static_cast<size_t>(i)), part;
      ::OffsetRect(&row, 0, f.list.ScrollTop());
      if (::IntersectRect(&part, &row, &view)) ::UnionRect(&seen, &seen, &part);
    }
    ::OffsetRect(&seen, 30, 75);
    CHECK(Str(handed[0]) == Str(seen));
    CHECK(Area(handed[0]) < Area(view));
    CHECK(f.PresentAndCompare() == "");
  }
  SUBCASE("with the list scrolled and rows drawn as the view reached them") {
    f.scroll.ScrollBy(WheelScroll(-120));
    f.window.Update();
    f.scroll.ScrollBy(WheelScroll(-120));
    f.window.Update();
    const auto visible = f.list.VisibleItems();
    f.list.SetSelected(static_cast<int>(visible.first) + 1);
    CHECK(f.PresentAndCompare() == "");
    f.list.ShowSelection(false, false);
    CHECK(f.PresentAndCompare() == "");
  }
}

TEST_CASE("a wheel step: the list's area handed over, the face as a full recompose") {
  Face f;
  for (int step = 0; step < 4; ++step) {
    CAPTURE(step);
    handed.clear();
    REQUIRE(f.scroll.ScrollBy(WheelScroll(-120)));
    f.window.Update();
    REQUIRE(handed.size() == 1);
    // The list and the thumb: the track beside the thumb stays.
    CHECK(Str(handed[0]) == "30,75-444,288");
    CHECK(f.PresentAndCompare() == "");
  }
}

TEST_CASE("a control shown, hidden or moved on the face looks as a full recompose") {
  Face f;
  f.throbber.Hide();
  CHECK(f.PresentAndCompare() == "");
  f.throbber.Show();
  CHECK(f.PresentAndCompare() == "");
  f.throbber.SetLeft(200);
  handed.clear();
  f.window.Update();
  REQUIRE(handed.size() == 1);
  CHECK(Str(handed[0]) == "26,301-218,319");  // where it was and where it is
  CHECK(f.PresentAndCompare() == "");
  f.thumb.SetTop(50);
  CHECK(f.PresentAndCompare() == "");
  f.viewport.SetLeft(20);
  CHECK(f.PresentAndCompare() == "");
  f.throbber.SetOpacity(100);
  CHECK(f.PresentAndCompare() == "");
  f.thumb.SetSize(18, 40);  // shrinks: where it was must be composed again
  CHECK(f.PresentAndCompare() == "");
}
