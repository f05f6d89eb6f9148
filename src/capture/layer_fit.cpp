#include "capture/layer_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "capture/pixel_copy.h"

namespace plyscan {

namespace {

std::int32_t CeilDiv(std::int32_t value, std::int32_t by) { return (value + by - 1) / by; }

// The span [start, start + length) grown around its centre to `least`, moved
// inside [0, whole) and cut to it.
void Settle(std::int32_t& start, std::int32_t& length, std::int32_t least, std::int32_t whole) {
  if (length < least) {
    start -= (least - length) / 2;
    length = least;
  }
  length = std::min(length, whole);
  start = std::clamp(start, 0, whole - length);
}

}  // namespace

std::optional<LayerFit> FitToLayer(const Bitmap& copy, Colour background, Size thumbnail) {
  const std::int32_t width = copy.Width(), height = copy.Height();
  if (width <= 0 || height <= 0 || thumbnail.width <= 0 || thumbnail.height <= 0) return std::nullopt;
  const bool matches_none = background < 0 || background > 0xFFFFFF;
  // In memory a pixel is blue, green, red (and a filler byte at 32 bits).
  const auto blue = static_cast<std::uint8_t>(background >> 16), green = static_cast<std::uint8_t>(background >> 8),
             red = static_cast<std::uint8_t>(background);
  const std::size_t bytes = static_cast<std::size_t>(copy.BitsPerPixel() / 8);
  const auto differs = [&](const std::uint8_t* p) {
    return matches_none || p[0] != blue || p[1] != green || p[2] != red;
  };

  std::int32_t left = width, right = -1, top = -1, bottom = -1;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = copy.Row(y);
    std::int32_t x = 0;
    while (x < width && !differs(row + static_cast<std::size_t>(x) * bytes)) ++x;
    if (x == width) continue;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, x);
    std::int32_t last = width - 1;
    while (last > right && !differs(row + static_cast<std::size_t>(last) * bytes)) --last;
    right = std::max(right, last);
  }
  if (top < 0) return std::nullopt;

  std::int32_t part_width = right + 1 - left, part_height = bottom + 1 - top;
  const std::int32_t margin_x = CeilDiv(part_width, 20), margin_y = CeilDiv(part_height, 20);
  left -= margin_x;
  top -= margin_y;
  part_width += 2 * margin_x;
  part_height += 2 * margin_y;
  Settle(left, part_width, CeilDiv(width, 8), width);
  Settle(top, part_height, CeilDiv(height, 8), height);

  const double scale = std::min({static_cast<double>(thumbnail.width) / part_width,
                                 static_cast<double>(thumbnail.height) / part_height, kMostFitScale});
  const auto placed_width =
      std::min(thumbnail.width, std::max(1, static_cast<std::int32_t>(std::lround(part_width * scale))));
  const auto placed_height =
      std::min(thumbnail.height, std::max(1, static_cast<std::int32_t>(std::lround(part_height * scale))));
  return LayerFit{Rect::Sized(left, top, part_width, part_height), scale,
                  Rect::Sized((thumbnail.width - placed_width) / 2, (thumbnail.height - placed_height) / 2,
                              placed_width, placed_height)};
}

void PaintFitted(const Bitmap& copy, const LayerFit& fit, Colour background, Bitmap& thumbnail,
                 const std::function<void(const Bitmap& from, Bitmap& onto)>& shrink) {
  Bitmap scaled(thumbnail.Factory());
  scaled.SetPixelFormat(thumbnail.BitsPerPixel());
  scaled.SetSize(fit.placed.Width(), fit.placed.Height());
  if (fit.part == Rect{0, 0, copy.Width(), copy.Height()}) {
    shrink(copy, scaled);  // a layer over the whole view: no copy of the copy
  } else {
    Bitmap part(copy.Factory());
    part.SetPixelFormat(copy.BitsPerPixel());
    part.SetSize(fit.part.Width(), fit.part.Height());
    CopyPixels(copy, fit.part.left, fit.part.top, part);
    shrink(part, scaled);
  }
  for (std::int32_t y = 0; y < thumbnail.Height(); ++y)
    for (std::int32_t x = 0; x < thumbnail.Width(); ++x) thumbnail.SetPixel(x, y, background);
  CopyPixels(scaled, -fit.placed.left, -fit.placed.top, thumbnail);  // pasted at its place
}

}  // namespace plyscan
