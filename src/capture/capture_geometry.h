// Where the drawing lies in the CAD's view once it is zoomed to its extents:
// the extents at the view's scale, centred in the view. Values from the CAD
// that give no such rectangle (a "VIEWSIZE" or "SCREENSIZE" of 0, the
// extents of an empty drawing, a size beyond 32 bits, anything not finite)
// give none, never a truncated one.
#pragma once

#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace plyscan {

// `view_width` x `view_height` pixels show `view_size` drawing units of
// height; the extents run from (min_x, min_y) to (max_x, max_y). The scale is
// the view's width over its width in units when it is wider than high, else
// its height over `view_size`; width and height are truncated toward zero.
// Nullopt when the rectangle cannot be computed or has no positive size.
[[nodiscard]] std::optional<Rect> CaptureRectangle(std::int32_t view_width, std::int32_t view_height, double view_size,
                                                   double min_x, double min_y, double max_x, double max_y) noexcept;

}  // namespace plyscan
