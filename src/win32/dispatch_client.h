// The CAD link's Win32 adapter: an automation::Object over a late-bound
// IDispatch. A call resolves the member name with GetIDsOfNames and then
// invokes it; plyscan.exe keeps the DISPIDs once resolved (see DispatchIds in
// win32_automation_runtime.h): for all objects of a class where the server
// says its objects' classes (dispatch_types.h), else for each object, so a
// member is looked up once per class (or object) and command; reads are method-or-property-get, writes property put with the
// named argument DISPID_PROPERTYPUT, the rest methods. Every failure becomes
// an AutomationFailure carrying the HRESULT, the member and the server's
// exception text.
#pragma once

#include <oaidl.h>

#include <memory>
#include <unordered_map>

#include "base/stage_times.h"
#include "cadlink/automation.h"
#include "win32/com_ptr.h"
#include "win32/dispatch_types.h"

namespace plyscan::win32 {

// What the objects reached from one attach share.
struct DispatchSession {
  // Keep the DISPIDs resolved instead of asking at each call.
  bool cache_ids = false;
  // The time spent waiting for the server, charged to Stage::kCadCalls.
  StageTimes* times = nullptr;
  // The DISPIDs of each class the server names.
  DispatchTypes types;
};

class DispatchObject final : public automation::Object {
 public:
  DispatchObject(ComPtr<IDispatch> dispatch, std::shared_ptr<DispatchSession> session);

  // A root object (the attach's) with a session of its own.
  [[nodiscard]] static automation::ObjectRef Wrap(ComPtr<IDispatch> dispatch, bool cache_ids = false,
                                                  StageTimes* times = nullptr);
  // An object reached through another, in that one's session.
  [[nodiscard]] static automation::ObjectRef Wrap(ComPtr<IDispatch> dispatch, std::shared_ptr<DispatchSession> session);

  automation::Variant Get(TextView member, const automation::Args& args) override;
  void Put(TextView member, const automation::Variant& value) override;
  automation::Variant Call(TextView member, const automation::Args& args) override;
  using Object::Call;
  using Object::Get;

  IDispatch* Dispatch() const noexcept { return dispatch_.Get(); }

 private:
  enum class Invocation { Get, Put, Call };
  automation::Variant Invoke(TextView member, Invocation how, const automation::Args& args);
  DISPID IdOf(TextView member);

  ComPtr<IDispatch> dispatch_;
  std::shared_ptr<DispatchSession> session_;
  DispatchIdMap ids_;                   // this object's own, where its class is not known
  DispatchIdMap* class_ids_ = nullptr;  // its class's, in the session
  bool class_asked_ = false;
};

}  // namespace plyscan::win32
