// The COM message filter of the user-interface thread, as Windows asks it
// about the calls the CAD refuses: a busy CAD (retry-later) is asked again
// after 1000 ms for as long as it stays busy, a rejected call is cancelled
// (it fails with RPC_E_CALL_REJECTED), incoming calls are handled, and window
// messages that arrive while a call waits stay queued. Registered at start-up
// and revoked at shutdown by its registry (Win32MessageFilterRegistry).
//
// Wine never asks the filter: a rejected call fails at once, a retry-later
// answer is not waited on, and messages are dispatched while a call waits
// whatever the filter would answer. So the CAD link asks a refused call again
// itself, every 250 ms for up to 60 s (src/cadlink/patient_calls.h), which on
// Windows also covers the rejections that the filter cancels.
#pragma once

#include <objidl.h>

#include "win32/com_ptr.h"

namespace plyscan::win32 {

class BusyCallFilter final : public IMessageFilter {
 public:
  // A new filter, held by the one reference returned.
  [[nodiscard]] static ComPtr<BusyCallFilter> Create() { return ComPtr<BusyCallFilter>::Copy(new BusyCallFilter); }
  BusyCallFilter(const BusyCallFilter&) = delete;
  BusyCallFilter& operator=(const BusyCallFilter&) = delete;

  // Makes this the thread's filter; COM takes a reference to it, and the
  // filter keeps the one it displaces.
  void RegisterFilter() noexcept;
  // Puts the displaced filter (or none) back; COM releases its reference.
  void RevokeFilter() noexcept;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IMessageFilter
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD dwCallType, HTASK htaskCaller, DWORD dwTickCount,
                                             LPINTERFACEINFO lpInterfaceInfo) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount, DWORD dwRejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK htaskCallee, DWORD dwTickCount, DWORD dwPendingType) override;

  // The filter that was the thread's before this one was registered.
  IMessageFilter* Displaced() const noexcept { return displaced_.Get(); }

 private:
  BusyCallFilter() noexcept = default;
  ~BusyCallFilter() = default;  // only Release destroys it

  LONG refs_ = 0;
  ComPtr<IMessageFilter> displaced_;
};

}  // namespace plyscan::win32
