// The identifiers of the controls of the program's two windows. A designed
// layout gives each control its identifier, the window's code finds the
// control by it, and under Win32 it is the child window's ID, by which the
// demo's driver and the tests find the capture button and the board
// (GetDlgItem).
#pragma once

#include <cstdint>

namespace plyscan::ui {

using ControlId = std::int32_t;

// The parent of a control that lies directly on its form.
inline constexpr ControlId kOnForm = 0;

// In the order of the main window's layout, then the later additions.
namespace main_controls {
enum : ControlId {
  kTargetButton = 100,
  kCaptureButton,
  kMonochromeBox,
  kBackgroundField,
  kZoomExtentsBox,
  kRestoreStateButton,
  kDeleteStateButton,
  kUndoCaptureButton,
  kSaveStateButton,
  kBoard,
  kProgressBar,
  kFitLayerBox,  // added after the others, which keep their numbers
};
}  // namespace main_controls

// In the order of the target dialog's layout.
namespace dialog_controls {
enum : ControlId {
  kTargetList = 100,
  kFieldGroup,
  kNameLabel,
  kNameField,
  kProgIdLabel,
  kProgIdField,
  kAddButton,
  kDeleteButton,
  kReplaceButton,
  kOkButton,
  kCancelButton,
};
}  // namespace dialog_controls

}  // namespace plyscan::ui
