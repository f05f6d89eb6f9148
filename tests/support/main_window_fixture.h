// The main window on the headless window system, its settings beside a
// pretended executable in a fresh folder, and simcad's session in-process as
// the running target: for tests of the board and the capture through the
// window's own handlers.
#pragma once

#include <memory>
#include <vector>

#include "base/platform.h"
#include "headless/ui/headless_pictures.h"
#include "headless/ui/headless_windows.h"
#include "shell/main_window.h"
#include "simcad/objects/sim_cad.h"
#include "support/sim_target.h"
#include "support/temp_dir.h"

namespace plyscan::testing {

class MainWindowFixture {
 public:
  // `files` receives what simcad's _BMPOUT writes; the disk by default.
  explicit MainWindowFixture(simcad::Drawing drawing, ui::HeadlessWindowSystem::Options options = {},
                             simcad::SimOptions sim_options = {}, std::unique_ptr<simcad::FileWriter> files = nullptr)
      : windows(options),
        session(std::make_shared<simcad::SimCad>(std::move(drawing), sim_options, std::move(files))),
        cad(session),
        services{windows,           filter,         SystemProfileStore(),      SystemFiles(),
                 SystemAnsiCodec(), UserCollator(), dir.PathOf("plyscan.exe"), cad.services,
                 cad.screen,        pictures},
        main(std::make_unique<MainWindow>(services)) {
    main->Create();
  }

  // The board as after a capture: a record per layer of the drawing, in its
  // order, with count i and a thumbnail of 200 x 120 with a green pixel at
  // (10, 10); laid out.
  void FillBoard() {
    const auto& layers = session->GetDrawing().layers;
    ResizeSnapshot(main->snapshot, layers.size());
    for (std::size_t i = 0; i < layers.size(); ++i) {
      LayerRecord& record = main->snapshot[i];
      record.name = layers[i].name;
      record.object_count = static_cast<std::int32_t>(i);
      record.thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
      record.thumbnail->SetSize(200, 120);
      record.thumbnail->SetPixel(10, 10, 0x00FF00);
    }
    main->LayOutBoard();
  }
  // The layers of simcad's drawing that are on, by name.
  std::vector<Text> ShownLayers() const {
    std::vector<Text> on;
    for (const auto& layer : session->GetDrawing().layers)
      if (layer.on) on.push_back(layer.name);
    return on;
  }

  ui::HeadlessForm& Window() const { return windows.WindowOf(main->Window()); }
  ui::HeadlessGrid& Board() const { return Window().GridOf(main->board); }
  // Calls of a member on any of the target's objects so far.
  int Calls(TextView member) const {
    const auto& counts = cad.target.faults.Counts();
    const auto found = counts.find(AsciiUpper(member));
    return found == counts.end() ? 0 : found->second;
  }

  TempDir dir;
  ui::HeadlessWindowSystem windows;
  ui::HeadlessMessageFilter filter;
  ui::HeadlessPictures pictures;
  std::shared_ptr<simcad::SimCad> session;
  SimCadServices cad;
  ShellServices services;
  std::unique_ptr<MainWindow> main;
};

}  // namespace plyscan::testing
