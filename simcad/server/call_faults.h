// Injected misbehaviour of members, for tests of the client's failure paths:
// --fail MEMBER[@N] fails the member's N-th call (every call without N) and
// --delay MEMBER=MS holds the member back for MS milliseconds, as a busy CAD
// does. Members match without regard to case, on any object. Portable.
#pragma once

#include <map>
#include <vector>

#include "simcad/server/options.h"

namespace simcad::server {

class CallFaults {
 public:
  CallFaults(std::vector<FailRule> failures, std::vector<DelayRule> delays);

  // Counts one call of `member`, waits its delay, and throws
  // plyscan::AutomationFailure (E_FAIL) when this call is meant to fail.
  void Before(std::u16string_view member);

 private:
  std::vector<FailRule> failures_;
  std::vector<DelayRule> delays_;
  std::map<Text, int> calls_;  // by the upper-cased member name
};

}  // namespace simcad::server
