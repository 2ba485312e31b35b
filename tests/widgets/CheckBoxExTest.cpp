#include <doctest.h>

#include <windows.h>

#include "tests/widgets/SkinTestUtil.h"
#include "widgets/CheckBoxEx.h"
#include "widgets/SkinResource.h"

namespace {

const wchar_t* const Caption104 = L"Windows her açıldığında otomatik olarak başlat.";

struct BoxFixture : SkinFixture {
  TCheckBoxEx box;
  BoxFixture() {
    box.SetSize(300, 20);
    box.StateBitmaps().SetUnticked(LoadSkinImage(5007));
    box.StateBitmaps().SetTicked(LoadSkinImage(5008));
    box.Font().SetName(L"Trebuchet MS");
    box.Font().SetSize(9);
    box.Font().SetColor(0xCF000000);
    box.Canvas().SetAntialias(false);
    box.Canvas().StringFormat().SetLineAlignment(1);
    box.SetCaption(Caption104);
    Place(box, 40, 20);
  }
  // What the box should look like: Image (if any) at the origin, the caption
  // from TextLeft on.
  std::unique_ptr<TBitmapEx> Expected(const TBitmapEx* image, int textLeft) {
    TCanvasEx canvas(box.Width(), box.Height());
    canvas.SetAntialias(false);
    canvas.StringFormat().Assign(box.Canvas().StringFormat());
    canvas.Font().Assign(box.Font());
    if (image) canvas.Draw(*image, 0, 0);
    canvas.DrawText(RECT{textLeft, 0, box.Width(), box.Height()}, Caption104);
    return canvas.Bitmap().Clone();
  }
};

}  // namespace

TEST_CASE("a check box draws the image of its state and the caption beside it") {
  BoxFixture f;
  CHECK_FALSE(f.box.Ticked());
  REQUIRE(f.box.StateBitmaps().Ticked() != nullptr);
  REQUIRE(f.box.StateBitmaps().Unticked() != nullptr);
  // The two state pictures must differ, or the checks below prove nothing.
  REQUIRE_FALSE(SameBitmap(*f.box.StateBitmaps().Ticked(), *f.box.StateBitmaps().Unticked()));

  struct Row {
    bool ticked;
    const TBitmapEx* image;
  };
  const Row rows[] = {{false, f.box.StateBitmaps().Unticked()}, {true, f.box.StateBitmaps().Ticked()},
                      {false, f.box.StateBitmaps().Unticked()}};
  for (const Row& row : rows) {
    CAPTURE(row.ticked);
    f.box.SetTicked(row.ticked);
    f.box.Paint();
    const TBitmapEx& canvas = f.box.Canvas().Bitmap();
    CHECK(FirstDifference(canvas, 0, 0, *row.image) == "");
    auto expected = f.Expected(row.image, 20);
    CHECK(FirstDifference(canvas, 0, 0, *expected) == "");
  }
  // Text really is drawn right of the image.
  int textPixels = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 20; x < 300; ++x) textPixels += (f.box.Canvas().Bitmap().Pixel(x, y) >> 24) != 0;
  CHECK(textPixels > 20);
}

TEST_CASE("a check box without state images draws its caption from the left edge") {
  BoxFixture f;
  f.box.StateBitmaps().SetUnticked(nullptr);
  f.box.StateBitmaps().SetTicked(nullptr);
  for (bool ticked : {false, true}) {
    f.box.SetTicked(ticked);
    f.box.Paint();
    auto expected = f.Expected(nullptr, 0);
    CHECK(FirstDifference(f.box.Canvas().Bitmap(), 0, 0, *expected) == "");
  }
  SUBCASE("only one state missing: that state draws text only, the other its image") {
    f.box.StateBitmaps().SetTicked(LoadSkinImage(5008));
    f.box.SetTicked(false);
    f.box.Paint();
    CHECK(FirstDifference(f.box.Canvas().Bitmap(), 0, 0, *f.Expected(nullptr, 0)) == "");
    f.box.SetTicked(true);
    f.box.Paint();
    CHECK(FirstDifference(f.box.Canvas().Bitmap(), 0, 0, *f.Expected(f.box.StateBitmaps().Ticked(), 20)) == "");
  }
}
