#include "shell/placement.h"

#include <algorithm>

namespace plyscan::ui {

std::int32_t Scale(std::int32_t value, std::int32_t dpi) noexcept {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t half = product >= 0 ? 48 : -48;
  return static_cast<std::int32_t>((product + half) / 96);
}

Rect PlaceControl(const ControlDesign& control, Size designed_parent, Size parent, std::int32_t dpi) noexcept {
  const Rect& b = control.bounds;
  // The corner and the size are scaled each on its own, as the layouts'
  // values are designed.
  std::int32_t left = Scale(b.left, dpi), top = Scale(b.top, dpi);
  std::int32_t width = Scale(b.Width(), dpi), height = Scale(b.Height(), dpi);
  if (control.flags & kAlignBottom) {
    left = 0;
    width = parent.width;
    top = parent.height - height;
  } else if (control.flags & kAnchorAll) {
    const std::int32_t right_gap = Scale(designed_parent.width - b.right, dpi);
    const std::int32_t bottom_gap = Scale(designed_parent.height - b.bottom, dpi);
    width = parent.width - left - right_gap;
    height = parent.height - top - bottom_gap;
  }
  return Rect::Sized(left, top, std::max(width, 0), std::max(height, 0));
}

Size DesignedParentSize(const FormDesign& form, const ControlDesign& control) noexcept {
  if (control.parent != kOnForm)
    for (const ControlDesign& c : form.controls)
      if (c.id == control.parent) return c.bounds.Extent();
  return {form.client_width, form.client_height};
}

}  // namespace plyscan::ui
