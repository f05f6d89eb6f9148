// The real main window in this process, with the program's own Win32 ports,
// driving simcad.exe started as a separate process under a ProgID of its
// own: for tests that give the window real input and read both its state and
// simcad.exe's drawing.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/control_ids.h"
#include "shell/main_window.h"
#include "simcad_process.h"
#include "support/temp_dir.h"
#include "win32/com_activation.h"
#include "win32/gdi_view_capture.h"
#include "win32/ui/win32_shell_ports.h"
#include "win32/ui/win32_window_system.h"
#include "win32/win32_automation_runtime.h"
#include "win32/win32_board_pictures.h"
#include "win32/win32_desktop.h"

namespace plyscan::testing {

// Discarded CAD failures, printed so that a failing test shows why.
class PrintedTrace final : public FailureTrace {
 public:
  void Discarded(const Text& what) noexcept override;
};

class LiveMainWindow {
 public:
  // simcad.exe with `simcad_args` (its --progid and --log are added), under
  // a ProgID made unique from `progid_stem`.
  explicit LiveMainWindow(std::vector<std::u16string> simcad_args, win32::DispatchIds ids = win32::DispatchIds::kCache,
                          std::u16string_view progid_stem = u"LiveWindow.Sim");
  ~LiveMainWindow();
  LiveMainWindow(const LiveMainWindow&) = delete;
  LiveMainWindow& operator=(const LiveMainWindow&) = delete;

  // Creates and shows the window at `rect`, aimed at the simcad.exe instance.
  void Open(const Rect& rect);
  HWND Form() const;
  HWND Control(ui::ControlId id) const;

  // simcad.exe's application object, attached afresh.
  automation::ObjectRef Cad() const;
  // Lines of simcad.exe's call log that contain `what`.
  int LogLines(const std::string& what) const;

  TempDir dir;
  std::u16string progid;
  std::filesystem::path log;
  simcad::testing::SimcadProcess simcad;
  StageTimes stage_times;  // where the window's own time goes in a capture
  win32::Win32WindowSystem windows;
  win32::Win32MessageFilterRegistry filter;
  win32::Win32AutomationRuntime runtime;  // as plyscan.exe has it unless asked otherwise
  win32::Win32Desktop desktop;
  PrintedTrace trace;
  CadServices cad{runtime, desktop, &trace};
  win32::GdiViewScreen view_screen;
  win32::Win32BoardPictures pictures;
  ShellServices services;
  MainWindow main;
};

}  // namespace plyscan::testing
