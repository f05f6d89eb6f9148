#include "simcad/server/call_filter.h"

#include <oaidl.h>
#include <ole2.h>

namespace simcad::server {

plyscan::win32::ComPtr<IMessageFilter> RejectingFilter::Create(int reject_first, CallLog* log) {
  return plyscan::win32::ComPtr<IMessageFilter>::Adopt(new RejectingFilter(reject_first, log));
}

HRESULT RejectingFilter::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
    *out = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG RejectingFilter::AddRef() { return ++refs_; }

ULONG RejectingFilter::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

DWORD RejectingFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO interface_info) {
  const bool automation_call = interface_info && IsEqualIID(interface_info->iid, IID_IDispatch);
  if (automation_call && left_to_reject_ > 0) {
    --left_to_reject_;
    if (log_) log_->WriteRejection(++rejected_);
    return SERVERCALL_REJECTED;
  }
  return SERVERCALL_ISHANDLED;
}

DWORD RejectingFilter::RetryRejectedCall(HTASK, DWORD, DWORD) { return static_cast<DWORD>(-1); }

DWORD RejectingFilter::MessagePending(HTASK, DWORD, DWORD) { return PENDINGMSG_WAITDEFPROCESS; }

FilterRegistration::FilterRegistration(IMessageFilter* filter) noexcept
    : registered_(SUCCEEDED(CoRegisterMessageFilter(filter, previous_.Put()))) {}

FilterRegistration::~FilterRegistration() {
  if (!registered_) return;
  plyscan::win32::ComPtr<IMessageFilter> ours;
  CoRegisterMessageFilter(previous_.Get(), ours.Put());
}

}  // namespace simcad::server
