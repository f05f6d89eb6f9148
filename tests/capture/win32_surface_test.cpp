// The Win32 adapters seen from GDI: a bitmap's surface is a top-down DIB that
// GDI draws into through its own memory device context, and the user
// collation is CompareStringW's word sort.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "base/collation.h"
#include "base/platform.h"

namespace plyscan {
namespace {

HDC ContextOf(Bitmap& bitmap) { return static_cast<HDC>(bitmap.Surface()->NativeContext()); }

TEST(DibSurface, GdiAndThePixelRowsSeeTheSamePicture) {
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(bpp);
    Bitmap bitmap(SystemSurfaces());
    bitmap.SetPixelFormat(bpp);
    bitmap.SetSize(5, 4);
    HDC dc = ContextOf(bitmap);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 4, 3), RGB(255, 255, 255));  // white as sized

    bitmap.SetPixel(1, 0, 0x332211);  // the top row in the portable code is the top row for GDI
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0x11, 0x22, 0x33));

    SetPixelV(dc, 3, 2, RGB(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(bitmap.Pixel(3, 2), 0xCCBBAA);

    BITMAP info{};
    ASSERT_NE(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 4);
    EXPECT_EQ(info.bmBitsPixel, bpp);
  }
}

TEST(DibSurface, BlitsBetweenBitmapsThroughTheirContexts) {
  Bitmap source(SystemSurfaces());
  source.SetSize(4, 4);
  source.SetPixel(2, 1, 0x0000FF);
  Bitmap target(SystemSurfaces());
  target.SetPixelFormat(24);
  target.SetSize(4, 4);
  ASSERT_TRUE(BitBlt(ContextOf(target), 0, 0, 4, 4, ContextOf(source), 0, 0, SRCCOPY));
  EXPECT_EQ(target.Pixel(2, 1), 0x0000FF);
  EXPECT_EQ(target.Pixel(1, 2), 0xFFFFFF);
}

TEST(Win32Collator, IsAWordSortThatIgnoresCase) {
  const Collator& collator = UserCollator();
  // CompareStringW's word sort weighs a hyphen less than letters: "co-op"
  // sorts with "coop", not before every letter as its code would put it.
  EXPECT_LT(collator.Compare(u"co-op", u"cop"), 0);
  EXPECT_GT(collator.Compare(u"co-op", u"coo"), 0);
  EXPECT_EQ(collator.Compare(u"ÉCOLE", u"école"), 0);
  // Accented letters sort beside their base letter.
  EXPECT_LT(collator.Compare(u"é", u"f"), 0);
}

}  // namespace
}  // namespace plyscan
