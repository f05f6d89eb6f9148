// The current view of a drawing as the bytes of a 24-bit BMP file, the size
// of the screen, as _BMPOUT writes it.
#pragma once

#include <string>

#include "simcad/drawing/drawing.h"

namespace simcad {

[[nodiscard]] std::string ViewAsBmp(const Drawing& drawing);

}  // namespace simcad
