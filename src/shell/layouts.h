// The designed layouts of the program's two windows (pixels at 96 dpi).
#pragma once

#include "shell/controls.h"
#include "shell/grid_model.h"

namespace plyscan::ui {

// The main window: toolbar, board and progress bar.
const FormDesign& MainWindowDesign() noexcept;

// The main window's board board: cells of 200 x 140, 5 x 5 until the
// first relayout, grey where no cell is.
const GridDesign& BoardGridDesign() noexcept;

// The target CAD dialog.
const FormDesign& TargetDialogDesign() noexcept;

}  // namespace plyscan::ui
