// Program entry of plyscan.exe: the start-up sequence. OLE is initialised on
// the user-interface thread, as a single-threaded apartment, before any
// window exists; the main window and then the hidden target dialog are made
// from their layouts, the message loop runs until the main window closes,
// and the main window's destroy handler saves the settings.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "base/platform.h"
#include "shell/error_report.h"
#include "shell/main_window.h"
#include "shell/target_dialog.h"
#include "win32/com_activation.h"
#include "win32/gdi_view_capture.h"
#include "win32/ui/dark_style.h"
#include "win32/ui/win32_shell_ports.h"
#include "win32/ui/win32_window_system.h"
#include "win32/win32_automation_runtime.h"
#include "win32/win32_board_pictures.h"
#include "win32/win32_desktop.h"
#include "win32/wide_text.h"

namespace {

using namespace plyscan;

// The application's own initialisation of COM: once more on the same thread,
// which leaves the apartment as it was and is balanced on the way out.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

Text ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return win32::FromWide(path);
}

void ApplyVisualStyle() {
  if (const win32::Palette* style = win32::FindStyle(win32::kDarkStyleName)) {
    win32::UseStyle(style);
    return;
  }
  win32::UseStyle(nullptr);  // the standard look
  win32::ReportMissingStyle(win32::kDarkStyleName);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  win32::OleApartment ole;
  ComApartment com;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  // The main window has its own task-bar button and the application title
  // "PLYSCAN": both are in its layout and in the error report.
  ApplyVisualStyle();

  win32::Win32WindowSystem windows;
  win32::Win32MessageFilterRegistry filter;
  win32::Win32AutomationRuntime runtime(win32::DispatchIds::kCache);
  win32::Win32Desktop desktop;
  CadServices cad{runtime, desktop, win32::DeveloperTrace()};
  win32::GdiViewScreen view_screen;
  win32::Win32BoardPictures pictures;
  ShellServices services{windows,           filter,         SystemProfileStore(), SystemFiles(),
                         SystemAnsiCodec(), UserCollator(), ExecutablePath(),     cad,
                         view_screen,       pictures};
  MainWindow main(services);
  TargetDialog dialog(services, main);
  const bool created = ui::RunReported(windows, [&] {
    main.Create();
    pictures.SetOwner(windows.WindowOf(main.Window())->Hwnd());
    windows.OnDropFiles(main.Window(), [&main](HDROP drop) {
      win32::Win32DroppedFiles files(drop);
      main.TakeDroppedFiles(files);
    });
    dialog.Create();
    main.SetTargetDialog(&dialog);
    windows.ShowMainWindow(main.Window());
  });
  if (!created) return 1;

  const int code = windows.RunMessageLoop();
  main.ShutDown();
  windows.DestroyAll();
  return code;
}
