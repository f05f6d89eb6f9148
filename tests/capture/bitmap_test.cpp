#include "base/bitmap.h"

#include <gtest/gtest.h>

#include "base/failure.h"
#include "base/platform.h"
#include "support/counting_surfaces.h"

namespace plyscan {
namespace {

using testing::CountingSurfaces;

// Every pixel white, the fourth byte of 32-bit pixels and the row filler zero.
void ExpectFreshlyWhite(const Bitmap& bitmap) {
  const int bytes_per_pixel = bitmap.BitsPerPixel() / 8;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.Row(y);
    ASSERT_NE(row, nullptr);
    for (std::size_t i = 0; i < bitmap.Stride(); ++i) {
      const bool colour_byte = i < static_cast<std::size_t>(bitmap.Width() * bytes_per_pixel) &&
                               i % static_cast<std::size_t>(bytes_per_pixel) < 3;
      EXPECT_EQ(row[i], colour_byte ? 0xFF : 0x00) << "row " << y << " byte " << i;
    }
  }
}

Bitmap Sized(int bits_per_pixel, int width, int height) {
  Bitmap bitmap(SystemSurfaces());
  bitmap.SetPixelFormat(bits_per_pixel);
  bitmap.SetSize(width, height);
  return bitmap;
}

TEST(Bitmap, RowsArePaddedToFourBytes) {
  struct Case {
    int width, bpp;
    std::size_t stride;
  } cases[] = {{1, 24, 4}, {3, 24, 12}, {5, 24, 16}, {7, 24, 24}, {1, 32, 4}, {5, 32, 20}, {0, 24, 0}};
  for (const auto& c : cases) EXPECT_EQ(Bitmap::StrideFor(c.width, c.bpp), c.stride) << c.width << "x" << c.bpp;
}

TEST(Bitmap, IsWhiteWhenSizedInEitherFormat) {
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(bpp);
    Bitmap bitmap(SystemSurfaces());
    bitmap.SetPixelFormat(bpp);
    bitmap.SetWidth(5);
    EXPECT_EQ(bitmap.Surface(), nullptr);  // still no height
    bitmap.SetHeight(3);
    ASSERT_NE(bitmap.Surface(), nullptr);
    EXPECT_EQ(bitmap.Pixel(4, 2), 0xFFFFFF);
    ExpectFreshlyWhite(bitmap);
  }
}

TEST(Bitmap, PixelsAreStoredBlueGreenRedFromTheTopRow) {
  Bitmap bitmap = Sized(24, 2, 2);
  bitmap.SetPixel(1, 0, 0x332211);  // red 0x11, green 0x22, blue 0x33
  const std::uint8_t* top = bitmap.Row(0);
  EXPECT_EQ(top[3], 0x33);
  EXPECT_EQ(top[4], 0x22);
  EXPECT_EQ(top[5], 0x11);
  EXPECT_EQ(bitmap.Pixel(1, 0), 0x332211);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0xFFFFFF);
}

TEST(Bitmap, OutsideThePictureReadsInvalidAndWritesNothing) {
  Bitmap bitmap = Sized(32, 2, 2);
  bitmap.SetPixel(2, 0, 0);
  bitmap.SetPixel(-1, 0, 0);
  bitmap.SetPixel(0, 2, 0);
  ExpectFreshlyWhite(bitmap);
  EXPECT_EQ(bitmap.Pixel(2, 0), -1);
  EXPECT_EQ(bitmap.Pixel(0, -1), -1);
  EXPECT_EQ(bitmap.Row(2), nullptr);
}

TEST(Bitmap, ResizingWhitensButTheSameSizeKeepsThePicture) {
  Bitmap bitmap = Sized(32, 3, 3);
  bitmap.SetPixel(1, 1, 0x123456);
  bitmap.SetSize(3, 3);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x123456);
  bitmap.SetWidth(4);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0xFFFFFF);
  ExpectFreshlyWhite(bitmap);
}

TEST(Bitmap, ZeroOrNegativeSidesHaveNoSurface) {
  Bitmap bitmap = Sized(24, 4, 4);
  bitmap.SetHeight(0);
  EXPECT_EQ(bitmap.Surface(), nullptr);
  EXPECT_EQ(bitmap.Row(0), nullptr);
  bitmap.SetSize(-3, 5);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Surface(), nullptr);
}

TEST(Bitmap, ASizeBeyondAnySurfaceFailsAndLeavesTheBitmapAsItWas) {
  Bitmap bitmap = Sized(32, 2, 2);
  bitmap.SetPixel(0, 0, 0x010203);
  EXPECT_THROW(bitmap.SetSize(100000, 100000), Failure);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0x010203);
}

TEST(Bitmap, ChangingTheFormatKeepsThePicture) {
  for (int from : {24, 32}) {
    const int to = from == 24 ? 32 : 24;
    SCOPED_TRACE(from);
    Bitmap bitmap = Sized(from, 5, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) bitmap.SetPixel(x, y, (x * 40) | (y * 70) << 8 | (x + y) << 16);
    bitmap.SetPixelFormat(to);
    ASSERT_EQ(bitmap.BitsPerPixel(), to);
    ASSERT_EQ(bitmap.Stride(), Bitmap::StrideFor(5, to));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(bitmap.Pixel(x, y), (x * 40) | (y * 70) << 8 | (x + y) << 16);
    if (to == 24) {
      for (int y = 0; y < 3; ++y) EXPECT_EQ(bitmap.Row(y)[15], 0) << "filler of row " << y;
    }
  }
}

TEST(Bitmap, CopyIsANewSurfaceFromTheSameFactory) {
  CountingSurfaces surfaces;
  Bitmap original(surfaces);
  original.SetPixelFormat(24);
  original.SetSize(3, 2);
  original.SetPixel(2, 1, 0x00FF00);
  {
    Bitmap copy = original.Copy();
    EXPECT_EQ(surfaces.Created(), 2);
    EXPECT_EQ(&copy.Factory(), &surfaces);
    EXPECT_EQ(copy.BitsPerPixel(), 24);
    EXPECT_NE(copy.Surface(), original.Surface());
    EXPECT_EQ(copy.Pixel(2, 1), 0x00FF00);
    copy.SetPixel(2, 1, 0);
    EXPECT_EQ(original.Pixel(2, 1), 0x00FF00);
  }
  EXPECT_EQ(surfaces.Live(), 1);
}

TEST(Bitmap, MovingHandsOverTheSurfaceWithoutMakingOne) {
  CountingSurfaces surfaces;
  Bitmap a(surfaces);
  a.SetSize(2, 2);
  PixelSurface* surface = a.Surface();
  Bitmap b(std::move(a));
  EXPECT_EQ(b.Surface(), surface);
  EXPECT_EQ(a.Surface(), nullptr);
  EXPECT_EQ(a.Width(), 0);
  Bitmap c(surfaces);
  c.SetSize(1, 1);
  c = std::move(b);
  EXPECT_EQ(c.Surface(), surface);
  EXPECT_EQ(surfaces.Created(), 2);
  EXPECT_EQ(surfaces.Live(), 1);  // c's own surface went with the assignment
}

}  // namespace
}  // namespace plyscan
