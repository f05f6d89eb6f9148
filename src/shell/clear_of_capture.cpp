#include "shell/clear_of_capture.h"

#include <array>
#include <cstdint>

namespace plyscan::ui {

namespace {

bool Overlaps(const ScreenRect& r, const ScreenBox& b) {
  return r.left < b.right && b.left < r.left + r.width && r.top < b.bottom && b.top < r.top + r.height;
}

bool Inside(const ScreenRect& r, const ScreenRect& d) {
  return r.left >= d.left && r.top >= d.top && static_cast<std::int64_t>(r.left) + r.width <= static_cast<std::int64_t>(d.left) + d.width &&
         static_cast<std::int64_t>(r.top) + r.height <= static_cast<std::int64_t>(d.top) + d.height;
}

}  // namespace

std::optional<ScreenRect> PlaceClearOf(const ScreenRect& window, const ScreenBox& area,
                                       const ScreenRect& desktop) noexcept {
  if (!Overlaps(window, area)) return std::nullopt;
  const std::array<ScreenRect, 4> beside{{
      {area.right, window.top, window.width, window.height},
      {area.left - window.width, window.top, window.width, window.height},
      {window.left, area.bottom, window.width, window.height},
      {window.left, area.top - window.height, window.width, window.height},
  }};
  for (ScreenRect place : beside) {
    // Slide along the area's edge into the desktop where the window's own
    // place would leave it hanging over the desktop's edge.
    const auto clamp = [](std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); };
    place.left = clamp(place.left, desktop.left, desktop.left + desktop.width - place.width);
    place.top = clamp(place.top, desktop.top, desktop.top + desktop.height - place.height);
    if (Inside(place, desktop) && !Overlaps(place, area)) return place;
  }
  return ScreenRect{desktop.left + desktop.width + 16, window.top, window.width, window.height};
}

}  // namespace plyscan::ui
