// The window system of plyscan.exe: real windows for the forms, the message
// loop with the forms' keyboard handling, the primary display, the scale
// factor, and the default error report's message box.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "shell/window_system.h"
#include "win32/ui/form_window.h"

namespace plyscan::win32 {

class Win32WindowSystem final : public ui::WindowSystem {
 public:
  Win32WindowSystem();
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;
  ~Win32WindowSystem() override;

  void CreateWindows(ui::Form& form, ui::Form* owner) override;
  void ShowMainWindow(ui::Form& form) override;
  Size PrimaryScreenSize() override;
  std::optional<std::int32_t> ScaleFactorOfFirstMonitor() override;
  std::int32_t PrimaryDpi() override;
  void ShowError(TextView text) override;
  void ProcessMessages() override;
  void PaintWhileWaiting(unsigned milliseconds) override;
  ui::QueuedStop TakeStopRequests(const ui::Form& form, std::uint64_t other_window) override;
  std::uint64_t TickCount() override { return GetTickCount64(); }
  Rect Desktop() override;

  // WM_DROPFILES of the form's window goes to `handler`, which releases the drop.
  void OnDropFiles(const ui::Form& form, std::function<void(HDROP)> handler);

  // Runs the message loop until the main window is closed; returns the exit code.
  int RunMessageLoop();
  // The keyboard handling of the form that the message is for.
  bool PreTranslate(MSG& msg);
  // Destroys every window, dialogs first.
  void DestroyAll() noexcept;

  FormWindow* WindowOf(const ui::Form& form) const noexcept;
  // The hidden top-level window that owns the dialogs (made on first use).
  HWND ApplicationWindow();

 private:
  class DialogOwner;

  std::vector<std::unique_ptr<FormWindow>> windows_;
  std::unique_ptr<DialogOwner> application_;
};

// Shows the message of a visual style that cannot be applied.
void ReportMissingStyle(std::wstring_view style_name);

}  // namespace plyscan::win32
