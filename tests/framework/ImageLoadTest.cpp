// Skin images decode from the program's own PNG resources.
#include <doctest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/BitmapEx.h"
#include "framework/Streams.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

int Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

}  // namespace

TEST_CASE("every skin image decodes at its natural size") {
  struct Row {
    int id, width, height;
  };
  const Row rows[] = {
      {5000, 20, 213}, {5001, 18, 70},  {5002, 475, 350}, {5003, 18, 324}, {5004, 136, 34},
      {5005, 385, 211}, {5006, 12, 12}, {5007, 20, 20},   {5008, 20, 20},  {5009, 342, 224},
      {5010, 64, 64},  {5011, 21, 21},  {5012, 20, 20},   {5013, 20, 20},
  };
  for (const Row& row : rows) {
    CAPTURE(row.id);
    auto bitmap = TBitmapEx::CreateFromResource(Module(), row.id, L"PNG");
    CHECK(bitmap->Width() == row.width);
    CHECK(bitmap->Height() == row.height);
    CHECK(bitmap->Format() == 0);
    CHECK(bitmap->DC() != nullptr);
    // Every image has something visible and is premultiplied throughout.
    bool visible = false, premultiplied = true;
    for (int y = 0; y < bitmap->Height(); ++y)
      for (int x = 0; x < bitmap->Width(); ++x) {
        std::uint32_t p = bitmap->Pixel(x, y);
        int a = Channel(p, 24);
        visible = visible || a > 0;
        premultiplied = premultiplied && Channel(p, 16) <= a && Channel(p, 8) <= a && Channel(p, 0) <= a;
      }
    CHECK(visible);
    CHECK(premultiplied);
  }
}

TEST_CASE("transparent PNG pixels read back as 0 and half-transparent white as about 0x80808080") {
  auto background = TBitmapEx::CreateFromResource(Module(), 5002, L"PNG");
  CHECK(background->Pixel(0, 0) == 0x00000000);
  CHECK(background->Pixel(474, 349) == 0x00000000);
  // The reading paper in the middle is nearly opaque.
  CHECK(Channel(background->Pixel(200, 180), 24) > 0xF0);

  for (int id : {5012, 5013}) {
    CAPTURE(id);
    auto button = TBitmapEx::CreateFromResource(Module(), id, L"PNG");
    std::uint32_t p = button->Pixel(10, 3);  // plain disc of (255, 255, 255, 128)
    for (int shift : {24, 16, 8, 0}) {
      CAPTURE(shift);
      CHECK(std::abs(Channel(p, shift) - 0x80) <= 1);
    }
  }
}

TEST_CASE("two loads of one resource are independent bitmaps") {
  auto first = TBitmapEx::CreateFromResource(Module(), 5007, L"PNG");
  auto second = TBitmapEx::CreateFromResource(Module(), 5007, L"PNG");
  REQUIRE(first->Data() != second->Data());
  std::uint32_t before = second->Pixel(10, 10);
  REQUIRE(before != 0);
  first->Fade(0);
  CHECK(first->Pixel(10, 10) == 0);
  CHECK(second->Pixel(10, 10) == before);
}

TEST_CASE("a missing resource raises \"Resource %s not found\" and makes no bitmap") {
  struct Row {
    int id;
    const wchar_t* type;
    const char* message;
  };
  const Row rows[] = {
      {4999, L"PNG", "Resource 4999 not found"},
      {5014, L"PNG", "Resource 5014 not found"},
      {5000, L"GIF", "Resource 5000 not found"},
  };
  for (const Row& row : rows) {
    CAPTURE(row.id);
    try {
      TBitmapEx::CreateFromResource(Module(), row.id, row.type);
      FAIL("no exception");
    } catch (const EResNotFound& error) {
      CHECK(std::string(error.what()) == row.message);
    }
  }
}

TEST_CASE("a resource that is not an image gives the empty bitmap") {
  // The application manifest: present, but XML.
  auto bitmap = TBitmapEx::CreateFromResource(Module(), 1, MAKEINTRESOURCEW(24));
  CHECK(bitmap->Empty());
  CHECK(bitmap->Data() == nullptr);
}
