// Finding, attaching to and bringing forward the running target CAD
// application. Every CAD command begins with this prologue; nothing of it is
// kept between commands.
#pragma once

#include <cstdint>
#include <optional>

#include "cadlink/automation.h"

namespace plyscan {

using WindowHandle = std::uint64_t;

class RetryWaits;  // patient_calls.h

// Port: COM activation by ProgID (CLSIDFromProgID + GetActiveObject).
class AutomationRuntime {
 public:
  virtual ~AutomationRuntime() = default;
  // True when an instance registered under `progid` is running. Raises a
  // failure (carrying the HRESULT) when the ProgID is not registered.
  virtual bool IsTargetRunning(TextView progid) = 0;
  // The running instance's application object (its IDispatch). Raises on failure.
  virtual automation::ObjectRef Attach(TextView progid) = 0;
};

// Port: the desktop calls of the CAD commands (user32 and kernel32).
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  virtual bool IsIconic(WindowHandle window) = 0;
  virtual void OpenIcon(WindowHandle window) = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
  virtual void SetForegroundWindow(WindowHandle window) = 0;
};

enum class Unminimize { kNo, kYes };

struct CadApplication {
  automation::ObjectRef application;
  WindowHandle window = 0;
};

// The prologue up to the foreground step: the running test (nullopt when the
// target is not running), the attach, the application's HWND, the optional
// un-minimize step (OpenIcon, then 500 ms), and SetForegroundWindow. The
// application object asks refused calls again (patient_calls.h).
// `waits` (when given) waits between the tries of a refused call.
std::optional<CadApplication> ConnectToTarget(AutomationRuntime& runtime, DesktopWindows& desktop, TextView progid,
                                              Unminimize unminimize, RetryWaits* waits = nullptr);

// The application's ActiveDocument.
automation::ObjectRef ActiveDocument(automation::Object& application);

}  // namespace plyscan
