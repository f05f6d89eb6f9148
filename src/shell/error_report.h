// The default error report of the application shell: a failure that escapes a
// handler is shown in a message box titled "PLYSCAN" with the error icon, and
// the program goes on.
#pragma once

#include <exception>
#include <utility>

#include "base/text.h"
#include "shell/window_system.h"

namespace plyscan::ui {

inline constexpr char16_t kApplicationTitle[] = u"PLYSCAN";

// The failure's text with a full stop appended when its last character's code
// is above that of ".".
Text ErrorReportText(TextView message);

// Shows the failure in flight by the default error report.
void ReportCurrentFailure(WindowSystem& windows) noexcept;

// Runs `handler`; a failure that escapes it is reported and goes no further.
// Returns true when the handler completed.
template <typename Handler>
bool RunReported(WindowSystem& windows, Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (...) {
    ReportCurrentFailure(windows);
    return false;
  }
}

}  // namespace plyscan::ui
