// A CAD that dies, hangs or refuses calls in the middle of a capture, under
// Wine, against simcad.exe: the window stays usable, shows no message and
// keeps what it had; a long call lets the window paint, and a close asked
// meanwhile takes effect once it returns; a CAD that refuses calls for a
// while is waited for.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "live_window_test.h"
#include "simcad/drawing/drawing.h"
#include "support/top_level_windows.h"

namespace plyscan::testing {
namespace {

using Clock = std::chrono::steady_clock;

// From another thread, as the user's eye: the board's corner painted over,
// the board asked to paint itself again, and true once it has, within
// `deadline`.
bool BoardRepaintsWithin(HWND grid, std::chrono::seconds deadline) {
  constexpr COLORREF kMagenta = RGB(255, 0, 255);
  {
    const HDC dc = GetDC(grid);
    const RECT spot{5, 5, 60, 60};
    const HBRUSH magenta = CreateSolidBrush(kMagenta);
    FillRect(dc, &spot, magenta);
    DeleteObject(magenta);
    ReleaseDC(grid, dc);
  }
  InvalidateRect(grid, nullptr, FALSE);
  for (const auto end = Clock::now() + deadline; Clock::now() < end;) {
    const HDC dc = GetDC(grid);
    const bool painted = GetPixel(dc, 20, 20) != kMagenta;
    ReleaseDC(grid, dc);
    if (painted) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

class CadFaults : public LiveWindowTest {};

TEST_F(CadFaults, ACadKilledDuringTheCaptureLeavesTheWindowUsable) {
  Start({u"--demo", u"--screen", u"640x400", u"--delay", u"SendCommand=150"});
  std::atomic<bool> killed{false};
  Clock::time_point killed_at;
  std::thread crash([&] {
    // The save and two layers' texts, then the CAD is gone.
    while (live->LogLines("\"member\":\"SendCommand\"") < 3) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    live->simcad.Kill();
    killed_at = Clock::now();
    killed = true;
  });
  ClickCapture();
  const bool ended = Pump([&] { return killed.load(); });
  crash.join();
  ASSERT_TRUE(ended);
  const auto after_kill = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - killed_at);
  EXPECT_LT(after_kill.count(), 10) << "the run took this long to notice the CAD had gone";
  EXPECT_EQ(MessageBoxes(), 0u);
  EXPECT_FALSE(Main().progress_bar.Visible());
  const std::size_t layers = Main().snapshot.size();
  EXPECT_GT(layers, 2u);  // the records read stay
  EXPECT_GE(Pictures(), 1u);
  EXPECT_LT(Pictures(), layers);

  // A new instance of the CAD, and the next capture works.
  const std::u16string progid = simcad::testing::UniqueProgId(u"CadFaults.Second");
  simcad::testing::SimcadProcess second({u"--progid", progid, u"--demo", u"--screen", u"640x400"});
  ASSERT_TRUE(second.Running()) << second.Problem();
  live->services.target_prog_id = progid;
  ClickCapture();
  EXPECT_TRUE(Pump([&] { return Pictures() == layers && !Main().progress_bar.Visible(); }));
}

TEST_F(CadFaults, ALongCallLetsTheWindowPaintAndACloseTakesEffectWhenItReturns) {
  // Every selection takes 20 s, as a CAD hanging in a long regen.
  Start({u"--demo", u"--screen", u"640x400", u"--delay", u"Select=20000"});
  const std::vector<std::string> before = CadSwitches();
  const HWND grid = live->Control(ui::main_controls::kBoard);
  const HWND form = live->Form();
  std::atomic<bool> repainted{false};
  std::thread user([&] {
    // The first layer's selection follows its Clear at once, and nothing
    // paints the board between the two: a repaint now is one inside the
    // 20 s call. Then the user closes the window.
    while (live->LogLines("\"member\":\"Clear\"") < 1) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    repainted = BoardRepaintsWithin(grid, std::chrono::seconds(15));
    PostMessageW(form, WM_CLOSE, 0, 0);
  });
  const bool ended = CaptureAndWait(std::chrono::seconds(60));
  user.join();
  ASSERT_TRUE(ended);
  ASSERT_TRUE(Pump([&] { return quit_posted; }));
  EXPECT_TRUE(repainted) << "the board was not repainted during the long call";
  // The run stopped as soon as the selection returned: no second selection.
  EXPECT_EQ(live->LogLines("\"member\":\"Select\""), 1);
  EXPECT_EQ(CadSwitches(), before);
  EXPECT_TRUE(quit_posted);
}

TEST_F(CadFaults, WhileARefusedCallIsAskedAgainTheWindowPaintsAndACloseEndsTheWait) {
  // A CAD that refuses every call for good, as one stuck in a dialog: each
  // call would be asked again for a minute.
  Start({u"--demo", u"--screen", u"640x400", u"--reject-calls", u"1000000"});
  const HWND grid = live->Control(ui::main_controls::kBoard);
  const HWND form = live->Form();
  std::atomic<bool> repainted{false};
  std::atomic<bool> asked{false};
  Clock::time_point asked_at;
  std::thread user([&] {
    // The run's first call has been refused and asked again.
    while (live->LogLines("\"rejected\"") < 2) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    repainted = BoardRepaintsWithin(grid, std::chrono::seconds(20));
    asked_at = Clock::now();
    asked = true;
    PostMessageW(form, WM_CLOSE, 0, 0);
  });
  ClickCapture();
  const bool quit = Pump([&] { return quit_posted; });
  const auto closed_at = Clock::now();
  user.join();
  ASSERT_TRUE(quit && asked);
  EXPECT_TRUE(repainted) << "the board was not repainted while the call waited";
  // The close ended the wait at once: the window went well within the
  // minute that one refused call is otherwise asked for.
  const auto took = std::chrono::duration_cast<std::chrono::seconds>(closed_at - asked_at);
  EXPECT_LT(took.count(), 30) << "the window closed only once the refused call had run out of patience";
  EXPECT_EQ(MessageBoxes(), 0u);
}

TEST_F(CadFaults, ACadThatRefusesCallsForAWhileIsWaitedFor) {
  // The first eight calls are refused (the window's, since no other client asks first).
  Start({u"--demo", u"--screen", u"640x400", u"--reject-calls", u"8"});
  ASSERT_TRUE(CaptureAndWait());
  const simcad::Drawing demo = simcad::DemoDrawing();
  EXPECT_EQ(Main().snapshot.size(), demo.layers.size());
  EXPECT_EQ(Pictures(), demo.layers.size());
  std::vector<std::string> expected;
  for (const simcad::Layer& layer : demo.layers)
    expected.push_back(ToUtf8(layer.name) + ":" + (layer.on ? "1" : "0") + (layer.frozen ? "F" : "T") +
                       (layer.locked ? "L" : "U"));
  EXPECT_EQ(CadSwitches(), expected);
}

}  // namespace
}  // namespace plyscan::testing
