#include "win32/message_filter.h"

namespace plyscan::win32 {

TMessageFilter* GlobalMessageFilter = nullptr;

void TMessageFilter::RegisterFilter() noexcept {
  FOldFilter.Reset();
  CoRegisterMessageFilter(this, FOldFilter.Put());
}

void TMessageFilter::RevokeFilter() noexcept {
  ComPtr<IMessageFilter> displaced;  // this object; released when we return
  CoRegisterMessageFilter(FOldFilter.Get(), displaced.Put());
}

HRESULT STDMETHODCALLTYPE TMessageFilter::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TMessageFilter::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE TMessageFilter::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;  // a COM object owns itself through its count
  return static_cast<ULONG>(left);
}

DWORD STDMETHODCALLTYPE TMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE TMessageFilter::RetryRejectedCall(HTASK, DWORD, DWORD dwRejectType) {
  // Retry a busy server after 1000 ms, without limit; cancel a rejection.
  return dwRejectType == SERVERCALL_RETRYLATER ? 1000 : static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE TMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  return PENDINGMSG_WAITNOPROCESS;
}

}  // namespace plyscan::win32
