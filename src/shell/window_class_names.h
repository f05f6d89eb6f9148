// The window class names of the program's windows. Other tools find the
// windows by them: keep them as they are.
#pragma once

namespace plyscan::ui {

inline constexpr char16_t kMainWindowClass[] = u"TForm60";
inline constexpr char16_t kTargetDialogClass[] = u"TTargetCADForm";
inline constexpr char16_t kBoardClass[] = u"TDrawGrid";
inline constexpr char16_t kGroupFrameClass[] = u"TGroupBox";
inline constexpr char16_t kFlatButtonClass[] = u"TSpeedButton";
// The hidden window that owns the dialogs.
inline constexpr char16_t kApplicationClass[] = u"TApplication";

}  // namespace plyscan::ui
