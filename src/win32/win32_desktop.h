// The trace of discarded CAD failures for developers: OutputDebugStringW, in
// a build configured with -DPLYSCAN_TRACE_CAD_FAILURES=ON (the program reads
// no switch at run time), watched with a debugger or DebugView; and the
// desktop calls of the CAD commands, on the real Windows desktop.
#pragma once

#include "cadlink/connection.h"
#include "cadlink/guard.h"

namespace plyscan::win32 {

class DebugOutputTrace final : public FailureTrace {
 public:
  void Discarded(const Text& what) noexcept override;
};

// The trace in a build that has it switched on, else null.
FailureTrace* DeveloperTrace();

class Win32Desktop final : public DesktopWindows {
 public:
  bool IsIconic(WindowHandle window) override;
  void OpenIcon(WindowHandle window) override;
  void Sleep(unsigned milliseconds) override;
  void SetForegroundWindow(WindowHandle window) override;
};

}  // namespace plyscan::win32
