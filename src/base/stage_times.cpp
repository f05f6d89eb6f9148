#include "base/stage_times.h"

namespace plyscan {

void StageTimes::ChargeUntil(Clock::time_point now) {
  if (!open_.empty()) spent_[static_cast<std::size_t>(open_.back())] += now - mark_;
  mark_ = now;
}

void StageTimes::Enter(Stage stage) {
  ChargeUntil(now_());
  open_.push_back(stage);
}

void StageTimes::Leave() {
  if (open_.empty()) return;
  ChargeUntil(now_());
  open_.pop_back();
}

double StageTimes::Milliseconds(Stage stage) const {
  return std::chrono::duration<double, std::milli>(spent_[static_cast<std::size_t>(stage)]).count();
}

void StageTimes::Reset() {
  spent_ = {};
  mark_ = now_();
}

}  // namespace plyscan
