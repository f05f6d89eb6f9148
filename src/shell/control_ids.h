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

namespace main_controls {
inline constexpr ControlId kTargetButton = 100;
inline constexpr ControlId kCaptureButton = 101;
inline constexpr ControlId kMonochromeBox = 102;
inline constexpr ControlId kBackgroundField = 103;
inline constexpr ControlId kZoomExtentsBox = 104;
inline constexpr ControlId kRestoreStateButton = 105;
inline constexpr ControlId kDeleteStateButton = 106;
inline constexpr ControlId kUndoCaptureButton = 107;
inline constexpr ControlId kSaveStateButton = 108;
inline constexpr ControlId kBoard = 109;
inline constexpr ControlId kProgressBar = 110;
}  // namespace main_controls

namespace dialog_controls {
inline constexpr ControlId kTargetList = 100;
inline constexpr ControlId kFieldGroup = 101;
inline constexpr ControlId kNameLabel = 102;
inline constexpr ControlId kNameField = 103;
inline constexpr ControlId kProgIdLabel = 104;
inline constexpr ControlId kProgIdField = 105;
inline constexpr ControlId kAddButton = 106;
inline constexpr ControlId kDeleteButton = 107;
inline constexpr ControlId kReplaceButton = 108;
inline constexpr ControlId kOkButton = 109;
inline constexpr ControlId kCancelButton = 110;
}  // namespace dialog_controls

}  // namespace plyscan::ui
