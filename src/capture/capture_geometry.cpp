#include "capture/capture_geometry.h"

#include <cmath>
#include <limits>

namespace plyscan {

namespace {

// trunc(v) as a positive 32-bit size, or nullopt.
std::optional<std::int32_t> PositiveSize(double v) {
  const double t = std::trunc(v);
  if (!std::isfinite(t) || t < 1.0 || t > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  return static_cast<std::int32_t>(t);
}

}  // namespace

std::optional<Rect> CaptureRectangle(std::int32_t view_width, std::int32_t view_height, double view_size, double min_x,
                                     double min_y, double max_x, double max_y) noexcept {
  const double w = view_width;
  const double h = view_height;
  const double units_wide = view_size / h * w;  // the division first, as the CAD's view is measured
  const double scale = view_width > view_height ? w / units_wide : h / view_size;
  const auto width = PositiveSize((max_x - min_x) * scale);
  const auto height = PositiveSize((max_y - min_y) * scale);
  if (!width || !height) return std::nullopt;
  // (view - capture) div 2, truncating toward zero, in 64 bits: both fit 32.
  const auto centre = [](std::int32_t view, std::int32_t capture) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(view) - capture) / 2);
  };
  return Rect::Sized(centre(view_width, *width), centre(view_height, *height), *width, *height);
}

}  // namespace plyscan
