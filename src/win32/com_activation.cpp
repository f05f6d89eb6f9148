#include "win32/com_activation.h"

#include <ole2.h>
#include <oleauto.h>

#include "base/failure.h"
#include "win32/dispatch_client.h"

namespace plyscan::win32 {

namespace {

ComPtr<IUnknown> ActiveObject(const CLSID& clsid, HRESULT& result) {
  ComPtr<IUnknown> unknown;
  result = GetActiveObject(clsid, nullptr, unknown.Put());
  if (FAILED(result)) unknown.Reset();
  return unknown;
}

}  // namespace

OleApartment::OleApartment() noexcept : ok_(SUCCEEDED(OleInitialize(nullptr))) {}

OleApartment::~OleApartment() {
  if (ok_) OleUninitialize();
}

CLSID ClassIdOfProgId(TextView progid) {
  const Text name(progid);  // null-terminated
  CLSID clsid{};
  const HRESULT result = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(name.c_str()), &clsid);
  if (FAILED(result)) throw AutomationFailure(static_cast<std::int32_t>(result), u"CLSIDFromProgID", name);
  return clsid;
}

bool IsProgIdRunning(TextView progid) {
  const CLSID clsid = ClassIdOfProgId(progid);
  HRESULT result = S_OK;
  return static_cast<bool>(ActiveObject(clsid, result));
}

ComPtr<IDispatch> RunningDispatch(TextView progid) {
  const CLSID clsid = ClassIdOfProgId(progid);
  HRESULT result = S_OK;
  const ComPtr<IUnknown> unknown = ActiveObject(clsid, result);
  if (!unknown) throw AutomationFailure(static_cast<std::int32_t>(result), u"GetActiveObject", Text(progid));
  ComPtr<IDispatch> dispatch = unknown.As<IDispatch>(&result);
  if (!dispatch) throw AutomationFailure(static_cast<std::int32_t>(result), u"QueryInterface", Text(progid));
  return dispatch;
}

automation::ObjectRef AttachByProgId(TextView progid, bool cache_ids, StageTimes* times) {
  return DispatchObject::Wrap(RunningDispatch(progid), cache_ids, times);
}

}  // namespace plyscan::win32
