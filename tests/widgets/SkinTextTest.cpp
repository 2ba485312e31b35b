#include <doctest.h>

#include <windows.h>

#include "tests/widgets/SkinTestUtil.h"
#include "widgets/SkinText.h"

namespace {

void UseFooterFont(TSkinText& label) {
  label.Font().SetName(L"Trebuchet MS");
  label.Font().SetSize(8);
  label.Font().SetColor(0xAFFFFFFF);
}

// The label's text alone, drawn as the label draws it, on a canvas of the
// label's size.
std::unique_ptr<TBitmapEx> TextOnly(TSkinText& label) {
  TCanvasEx canvas(label.Width(), label.Height());
  canvas.SetTextRenderingHint(label.Canvas().TextRenderingHint());
  canvas.StringFormat().Assign(label.Canvas().StringFormat());
  canvas.Font().Assign(label.Font());
  canvas.DrawText(RECT{0, 0, label.Width(), label.Height()}, label.Data());
  return canvas.Bitmap().Clone();
}

bool OnlyChannel(const TBitmapEx& bitmap, std::uint32_t mask) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) & 0x00FFFFFFu & ~mask) return false;
  return true;
}

}  // namespace

TEST_CASE("an auto-sized label is its text's extent plus one pixel each way") {
  gdiplus::TGdiPlusSession gdip;
  const wchar_t* texts[] = {L"Güncelleniyor...", L"w w w . k a v r e l o . c o m", L"", L"iki\r\nsatır",
                            L"Bu programın ilgili kurumlarla bir ilişkisi yoktur."};
  for (const wchar_t* text : texts) {
    CAPTURE(std::string(text, text + wcslen(text)));
    TSkinText label;
    label.SetSize(110, 18);  // AutoSize overrides whatever was set
    UseFooterFont(label);
    label.SetData(text);
    SIZE extent = label.Canvas().TextExtent(text);
    CHECK(label.Width() == extent.cx + 1);
    CHECK(label.Height() == extent.cy + 1);
  }
}

TEST_CASE("sizing follows AutoSize, the text and the font") {
  gdiplus::TGdiPlusSession gdip;
  TSkinText label;
  UseFooterFont(label);
  label.SetAutoSize(false);
  label.SetSize(149, 46);
  label.SetData(L"Kavrelo");
  CHECK(label.Width() == 149);
  CHECK(label.Height() == 46);

  SUBCASE("switching AutoSize on sizes the label to its text") {
    label.SetAutoSize(true);
    SIZE extent = label.Canvas().TextExtent(L"Kavrelo");
    CHECK(label.Width() == extent.cx + 1);
    CHECK(label.Height() == extent.cy + 1);
  }
  SUBCASE("a longer text makes a wider label") {
    label.SetAutoSize(true);
    int before = label.Width();
    label.SetData(L"Kavrelo Kavrelo");
    CHECK(label.Width() > before);
  }
  SUBCASE("a bigger font measures again, without touching Data") {
    label.SetAutoSize(true);
    int width = label.Width(), height = label.Height();
    label.Font().SetSize(20);
    CHECK(label.Width() > width);
    CHECK(label.Height() > height);
    SIZE extent = label.Canvas().TextExtent(L"Kavrelo");
    CHECK(label.Width() == extent.cx + 1);
  }
  SUBCASE("setting the caption keeps the size of Data") {
    label.SetAutoSize(true);
    int width = label.Width();
    label.SetCaption(L"something else entirely");
    CHECK(label.Width() == width);
  }
}

TEST_CASE("the label is a clickable STATIC window") {
  SkinFixture f;
  TSkinText label;
  label.SetData(L"w w w");
  f.Place(label, 370, 300);
  CHECK(WindowClass(label.WindowHandle()) == L"Static");
  LONG style = ::GetWindowLongW(label.WindowHandle(), GWL_STYLE);
  CHECK((style & (SS_NOPREFIX | SS_NOTIFY)) == (SS_NOPREFIX | SS_NOTIFY));
  CHECK(TakesClicks(label.WindowHandle()));
}

TEST_CASE("drop shadow") {
  SkinFixture f;
  TSkinText label;
  UseFooterFont(label);
  label.Font().SetSize(14);
  label.Shadow().Color = 0xFFFF0000;
  label.SetData(L"Kavrelo");
  f.Place(label, 10, 10);  // window creation renders the shadow
  REQUIRE(label.ShadowBitmap() != nullptr);
  const TBitmapEx& shadow = *label.ShadowBitmap();
  CHECK(shadow.Width() == label.Width());
  CHECK(shadow.Height() == label.Height());
  CHECK(OpaqueishPixels(shadow) > 0);
  CHECK(OnlyChannel(shadow, 0x00FF0000));  // drawn in the shadow's colour

  SUBCASE("blurring spreads the shadow over more pixels than the sharp text") {
    auto sharp = TextOnly(label);
    CHECK(OpaqueishPixels(shadow) > OpaqueishPixels(*sharp));
  }
  SUBCASE("the shadow lies under the text at its offset") {
    // Invisible text leaves only the shadow on the canvas.
    label.Font().SetColor(0x00000000);
    label.Shadow().OffsetX = 3;
    label.Shadow().OffsetY = 1;
    label.Paint();
    TBitmapEx& canvas = label.Canvas().Bitmap();
    REQUIRE(label.ShadowBitmap() != nullptr);
    const TBitmapEx& s = *label.ShadowBitmap();
    CHECK(canvas.Pixel(0, 0) == 0u);
    bool same = true;
    for (int y = 0; y + 1 < s.Height(); ++y)
      for (int x = 0; x + 3 < s.Width(); ++x) same = same && canvas.Pixel(x + 3, y + 1) == s.Pixel(x, y);
    CHECK(same);
  }
  SUBCASE("with the shadow off the label draws only its text") {
    label.Shadow().Enabled = false;
    label.Paint();
    REQUIRE(label.ShadowBitmap() != nullptr);  // still held, not drawn
    auto expected = TextOnly(label);
    CHECK(FirstDifference(label.Canvas().Bitmap(), 0, 0, *expected) == "");
  }
  SUBCASE("AutoSize set to its current value renders nothing again") {
    label.Shadow().Color = 0xFF00FF00;
    label.SetAutoSize(true);
    CHECK(OnlyChannel(*label.ShadowBitmap(), 0x00FF0000));
    label.SetAutoSize(false);
    CHECK(OnlyChannel(*label.ShadowBitmap(), 0x0000FF00));
  }
  SUBCASE("colour and blur take effect at the next text change, not at painting") {
    label.Shadow().Color = 0xFF0000FF;
    label.Shadow().BlurPasses = 0;
    label.Paint();
    CHECK(OnlyChannel(*label.ShadowBitmap(), 0x00FF0000));
    label.SetData(L"Kavrelo");
    CHECK(OnlyChannel(*label.ShadowBitmap(), 0x000000FF));
    // Without blur the shadow covers exactly the text's pixels.
    label.Font().SetColor(0xFF0000FF);
    CHECK(OpaqueishPixels(*label.ShadowBitmap()) == OpaqueishPixels(*TextOnly(label)));
  }
  SUBCASE("a shadow switched on after a text change it missed shows the new text") {
    label.Shadow().Enabled = false;
    label.SetData(L"Güncelleniyor...");
    label.Shadow().Enabled = true;
    label.Paint();
    REQUIRE(label.ShadowBitmap() != nullptr);
    TSkinText fresh;
    UseFooterFont(fresh);
    fresh.Font().SetSize(14);
    fresh.Shadow().Color = 0xFFFF0000;
    fresh.SetData(L"Güncelleniyor...");
    REQUIRE(fresh.ShadowBitmap() != nullptr);
    CHECK(SameBitmap(*label.ShadowBitmap(), *fresh.ShadowBitmap()));
  }
  SUBCASE("the composited window shows the label") {
    f.window.Update();
    bool any = false;
    for (int y = 0; y < label.Height(); ++y)
      for (int x = 0; x < label.Width(); ++x) any = any || f.window.Canvas().Bitmap().Pixel(10 + x, 10 + y) != 0;
    CHECK(any);
  }
}

TEST_CASE("an empty or zero-sized label paints nothing and does not fail") {
  SkinFixture f;
  TSkinText label;
  label.SetAutoSize(false);
  label.SetSize(0, 0);
  label.SetData(L"");
  f.Place(label, 0, 0);
  label.Paint();
  label.SetData(L"metin");
  label.Paint();
  f.window.Update();
  CHECK(label.Width() == 0);
}
