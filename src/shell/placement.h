// Where a designed control goes at a given resolution and client size: every
// designed length scaled from 96 dpi, then the anchors and the bottom
// alignment applied against the parent's actual size.
#pragma once

#include <cstdint>

#include "shell/controls.h"

namespace plyscan::ui {

// `value` designed at 96 dpi, at `dpi` (MulDiv rounding: halves away from zero).
std::int32_t Scale(std::int32_t value, std::int32_t dpi) noexcept;

// The control's rectangle in pixels inside a parent whose designed size is
// `designed_parent` (96 dpi) and whose actual client size is `parent` pixels.
Rect PlaceControl(const ControlDesign& control, Size designed_parent, Size parent, std::int32_t dpi) noexcept;

// The designed client size of the control's parent: the form's, or that of
// the group box named in the row.
Size DesignedParentSize(const FormDesign& form, const ControlDesign& control) noexcept;

}  // namespace plyscan::ui
