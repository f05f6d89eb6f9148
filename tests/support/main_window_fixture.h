// The main window on the headless window system, its settings beside a
// pretended executable in a fresh folder, and simcad's session in-process as
// the running target: for tests of the board and the capture through the
// window's own handlers.
#pragma once

#include <memory>

#include "base/platform.h"
#include "headless/ui/headless_pictures.h"
#include "headless/ui/headless_windows.h"
#include "shell/plyscan_unit.h"
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
                 cad.devices,       pictures},
        main(std::make_unique<TForm60>(services)) {
    main->Create();
  }

  ui::HeadlessForm& Window() const { return windows.WindowOf(main->Window()); }
  ui::HeadlessGrid& Board() const { return Window().GridOf(main->DrawGrid1); }
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
  std::unique_ptr<TForm60> main;
};

}  // namespace plyscan::testing
