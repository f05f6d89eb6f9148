#include <array>

#include "simcad/drawing/render.h"

namespace simcad {
namespace {

// The table is built from its rule: indexes 10-249 are 24 hues 15 degrees
// apart, each at five brightness levels, at full and at half saturation;
// 1-9 and 250-255 are fixed colours and greys.
std::array<Rgb, 256> MakePalette() {
  std::array<Rgb, 256> palette{};
  const Rgb fixed[10] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0},   {0, 255, 0},   {0, 255, 255},
                         {0, 0, 255},   {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
  for (int i = 0; i < 10; ++i) palette[i] = fixed[i];
  const double levels[5] = {255, 204, 153, 127, 76};
  for (int index = 10; index < 250; ++index) {
    const int hue_step = (index - 10) / 10;  // 15 degrees each
    const int shade = (index % 10) / 2;
    const bool half = index % 2 == 1;
    const double value = levels[shade];
    const double low = half ? value / 2 : 0;
    const double hue = hue_step * 15.0 / 60.0;  // in sextants
    const int sextant = static_cast<int>(hue) % 6;
    const double fraction = hue - static_cast<int>(hue);
    const double rising = low + (value - low) * fraction;
    const double falling = value - (value - low) * fraction;
    double r = 0, g = 0, b = 0;
    switch (sextant) {
      case 0: r = value; g = rising; b = low; break;
      case 1: r = falling; g = value; b = low; break;
      case 2: r = low; g = value; b = rising; break;
      case 3: r = low; g = falling; b = value; break;
      case 4: r = rising; g = low; b = value; break;
      default: r = value; g = low; b = falling; break;
    }
    palette[index] = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
  }
  const std::uint8_t greys[6] = {51, 91, 132, 173, 214, 255};
  for (int i = 0; i < 6; ++i) palette[250 + i] = {greys[i], greys[i], greys[i]};
  return palette;
}

}  // namespace

Rgb AciColour(int index) {
  static const std::array<Rgb, 256> palette = MakePalette();
  if (index < 1 || index > 255) return palette[7];
  return palette[index];
}

}  // namespace simcad
