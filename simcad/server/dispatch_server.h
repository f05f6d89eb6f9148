// A generic IDispatch over one of simcad's automation objects. Names resolve
// from the object's Members() without regard to case; Invoke converts the
// VARIANT arguments (dereferencing VT_BYREF ones) to portable values, runs
// Get, Put or Call by the invoke flags and converts the result, object
// results becoming new IDispatch wrappers. Failures come back as real servers
// report them: DISP_E_TYPEMISMATCH, DISP_E_BADPARAMCOUNT, DISP_E_MEMBERNOTFOUND
// and DISP_E_PARAMNOTFOUND directly, everything else as DISP_E_EXCEPTION with
// the failure's code and text in the EXCEPINFO. No C++ exception leaves it.
#pragma once

#include <oaidl.h>

#include <atomic>
#include <memory>
#include <vector>

#include "base/failure.h"
#include "simcad/objects/sim_object.h"
#include "win32/com_ptr.h"

namespace simcad::server {

enum class InvokeKind { Method, Get, MethodOrGet, Put };

// One incoming call as the observers see it.
struct CallRecord {
  std::u16string_view object_type;
  std::u16string_view member;  // as the object spells it
  InvokeKind kind = InvokeKind::Method;
  std::vector<VARTYPE> arg_types;  // first argument first
  plyscan::automation::Args args;  // converted; shorter when a conversion failed
  plyscan::automation::Variant result;
  std::int32_t hresult = 0;  // 0 when the call succeeded
  std::u16string error;
  std::int64_t busy_us = 0;  // time in the server from the call's arrival to its answer
};

class CallObserver {
 public:
  virtual ~CallObserver() = default;
  // Before the member runs. An AutomationFailure thrown here fails the call.
  virtual void BeforeCall(const CallRecord& call) = 0;
  // After every call that reached a member, whether it succeeded or not.
  virtual void AfterCall(const CallRecord& call) noexcept = 0;
  // After each GetIDsOfNames, a round trip of its own.
  virtual void LookedUp(std::u16string_view /*object_type*/, std::u16string_view /*name*/) noexcept {}
  // At each question about an object's type (GetTypeInfo, ITypeInfo::GetTypeAttr), a round trip each.
  virtual void TypeAsked(std::u16string_view /*object_type*/, std::u16string_view /*question*/) noexcept {}
};

class TypeLibrary;

class SimDispatch final : public IDispatch {
 public:
  // `observer` may be null; it must outlive every wrapper made from this one.
  // `types` (may be null: no type information) gives each object's
  // ITypeInfo; it must outlive them too.
  [[nodiscard]] static plyscan::win32::ComPtr<IDispatch> Create(std::shared_ptr<SimObject> object,
                                                                CallObserver* observer, TypeLibrary* types = nullptr);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

 private:
  SimDispatch(std::shared_ptr<SimObject> object, CallObserver* observer, TypeLibrary* types);
  ~SimDispatch() = default;
  HRESULT InvokeMember(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result, EXCEPINFO* exception,
                       UINT* arg_error);
  HRESULT Failed(CallRecord& call, const plyscan::AutomationFailure& failure, EXCEPINFO* exception,
                 std::int64_t busy_us);

  std::atomic<ULONG> refs_{1};
  std::shared_ptr<SimObject> object_;
  CallObserver* observer_;
  TypeLibrary* types_;
};

}  // namespace simcad::server
