// The capture rectangle from the view's values: the worked example, both
// scale rules, truncation and offsets, and the values that give none.
#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace plyscan {
namespace {

TEST(CaptureRectangle, ExtentsAtTheViewsScaleCentredInTheView) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* what;
    std::int32_t w, h;
    double v, x0, y0, x1, y1;
    std::optional<Rect> rect;
  } cases[] = {
      {"worked example", 1600, 800, 100, 0, 0, 150, 50, Rect::Sized(200, 200, 1200, 400)},
      {"W = H takes H / V", 600, 600, 60, 0, 0, 30, 60, Rect::Sized(150, 0, 300, 600)},
      {"taller than wide", 400, 800, 200, 0, 0, 100, 200, Rect::Sized(0, 0, 400, 800)},
      {"truncated toward zero", 1600, 800, 100, 0, 0, 149.9875, 50, Rect::Sized(200, 200, 1199, 400)},
      {"wider than the view by one", 1600, 800, 100, 0, 0, 200.125, 50, Rect::Sized(0, 200, 1601, 400)},
      {"wider than the view by three", 1600, 800, 100, 0, 0, 200.375, 50, Rect::Sized(-1, 200, 1603, 400)},
      {"VIEWSIZE 0", 1600, 800, 0, 0, 0, 150, 50, std::nullopt},
      {"SCREENSIZE 0 x 0", 0, 0, 100, 0, 0, 150, 50, std::nullopt},
      {"a height of 0", 1600, 0, 100, 0, 0, 150, 50, std::nullopt},
      {"an empty drawing's extents", 1600, 800, 100, 1e20, 1e20, -1e20, -1e20, std::nullopt},
      {"a flat drawing", 1600, 800, 100, 0, 10, 150, 10, std::nullopt},
      {"beyond 32 bits", 1600, 800, 1e-9, 0, 0, 150, 50, std::nullopt},
      {"not finite", 1600, 800, inf, 0, 0, 150, 50, std::nullopt},
      {"not a number", 1600, 800, std::nan(""), 0, 0, 150, 50, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CaptureRectangle(c.w, c.h, c.v, c.x0, c.y0, c.x1, c.y1), c.rect) << c.what;
}

}  // namespace
}  // namespace plyscan
