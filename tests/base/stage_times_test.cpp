// The charge of a run's time to its stages, against a clock the test moves.
#include "base/stage_times.h"

#include <gtest/gtest.h>

namespace plyscan {
namespace {

using std::chrono::milliseconds;

StageTimes::Clock::time_point g_now{};
StageTimes::Clock::time_point FakeNow() { return g_now; }
void At(int ms) { g_now = StageTimes::Clock::time_point{} + milliseconds(ms); }

TEST(StageTimes, EachMomentGoesToTheInnermostOpenStageAndNoneOutsideThem) {
  At(0);
  StageTimes times(&FakeNow);
  At(5);  // nothing open: charged to no stage
  times.Enter(Stage::kViewCopy);
  At(15);
  times.Enter(Stage::kCadCalls);  // a CAD call inside the copy
  At(40);
  times.Leave();
  At(47);
  times.Leave();
  At(60);
  times.Enter(Stage::kCadCalls);
  At(63);
  times.Leave();
  times.Leave();  // one Leave too many is ignored
  EXPECT_DOUBLE_EQ(times.Milliseconds(Stage::kViewCopy), 17.0);
  EXPECT_DOUBLE_EQ(times.Milliseconds(Stage::kCadCalls), 28.0);
  EXPECT_DOUBLE_EQ(times.Milliseconds(Stage::kShrink), 0.0);

  times.Reset();
  At(70);
  {
    StageScope scope(&times, Stage::kBoard);
    At(79);
  }
  { StageScope nobody(nullptr, Stage::kBoard); }
  EXPECT_DOUBLE_EQ(times.Milliseconds(Stage::kBoard), 9.0);
  EXPECT_DOUBLE_EQ(times.Milliseconds(Stage::kCadCalls), 0.0);
}

}  // namespace
}  // namespace plyscan
