// The Win32 side of the bitmaps: their pixels are plain memory that holds no
// GDI object however many there are, GDI works on them through a DIB section
// made for one operation and sees the same rows, and the user collation is
// CompareStringW's word sort.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/bitmap.h"
#include "base/collation.h"
#include "base/platform.h"
#include "win32/scoped_dib.h"

namespace plyscan {
namespace {

TEST(ScopedDib, GdiAndThePixelRowsSeeTheSamePicture) {
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(bpp);
    Bitmap bitmap(SystemSurfaces());
    bitmap.SetPixelFormat(bpp);
    bitmap.SetSize(5, 4);
    bitmap.SetPixel(1, 0, 0x332211);  // the top row in the portable code is the top row for GDI
    win32::ScopedDib dib(bitmap);
    EXPECT_EQ(GetPixel(dib.Dc(), 4, 3), RGB(255, 255, 255));  // white as sized
    EXPECT_EQ(GetPixel(dib.Dc(), 1, 0), RGB(0x11, 0x22, 0x33));

    SetPixelV(dib.Dc(), 3, 2, RGB(0xAA, 0xBB, 0xCC));
    dib.CopyTo(bitmap);
    EXPECT_EQ(bitmap.Pixel(3, 2), 0xCCBBAA);
    EXPECT_EQ(bitmap.Pixel(1, 0), 0x332211);

    BITMAP info{};
    ASSERT_NE(GetObjectW(GetCurrentObject(dib.Dc(), OBJ_BITMAP), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 4);
    EXPECT_EQ(info.bmBitsPixel, bpp);
  }
}

TEST(ScopedDib, ReleasesItsObjectsAndRefusesABitmapOfAnotherShape) {
  const long before = win32::LiveGdiObjects();
  Bitmap other(SystemSurfaces());
  other.SetSize(3, 3);
  {
    win32::ScopedDib dib(4, 4, 32);
    EXPECT_EQ(win32::LiveGdiObjects(), before + 2);  // the section and its DC
    EXPECT_THROW(dib.CopyTo(other), Failure);
  }
  EXPECT_EQ(win32::LiveGdiObjects(), before);
}

// Under Wine this checks the program's own scoped handles (win32/gdi.h);
// the system's count, GetGuiResources, answers 0 there and is a check only
// on Windows.
TEST(Bitmaps, ThousandsOfThumbnailsHoldNoGdiObject) {
  const DWORD system_before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const long before = win32::LiveGdiObjects();
  std::vector<Bitmap> thumbnails;
  for (int i = 0; i < 6000; ++i) {
    thumbnails.emplace_back(SystemSurfaces());
    thumbnails.back().SetSize(20, 12);
  }
  EXPECT_EQ(win32::LiveGdiObjects(), before);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), system_before) << "(Windows only)";
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
