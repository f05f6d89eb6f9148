// One running simulated CAD: the drawing, its system variables, the command
// line with its history, the active selection set, the options, the window
// handles the server owns, and counters that let tests see zooms and regens.
// The automation objects share it; it is not movable, since the command line
// works on its members in place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "simcad/commands/command_input.h"
#include "simcad/commands/file_writer.h"
#include "simcad/commands/sim_options.h"
#include "simcad/commands/system_variables.h"
#include "simcad/drawing/drawing.h"

namespace simcad {

class SimCad {
 public:
  // `files` receives what _BMPOUT writes; by default the disk.
  explicit SimCad(Drawing drawing, SimOptions options = {}, std::unique_ptr<FileWriter> files = nullptr);
  SimCad(const SimCad&) = delete;
  SimCad& operator=(const SimCad&) = delete;

  Drawing& GetDrawing() noexcept { return drawing_; }
  const Drawing& GetDrawing() const noexcept { return drawing_; }
  SystemVariables& Variables() noexcept { return variables_; }
  const SimOptions& Options() const noexcept { return options_; }
  const CommandHistory& History() const noexcept { return history_; }
  const CommandLine& GetCommandLine() const noexcept { return input_.Line(); }

  // The window handles the server's windows have (0 until it sets them).
  void SetWindowHandles(std::uint64_t application, std::uint64_t document) noexcept;
  std::uint64_t ApplicationWindow() const noexcept { return application_window_; }
  std::uint64_t DocumentWindow() const noexcept { return document_window_; }

  // Called whenever what the view shows may have changed, so that the
  // server's window repaints.
  void SetViewChangedHandler(std::function<void()> handler) { view_changed_ = std::move(handler); }
  void ViewChanged() const;

  // Runs a command text as the command line receives it; never fails.
  void SendCommand(TextView text);
  // Fits the extents of the thawed layers into the screen.
  void ZoomExtents();
  // Redraws the view.
  void Regen();

  // The active selection set: indices into the drawing's entities.
  std::vector<std::size_t>& Selection() noexcept { return selection_; }

  int ZoomCount() const noexcept { return zoom_count_; }
  int RegenCount() const noexcept { return regen_count_; }

  // Layers, current layer, layer states, system variables, command history,
  // live automation objects and the counters, as one JSON text.
  Text SimStateJson() const;

 private:
  Drawing drawing_;
  SimOptions options_;
  std::unique_ptr<FileWriter> files_;
  SystemVariables variables_;
  CommandHistory history_;
  CommandInput input_;
  std::uint64_t application_window_ = 0;
  std::uint64_t document_window_ = 0;
  std::function<void()> view_changed_;
  std::vector<std::size_t> selection_;
  int zoom_count_ = 0;
  int regen_count_ = 0;
};

}  // namespace simcad
