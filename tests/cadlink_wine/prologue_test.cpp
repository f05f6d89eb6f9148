// The connection prologue's window calls on a real window: a minimised CAD is
// restored (and waited for) only by the commands that un-minimize; every
// command brings the application's own window forward.
#include <gtest/gtest.h>

#include "link_fixture.h"
#include "simcad_process.h"
#include "win32/com_activation.h"

namespace {

using cadlink_wine::AsHwnd;
using cadlink_wine::RecordingDesktop;
using simcad::testing::SimcadProcess;
using simcad::testing::UniqueProgId;

TEST(ConnectionPrologue, AMinimisedCadIsRestoredOnlyWhenTheCommandUnminimizes) {
  plyscan::win32::OleApartment ole;
  const std::u16string progid = UniqueProgId(u"CadLinkTest.Minimized");
  SimcadProcess process({u"--progid", progid, u"--demo", u"--minimized"});
  ASSERT_TRUE(process.Running()) << process.Problem();
  const HWND main = process.MainWindow();
  ASSERT_TRUE(IsIconic(main));
  plyscan::win32::Win32AutomationRuntime runtime;

  RecordingDesktop without;
  const auto plain = plyscan::ConnectToTarget(runtime, without, progid, plyscan::Unminimize::kNo);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(AsHwnd(plain->window), main);
  EXPECT_EQ(without.calls, std::vector<std::string>{"SetForegroundWindow"});
  EXPECT_TRUE(IsIconic(main));

  RecordingDesktop with;
  const auto restored = plyscan::ConnectToTarget(runtime, with, progid, plyscan::Unminimize::kYes);
  ASSERT_TRUE(restored.has_value());
  EXPECT_EQ(with.calls, (std::vector<std::string>{"IsIconic", "OpenIcon", "Sleep 500", "SetForegroundWindow"}));
  EXPECT_EQ(with.windows, std::vector<plyscan::WindowHandle>(3, restored->window));
  EXPECT_FALSE(IsIconic(main));

  // Already restored: the un-minimize step looks and does nothing more.
  RecordingDesktop again;
  ASSERT_TRUE(plyscan::ConnectToTarget(runtime, again, progid, plyscan::Unminimize::kYes).has_value());
  EXPECT_EQ(again.calls, (std::vector<std::string>{"IsIconic", "SetForegroundWindow"}));
  EXPECT_FALSE(IsIconic(main));
}

}  // namespace
