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

}  // namespace plyscan
