#include "cadlink/connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/failure.h"
#include "cadlink/guard.h"

namespace plyscan {
namespace {

using automation::Args;
using automation::Variant;

// Everything the prologue does, in order, as one log.
using Log = std::vector<std::string>;

class FakeApplication : public automation::Object {
 public:
  FakeApplication(Log& log, Variant hwnd) : log_(log), hwnd_(std::move(hwnd)) {}
  Variant Get(TextView member, const Args&) override {
    log_.push_back("get " + ToUtf8(member));
    if (member == u"HWND") return hwnd_;
    if (member == u"ActiveDocument") return Variant::Obj(std::make_shared<FakeApplication>(log_, hwnd_));
    throw AutomationFailure(hr::kUnknownName, Text(member), u"unknown");
  }
  void Put(TextView member, const Variant&) override { log_.push_back("put " + ToUtf8(member)); }
  Variant Call(TextView member, const Args&) override {
    log_.push_back("call " + ToUtf8(member));
    return {};
  }

 private:
  Log& log_;
  Variant hwnd_;
};

struct FakeRuntime : AutomationRuntime {
  Log& log;
  enum class State { kUnregistered, kNotRunning, kRunning, kExitsBeforeAttach } state = State::kRunning;
  Variant hwnd = Variant::Int64(0x10020);
  explicit FakeRuntime(Log& l) : log(l) {}

  bool IsTargetRunning(TextView progid) override {
    log.push_back("running? " + ToUtf8(progid));
    if (state == State::kUnregistered) throw AutomationFailure(hr::kClassNotRegistered, Text(progid), u"");
    return state != State::kNotRunning;
  }
  automation::ObjectRef Attach(TextView progid) override {
    log.push_back("attach " + ToUtf8(progid));
    if (state == State::kExitsBeforeAttach) throw AutomationFailure(hr::kUnavailable, Text(progid), u"");
    return std::make_shared<FakeApplication>(log, hwnd);
  }
};

struct FakeDesktop : DesktopWindows {
  Log& log;
  bool iconic = false;
  explicit FakeDesktop(Log& l) : log(l) {}
  bool IsIconic(WindowHandle w) override {
    log.push_back("iconic? " + std::to_string(w));
    return iconic;
  }
  void OpenIcon(WindowHandle w) override { log.push_back("open " + std::to_string(w)); }
  void Sleep(unsigned ms) override { log.push_back("sleep " + std::to_string(ms)); }
  void SetForegroundWindow(WindowHandle w) override { log.push_back("foreground " + std::to_string(w)); }
};

struct RecordingTrace : FailureTrace {
  std::vector<Text> seen;
  void Discarded(const Text& what) noexcept override { seen.push_back(what); }
};

class Prologue : public ::testing::Test {
 protected:
  Log log;
  FakeRuntime runtime{log};
  FakeDesktop desktop{log};
  RecordingTrace trace;

  // Runs the prologue inside the guard as a command would.
  bool Run(Unminimize unminimize) {
    return RunGuarded(&trace, [&] {
      auto cad = ConnectToTarget(runtime, desktop, u"Sim.Application", unminimize);
      if (cad) ActiveDocument(*cad->application);
    });
  }
};

TEST_F(Prologue, RunningTargetIsAttachedBroughtForwardAndAskedForItsDocument) {
  EXPECT_TRUE(Run(Unminimize::kNo));
  EXPECT_EQ(log, (Log{"running? Sim.Application", "attach Sim.Application", "get HWND", "foreground 65568",
                      "get ActiveDocument"}));
}

TEST_F(Prologue, MinimisedTargetIsRestoredAndWaitedForOnlyWhenAsked) {
  desktop.iconic = true;
  EXPECT_TRUE(Run(Unminimize::kYes));
  EXPECT_EQ(log, (Log{"running? Sim.Application", "attach Sim.Application", "get HWND", "iconic? 65568",
                      "open 65568", "sleep 500", "foreground 65568", "get ActiveDocument"}));

  log.clear();
  EXPECT_TRUE(Run(Unminimize::kNo));
  EXPECT_EQ(std::count(log.begin(), log.end(), "open 65568"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "sleep 500"), 0);
}

TEST_F(Prologue, WindowNotMinimisedIsNotRestored) {
  EXPECT_TRUE(Run(Unminimize::kYes));
  EXPECT_EQ(std::count(log.begin(), log.end(), "open 65568"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "sleep 500"), 0);
}

TEST_F(Prologue, TargetNotRunningEndsQuietlyWithoutAttaching) {
  runtime.state = FakeRuntime::State::kNotRunning;
  EXPECT_TRUE(Run(Unminimize::kYes));
  EXPECT_EQ(log, (Log{"running? Sim.Application"}));
  EXPECT_TRUE(trace.seen.empty());
}

TEST_F(Prologue, FailuresEndTheCommandAndAreOnlyTraced) {
  struct Case {
    const char* what;
    FakeRuntime::State state;
    Variant hwnd;
    std::size_t calls;  // how far the prologue got
  };
  const Case cases[] = {
      {"unregistered ProgID", FakeRuntime::State::kUnregistered, Variant::Int64(1), 1},
      {"instance gone before the attach", FakeRuntime::State::kExitsBeforeAttach, Variant::Int64(1), 2},
      {"HWND answered with a text", FakeRuntime::State::kRunning, Variant::String(u"12"), 3},
  };
  for (const auto& c : cases) {
    log.clear();
    trace.seen.clear();
    runtime.state = c.state;
    runtime.hwnd = c.hwnd;
    EXPECT_FALSE(Run(Unminimize::kYes)) << c.what;
    EXPECT_EQ(log.size(), c.calls) << c.what;
    ASSERT_EQ(trace.seen.size(), 1u) << c.what;
    EXPECT_FALSE(trace.seen[0].empty()) << c.what;
  }
}

TEST(Guard, WorkDoneBeforeTheFailureStaysDone) {
  int steps = 0;
  const bool completed = RunGuarded(nullptr, [&] {
    ++steps;
    throw std::runtime_error("refused");
  });
  EXPECT_FALSE(completed);
  EXPECT_EQ(steps, 1);
}

TEST(Guard, SwallowsEveryKindOfFailure) {
  RecordingTrace trace;
  EXPECT_FALSE(RunGuarded(&trace, [] { throw Failure(u"失敗"); }));
  EXPECT_FALSE(RunGuarded(&trace, [] { throw std::bad_alloc(); }));
  EXPECT_FALSE(RunGuarded(&trace, [] { throw 42; }));
  EXPECT_TRUE(RunGuarded(&trace, [] {}));
  ASSERT_EQ(trace.seen.size(), 3u);
  EXPECT_EQ(trace.seen[0], u"失敗");
}

}  // namespace
}  // namespace plyscan
