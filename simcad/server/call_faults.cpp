#include "simcad/server/call_faults.h"

#include <chrono>
#include <thread>

#include "base/failure.h"
#include "base/text.h"

namespace simcad::server {

CallFaults::CallFaults(std::vector<FailRule> failures, std::vector<DelayRule> delays)
    : failures_(std::move(failures)), delays_(std::move(delays)) {
  for (auto& rule : failures_) rule.member = plyscan::AsciiUpper(rule.member);
  for (auto& rule : delays_) rule.member = plyscan::AsciiUpper(rule.member);
}

void CallFaults::Before(std::u16string_view member) {
  const Text key = plyscan::AsciiUpper(member);
  const int call = ++calls_[key];
  for (const auto& rule : delays_) {
    if (rule.member == key) std::this_thread::sleep_for(std::chrono::milliseconds(rule.milliseconds));
  }
  for (const auto& rule : failures_) {
    if (rule.member == key && (rule.nth == 0 || rule.nth == call))
      throw plyscan::AutomationFailure(plyscan::hr::kFail, Text(member),
                                       u"simulated failure (call " + plyscan::DecimalText(call) + u")");
  }
}

}  // namespace simcad::server
