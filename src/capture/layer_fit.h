// The picture fitted to its layer: the part of the copied view that holds the
// layer's pixels, and where it goes on the thumbnail. The part is the
// smallest rectangle holding every pixel that differs from the background,
// grown by 5 % of its width and height (rounded up) on each side and then
// around its centre to at least 1/8 of the copy's width and height (rounded
// up), moved back inside the copy where it reaches past an edge and cut to
// the copy where it is the larger. It is shown with its proportions kept at
// the scale that fits the thumbnail, never more than 8, centred.
#pragma once

#include <functional>
#include <optional>

#include "base/bitmap.h"
#include "base/geometry.h"

namespace plyscan {

inline constexpr double kMostFitScale = 8.0;

struct LayerFit {
  Rect part;     // in the copy
  double scale;  // thumbnail pixels per copied pixel
  Rect placed;   // the part scaled, on the thumbnail
  friend bool operator==(const LayerFit&, const LayerFit&) = default;
};

// Nothing when no pixel of `copy` differs from `background` (0xBBGGRR; one
// outside 0..0xFFFFFF matches no pixel, as in the monochrome filter) or
// either is empty.
[[nodiscard]] std::optional<LayerFit> FitToLayer(const Bitmap& copy, Colour background, Size thumbnail);

// The part of `copy` onto `thumbnail` as `fit` places it with `shrink` (the
// view grab's, which ORs the dropped pixels into the kept ones), the rest of
// the thumbnail in the background colour.
void PaintFitted(const Bitmap& copy, const LayerFit& fit, Colour background, Bitmap& thumbnail,
                 const std::function<void(const Bitmap& from, Bitmap& onto)>& shrink);

}  // namespace plyscan
