#include "shell/command_waits.h"

#include <algorithm>

namespace plyscan::ui {

void CommandWaits::Begin(bool escape_stops) noexcept {
  escape_stops_ = escape_stops;
  cad_window_ = 0;
  stopped_ = false;
  put_back_left_ = kPutBackPatience;
}

bool CommandWaits::Wait(unsigned milliseconds) {
  if (stopped_) {
    // The put-back's own tries: never cut short, but not for ever either.
    if (put_back_left_ == 0) return false;
    milliseconds = std::min(milliseconds, put_back_left_);
    put_back_left_ -= milliseconds;
  }
  const std::uint64_t deadline = windows_->TickCount() + milliseconds;
  for (;;) {
    if (!stopped_) {
      const QueuedStop stop = windows_->TakeStopRequests(*form_, cad_window_);
      asked_->close = asked_->close || stop.close;
      asked_->escape = asked_->escape || stop.escape;
      if (asked_->close || (escape_stops_ && asked_->escape)) {
        stopped_ = true;
        return false;
      }
    }
    const std::uint64_t now = windows_->TickCount();
    if (now >= deadline) return true;
    windows_->PaintWhileWaiting(static_cast<unsigned>(deadline - now));
  }
}

}  // namespace plyscan::ui
