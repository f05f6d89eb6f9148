// What every CAD command is handed: the running test and attach by ProgID,
// the desktop calls of the prologue, and the developer's trace of discarded
// failures (null in a user's build).
#pragma once

#include "cadlink/connection.h"
#include "cadlink/guard.h"
#include "cadlink/patient_calls.h"

namespace plyscan {

struct CadServices {
  AutomationRuntime& runtime;
  DesktopWindows& desktop;
  FailureTrace* trace = nullptr;
  // How a refused call waits before it is asked again; the desktop's plain
  // sleep where there are none.
  RetryWaits* waits = nullptr;
};

// The prologue of a command inside its guard: the running test, the attach,
// the application's window brought forward (un-minimised first when asked);
// nullopt when the target is not running.
inline std::optional<CadApplication> Connect(CadServices& cad, TextView progid, Unminimize unminimize) {
  return ConnectToTarget(cad.runtime, cad.desktop, progid, unminimize, cad.waits);
}

}  // namespace plyscan
