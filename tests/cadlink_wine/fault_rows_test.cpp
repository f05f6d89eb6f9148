// Each way a CAD command can go wrong against a real COM server ends the
// command silently inside its guard: nothing reaches the caller, what the
// command did before the failure stays done, the desktop is left alone when
// the failure comes before the foreground step, and the server's live
// automation objects are back where they started once the command returns.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "base/failure.h"
#include "cadlink/cad_calls.h"
#include "link_fixture.h"
#include "simcad/server/class_registration.h"
#include "simcad_process.h"
#include "win32/com_activation.h"

namespace {

using cadlink_wine::KeptTrace;
using cadlink_wine::LiveObjects;
using cadlink_wine::RecordingDesktop;
using cadlink_wine::WatchedRuntime;
using plyscan::automation::Object;
using plyscan::automation::Variant;
using simcad::testing::SimcadProcess;
using simcad::testing::UniqueProgId;

using CommandBody = std::function<void(Object& application, Object& document)>;

// A CAD command as the program runs one: the prologue without the
// un-minimize step, the active document, then the command's own calls, all
// inside one guard. `body_ran` tells whether the prologue got through.
bool RunCadCommand(plyscan::AutomationRuntime& runtime, plyscan::DesktopWindows& desktop, plyscan::TextView progid,
                   KeptTrace& trace, const CommandBody& body, bool* body_ran = nullptr) {
  return plyscan::RunGuarded(&trace, [&] {
    const auto cad = plyscan::ConnectToTarget(runtime, desktop, progid, plyscan::Unminimize::kNo);
    if (!cad) return;
    const plyscan::automation::ObjectRef document = plyscan::ActiveDocument(*cad->application);
    if (body_ran) *body_ran = true;
    body(*cad->application, *document);
  });
}

std::string Code(std::int32_t hresult) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hresult));
  return text;
}

std::int32_t GridMode(Object& application) {
  return plyscan::cad::GetVariable(*plyscan::ActiveDocument(application), u"GRIDMODE").AsInt32();
}

class CadCommandFaults : public ::testing::Test {
 protected:
  // The live objects of a demo instance that no client holds anything of
  // but the application: where every command must leave the server.
  static void SetUpTestSuite() {
    plyscan::win32::OleApartment ole;
    const std::u16string progid = UniqueProgId(u"CadLinkTest.Clean");
    SimcadProcess clean({u"--progid", progid, u"--demo"});
    if (clean.Running()) clean_live_ = LiveObjects(*plyscan::win32::AttachByProgId(progid));
  }

  void SetUp() override { ASSERT_GT(clean_live_, 0) << "simcad.exe could not be measured"; }

  plyscan::win32::OleApartment ole_;
  RecordingDesktop desktop_;
  WatchedRuntime runtime_;
  KeptTrace trace_;
  static inline long clean_live_ = -1;
};

TEST_F(CadCommandFaults, WithoutARunningInstanceNothingIsAttachedOrTouched) {
  const std::u16string registered_only = UniqueProgId(u"CadLinkTest.Registered");
  const simcad::server::ClassRegistration registration(registered_only,
                                                       simcad::server::ClassIdForProgId(registered_only));
  ASSERT_TRUE(registration.Ok());

  struct Row {
    const char* what;
    std::u16string progid;
    bool raises;  // the running test raises (and the guard discards it)
  };
  const Row rows[] = {
      {"unregistered ProgID", UniqueProgId(u"CadLinkTest.NeverRegistered"), true},
      {"empty ProgID", u"", true},
      {"registered ProgID with no instance", registered_only, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    RecordingDesktop desktop;
    WatchedRuntime runtime;
    KeptTrace trace;
    bool body_ran = false;
    const bool completed =
        RunCadCommand(runtime, desktop, row.progid, trace, [](Object&, Object&) {}, &body_ran);
    EXPECT_EQ(completed, !row.raises);
    EXPECT_FALSE(body_ran);
    EXPECT_EQ(runtime.attaches, 0);
    EXPECT_TRUE(desktop.calls.empty());
    if (row.raises) {
      ASSERT_EQ(trace.failures.size(), 1u);
      EXPECT_NE(trace.failures[0].find("CLSIDFromProgID: " + Code(plyscan::hr::kClassNotRegistered)),
                std::string::npos)
          << trace.failures[0];
    } else {
      EXPECT_TRUE(trace.failures.empty());
    }
  }
}

TEST_F(CadCommandFaults, AnInstanceThatExitsBeforeTheAttachEndsTheCommand) {
  const std::u16string progid = UniqueProgId(u"CadLinkTest.Leaving");
  SimcadProcess process({u"--progid", progid, u"--demo"});
  ASSERT_TRUE(process.Running()) << process.Problem();
  runtime_.after_running_test = [&] { EXPECT_EQ(process.Stop(), 0u); };

  bool body_ran = false;
  EXPECT_FALSE(RunCadCommand(runtime_, desktop_, progid, trace_, [](Object&, Object&) {}, &body_ran));
  EXPECT_EQ(runtime_.attaches, 1);
  EXPECT_FALSE(body_ran);
  EXPECT_TRUE(desktop_.calls.empty());
  ASSERT_EQ(trace_.failures.size(), 1u);
  // The instance took its ProgID with it, or at least left the running object table.
  const std::string& failure = trace_.failures[0];
  EXPECT_TRUE(failure.rfind("CLSIDFromProgID: ", 0) == 0 || failure.rfind("GetActiveObject: ", 0) == 0) << failure;
}

TEST_F(CadCommandFaults, CallsTheServerRefusesForAWhileAreAskedAgain) {
  const std::u16string progid = UniqueProgId(u"CadLinkTest.Busy");
  SimcadProcess process({u"--progid", progid, u"--demo", u"--reject-calls", u"3"});
  ASSERT_TRUE(process.Running()) << process.Problem();
  bool body_ran = false;
  EXPECT_TRUE(RunCadCommand(
      runtime_, desktop_, progid, trace_,
      [](Object&, Object& document) { plyscan::cad::SetVariable(document, u"GRIDMODE", 0); }, &body_ran));
  EXPECT_TRUE(body_ran);
  EXPECT_TRUE(trace_.failures.empty());
  // The application's HWND, the first call, was refused three times and asked again each time.
  EXPECT_EQ(desktop_.calls, (std::vector<std::string>{"Sleep 250", "Sleep 250", "Sleep 250", "SetForegroundWindow"}));
  EXPECT_EQ(GridMode(*plyscan::win32::AttachByProgId(progid)), 0);
}

TEST_F(CadCommandFaults, FailingCallsEndTheCommandAndKeepWhatWasDone) {
  struct Row {
    const char* what;
    std::vector<std::u16string> options;
    CommandBody body;
    std::string failure;      // the start of the discarded failure's text
    bool reaches_body;        // the prologue got through before the failure
  };
  const auto switch_grid_off_then = [](std::function<void(Object& layer)> fault) {
    return [fault](Object&, Object& document) {
      plyscan::cad::SetVariable(document, u"GRIDMODE", 0);
      const auto layers = document.Get(u"Layers").AsObject();
      fault(*layers->Get(u"Item", {Variant::Int32(0)}).AsObject());
    };
  };
  const Row rows[] = {
      {"a member the server does not know", {},
       switch_grid_off_then([](Object& layer) { layer.Get(u"Colour"); }),
       "Colour: " + Code(plyscan::hr::kUnknownName), true},
      {"a text where a number is expected", {},
       switch_grid_off_then([](Object& layer) { (void)layer.Get(u"Name").AsInt32(u"Name"); }),
       "Name: " + Code(plyscan::hr::kTypeMismatch), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::u16string progid = UniqueProgId(u"CadLinkTest.Faults");
    std::vector<std::u16string> options{u"--progid", progid, u"--demo"};
    options.insert(options.end(), row.options.begin(), row.options.end());
    SimcadProcess process(options);
    ASSERT_TRUE(process.Running()) << process.Problem();

    RecordingDesktop desktop;
    WatchedRuntime runtime;
    KeptTrace trace;
    bool body_ran = false;
    EXPECT_FALSE(RunCadCommand(runtime, desktop, progid, trace, row.body, &body_ran));
    EXPECT_EQ(body_ran, row.reaches_body);
    ASSERT_EQ(trace.failures.size(), 1u);
    EXPECT_EQ(trace.failures[0].rfind(row.failure, 0), 0u) << trace.failures[0];
    // The foreground step ran exactly when the prologue got that far.
    EXPECT_EQ(desktop.calls, row.reaches_body ? std::vector<std::string>{"SetForegroundWindow"}
                                              : std::vector<std::string>{});

    const auto observer = plyscan::win32::AttachByProgId(progid);
    EXPECT_EQ(LiveObjects(*observer), clean_live_);
    if (row.reaches_body) {
      EXPECT_EQ(GridMode(*observer), 0);  // done before the failure, stays done
    }
  }
}

}  // namespace
