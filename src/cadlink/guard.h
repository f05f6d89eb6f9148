// The failure model of the CAD commands: a command body runs inside one guard
// that catches every failure and discards it. Nothing is shown to the user;
// what the body did before the failure stays done. A developer can switch on a
// trace of the discarded failures (OutputDebugStringW in the Windows build).
#pragma once

#include <exception>
#include <utility>

#include "base/failure.h"

namespace plyscan {

class FailureTrace {
 public:
  virtual ~FailureTrace() = default;
  virtual void Discarded(const Text& what) noexcept = 0;
};

// Turns the exception in flight into a text for the trace.
Text DescribeCurrentFailure() noexcept;

// Runs `body`; returns true when it completed, false when a failure was discarded.
template <typename Body>
bool RunGuarded(FailureTrace* trace, Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (...) {
    if (trace) trace->Discarded(DescribeCurrentFailure());
    return false;
  }
}

// The steps of a put-back, each under its own guard: a failed step is traced
// and the next one runs, except that once a step finds the server gone
// (hr::ServerGone), no further step calls it.
class GuardedSteps {
 public:
  explicit GuardedSteps(FailureTrace* trace, bool server_gone = false) noexcept : trace_(trace), gone_(server_gone) {}

  template <typename Step>
  void Run(Step&& step) noexcept {
    if (gone_) return;
    try {
      std::forward<Step>(step)();
    } catch (const AutomationFailure& failure) {
      gone_ = hr::ServerGone(failure.HResult());
      if (trace_) trace_->Discarded(failure.Message());
    } catch (...) {
      if (trace_) trace_->Discarded(DescribeCurrentFailure());
    }
  }
  bool ServerGone() const noexcept { return gone_; }

 private:
  FailureTrace* trace_;
  bool gone_;
};

}  // namespace plyscan
