// The real main window in this process, its board filled with the layers of
// simcad.exe's drawing, driven by real mouse input under Wine: a press shows
// only that layer in simcad.exe, a double click isolates three times, a board
// scrolled with the wheel hits the right record, and the state buttons act
// on simcad.exe's drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/platform.h"
#include "live_window_test.h"

namespace plyscan::testing {
namespace {

class BoardInput : public LiveWindowTest {
 protected:
  void SetUp() override {
    Start({u"--demo"}, Rect::Sized(40, 40, 700, 400));
    FillBoard();
    grid = live->Control(ui::main_controls::kBoard);
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(PumpUntilPainted());
  }

  bool ShowsOnly(const Text& name) { return ShownLayers() == std::vector<Text>{name}; }
  // The centre of the cell (col, row) as the board shows it now.
  POINT CellCentre(std::int32_t col, std::int32_t row) {
    const Rect r = Main().grid.CellRect({col, row});
    return ClientToScreenPoint(grid, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  int SendCommands() { return live->LogLines("\"member\":\"SendCommand\""); }

  HWND grid = nullptr;
};

TEST_F(BoardInput, APressShowsOnlyThatLayerInTheCad) {
  ASSERT_EQ(Main().grid.ColCount(), 3);
  MoveMouseTo(CellCentre(1, 1));
  Click();
  const Text& name = Main().snapshot[4].name;
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(name); })) << ToUtf8(name);
  EXPECT_EQ((ui::GridCell{Main().grid.Col(), Main().grid.Row()}), (ui::GridCell{1, 1}));
  // The right button isolates too.
  MoveMouseTo(CellCentre(2, 0));
  Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(Main().snapshot[2].name); }));
}

TEST_F(BoardInput, ADoubleClickIsolatesThreeTimes) {
  MoveMouseTo(CellCentre(0, 1));
  const int before = SendCommands();
  DoubleClick();
  EXPECT_TRUE(PumpUntil([&] { return SendCommands() - before >= 6; }));
  EXPECT_TRUE(ShowsOnly(Main().snapshot[3].name));
  // One more press, on another cell: once it has shown its layer, every text
  // of the double click has arrived, and there were six.
  MoveMouseTo(CellCentre(1, 0));
  Click();
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(Main().snapshot[1].name); }));
  EXPECT_EQ(SendCommands() - before, 6 + 2);  // two texts per isolation
}

TEST_F(BoardInput, AScrolledBoardHitsTheRightRecord) {
  ASSERT_GT(Main().grid.MaxTopRow(), 0);
  MoveMouseTo(CellCentre(0, 0));
  Wheel(-WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return Main().grid.TopRow() == 1; }));
  MoveMouseTo(ClientToScreenPoint(grid, 20, 20));  // the first row in view is row 1
  Click();
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(Main().snapshot[3].name); }));
}

TEST_F(BoardInput, TheRestoreAndDeleteButtonsActOnTheDrawing) {
  const std::vector<Text> before = ShownLayers();
  Main().SaveLayerState();  // the save the capture makes first
  MoveMouseTo(CellCentre(0, 0));
  Click();
  ASSERT_TRUE(PumpUntil([&] { return ShowsOnly(Main().snapshot[0].name); }));

  MoveMouseTo(ClientToScreenPoint(live->Control(ui::main_controls::kRestoreStateButton), 10, 10));
  Click();
  EXPECT_TRUE(PumpUntil([&] { return ShownLayers() == before; }));

  const auto has_state = [&] {
    // The drawing's states come before the command history in simcad's report.
    const std::string state = ToUtf8(live->Cad()->Get(u"SimState").AsText());
    const std::size_t states = state.find("\"layer_states\"");
    return state.find("\"PLYSCAN\"", states) < state.find("\"command_history\"");
  };
  ASSERT_TRUE(has_state());
  MoveMouseTo(ClientToScreenPoint(live->Control(ui::main_controls::kDeleteStateButton), 10, 10));
  Click();
  EXPECT_TRUE(PumpUntil([&] { return !has_state(); }));
}

}  // namespace
}  // namespace plyscan::testing
