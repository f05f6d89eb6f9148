#include "win32/message_filter.h"

namespace plyscan::win32 {

void BusyCallFilter::RegisterFilter() noexcept {
  displaced_.Reset();
  CoRegisterMessageFilter(this, displaced_.Put());
}

void BusyCallFilter::RevokeFilter() noexcept {
  ComPtr<IMessageFilter> ours;  // COM's reference to this object, released on return
  CoRegisterMessageFilter(displaced_.Get(), ours.Put());
}

HRESULT STDMETHODCALLTYPE BusyCallFilter::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE BusyCallFilter::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE BusyCallFilter::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;  // a COM object owns itself through its count
  return static_cast<ULONG>(left);
}

DWORD STDMETHODCALLTYPE BusyCallFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE BusyCallFilter::RetryRejectedCall(HTASK, DWORD, DWORD dwRejectType) {
  // Retry a busy server after 1000 ms, without limit; cancel a rejection.
  return dwRejectType == SERVERCALL_RETRYLATER ? 1000 : static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE BusyCallFilter::MessagePending(HTASK, DWORD, DWORD) { return PENDINGMSG_WAITNOPROCESS; }

}  // namespace plyscan::win32
