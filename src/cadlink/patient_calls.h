// A CAD that is busy (a dialog open, a long command running) refuses calls
// for a while: SERVERCALL_REJECTED, or RETRYLATER where the thread's COM
// message filter does not retry it (src/win32/message_filter.h; Wine never
// asks the filter). A refused call never ran, so it is asked again every
// 250 ms, up to 60 s in all, and only then does the refusal stand. Objects
// that come back from calls are as patient.
#pragma once

#include "cadlink/automation.h"
#include "cadlink/connection.h"

namespace plyscan {

inline constexpr unsigned kRefusedCallPause = 250;      // milliseconds
inline constexpr unsigned kRefusedCallPatience = 60000;  // milliseconds in all, per call

// Port: the wait before a refused call is asked again.
class RetryWaits {
 public:
  virtual ~RetryWaits() = default;
  // Waits `milliseconds`; false when the wait was cut short (the user asked
  // to stop), and the refusal then stands at once.
  virtual bool Wait(unsigned milliseconds) = 0;
};

// `inner` with its refused calls asked again, waiting with `waits`, or
// with the desktop's plain sleep where there are none.
[[nodiscard]] automation::ObjectRef Patient(automation::ObjectRef inner, DesktopWindows& desktop,
                                            RetryWaits* waits = nullptr);

}  // namespace plyscan
