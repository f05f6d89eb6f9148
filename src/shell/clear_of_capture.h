// Where the main window goes while a capture copies part of the screen and
// the window system cannot leave the window out of such copies: beside the
// copied area on the desktop (right, left, below or above it, the first that
// fits), else off the desktop. Nowhere new when it does not overlap the area.
#pragma once

#include <optional>

#include "base/geometry.h"
#include "shell/controls.h"

namespace plyscan::ui {

[[nodiscard]] std::optional<Rect> PlaceClearOf(const Rect& window, const Rect& area, const Rect& desktop) noexcept;

}  // namespace plyscan::ui
