#include "simcad/server/dispatch_server.h"

#include <chrono>

#include <oleauto.h>

#include <new>

#include "base/failure.h"
#include "simcad/server/type_info.h"
#include "win32/variant_win32.h"

namespace simcad::server {

namespace {

using plyscan::AutomationFailure;
using plyscan::automation::ObjectRef;
using plyscan::automation::Variant;
using plyscan::win32::ComPtr;
namespace hr = plyscan::hr;

bool SameMemberName(std::u16string_view a, const OLECHAR* b) {
  auto fold = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; };
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == 0 || fold(a[i]) != fold(static_cast<char16_t>(b[i]))) return false;
  }
  return b[i] == 0;
}

// Results that are objects become wrappers with the same observer; objects
// are not accepted as arguments.
class ServerBridge final : public plyscan::win32::ObjectBridge {
 public:
  ServerBridge(CallObserver* observer, TypeLibrary* types) : observer_(observer), types_(types) {}
  ObjectRef Wrap(IDispatch*) override {
    throw AutomationFailure(hr::kTypeMismatch, {}, u"object arguments are not accepted");
  }
  ComPtr<IDispatch> Unwrap(const ObjectRef& object) override {
    auto sim = std::dynamic_pointer_cast<SimObject>(object);
    if (!sim) throw AutomationFailure(hr::kFail, {}, u"result is not a simcad object");
    return SimDispatch::Create(std::move(sim), observer_, types_);
  }

 private:
  CallObserver* observer_;
  TypeLibrary* types_;
};

// The codes that real servers return from Invoke themselves; the rest travel
// as DISP_E_EXCEPTION.
bool ReturnedDirectly(std::int32_t code) {
  return code == hr::kTypeMismatch || code == hr::kBadParamCount || code == hr::kMemberNotFound ||
         code == hr::kParamNotFound;
}

HRESULT Report(const AutomationFailure& failure, EXCEPINFO* exception) {
  const auto code = static_cast<HRESULT>(failure.HResult());
  if (ReturnedDirectly(failure.HResult()) || !exception) return code;
  *exception = EXCEPINFO{};
  exception->bstrSource = SysAllocString(L"simcad");
  const std::u16string& text = failure.Detail().empty() ? failure.Message() : failure.Detail();
  exception->bstrDescription =
      SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
  exception->scode = code;
  return DISP_E_EXCEPTION;
}

}  // namespace

HRESULT SimDispatch::Failed(CallRecord& call, const AutomationFailure& failure, EXCEPINFO* exception,
                            std::int64_t busy_us) {
  call.hresult = failure.HResult();
  call.busy_us = busy_us;
  call.error = failure.Detail().empty() ? failure.Message() : failure.Detail();
  if (observer_) observer_->AfterCall(call);
  return Report(failure, exception);
}

ComPtr<IDispatch> SimDispatch::Create(std::shared_ptr<SimObject> object, CallObserver* observer, TypeLibrary* types) {
  return ComPtr<IDispatch>::Adopt(new SimDispatch(std::move(object), observer, types));
}

SimDispatch::SimDispatch(std::shared_ptr<SimObject> object, CallObserver* observer, TypeLibrary* types)
    : object_(std::move(object)), observer_(observer), types_(types) {}

HRESULT SimDispatch::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG SimDispatch::AddRef() { return ++refs_; }

ULONG SimDispatch::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT SimDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = types_ ? 1 : 0;
  return S_OK;
}

HRESULT SimDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (!types_ || index != 0) return DISP_E_BADINDEX;
  if (observer_) observer_->TypeAsked(object_->TypeName(), u"GetTypeInfo");
  try {
    *info = types_->TypeOf(object_->TypeName()).Detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT SimDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  // Named parameters are not supported: every name after the member's is unknown.
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const auto members = object_->Members();
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (names[0] && SameMemberName(members[i], names[0])) {
      ids[0] = static_cast<DISPID>(i + 1);
      break;
    }
  }
  if (observer_ && names[0]) {
    const std::u16string_view name(reinterpret_cast<const char16_t*>(names[0]));
    observer_->LookedUp(object_->TypeName(), name);
  }
  return (ids[0] == DISPID_UNKNOWN || count > 1) ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT SimDispatch::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* arg_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (result) VariantInit(result);
  static const DISPPARAMS kNoArguments{};
  try {
    return InvokeMember(id, flags, params ? *params : kNoArguments, result, exception, arg_error);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT SimDispatch::InvokeMember(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* arg_error) {
  const auto members = object_->Members();
  if (id < 1 || static_cast<std::size_t>(id) > members.size()) return DISP_E_MEMBERNOTFOUND;
  const auto arrived = std::chrono::steady_clock::now();
  const auto busy = [&arrived] {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - arrived).count();
  };

  CallRecord call;
  call.object_type = object_->TypeName();
  call.member = members[static_cast<std::size_t>(id - 1)];
  const WORD get_or_call = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    call.kind = InvokeKind::Put;
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTFOUND;
  } else if ((flags & get_or_call) == get_or_call) {
    call.kind = InvokeKind::MethodOrGet;
  } else if (flags & DISPATCH_METHOD) {
    call.kind = InvokeKind::Method;
  } else if (flags & DISPATCH_PROPERTYGET) {
    call.kind = InvokeKind::Get;
  } else {
    return E_INVALIDARG;
  }
  if (call.kind != InvokeKind::Put && params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params.cArgs != 0 && !params.rgvarg) return E_INVALIDARG;

  ServerBridge bridge(observer_, types_);
  try {
    // IDispatch passes the arguments last first.
    for (UINT i = 0; i < params.cArgs; ++i) {
      const UINT position = params.cArgs - 1 - i;
      const VARIANT& arg = params.rgvarg[position];
      call.arg_types.push_back(arg.vt);
      try {
        Variant value = plyscan::win32::FromVariant(arg, bridge, call.member);
        call.args.push_back((arg.vt & VT_BYREF) ? value.ByRef() : std::move(value));
      } catch (const AutomationFailure&) {
        if (arg_error) *arg_error = position;
        throw;
      }
    }
    if (observer_) observer_->BeforeCall(call);

    const std::u16string_view member = call.member;
    switch (call.kind) {
      case InvokeKind::Put:
        object_->Put(member, call.args[0]);
        break;
      case InvokeKind::Get:
        call.result = object_->Get(member, call.args);
        break;
      case InvokeKind::Method:
        call.result = object_->Call(member, call.args);
        break;
      case InvokeKind::MethodOrGet:
        // Without a type library the member's kind is unknown here: a read
        // that the object does not answer as a property is tried as a method.
        try {
          call.result = object_->Get(member, call.args);
        } catch (const AutomationFailure& failure) {
          if (failure.HResult() != hr::kMemberNotFound) throw;
          call.result = object_->Call(member, call.args);
        }
        break;
    }
    if (result) *result = plyscan::win32::ToVariant(call.result, bridge, member).Release();
  } catch (const AutomationFailure& failure) {
    return Failed(call, failure, exception, busy());
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    return Failed(call, AutomationFailure(hr::kFail, std::u16string(call.member), plyscan::FromUtf8(e.what())),
                  exception, busy());
  }
  call.busy_us = busy();
  if (observer_) observer_->AfterCall(call);
  return S_OK;
}

}  // namespace simcad::server
