// A test of the real main window in-process against simcad.exe: the OLE
// apartment of the test thread, the window started beside a simcad.exe of
// its own, a real click on "キャプチャ", the window's messages run until a
// condition holds, and simcad.exe's drawing read back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/platform.h"
#include "live_main_window.h"
#include "real_input.h"
#include "support/top_level_windows.h"

namespace plyscan::testing {

class LiveWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ole_ = std::make_unique<win32::OleApartment>(); }
  static void TearDownTestSuite() { ole_.reset(); }

  // simcad.exe with `simcad_args`, and the window at `rect` aimed at it.
  void Start(std::vector<std::u16string> simcad_args, const Rect& rect = Rect::Sized(40, 40, 700, 420)) {
    live = std::make_unique<LiveMainWindow>(std::move(simcad_args));
    ASSERT_TRUE(live->simcad.Running()) << live->simcad.Problem();
    live->Open(rect);
    ASSERT_TRUE(PumpUntilPainted());
  }
  // Runs the window's messages until it is on the screen with nothing left
  // to paint, the board included.
  bool PumpUntilPainted() {
    const auto painted = [](HWND hwnd) { return IsWindowVisible(hwnd) && !GetUpdateRect(hwnd, nullptr, FALSE); };
    return Pump([&] { return painted(live->Form()) && painted(live->Control(ui::main_controls::kBoard)); });
  }
  MainWindow& Main() { return live->main; }

  // A real click on "キャプチャ" (from any thread: the input goes through
  // the system's queue to the window's thread).
  void ClickCapture() {
    MoveMouseTo(ClientToScreenPoint(live->Control(ui::main_controls::kCaptureButton), 20, 12));
    Click();
  }
  // Runs the window's messages, with its keyboard handling, until `done`;
  // a WM_QUIT going by is noted.
  bool Pump(const std::function<bool()>& done, std::chrono::seconds timeout = std::chrono::seconds(90)) {
    return PumpUntil(done, timeout, [this](MSG& msg) {
      if (msg.message == WM_QUIT) quit_posted = true;
      return live->windows.PreTranslate(msg);
    });
  }
  // Clicks "キャプチャ" and runs the messages until the run has ended: the
  // run is one handler, ended once the restore of the layer state has
  // reached simcad.exe and the handler has returned.
  bool CaptureAndWait(std::chrono::seconds timeout = std::chrono::seconds(90)) {
    const int restores = live->LogLines("layerstate-restore");
    ClickCapture();
    return Pump([&] { return live->LogLines("layerstate-restore") > restores; }, timeout);
  }

  // The board as after a capture: a record per layer of simcad.exe's
  // drawing, with count i and a thumbnail of one cell with a green pixel at
  // (10, 10); laid out and repainted.
  void FillBoard() {
    std::vector<Text> names;
    ForEachCadLayer([&](automation::Object& layer) { names.push_back(layer.Get(u"Name").AsText()); });
    ResizeSnapshot(Main().snapshot, names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      LayerRecord& record = Main().snapshot[i];
      record.name = names[i];
      record.object_count = static_cast<std::int32_t>(i);
      record.thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
      record.thumbnail->SetSize(Main().grid.DefaultColWidth(), 120);
      record.thumbnail->SetPixel(10, 10, 0x00FF00);
    }
    Main().LayOutBoard();
    Main().grid.Repaint();
  }

  // The message boxes this process shows now.
  static std::size_t MessageBoxes() { return TopLevelWindows(GetCurrentProcessId(), L"#32770", true).size(); }

  std::size_t Pictures() {
    std::size_t n = 0;
    for (const LayerRecord& record : Main().snapshot) n += record.thumbnail ? 1 : 0;
    return n;
  }
  // The layers' switches in simcad.exe's drawing, as "name:1TU" (on, thawed, unlocked).
  std::vector<std::string> CadSwitches() {
    std::vector<std::string> out;
    ForEachCadLayer([&](automation::Object& layer) {
      out.push_back(ToUtf8(layer.Get(u"Name").AsText()) + ":" + (layer.Get(u"LayerOn").AsBool() ? "1" : "0") +
                    (layer.Get(u"Freeze").AsBool() ? "F" : "T") + (layer.Get(u"Lock").AsBool() ? "L" : "U"));
    });
    return out;
  }
  // The names of the layers that are on in simcad.exe's drawing.
  std::vector<Text> ShownLayers() {
    std::vector<Text> on;
    ForEachCadLayer([&](automation::Object& layer) {
      if (layer.Get(u"LayerOn").AsBool()) on.push_back(layer.Get(u"Name").AsText());
    });
    return on;
  }
  void ForEachCadLayer(const std::function<void(automation::Object&)>& visit) {
    const automation::ObjectRef layers = live->Cad()->Get(u"ActiveDocument").AsObject()->Get(u"Layers").AsObject();
    for (std::int32_t i = 0, n = layers->Get(u"Count").AsInt32(); i < n; ++i)
      visit(*layers->Get(u"Item", {automation::Variant::Int32(i)}).AsObject());
  }

  std::unique_ptr<LiveMainWindow> live;
  bool quit_posted = false;

 private:
  static inline std::unique_ptr<win32::OleApartment> ole_;
};

}  // namespace plyscan::testing
