// The CAD commands' running test and attach over COM: CLSIDFromProgID and
// GetActiveObject, and the running instance's IDispatch as a late-bound
// automation object.
#pragma once

#include "base/stage_times.h"
#include "cadlink/connection.h"

namespace plyscan::win32 {

// Whether the objects the attach hands out resolve each member name once and
// keep its DISPID for the life of the references (one command: an object's
// DISPIDs never change while it lives), or ask the server at every call as
// a plain late-bound client does.
enum class DispatchIds { kResolveEachCall, kCache };

class Win32AutomationRuntime final : public AutomationRuntime {
 public:
  // `times` (may be null): charged with the waits for the server, for a benchmark.
  explicit Win32AutomationRuntime(DispatchIds ids = DispatchIds::kCache, StageTimes* times = nullptr) noexcept
      : ids_(ids), times_(times) {}

  // Raises AutomationFailure (CO_E_CLASSSTRING for an empty ProgID, else the
  // HRESULT of CLSIDFromProgID) when the ProgID is not registered.
  bool IsTargetRunning(TextView progid) override;
  // Raises AutomationFailure when the ProgID is not registered, no instance is
  // running (any more), or the instance has no IDispatch.
  automation::ObjectRef Attach(TextView progid) override;

 private:
  DispatchIds ids_;
  StageTimes* times_;
};

}  // namespace plyscan::win32
