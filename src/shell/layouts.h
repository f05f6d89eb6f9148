// The designed layouts of the program's two windows (pixels at 96 dpi).
#pragma once

#include "shell/controls.h"

namespace plyscan::ui {

// The main window: toolbar, board and progress bar.
const FormDesign& Form60Design() noexcept;

// The target CAD dialog.
const FormDesign& TargetCADFormDesign() noexcept;

}  // namespace plyscan::ui
