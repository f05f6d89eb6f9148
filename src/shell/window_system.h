// Ports of the application shell: the window system the forms are shown by,
// a drop of files on a window, and the thread's COM message filter.
#pragma once

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "shell/controls.h"

namespace plyscan::ui {

// Requests that stop a long command, taken from the queue while it runs.
struct QueuedStop {
  bool close = false;   // the window is to close
  bool escape = false;  // Esc in one of its windows
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Creates the form's window and a window for every control of its layout,
  // hidden, and attaches their peers. `owner` is the main window for a dialog.
  virtual void CreateWindows(Form& form, Form* owner) = 0;
  // Shows a created main window in its normal state.
  virtual void ShowMainWindow(Form& form) = 0;
  // Size of the primary display (SM_CXSCREEN, SM_CYSCREEN).
  virtual Size PrimaryScreenSize() = 0;
  // GetScaleFactorForMonitor of an already loaded Shcore.dll, looked up by name,
  // for the first monitor that EnumDisplayMonitors reports; nullopt where the
  // module or the function is missing, or answers 100 % for a monitor whose
  // resolution says otherwise (a stand-in's answer, not the system's).
  virtual std::optional<std::int32_t> ScaleFactorOfFirstMonitor() = 0;
  // The primary display's resolution in dots per inch.
  virtual std::int32_t PrimaryDpi() = 0;
  // A message box titled "PLYSCAN" with the error icon.
  virtual void ShowError(TextView text) = 0;
  // Dispatches the pending window messages of the thread, then returns.
  virtual void ProcessMessages() = 0;
  // Waits until `milliseconds` have passed or a message arrives, painting the
  // thread's windows and answering messages sent to them meanwhile; no
  // input is dispatched.
  virtual void PaintWhileWaiting(unsigned milliseconds) = 0;
  // Takes from the thread's queue, wherever they stand in it, a close of
  // `form` (WM_CLOSE, SC_CLOSE, a press on its close box) and Esc pressed
  // in one of its windows, or pressed while `other_window` (another
  // program's, such as the CAD's that a command brought forward) is the
  // foreground window. The frame's own input (its buttons, the system menu,
  // Alt+F4) is dispatched as usual, so that a close asked there reaches the
  // form's close query; no other input is dispatched.
  virtual QueuedStop TakeStopRequests(const Form& form, std::uint64_t other_window) = 0;
  // The desktop over all monitors, in screen pixels.
  virtual Rect Desktop() = 0;
  // Milliseconds since some moment, for the pauses of typing.
  virtual std::uint64_t TickCount() = 0;
};

// The files of one drop (a WM_DROPFILES drop handle).
class DroppedFiles {
 public:
  virtual ~DroppedFiles() = default;
  virtual std::uint32_t Count() = 0;
  // Name `index`, cut to fit a buffer of `capacity` characters with its terminator.
  virtual Text Name(std::uint32_t index, std::uint32_t capacity) = 0;
  // Releases the drop; the handle is invalid afterwards.
  virtual void Finish() = 0;
};

// The COM message filter of the user-interface thread, owned by its registry.
class MessageFilterRegistry {
 public:
  virtual ~MessageFilterRegistry() = default;
  // Creates the filter and makes it the thread's filter.
  virtual void CreateAndRegister() = 0;
  // Puts the earlier filter back.
  virtual void Revoke() = 0;
};

}  // namespace plyscan::ui
