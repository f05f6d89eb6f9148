// --reject-calls N: a message filter on simcad's thread that answers the
// first N incoming automation calls (calls on IDispatch) with
// SERVERCALL_REJECTED, as a CAD does while it is busy with a modal state.
// Calls on other interfaces (the reference counting of remote clients) are
// always accepted, so the count is the client's own calls. Each refusal is
// a line of the call log.
#pragma once

#include <objidl.h>

#include <atomic>

#include "simcad/server/call_log.h"
#include "win32/com_ptr.h"

namespace simcad::server {

class RejectingFilter final : public IMessageFilter {
 public:
  // `log` (when given) gets a line for each call refused.
  [[nodiscard]] static plyscan::win32::ComPtr<IMessageFilter> Create(int reject_first, CallLog* log = nullptr);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD call_type, HTASK caller, DWORD tick_count,
                                             LPINTERFACEINFO interface_info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tick_count, DWORD reject_type) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tick_count, DWORD pending_type) override;

 private:
  RejectingFilter(int reject_first, CallLog* log) : left_to_reject_(reject_first), log_(log) {}
  ~RejectingFilter() = default;

  std::atomic<ULONG> refs_{1};
  int left_to_reject_;
  int rejected_ = 0;
  CallLog* log_;
};

// Registers a filter on the calling thread for as long as it lives, and puts
// the earlier one back afterwards.
class FilterRegistration {
 public:
  explicit FilterRegistration(IMessageFilter* filter) noexcept;
  FilterRegistration(const FilterRegistration&) = delete;
  FilterRegistration& operator=(const FilterRegistration&) = delete;
  ~FilterRegistration();

 private:
  plyscan::win32::ComPtr<IMessageFilter> previous_;
  bool registered_;
};

}  // namespace simcad::server
