// Finding a running automation server by its ProgID: the class identifier the
// registry gives the ProgID, the instance the running object table holds for
// it, and that instance's IDispatch. The CAD commands' running test and
// attach are built from these.
#pragma once

#include <oaidl.h>

#include "base/stage_times.h"
#include "cadlink/automation.h"
#include "win32/com_ptr.h"

namespace plyscan::win32 {

// OLE initialisation of the calling thread as a single-threaded apartment,
// undone when it ends (only if it succeeded).
class OleApartment {
 public:
  OleApartment() noexcept;
  ~OleApartment();
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  [[nodiscard]] bool Ok() const noexcept { return ok_; }

 private:
  bool ok_;
};

// CLSIDFromProgID; throws AutomationFailure with the HRESULT when the ProgID
// is not registered.
[[nodiscard]] CLSID ClassIdOfProgId(TextView progid);

// True when GetActiveObject finds an instance of the ProgID's class; the
// instance is released at once. Throws when the ProgID is not registered.
[[nodiscard]] bool IsProgIdRunning(TextView progid);

// The running instance's IDispatch (CLSIDFromProgID, GetActiveObject,
// QueryInterface); throws AutomationFailure with the failing HRESULT.
[[nodiscard]] ComPtr<IDispatch> RunningDispatch(TextView progid);

// The same, as a portable automation object.
// `times` (may be null) is charged with the waits for the server.
[[nodiscard]] automation::ObjectRef AttachByProgId(TextView progid, bool cache_ids = false,
                                                   StageTimes* times = nullptr);

}  // namespace plyscan::win32
