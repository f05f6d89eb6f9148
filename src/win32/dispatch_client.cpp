#include "win32/dispatch_client.h"

#include <new>

#include "base/failure.h"
#include "win32/variant_win32.h"

namespace plyscan::win32 {

namespace {

using automation::Variant;

// The EXCEPINFO of one call; its strings are freed on every way out.
struct ExceptionInfo {
  EXCEPINFO info{};
  ExceptionInfo() = default;
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  ~ExceptionInfo() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
};

// Objects that come back from calls are wrapped as clients too, with the
// DISPID caching of the object they came from.
class ClientBridge final : public ObjectBridge {
 public:
  explicit ClientBridge(const std::shared_ptr<DispatchSession>& session) : session_(session) {}
  automation::ObjectRef Wrap(IDispatch* dispatch) override {
    return DispatchObject::Wrap(ComPtr<IDispatch>::Copy(dispatch), session_);
  }
  ComPtr<IDispatch> Unwrap(const automation::ObjectRef& object) override {
    if (auto* client = dynamic_cast<DispatchObject*>(object.get())) return ComPtr<IDispatch>::Copy(client->Dispatch());
    throw AutomationFailure(hr::kTypeMismatch, {}, u"not an object of this server");
  }

 private:
  const std::shared_ptr<DispatchSession>& session_;
};

[[noreturn]] void ThrowInvokeFailure(HRESULT result, TextView member, ExceptionInfo& exception, UINT arg_error,
                                     std::size_t arg_count) {
  std::int32_t code = static_cast<std::int32_t>(result);
  Text detail;
  if (result == DISP_E_EXCEPTION) {
    if (exception.info.pfnDeferredFillIn) exception.info.pfnDeferredFillIn(&exception.info);
    // The server's own code says more than DISP_E_EXCEPTION does.
    if (FAILED(exception.info.scode)) code = static_cast<std::int32_t>(exception.info.scode);
    detail = BstrText(exception.info.bstrDescription);
  } else if ((result == DISP_E_TYPEMISMATCH || result == DISP_E_PARAMNOTFOUND) && arg_error < arg_count) {
    // IDispatch counts the arguments from the last one.
    detail = u"argument " + DecimalText(static_cast<std::int64_t>(arg_count - arg_error));
  }
  throw AutomationFailure(code, Text(member), std::move(detail));
}

// Runs one client operation so that only AutomationFailure leaves it.
template <typename F>
auto Guarded(TextView member, F&& operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const AutomationFailure&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw AutomationFailure(static_cast<std::int32_t>(E_OUTOFMEMORY), Text(member), u"out of memory");
  } catch (const std::exception& e) {
    throw AutomationFailure(hr::kFail, Text(member), FromUtf8(e.what()));
  }
}

}  // namespace

DispatchObject::DispatchObject(ComPtr<IDispatch> dispatch, std::shared_ptr<DispatchSession> session)
    : dispatch_(std::move(dispatch)), session_(std::move(session)) {}

automation::ObjectRef DispatchObject::Wrap(ComPtr<IDispatch> dispatch, bool cache_ids, StageTimes* times) {
  auto session = std::make_shared<DispatchSession>();
  session->cache_ids = cache_ids;
  session->times = times;
  return Wrap(std::move(dispatch), std::move(session));
}

automation::ObjectRef DispatchObject::Wrap(ComPtr<IDispatch> dispatch, std::shared_ptr<DispatchSession> session) {
  if (!dispatch) throw AutomationFailure(static_cast<std::int32_t>(E_POINTER), {}, u"no IDispatch");
  return std::make_shared<DispatchObject>(std::move(dispatch), std::move(session));
}

Variant DispatchObject::Get(TextView member, const automation::Args& args) {
  return Guarded(member, [&] { return Invoke(member, Invocation::Get, args); });
}

void DispatchObject::Put(TextView member, const Variant& value) {
  Guarded(member, [&] { return Invoke(member, Invocation::Put, automation::Args{value}); });
}

Variant DispatchObject::Call(TextView member, const automation::Args& args) {
  return Guarded(member, [&] { return Invoke(member, Invocation::Call, args); });
}

DISPID DispatchObject::IdOf(TextView member) {
  Text key;
  DispatchIdMap* ids = nullptr;
  if (session_->cache_ids) {
    // The class is asked for at the first name this object needs.
    if (!class_asked_) {
      class_ids_ = session_->types.IdsOf(*dispatch_.Get(), member, session_->times);
      class_asked_ = true;
    }
    ids = class_ids_ ? class_ids_ : &ids_;
    key = AsciiUpper(member);
    if (auto found = ids->find(key); found != ids->end()) return found->second;
  }
  UniqueBstr name(member);
  LPOLESTR names[] = {name.Get()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT result = S_OK;
  {
    StageScope waiting(session_->times, Stage::kCadCalls);
    result = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  }
  if (FAILED(result)) throw AutomationFailure(static_cast<std::int32_t>(result), Text(member), u"GetIDsOfNames");
  if (ids) ids->emplace(std::move(key), id);
  return id;
}

Variant DispatchObject::Invoke(TextView member, Invocation how, const automation::Args& args) {
  if (!dispatch_) throw AutomationFailure(static_cast<std::int32_t>(E_POINTER), Text(member), u"no IDispatch");
  const DISPID id = IdOf(member);
  ClientBridge bridge(session_);
  DispatchArguments arguments(args, bridge, member);

  WORD flags = DISPATCH_METHOD;
  DISPPARAMS* params = arguments.Positional();
  if (how == Invocation::Get) flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  if (how == Invocation::Put) {
    flags = DISPATCH_PROPERTYPUT;
    params = arguments.PropertyPut();
  }

  UniqueVariant result;
  ExceptionInfo exception;
  UINT arg_error = static_cast<UINT>(-1);
  HRESULT hr = S_OK;
  {
    StageScope waiting(session_->times, Stage::kCadCalls);
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params,
                           how == Invocation::Put ? nullptr : result.Get(), &exception.info, &arg_error);
  }
  if (FAILED(hr)) ThrowInvokeFailure(hr, member, exception, arg_error, args.size());
  return FromVariant(*result.Get(), bridge, member);
}

}  // namespace plyscan::win32
