// Where a run's own time goes: each moment between Enter and Leave is charged
// to the innermost stage open then, so a CAD call made inside the view copy
// counts as a CAD call and not as copying. A run measured by nobody passes a
// null StageTimes* to StageScope, which then costs nothing.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace plyscan {

enum class Stage : std::uint8_t {
  kCadCalls,  // waiting for the CAD's answers (GetIDsOfNames, Invoke, GetTypeInfo)
  kViewCopy,  // the view's pixels copied from the screen or read from the export file
  kShrink,    // the copy shrunk onto the thumbnail
  kBoard,     // the board's relayout and repaint after a picture
  kMessages,  // the window messages let through, the stop requests taken
  kCount,
};

class StageTimes {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = Clock::time_point (*)();

  explicit StageTimes(Now now = &Clock::now) : now_(now), mark_(now()) {}

  void Enter(Stage stage);
  void Leave();
  // The time charged to `stage` since the start or the last Reset.
  [[nodiscard]] double Milliseconds(Stage stage) const;
  void Reset();

 private:
  void ChargeUntil(Clock::time_point now);

  std::array<Clock::duration, static_cast<std::size_t>(Stage::kCount)> spent_{};
  std::vector<Stage> open_;
  Now now_;
  Clock::time_point mark_;
};

// Charges its lifetime to `stage` of `times` (when not null).
class StageScope {
 public:
  StageScope(StageTimes* times, Stage stage) : times_(times) {
    if (times_) times_->Enter(stage);
  }
  ~StageScope() {
    if (times_) times_->Leave();
  }
  StageScope(const StageScope&) = delete;
  StageScope& operator=(const StageScope&) = delete;

 private:
  StageTimes* times_;
};

}  // namespace plyscan
