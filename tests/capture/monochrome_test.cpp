#include "capture/monochrome.h"

#include <gtest/gtest.h>

#include "base/platform.h"

namespace plyscan {
namespace {

constexpr Colour kBackground = 0x302821;
constexpr Colour kWhite = 0xFFFFFF;

// A 5-pixel-wide 24-bit picture: 15 bytes of pixels and one filler byte per
// row, the filler poisoned so that any write to it shows.
class MonochromeTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 5;
  static constexpr std::uint8_t kPoison = 0xA5;

  MonochromeTest() : bitmap_(SystemSurfaces()) {
    bitmap_.SetPixelFormat(24);
    bitmap_.SetSize(kWidth, 2);
    for (int y = 0; y < 2; ++y) bitmap_.Row(y)[15] = kPoison;
  }

  void ExpectFillerUntouched() {
    ASSERT_EQ(bitmap_.Stride(), 16u);
    for (int y = 0; y < 2; ++y) EXPECT_EQ(bitmap_.Row(y)[15], kPoison) << "row " << y;
  }

  Bitmap bitmap_;
};

TEST_F(MonochromeTest, KeepsBackgroundAndBlackAndRecoloursEverythingElse) {
  const Colour row0[kWidth] = {kBackground, 0, kBackground + 1, kBackground + 0x10000, 0x0000FF};
  const Colour row1[kWidth] = {kWhite, 0x010000, kBackground, 0, 0x7F7F7F};
  for (int x = 0; x < kWidth; ++x) {
    bitmap_.SetPixel(x, 0, row0[x]);
    bitmap_.SetPixel(x, 1, row1[x]);
  }
  ApplyMonochrome(bitmap_, kBackground, 0x00C080);

  const Colour want0[kWidth] = {kBackground, 0, 0x00C080, 0x00C080, 0x00C080};
  const Colour want1[kWidth] = {0x00C080, 0x00C080, kBackground, 0, 0x00C080};
  for (int x = 0; x < kWidth; ++x) {
    EXPECT_EQ(bitmap_.Pixel(x, 0), want0[x]) << x;
    EXPECT_EQ(bitmap_.Pixel(x, 1), want1[x]) << x;
  }
  const std::uint8_t* p = bitmap_.Row(0) + 3 * 2;  // stored blue, green, red
  EXPECT_EQ(p[0], 0x00);
  EXPECT_EQ(p[1], 0xC0);
  EXPECT_EQ(p[2], 0x80);
  ExpectFillerUntouched();
}

TEST_F(MonochromeTest, ABlackBackgroundRecoloursEveryPixelThatIsNotBlack) {
  bitmap_.SetPixel(0, 0, 0);
  bitmap_.SetPixel(1, 0, kBackground);
  ApplyMonochrome(bitmap_, 0, kWhite - 1);
  EXPECT_EQ(bitmap_.Pixel(0, 0), 0);
  for (int y = 0; y < 2; ++y)
    for (int x = (y == 0 ? 1 : 0); x < kWidth; ++x) EXPECT_EQ(bitmap_.Pixel(x, y), kWhite - 1) << x << "," << y;
  ExpectFillerUntouched();
}

TEST_F(MonochromeTest, ABackgroundOutsideTheColourRangeMatchesNothing) {
  bitmap_.SetPixel(0, 0, kBackground);
  ApplyMonochrome(bitmap_, kBackground | 0x01000000, 0x123456);
  EXPECT_EQ(bitmap_.Pixel(0, 0), 0x123456);
  ApplyMonochrome(bitmap_, -1, 0x654321);
  EXPECT_EQ(bitmap_.Pixel(4, 1), 0x654321);
  ExpectFillerUntouched();
}

TEST_F(MonochromeTest, OnlyTheLowThreeBytesOfTheReplacementAreStored) {
  ApplyMonochrome(bitmap_, kBackground, static_cast<Colour>(0xFF112233));
  EXPECT_EQ(bitmap_.Pixel(3, 1), 0x112233);
  ExpectFillerUntouched();
}

TEST(Monochrome, LeavesA32BitThumbnailAt24BitsEvenWhenNoPixelChanges) {
  Bitmap thumbnail(SystemSurfaces());
  thumbnail.SetSize(3, 2);
  ASSERT_EQ(thumbnail.BitsPerPixel(), 32);
  thumbnail.SetPixel(1, 1, 0);
  ApplyMonochrome(thumbnail, kWhite, kBackground);  // only white and black pixels: nothing to recolour
  EXPECT_EQ(thumbnail.BitsPerPixel(), 24);
  EXPECT_EQ(thumbnail.Stride(), 12u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(thumbnail.Pixel(x, y), x == 1 && y == 1 ? 0 : kWhite) << x << "," << y;
}

TEST(Monochrome, AnEmptyBitmapOnlyChangesFormat) {
  Bitmap empty(SystemSurfaces());
  ApplyMonochrome(empty, 0, kWhite);
  EXPECT_EQ(empty.BitsPerPixel(), 24);
  EXPECT_EQ(empty.Surface(), nullptr);
}

}  // namespace
}  // namespace plyscan
