// The main window's board handlers with simcad in-process as the target: a
// press shows only the layer under the pointer, a double click isolates it
// three times, a scrolled board hits the right record, the window's size
// lays the board out, and the state buttons act on the drawing.
#include <gtest/gtest.h>

#include <functional>

#include "base/platform.h"
#include "support/main_window_fixture.h"

namespace plyscan {
namespace {

using testing::MainWindowFixture;

simcad::Drawing Layers(int count) {
  simcad::Drawing drawing;
  for (int i = 0; i < count; ++i) drawing.layers.push_back(simcad::Layer{u"L" + DecimalText(100 + i)});
  return drawing;
}

class BoardForm : public ::testing::Test, public MainWindowFixture {
 protected:
  explicit BoardForm(int layers = 7) : MainWindowFixture(Layers(layers)) { FillBoard(); }
  std::vector<Text> Shown() const { return ShownLayers(); }
  ui::GridModel& Grid() const { return main->grid; }
};

TEST_F(BoardForm, APressShowsOnlyTheLayerUnderThePointer) {
  ASSERT_EQ(Grid().ColCount(), 3);
  ASSERT_EQ(Grid().RowCount(), 3);
  Grid().MouseDown(ui::MouseButton::kLeft, {}, 450, 150);  // column 2, row 1: the sixth record
  EXPECT_EQ(Shown(), std::vector<Text>{u"L105"});
  EXPECT_EQ((ui::GridCell{Grid().Col(), Grid().Row()}), (ui::GridCell{2, 1}));
  // The other buttons isolate too.
  Grid().MouseDown(ui::MouseButton::kRight, {}, 10, 290);
  EXPECT_EQ(Shown(), std::vector<Text>{u"L106"});
}

TEST_F(BoardForm, APressWithoutARecordSendsNothing) {
  Grid().MouseDown(ui::MouseButton::kLeft, {}, 250, 290);  // the empty cell after the seventh record
  Grid().MouseDown(ui::MouseButton::kMiddle, {}, 620, 10);  // the grey strip right of the last column
  EXPECT_EQ(cad.target.attaches, 0);
  EXPECT_EQ(Shown().size(), 7u);
}

TEST_F(BoardForm, ADoubleClickIsolatesThreeTimes) {
  Grid().MouseDown(ui::MouseButton::kLeft, {}, 250, 10);
  Grid().DoubleClick(ui::MouseButton::kLeft, {}, 250, 10);
  EXPECT_EQ(cad.target.attaches, 3);
  EXPECT_EQ(Calls(u"SendCommand"), 6);  // the layer text and the variables' text, three times
  EXPECT_EQ(Shown(), std::vector<Text>{u"L101"});
}

TEST_F(BoardForm, CheckBox2ZoomsAfterTheIsolation) {
  main->zoom_extents_box.SetChecked(true);
  Grid().MouseDown(ui::MouseButton::kLeft, {}, 10, 10);
  EXPECT_EQ(session->ZoomCount(), 1);
}

class LongBoard : public BoardForm {
 protected:
  LongBoard() : BoardForm(40) {}
};

TEST_F(LongBoard, AScrolledBoardHitsTheRightRecord) {
  Grid().Wheel(-3);
  ASSERT_EQ(Grid().TopRow(), 3);
  Grid().MouseDown(ui::MouseButton::kLeft, {}, 10, 145);  // second row in view: row 4
  EXPECT_EQ(Shown(), std::vector<Text>{u"L112"});
  // The last pixels of a cell far down the board are still that cell.
  Grid().SetTopRow(10);
  Grid().MouseDown(ui::MouseButton::kLeft, {}, 601, 281);
  EXPECT_EQ(Shown(), std::vector<Text>{u"L135"});
}

TEST_F(LongBoard, TheWindowsSizeLaysTheBoardOut) {
  const Rect rect = Window().WindowRect();
  Window().SetWindowRect(rect.Resized({rect.Width() + 400, rect.Height()}));  // room for two more columns
  EXPECT_EQ(Grid().ColCount(), 5);
  EXPECT_EQ(Grid().RowCount(), 8);
  Window().SetWindowRect(rect.Resized({100, rect.Height()}));
  EXPECT_EQ(Grid().ColCount(), 1);
  EXPECT_EQ(Grid().RowCount(), 40);
}

TEST_F(BoardForm, TheStateButtonsActOnTheDrawing) {
  auto& layers = session->GetDrawing().layers;
  main->SaveLayerState();  // the capture's save command
  layers[1].on = false;
  main->Window().Click(main->restore_state_button);  // 状態復元
  EXPECT_TRUE(layers[1].on);
  EXPECT_EQ(session->RegenCount(), 1);
  main->Window().Click(main->delete_state_button);  // 状態削除
  EXPECT_EQ(session->GetDrawing().FindLayerState(u"PLYSCAN"), nullptr);
}

TEST_F(BoardForm, ACloseWhileTheCadRefusesEndsTheCommandAndThenTheWindowCloses) {
  const struct {
    const char* what;
    std::function<void(MainWindow&)> command;
  } cases[] = {
      {"a press", [](MainWindow& w) { w.grid.MouseDown(ui::MouseButton::kLeft, {}, 10, 10); }},
      {"状態復元", [](MainWindow& w) { w.Window().Click(w.restore_state_button); }},
      {"状態削除", [](MainWindow& w) { w.Window().Click(w.delete_state_button); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MainWindowFixture f(Layers(3));
    f.FillBoard();
    f.cad.target.faults.Add({u"SendCommand", 0, hr::kCallRejected});  // busy for good
    f.windows.on_paint_wait = [&] {
      if (f.windows.paint_waits == 2) f.windows.queued_stop.close = true;
    };
    const std::uint64_t start = f.windows.now_ms;
    c.command(*f.main);
    EXPECT_LT(f.windows.now_ms - start, 1000u);  // two waits, not a minute
    EXPECT_TRUE(f.Window().Closed());
  }
}

TEST(EmptyBoard, KeepsItsShapeAndPaintsBlack) {
  MainWindowFixture f(Layers(3));
  f.main->LayOutBoard();
  EXPECT_EQ(f.main->grid.ColCount(), 5);
  EXPECT_EQ(f.main->grid.RowCount(), 5);
  f.main->grid.MouseDown(ui::MouseButton::kLeft, {}, 10, 10);
  EXPECT_EQ(f.cad.target.attaches, 0);
  const Bitmap board = f.Board().Paint();
  EXPECT_EQ(board.Pixel(5, 5), 0);
  EXPECT_EQ(board.Pixel(205, 145), 0);
}

}  // namespace
}  // namespace plyscan
