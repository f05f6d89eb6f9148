// Benchmark, not a test: the fit of one layer's picture to its pixels, on a
// copy of the view of 1900 x 1000 pixels onto a thumbnail of 200 x 120 (the
// cell at 100 %): finding the part (FitToLayer) and painting it with the OR
// shrink (PaintFitted), for the kinds of layer a drawing has. Prints the
// median and the slowest of the repetitions, in milliseconds a layer.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/platform.h"
#include "capture/layer_fit.h"
#include "capture/pixel_copy.h"

namespace {

using namespace plyscan;
using Clock = std::chrono::steady_clock;

constexpr Colour kBack = 0x302821;
constexpr int kRepetitions = 41;

Bitmap Copy(const std::function<void(Bitmap&)>& draw) {
  Bitmap b(SystemSurfaces());
  b.SetPixelFormat(32);
  b.SetSize(1900, 1000);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, kBack);
  draw(b);
  return b;
}

void Lines(Bitmap& b, Rect area, int step) {
  for (int y = area.top; y < area.bottom; y += step)
    for (int x = area.left; x < area.right; ++x) b.SetPixel(x, y, 0xFFFFFF);
}

}  // namespace

int main() {
  const struct {
    const char* what;
    std::function<void(Bitmap&)> draw;
  } cases[] = {
      {"an empty layer (every pixel read, no fit)", [](Bitmap&) {}},
      {"a title block in a corner (150 x 80)", [](Bitmap& b) { Lines(b, Rect::Sized(1700, 880, 150, 80), 4); }},
      {"a few marks far apart",
       [](Bitmap& b) {
         b.SetPixel(300, 200, 0xFF);
         b.SetPixel(1500, 900, 0xFF);
       }},
      {"a layer over the whole view (every 8th row)", [](Bitmap& b) { Lines(b, Rect::Sized(0, 0, 1900, 1000), 8); }},
  };
  std::printf("fit of one layer, copy 1900 x 1000 onto 200 x 120, %d repetitions:\n", kRepetitions);
  for (const auto& c : cases) {
    const Bitmap copy = Copy(c.draw);
    Bitmap thumbnail(SystemSurfaces());
    thumbnail.SetPixelFormat(32);
    thumbnail.SetSize(200, 120);
    std::vector<double> ms;
    double scale = 0;
    for (int i = 0; i < kRepetitions; ++i) {
      const auto start = Clock::now();
      const auto fit = FitToLayer(copy, kBack, {200, 120});
      if (fit) PaintFitted(copy, *fit, kBack, thumbnail, [](const Bitmap& f, Bitmap& o) { ShrinkOrScans(f, o); });
      ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      scale = fit ? fit->scale : 0;
    }
    std::sort(ms.begin(), ms.end());
    std::vector<double> today;  // the whole copy shrunk, as without the fit
    for (int i = 0; i < kRepetitions; ++i) {
      const auto start = Clock::now();
      ShrinkOrScans(copy, thumbnail);
      today.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(today.begin(), today.end());
    std::printf("  %-46s fit: median %.2f ms, slowest %.2f ms (scale %.2f); whole copy shrunk: median %.2f ms\n",
                c.what, ms[ms.size() / 2], ms.back(), scale, today[today.size() / 2]);
  }
  return 0;
}
