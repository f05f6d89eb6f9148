#include "cadlink/connection.h"

#include "cadlink/patient_calls.h"

namespace plyscan {

std::optional<CadApplication> ConnectToTarget(AutomationRuntime& runtime, DesktopWindows& desktop, TextView progid,
                                              Unminimize unminimize, RetryWaits* waits) {
  if (!runtime.IsTargetRunning(progid)) return std::nullopt;
  CadApplication cad;
  cad.application = Patient(runtime.Attach(progid), desktop, waits);
  cad.window = cad.application->Get(u"HWND").AsWindowHandle(u"HWND");
  if (unminimize == Unminimize::kYes && desktop.IsIconic(cad.window)) {
    desktop.OpenIcon(cad.window);
    desktop.Sleep(500);
  }
  desktop.SetForegroundWindow(cad.window);
  return cad;
}

automation::ObjectRef ActiveDocument(automation::Object& application) {
  return application.Get(u"ActiveDocument").AsObject(u"ActiveDocument");
}

}  // namespace plyscan
