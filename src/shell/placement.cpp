#include "shell/placement.h"

namespace plyscan::ui {

std::int32_t Scale(std::int32_t value, std::int32_t dpi) noexcept {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t half = product >= 0 ? 48 : -48;
  return static_cast<std::int32_t>((product + half) / 96);
}

Bounds PlaceControl(const ControlDesign& control, PixelSize designed_parent, PixelSize parent,
                    std::int32_t dpi) noexcept {
  const Bounds& b = control.bounds;
  Bounds placed{Scale(b.left, dpi), Scale(b.top, dpi), Scale(b.width, dpi), Scale(b.height, dpi)};
  if (control.flags & kAlignBottom) {
    placed.left = 0;
    placed.width = parent.width;
    placed.top = parent.height - placed.height;
  } else if (control.flags & kAnchorAll) {
    const std::int32_t right_gap = Scale(designed_parent.width - b.left - b.width, dpi);
    const std::int32_t bottom_gap = Scale(designed_parent.height - b.top - b.height, dpi);
    placed.width = parent.width - placed.left - right_gap;
    placed.height = parent.height - placed.top - bottom_gap;
  }
  if (placed.width < 0) placed.width = 0;
  if (placed.height < 0) placed.height = 0;
  return placed;
}

PixelSize DesignedParentSize(const FormDesign& form, const ControlDesign& control) noexcept {
  if (control.parent != kOnForm)
    for (const ControlDesign& c : form.controls)
      if (c.id == control.parent) return {c.bounds.width, c.bounds.height};
  return {form.client_width, form.client_height};
}

}  // namespace plyscan::ui
