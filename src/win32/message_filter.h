// The COM message filter of the user-interface thread: a busy CAD application
// (retry-later) is asked again every 1000 ms for as long as it stays busy, a
// rejected call fails at once, and window messages that arrive while a call
// waits stay queued. Registered at start-up, revoked at shutdown.
#pragma once

#include <objidl.h>

#include "win32/com_ptr.h"

namespace plyscan::win32 {

class TMessageFilter final : public IMessageFilter {
 public:
  // A new filter whose reference count is zero: the registration takes the
  // first reference, and the release that brings it back to zero destroys it.
  [[nodiscard]] static TMessageFilter* Create() { return new TMessageFilter; }
  TMessageFilter(const TMessageFilter&) = delete;
  TMessageFilter& operator=(const TMessageFilter&) = delete;

  // Makes this the thread's filter, keeping the one it displaces in FOldFilter.
  void RegisterFilter() noexcept;
  // Puts FOldFilter (or no filter) back; the displaced reference to this
  // object is released on return, which normally destroys it.
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

  IMessageFilter* OldFilter() const noexcept { return FOldFilter.Get(); }

 private:
  TMessageFilter() noexcept = default;
  ~TMessageFilter() = default;  // only Release destroys it

  LONG refs_ = 0;
  ComPtr<IMessageFilter> FOldFilter;
};

// The process's one filter; a plain pointer that holds no counted reference.
// Empty until start-up creates and registers the filter.
extern TMessageFilter* GlobalMessageFilter;

}  // namespace plyscan::win32
