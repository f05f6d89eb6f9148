#include "win32/win32_automation_runtime.h"

#include "base/failure.h"
#include "win32/com_activation.h"

namespace plyscan::win32 {

namespace {

// An empty ProgID would ask the registry for the key "\CLSID" under the
// classes root; it names no class, so it is refused before COM sees it.
void RequireProgId(TextView progid) {
  if (progid.empty()) throw AutomationFailure(hr::kClassNotRegistered, u"CLSIDFromProgID", u"empty ProgID");
}

}  // namespace

bool Win32AutomationRuntime::IsTargetRunning(TextView progid) {
  RequireProgId(progid);
  return IsProgIdRunning(progid);
}

automation::ObjectRef Win32AutomationRuntime::Attach(TextView progid) {
  RequireProgId(progid);
  return AttachByProgId(progid, ids_ == DispatchIds::kCache, times_);
}

}  // namespace plyscan::win32
