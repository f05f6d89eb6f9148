// The CAD link's Win32 adapter: an automation::Object over a late-bound
// IDispatch. A call resolves the member name with GetIDsOfNames and then
// invokes it; plyscan.exe keeps each object's DISPIDs once resolved (see
// DispatchIds in win32_automation_runtime.h), so a member is looked up once
// per object and command; reads are method-or-property-get, writes property put with the
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

namespace plyscan::win32 {

// What the objects reached from one attach share.
struct DispatchSession {
  // Keep the DISPIDs resolved instead of asking at each call.
  bool cache_ids = false;
  // The time spent waiting for the server, charged to Stage::kCadCalls.
  StageTimes* times = nullptr;
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
  std::unordered_map<Text, DISPID> ids_;  // by the ASCII upper-cased name
};

}  // namespace plyscan::win32
