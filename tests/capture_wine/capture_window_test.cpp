// The capture through the real main window in this process, started by a
// real click on "キャプチャ", against simcad.exe in a process of its own,
// under Wine: a shared drawing captured with simcad's counts and every cell
// painted; the GDI objects back to where they were after two runs; a second
// click and a close while it runs; the window left out of every picture
// when it lies over the CAD's view; and the pictures fitted to their layers.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <thread>

#include "base/platform.h"
#include "board/cell_painter.h"
#include "live_window_test.h"
#include "simcad/drawing/drawing.h"
#include "support/shared_files.h"
#include "win32/gdi.h"

namespace plyscan::testing {
namespace {

using automation::ObjectRef;

class CaptureWindow : public LiveWindowTest {};

// The share of a thumbnail's pixels in the CAD's background colour: a
// picture that could not be copied stays white.
double BackgroundShare(const Bitmap& thumbnail) {
  std::size_t background = 0;
  for (int y = 0; y < thumbnail.Height(); ++y)
    for (int x = 0; x < thumbnail.Width(); ++x) background += thumbnail.Pixel(x, y) == 0x302821 ? 1 : 0;
  return static_cast<double>(background) / (static_cast<double>(thumbnail.Width()) * thumbnail.Height());
}

// Against a CAD whose document window is a child of its main window, as in
// an MDI CAD, and one whose document window is an owned pop-up.
class CaptureOfDocument : public LiveWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CaptureOfDocument, CapturesASharedDrawingWithItsCountsAndPicturesAndPaintsEveryCell) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  const std::filesystem::path file = folder / "floorplan.dxf";
  const simcad::Drawing drawing = simcad::LoadDxfFile(file);
  std::vector<std::u16string> args{u"--drawing", file.u16string(), u"--screen", u"640x400"};
  if (GetParam()) args.push_back(u"--popup-document");
  Start(args, Rect::Sized(20, 20, 1040, 960));
  const std::vector<std::string> before = CadSwitches();
  ASSERT_TRUE(CaptureAndWait());

  const LayerSnapshot& records = Main().snapshot;
  ASSERT_EQ(records.size(), drawing.layers.size());
  const auto counts = drawing.EntityCounts();
  for (const LayerRecord& record : records) {
    const simcad::Layer* layer = drawing.FindLayer(record.name);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(record.object_count,
              static_cast<std::int32_t>(counts[static_cast<std::size_t>(layer - drawing.layers.data())]))
        << ToUtf8(record.name);
    ASSERT_TRUE(record.thumbnail) << ToUtf8(record.name);
    // Copied from the view: mostly the CAD's background, never all white.
    EXPECT_GT(BackgroundShare(*record.thumbnail), 0.5) << ToUtf8(record.name);
  }
  EXPECT_EQ(CadSwitches(), before);

  // The board on the screen: every cell of a record with its bar, the rest black.
  Main().grid.Repaint();
  const HWND grid = live->Control(ui::main_controls::kBoard);
  const win32::ClientDc screen(grid);
  const ui::GridModel& board = Main().grid;
  int painted = 0;
  const std::int32_t rows = std::min(board.RowCount(), board.TopRow() + board.VisibleRowCount());
  for (std::int32_t row = board.TopRow(); row < rows; ++row)
    for (std::int32_t col = 0; col < board.ColCount(); ++col) {
      const Rect cell = board.CellRect({col, row});
      const std::size_t index = static_cast<std::size_t>(row) * static_cast<std::size_t>(board.ColCount()) +
                                static_cast<std::size_t>(col);
      const COLORREF bar = GetPixel(screen.Get(), cell.left + 3, cell.top + 3);
      const COLORREF middle = GetPixel(screen.Get(), cell.left + 100, cell.top + 80);
      if (index < records.size()) {
        const auto expected =
            static_cast<COLORREF>(records[index].object_count ? board::kBarColour : board::kEmptyBarColour);
        EXPECT_EQ(bar, expected) << "cell " << col << "," << row;
        EXPECT_NE(middle, RGB(0, 0, 0)) << "cell " << col << "," << row;
        ++painted;
      } else {
        EXPECT_EQ(middle, RGB(0, 0, 0)) << "cell " << col << "," << row;
      }
    }
  EXPECT_GE(painted, 12);
}

INSTANTIATE_TEST_SUITE_P(DocumentWindow, CaptureOfDocument, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "OwnedPopup" : "MdiChild"; });

// What this checks under Wine is the count of GDI objects the program's own
// scoped handles hold (win32/gdi.h): Wine's GetGuiResources answers 0, so
// its comparison below is a check only on Windows.
TEST_F(CaptureWindow, TheGdiObjectsComeBackAfterTwoRuns) {
  Start({u"--demo", u"--screen", u"640x400"});
  const long ours = win32::LiveGdiObjects();
  const DWORD system = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int run = 1; run <= 2; ++run) {
    ASSERT_TRUE(CaptureAndWait()) << "run " << run;
    EXPECT_EQ(win32::LiveGdiObjects(), ours) << "run " << run;
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), system) << "run " << run << " (Windows only)";
  }
  EXPECT_FALSE(Main().snapshot.empty());
}

TEST_F(CaptureWindow, ASecondClickIsIgnoredAndACloseStopsTheRunAfterThePutBack) {
  // Each command text takes a while, as a regen of a large drawing does.
  Start({u"--demo", u"--screen", u"640x400", u"--delay", u"SendCommand=400"});
  const std::vector<std::string> before = CadSwitches();
  // While the run holds this thread, a user clicks again and then closes.
  const HWND form = live->Form();
  const auto texts = [&] { return live->LogLines("\"member\":\"SendCommand\""); };
  std::thread user([&] {
    // The save and the first layer's text are through: the run is on.
    while (texts() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ClickCapture();
    // The run has gone on by a text since the click: then the close.
    const int after_click = texts();
    while (texts() == after_click) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessageW(form, WM_CLOSE, 0, 0);
  });
  const bool ended = CaptureAndWait(std::chrono::seconds(60));
  user.join();
  ASSERT_TRUE(ended);
  ASSERT_TRUE(Pump([&] { return quit_posted; }));

  EXPECT_EQ(live->LogLines("layerstate-save"), 1);  // one run only
  EXPECT_EQ(CadSwitches(), before);                  // the drawing put back
  EXPECT_TRUE(quit_posted);                          // and then the window closed
  // The run stopped at the close: not every layer got its picture.
  EXPECT_LT(Pictures(), Main().snapshot.size());
}

// Stop requests that do not stand first in the queue, or come through the
// frame: each stops the run, which puts the drawing back; a close then
// closes the window. They are posted as the system queues them: under Wine
// without a window manager the frame is not on the screen, so a real click
// on the close box cannot be made here.
TEST_F(CaptureWindow, StopRequestsFromTheFrameAndBehindOtherKeysStopTheRun) {
  const struct {
    const char* what;
    bool closes;
  } cases[] = {
      {"the close box pressed, the pointer over the caption first", true},
      {"Alt+F4 behind Alt", true},
      {"Esc behind an arrow key", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    quit_posted = false;
    Start({u"--demo", u"--screen", u"640x400", u"--delay", u"SendCommand=300"});
    const std::vector<std::string> before = CadSwitches();
    const HWND form = live->Form();
    const HWND grid = live->Control(ui::main_controls::kBoard);
    const auto texts = [&] { return live->LogLines("\"member\":\"SendCommand\""); };
    std::thread user([&] {
      // The first picture is taken (the window has made way for the copy):
      // the run is on.
      while (texts() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const std::string what = c.what;
      if (what == "the close box pressed, the pointer over the caption first") {
        PostMessageW(form, WM_NCMOUSEMOVE, HTCAPTION, 0);
        PostMessageW(form, WM_NCLBUTTONDOWN, HTCLOSE, 0);
      } else if (what == "Alt+F4 behind Alt") {
        constexpr LPARAM kAltDown = 1 << 29;
        PostMessageW(grid, WM_SYSKEYDOWN, VK_MENU, kAltDown | 1);
        PostMessageW(grid, WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
      } else {
        PostMessageW(grid, WM_KEYDOWN, VK_RIGHT, 1);
        PostMessageW(grid, WM_KEYDOWN, VK_ESCAPE, 1);
      }
    });
    const bool ended = CaptureAndWait(std::chrono::seconds(60));
    user.join();
    ASSERT_TRUE(ended);
    EXPECT_LT(Pictures(), Main().snapshot.size()) << "the run went on to the last layer";
    EXPECT_EQ(CadSwitches(), before);
    if (c.closes) {
      EXPECT_TRUE(Pump([&] { return quit_posted; }, std::chrono::seconds(20))) << "the window stayed";
    }
    live.reset();
  }
}

TEST_F(CaptureWindow, TheWindowOverTheCadsViewIsInNoThumbnail) {
  Start({u"--demo", u"--screen", u"640x400"}, Rect::Sized(900, 40, 560, 380));
  ASSERT_TRUE(CaptureAndWait());
  std::vector<Bitmap> clear;
  for (const LayerRecord& record : Main().snapshot) clear.push_back(record.thumbnail->Copy());

  // Over the middle of the view, as the window floats over a maximised CAD.
  const ObjectRef document = live->Cad()->Get(u"ActiveDocument").AsObject();
  const HWND view = reinterpret_cast<HWND>(static_cast<UINT_PTR>(document->Get(u"HWND").AsWindowHandle()));
  RECT r{};
  GetWindowRect(view, &r);
  const Rect over = Rect::Sized((r.left + r.right) / 2 - 200, (r.top + r.bottom) / 2 - 150, 560, 380);
  Main().Window().Peer().SetWindowRect(over);
  ASSERT_TRUE(PumpUntilPainted());
  ASSERT_TRUE(CaptureAndWait());
  ASSERT_EQ(Main().snapshot.size(), clear.size());
  for (std::size_t i = 0; i < clear.size(); ++i) {
    const Bitmap& now = *Main().snapshot[i].thumbnail;
    int differing = 0;
    for (int y = 0; y < now.Height(); ++y)
      for (int x = 0; x < now.Width(); ++x) differing += now.Pixel(x, y) != clear[i].Pixel(x, y);
    EXPECT_EQ(differing, 0) << ToUtf8(Main().snapshot[i].name);
  }
  EXPECT_EQ(Main().Window().Peer().WindowRect(), over);  // back where it was
}

// simcad.exe's log of the calls made since line `from`: each call as it was
// asked (object, member, kind, arguments), without its result or its time.
std::vector<std::string> CallsAsked(const std::filesystem::path& log, std::size_t from) {
  std::ifstream in(log);
  std::vector<std::string> calls;
  std::size_t n = 0;
  for (std::string line; std::getline(in, line); ++n) {
    if (n < from) continue;
    const std::size_t end = std::min(line.find(",\"result\":"), line.find(",\"hresult\":"));
    calls.push_back(line.substr(0, end));
  }
  return calls;
}

std::size_t LogLength(const std::filesystem::path& log) {
  std::ifstream in(log);
  std::size_t n = 0;
  for (std::string line; std::getline(in, line);) ++n;
  return n;
}

int LayerPixels(const Bitmap& thumbnail) {
  int n = 0;
  for (int y = 0; y < thumbnail.Height(); ++y)
    for (int x = 0; x < thumbnail.Width(); ++x) n += thumbnail.Pixel(x, y) != 0x302821 ? 1 : 0;
  return n;
}

// "フィット" on a shared drawing: the garage doors, a few short lines in one
// part of the sheet, fill at least four times the thumbnail's area they fill
// in the whole view, and the CAD is asked exactly what it is asked without it.
TEST_F(CaptureWindow, AFittedSmallLayerCoversFourTimesTheAreaForTheSameCadCalls) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  const std::filesystem::path file = folder / "floorplan.dxf";
  Start({u"--drawing", file.u16string(), u"--screen", u"640x400"}, Rect::Sized(20, 20, 1040, 960));
  struct Run {
    std::vector<std::string> calls;
    std::map<Text, int> pixels;
    std::map<Text, double> scales;
  };
  const auto capture = [&](bool fit, Run& run) {
    Main().fit_layer_box.UserSetChecked(fit);
    const std::size_t from = LogLength(live->log);
    ASSERT_TRUE(CaptureAndWait());
    // The put-back goes on after the state's restore: the run is over when the bar is hidden.
    ASSERT_TRUE(Pump([&] { return !Main().progress_bar.Visible(); }));
    run.calls = CallsAsked(live->log, from);
    for (const LayerRecord& record : Main().snapshot) {
      ASSERT_TRUE(record.thumbnail) << ToUtf8(record.name);
      run.pixels[record.name] = LayerPixels(*record.thumbnail);
      run.scales[record.name] = record.fit_scale;
    }
  };
  Run whole, fitted;
  capture(false, whole);
  capture(true, fitted);
  ASSERT_FALSE(whole.calls.empty());
  EXPECT_EQ(fitted.calls, whole.calls);

  const Text doors = u"xref-Bishop-Overland-08$0$A-GARAGE-DOOR";
  RecordProperty("doors_pixels_unticked", whole.pixels[doors]);
  RecordProperty("doors_pixels_ticked", fitted.pixels[doors]);
  RecordProperty("doors_scale", std::to_string(fitted.scales[doors]));
  RecordProperty("cad_calls", static_cast<int>(whole.calls.size()));
  ASSERT_GT(whole.pixels[doors], 0);
  EXPECT_GE(fitted.pixels[doors], 4 * whole.pixels[doors]) << "unticked " << whole.pixels[doors];
  EXPECT_GT(fitted.scales[doors], 1.0);
  for (const auto& [name, scale] : whole.scales) EXPECT_EQ(scale, 0) << ToUtf8(name);
  // A layer with nothing in view keeps the whole view's picture.
  for (const auto& [name, pixels] : whole.pixels) {
    if (pixels == 0) {
      EXPECT_EQ(fitted.scales[name], 0) << ToUtf8(name);
    }
  }
}

}  // namespace
}  // namespace plyscan::testing
