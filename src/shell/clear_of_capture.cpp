#include "shell/clear_of_capture.h"

#include <array>

namespace plyscan::ui {

namespace {

bool Inside(const Rect& r, const Rect& d) {
  return r.left >= d.left && r.top >= d.top && r.right <= d.right && r.bottom <= d.bottom;
}

}  // namespace

std::optional<Rect> PlaceClearOf(const Rect& window, const Rect& area, const Rect& desktop) noexcept {
  if (!window.Intersects(area)) return std::nullopt;
  const Size size = window.Extent();
  const std::array<Point, 4> beside{{
      {area.right, window.top},
      {area.left - size.width, window.top},
      {window.left, area.bottom},
      {window.left, area.top - size.height},
  }};
  for (Point corner : beside) {
    // Slide along the area's edge into the desktop where the window's own
    // place would leave it hanging over the desktop's edge.
    const auto clamp = [](std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); };
    corner.x = clamp(corner.x, desktop.left, desktop.right - size.width);
    corner.y = clamp(corner.y, desktop.top, desktop.bottom - size.height);
    const Rect place = Rect::At(corner, size);
    if (Inside(place, desktop) && !place.Intersects(area)) return place;
  }
  return Rect::At({desktop.right + 16, window.top}, size);
}

}  // namespace plyscan::ui
