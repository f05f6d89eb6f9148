// The grab's pixel copies: a rectangle out of a larger picture, and the
// shrink that ORs the dropped pixels into the kept ones.
#include "capture/pixel_copy.h"

#include <gtest/gtest.h>

#include "base/platform.h"

namespace plyscan {
namespace {

Bitmap Filled(int width, int height, Colour colour, int bpp = 32) {
  Bitmap b(SystemSurfaces());
  b.SetPixelFormat(bpp);
  b.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, colour);
  return b;
}

TEST(ShrinkOrScans, AThinLineSurvivesTheShrink) {
  constexpr Colour kBack = 0x302821;
  Bitmap view = Filled(40, 30, kBack);
  for (int x = 0; x < 40; ++x) view.SetPixel(x, 17, 0x0000FF);  // one row of red
  view.SetPixel(33, 3, 0x00FF00);                                  // one green dot
  for (int bpp : {24, 32}) {
    Bitmap thumb = Filled(10, 10, 0xFFFFFF, bpp);
    ShrinkOrScans(view, thumb);
    // Row 17 of 30 falls into row 5 of 10; the dot (33, 3) into (8, 1).
    for (int x = 0; x < 10; ++x) EXPECT_EQ(thumb.Pixel(x, 5), kBack | 0x0000FF) << x;
    EXPECT_EQ(thumb.Pixel(8, 1), kBack | 0x00FF00);
    EXPECT_EQ(thumb.Pixel(2, 2), kBack);  // background alone stays background
    EXPECT_EQ(thumb.Pixel(9, 9), kBack);
  }
}

TEST(ShrinkOrScans, StretchesEachAxisOnItsOwn) {
  Bitmap small = Filled(2, 2, 0);
  small.SetPixel(1, 0, 0xFF0000);
  Bitmap wide = Filled(6, 2, 0xFFFFFF);
  ShrinkOrScans(small, wide);  // larger across: each pixel repeated
  for (int x = 0; x < 6; ++x) EXPECT_EQ(wide.Pixel(x, 0), x >= 3 ? 0xFF0000 : 0) << x;
  for (int x = 0; x < 6; ++x) EXPECT_EQ(wide.Pixel(x, 1), 0) << x;
  Bitmap same = Filled(2, 2, 0xFFFFFF);
  ShrinkOrScans(small, same);
  EXPECT_EQ(same.Pixel(1, 0), 0xFF0000);
  EXPECT_EQ(same.Pixel(0, 0), 0);
}

TEST(CopyPixels, TakesTheRectangleAndLeavesWhatLiesOutside) {
  Bitmap image = Filled(8, 6, 0x111111);
  image.SetPixel(3, 2, 0xABCDEF);
  Bitmap rect = Filled(4, 4, 0xFFFFFF);
  CopyPixels(image, 3, 2, rect);
  EXPECT_EQ(rect.Pixel(0, 0), 0xABCDEF);
  EXPECT_EQ(rect.Pixel(3, 3), 0x111111);
  Bitmap beyond = Filled(4, 4, 0xFFFFFF);
  CopyPixels(image, 6, -2, beyond);  // two columns and four rows of the image
  EXPECT_EQ(beyond.Pixel(0, 2), 0x111111);
  EXPECT_EQ(beyond.Pixel(1, 3), 0x111111);
  EXPECT_EQ(beyond.Pixel(2, 2), 0xFFFFFF);
  EXPECT_EQ(beyond.Pixel(0, 1), 0xFFFFFF);
}

TEST(CopyPixels, PastesAtANegativeOffsetInEitherFormat) {
  for (int bpp : {24, 32}) {
    Bitmap small = Filled(3, 2, 0x222222, bpp);
    small.SetPixel(2, 1, 0xABCDEF);
    Bitmap big = Filled(8, 6, 0xFFFFFF);  // 32 bits
    CopyPixels(small, -4, -3, big);       // small's (0, 0) at big's (4, 3)
    EXPECT_EQ(big.Pixel(4, 3), 0x222222) << bpp;
    EXPECT_EQ(big.Pixel(6, 4), 0xABCDEF) << bpp;
    for (const auto& [x, y] : {std::pair{3, 3}, std::pair{7, 3}, std::pair{4, 2}, std::pair{4, 5}})
      EXPECT_EQ(big.Pixel(x, y), 0xFFFFFF) << bpp << " " << x << "," << y;
  }
}

}  // namespace
}  // namespace plyscan
