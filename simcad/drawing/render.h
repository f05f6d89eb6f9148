// A picture of the current view: what simcad's window paints, what _BMPOUT
// writes and what headless tests look at.
#pragma once

#include <cstdint>
#include <vector>

#include "simcad/drawing/drawing.h"

namespace simcad {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// The screen's background.
inline constexpr Rgb kBackground{33, 40, 48};

// Rows from the top, three bytes (red, green, blue) per pixel, no padding.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  Rgb At(int x, int y) const;
  void Set(int x, int y, Rgb colour);  // ignores points outside the image
};

// The AutoCAD colour index palette (1-255; 7 is white). 0 and 256 (by block,
// by layer) and anything out of range give white.
Rgb AciColour(int index);

// Draws the visible entities (layer on and thawed) in the view's screen size;
// parts of an insert are drawn by their own layer and colour and vanish with
// a frozen insert.
Image RenderView(const Drawing& drawing);

// The bytes of a 24-bit BMP file of the image: bottom-up rows padded to four bytes.
std::vector<std::uint8_t> BmpBytes(const Image& image);

}  // namespace simcad
