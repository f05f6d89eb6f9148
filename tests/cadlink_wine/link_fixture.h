// What the CAD link's tests against simcad.exe share: a desktop and a runtime
// that record what the prologue asked of them (and pass it on to the real
// ones), a trace that keeps the discarded failures, and simcad's own report
// of its live automation objects.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "cadlink/connection.h"
#include "cadlink/guard.h"
#include "win32/win32_automation_runtime.h"
#include "win32/win32_desktop.h"

namespace cadlink_wine {

using plyscan::Text;
using plyscan::TextView;
using plyscan::WindowHandle;

// Every desktop call, as "IsIconic", "OpenIcon", "Sleep 500", "SetForegroundWindow"
// (with the window checked against `expected_window` when that is set).
class RecordingDesktop final : public plyscan::DesktopWindows {
 public:
  bool IsIconic(WindowHandle window) override;
  void OpenIcon(WindowHandle window) override;
  void Sleep(unsigned milliseconds) override;
  void SetForegroundWindow(WindowHandle window) override;

  std::vector<std::string> calls;
  std::vector<WindowHandle> windows;  // the window of each call but Sleep

 private:
  plyscan::win32::Win32Desktop real_;
};

// The Win32 runtime, with a count of the attaches and a hook that runs after
// each running test (to make an instance go away in between).
class WatchedRuntime final : public plyscan::AutomationRuntime {
 public:
  bool IsTargetRunning(TextView progid) override;
  plyscan::automation::ObjectRef Attach(TextView progid) override;

  int attaches = 0;
  std::function<void()> after_running_test;

 private:
  plyscan::win32::Win32AutomationRuntime real_;
};

class KeptTrace final : public plyscan::FailureTrace {
 public:
  void Discarded(const Text& what) noexcept override;
  std::vector<std::string> failures;  // UTF-8
};

// simcad's "live_objects" from the application's SimState (-1 when absent).
long LiveObjects(plyscan::automation::Object& application);

HWND AsHwnd(WindowHandle window);

}  // namespace cadlink_wine
