// The picture fitted to its layer: the part of a synthetic copy that holds
// the layer (the rectangle of its pixels, grown by 5 %, at least 1/8 of the
// copy, kept inside it) and the scale and place it gets on the thumbnail;
// then the part painted with the OR shrink.
#include "capture/layer_fit.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/platform.h"
#include "capture/pixel_copy.h"

namespace plyscan {
namespace {

constexpr Colour kBack = 0x302821;
constexpr Colour kInk = 0x0000FF;

Bitmap Filled(int width, int height, Colour colour) {
  Bitmap b(SystemSurfaces());
  b.SetPixelFormat(32);
  b.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, colour);
  return b;
}

void Block(Bitmap& b, Rect r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) b.SetPixel(x, y, kInk);
}

TEST(FitToLayer, TheRectangleAndScaleOfEachKindOfLayer) {
  // A copy of 1600 x 960 onto a thumbnail of 200 x 120 unless said: the
  // least part is 200 x 120, shown at 1.
  const struct {
    const char* what;
    Size copy;
    std::function<void(Bitmap&)> draw;
    Rect part;
    double scale;
    Rect placed;
  } cases[] = {
      {"a dot in a corner: the least part, moved inside the copy",
       {1600, 960},
       [](Bitmap& b) { b.SetPixel(1599, 959, kInk); },
       Rect::Sized(1400, 840, 200, 120),
       1.0,
       Rect::Sized(0, 0, 200, 120)},
      {"a thin line across the whole width: the width cut to the copy's, the height the least",
       {1600, 960},
       [](Bitmap& b) { Block(b, Rect::Sized(0, 500, 1600, 1)); },
       Rect::Sized(0, 441, 1600, 120),
       0.125,
       Rect::Sized(0, 52, 200, 15)},
      {"a layer filling the view: the whole copy, as today",
       {1600, 960},
       [](Bitmap& b) {
         b.SetPixel(0, 0, kInk);
         b.SetPixel(1599, 959, kInk);
       },
       Rect::Sized(0, 0, 1600, 960),
       0.125,
       Rect::Sized(0, 0, 200, 120)},
      {"a crop smaller than 1/8: 40 x 30 grown by 2 and 2, then to 200 x 120 around its centre",
       {1600, 960},
       [](Bitmap& b) { Block(b, Rect::Sized(700, 500, 40, 30)); },
       Rect::Sized(620, 455, 200, 120),
       1.0,
       Rect::Sized(0, 0, 200, 120)},
      {"a title block: 400 x 200 grown by 20 and 10, its proportions kept",
       {1600, 960},
       [](Bitmap& b) { Block(b, Rect::Sized(1100, 700, 400, 200)); },
       Rect::Sized(1080, 690, 440, 220),
       200.0 / 440,
       Rect::Sized(0, 10, 200, 100)},
      {"a block at the edge, grown past it and moved back",
       {1600, 960},
       [](Bitmap& b) { Block(b, Rect::Sized(1500, 0, 100, 100)); },
       Rect::Sized(1400, 0, 200, 120),
       1.0,
       Rect::Sized(0, 0, 200, 120)},
      {"a crop that needs more than 8x: a dot in a copy of 100 x 60, the least part 13 x 8",
       {100, 60},
       [](Bitmap& b) { b.SetPixel(50, 30, kInk); },
       Rect::Sized(44, 27, 13, 8),
       8.0,
       Rect::Sized(48, 28, 104, 64)},
  };
  for (const auto& c : cases) {
    Bitmap copy = Filled(c.copy.width, c.copy.height, kBack);
    c.draw(copy);
    const auto fit = FitToLayer(copy, kBack, {200, 120});
    ASSERT_TRUE(fit) << c.what;
    EXPECT_EQ(fit->part, c.part) << c.what;
    EXPECT_DOUBLE_EQ(fit->scale, c.scale) << c.what;
    EXPECT_EQ(fit->placed, c.placed) << c.what;
  }
}

TEST(FitToLayer, AnEmptyLayerHasNoFitAndAnyColourButTheBackgroundCounts) {
  Bitmap copy = Filled(320, 200, kBack);
  EXPECT_FALSE(FitToLayer(copy, kBack, {200, 120}));
  // Black, and a colour one step from the background, are the layer's.
  for (Colour ink : {0x000000, 0x302822, 0x312821}) {
    copy.SetPixel(10, 10, ink);
    const auto fit = FitToLayer(copy, kBack, {200, 120});
    ASSERT_TRUE(fit) << ink;
    EXPECT_EQ(fit->part, Rect::Sized(0, 0, 40, 25)) << ink;  // the least: 1/8 of 320 x 200
    copy.SetPixel(10, 10, kBack);
  }
  // A background no pixel can have: the whole copy is the layer's.
  const auto all = FitToLayer(copy, -1, {200, 120});
  ASSERT_TRUE(all);
  EXPECT_EQ(all->part, Rect::Sized(0, 0, 320, 200));
}

void OrShrink(const Bitmap& from, Bitmap& onto) { ShrinkOrScans(from, onto); }

TEST(PaintFitted, TheOrShrinkKeepsAOnePixelLineAndTheRestIsBackground) {
  Bitmap copy = Filled(1600, 960, kBack);
  Block(copy, Rect::Sized(0, 500, 1600, 1));
  const auto fit = FitToLayer(copy, kBack, {200, 120});
  ASSERT_TRUE(fit);
  Bitmap thumb = Filled(200, 120, 0xFFFFFF);
  PaintFitted(copy, *fit, kBack, thumb, OrShrink);
  // Part row 59 of 120 falls into row 7 of 15, placed from row 52: row 59,
  // the line ORed with the background it was shrunk with.
  for (int x = 0; x < 200; ++x) ASSERT_EQ(thumb.Pixel(x, 59), kBack | kInk) << x;
  for (int y : {0, 51, 52, 58, 60, 66, 67, 119}) EXPECT_EQ(thumb.Pixel(100, y), kBack) << y;
}

TEST(PaintFitted, AnEnlargedDotIsABlockOfEightAtItsPlace) {
  Bitmap copy = Filled(100, 60, kBack);
  copy.SetPixel(50, 30, kInk);
  const auto fit = FitToLayer(copy, kBack, {200, 120});
  ASSERT_TRUE(fit);
  Bitmap thumb = Filled(200, 120, 0xFFFFFF);
  PaintFitted(copy, *fit, kBack, thumb, OrShrink);
  // The dot is (6, 3) of the part 44, 27: x 48 + 48 to 55, y 28 + 24 to 31.
  int ink = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) ink += thumb.Pixel(x, y) == kInk;
  EXPECT_EQ(ink, 64);
  EXPECT_EQ(thumb.Pixel(96, 52), kInk);
  EXPECT_EQ(thumb.Pixel(103, 59), kInk);
  for (const auto& [x, y] : {std::pair{95, 52}, std::pair{104, 52}, std::pair{96, 51}, std::pair{96, 60},
                             std::pair{0, 0}, std::pair{199, 119}, std::pair{47, 27}})
    EXPECT_EQ(thumb.Pixel(x, y), kBack) << x << "," << y;
}

}  // namespace
}  // namespace plyscan
