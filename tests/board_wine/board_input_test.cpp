// The real main window in this process, its board filled with the layers of
// simcad.exe's drawing, driven by real mouse input under Wine: a press shows
// only that layer in simcad.exe, a double click isolates three times, a board
// scrolled with the wheel hits the right record, and the state buttons act
// on simcad.exe's drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/platform.h"
#include "live_main_window.h"
#include "real_input.h"

namespace plyscan::testing {
namespace {

using automation::ObjectRef;
using automation::Variant;

class BoardInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ole_ = new win32::OleApartment; }
  static void TearDownTestSuite() { delete ole_; }

  BoardInput() : live({u"--demo"}), main(live.main) {}

  void SetUp() override {
    ASSERT_TRUE(live.simcad.Running()) << live.simcad.Problem();
    live.Open({40, 40, 700, 400});
    application = live.Cad();
    const ObjectRef layers = Document()->Get(u"Layers").AsObject();
    const std::int32_t count = layers->Get(u"Count").AsInt32();
    ResizeMdiBmp(main.MdiBmp, static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      TMdibmp& record = main.MdiBmp[static_cast<std::size_t>(i)];
      record.Name = layers->Get(u"Item", {Variant::Int32(i)}).AsObject()->Get(u"Name").AsText();
      record.cnt = i;
      record.bmp = std::make_unique<Bitmap>(SystemSurfaces());
      record.bmp->SetSize(main.Grid.DefaultColWidth(), 120);
    }
    main.FormResize();
    main.Grid.Repaint();
    form = live.Form();
    grid = live.Control(L"DrawGrid1");
    ASSERT_NE(grid, nullptr);
    PumpFor(std::chrono::milliseconds(300));
  }
  void TearDown() override { application.reset(); }

  ObjectRef Document() { return application->Get(u"ActiveDocument").AsObject(); }
  // The names of the layers that are on in simcad.exe's drawing.
  std::vector<Text> Shown() {
    std::vector<Text> on;
    const ObjectRef layers = Document()->Get(u"Layers").AsObject();
    for (std::int32_t i = 0, n = layers->Get(u"Count").AsInt32(); i < n; ++i) {
      const ObjectRef layer = layers->Get(u"Item", {Variant::Int32(i)}).AsObject();
      if (layer->Get(u"LayerOn").AsBool()) on.push_back(layer->Get(u"Name").AsText());
    }
    return on;
  }
  bool ShowsOnly(const Text& name) { return Shown() == std::vector<Text>{name}; }
  // The centre of the cell (col, row) as the board shows it now.
  POINT CellCentre(std::int32_t col, std::int32_t row) {
    const PixelRect r = main.Grid.CellRect({col, row});
    return ClientToScreenPoint(grid, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  int SendCommands() { return live.LogLines("\"member\":\"SendCommand\""); }

  LiveMainWindow live;
  TForm60& main;
  ObjectRef application;
  HWND form = nullptr;
  HWND grid = nullptr;
  static inline win32::OleApartment* ole_ = nullptr;
};

TEST_F(BoardInput, APressShowsOnlyThatLayerInTheCad) {
  ASSERT_EQ(main.Grid.ColCount(), 3);
  MoveMouseTo(CellCentre(1, 1));
  Click();
  const Text& name = main.MdiBmp[4].Name;
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(name); })) << ToUtf8(name);
  EXPECT_EQ((ui::GridCell{main.Grid.Col(), main.Grid.Row()}), (ui::GridCell{1, 1}));
  // The right button isolates too.
  MoveMouseTo(CellCentre(2, 0));
  Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(main.MdiBmp[2].Name); }));
}

TEST_F(BoardInput, ADoubleClickIsolatesThreeTimes) {
  MoveMouseTo(CellCentre(0, 1));
  const int before = SendCommands();
  DoubleClick();
  EXPECT_TRUE(PumpUntil([&] { return SendCommands() - before >= 6; }));
  PumpFor(std::chrono::milliseconds(500));
  EXPECT_EQ(SendCommands() - before, 6);  // two texts per isolation
  EXPECT_TRUE(ShowsOnly(main.MdiBmp[3].Name));
}

TEST_F(BoardInput, AScrolledBoardHitsTheRightRecord) {
  ASSERT_GT(main.Grid.MaxTopRow(), 0);
  MoveMouseTo(CellCentre(0, 0));
  Wheel(-WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return main.Grid.TopRow() == 1; }));
  MoveMouseTo(ClientToScreenPoint(grid, 20, 20));  // the first row in view is row 1
  Click();
  EXPECT_TRUE(PumpUntil([&] { return ShowsOnly(main.MdiBmp[3].Name); }));
}

TEST_F(BoardInput, TheRestoreAndDeleteButtonsActOnTheDrawing) {
  const std::vector<Text> before = Shown();
  main.Button1Click();  // the save the capture makes first
  MoveMouseTo(CellCentre(0, 0));
  Click();
  ASSERT_TRUE(PumpUntil([&] { return ShowsOnly(main.MdiBmp[0].Name); }));

  MoveMouseTo(ClientToScreenPoint(live.Control(L"Button2"), 10, 10));
  Click();
  EXPECT_TRUE(PumpUntil([&] { return Shown() == before; }));

  const auto has_state = [&] {
    // The drawing's states come before the command history in simcad's report.
    const std::string state = ToUtf8(application->Get(u"SimState").AsText());
    const std::size_t states = state.find("\"layer_states\"");
    return state.find("\"PLYSCAN\"", states) < state.find("\"command_history\"");
  };
  ASSERT_TRUE(has_state());
  MoveMouseTo(ClientToScreenPoint(live.Control(L"Button6"), 10, 10));
  Click();
  EXPECT_TRUE(PumpUntil([&] { return !has_state(); }));
}

}  // namespace
}  // namespace plyscan::testing
