// The main window: the toolbar, the board and the progress bar, the settings
// it restores when created and saves when destroyed, the target button that
// opens the target dialog, the capture, and the handlers of the board and
// the layer-state buttons, which hand their work to the board's commands.
#pragma once

#include <cstdint>

#include "base/canvas.h"
#include "base/progress_display.h"
#include "board/board_view.h"
#include "board/type_ahead.h"
#include "layers/layer_snapshot.h"
#include "shell/command_waits.h"
#include "shell/controls.h"
#include "shell/grid_model.h"
#include "shell/shell_services.h"

namespace plyscan {

class TargetDialog;

class MainWindow {
 public:
  explicit MainWindow(ShellServices& services);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window from its layout, then starts up: the display scale,
  // the settings, the caption, the message filter, dropped files.
  void Create();
  // The dialog that ChooseTarget shows; created after the main window.
  void SetTargetDialog(TargetDialog* dialog) noexcept { target_dialog_ = dialog; }

  ui::Form& Window() noexcept { return form_; }
  const ui::Form& Window() const noexcept { return form_; }

  // Writes the settings, revokes the message filter and releases the
  // thumbnails, as the window goes.
  void ShutDown();
  void TakeDroppedFiles(ui::DroppedFiles& drop);
  // The target dialog, shown modally above the main window.
  void ChooseTarget();
  // The scale of the first display monitor in percent.
  std::int32_t MonitorScalePercent();

  // The board: relayout to the grid's width, one cell painted, a press.
  void LayOutBoard();
  void PaintCell(Canvas& canvas, std::int32_t col, std::int32_t row, const Rect& rect);
  void IsolatePressedLayer(ui::MouseButton button, ui::ShiftState shift, std::int32_t x, std::int32_t y);
  // Shows only the layer of the current cell.
  void IsolateCurrentLayer();
  // The board's keys: Enter shows only the current cell's layer, Shift+Enter
  // shows it beside the others, Ctrl+C copies the board's picture and Ctrl+S
  // saves it, Ctrl+Shift+C copies the layer table; Esc stops a capture. True when the key was taken.
  bool BoardKeyDown(ui::KeyCode key, ui::ShiftState shift);
  // A character typed on the board: finds the layer whose name begins so.
  void FindTypedLayer(char16_t character);
  // The tool tip over a cell: the record's details and the board's hint.
  Text CellToolTip(std::optional<ui::GridCell> cell) const;
  // Shows the current cell's layer and leaves the other layers as they are.
  void ShowCurrentLayer();
  // The picture of the whole board, to the clipboard or to a PNG file.
  void CopyBoardPicture();
  void SaveBoardPicture();
  // The layer table of every record, to the clipboard as text.
  void CopyLayerTable();
  // The picture of every record in the board's columns, as the board paints them.
  Bitmap BoardPicture();
  // The capture run: one thumbnail and count per layer.
  void Capture();
  // The layer state "PLYSCAN": save, restore, delete; and the switches the
  // capture read put back.
  void SaveLayerState();
  void RestoreLayerState();
  void DeleteLayerState();
  void UndoCapture();

 private:
  // The progress bar as the commands' progress display.
  class BarProgress final : public ProgressDisplay {
   public:
    explicit BarProgress(ui::Control& bar) : bar_(&bar) {}
    void SetVisible(bool visible) override { bar_->SetVisible(visible); }
    void SetMax(std::int32_t max) override { bar_->SetMax(max); }
    std::int32_t Position() const override { return bar_->Position(); }
    void SetPosition(std::int32_t position) override { bar_->SetPosition(position); }

   private:
    ui::Control* bar_;
  };

  class CaptureWindow;

  const Text& Target() const noexcept { return services_->target_prog_id; }
  // The board's records in the grid's columns and cells.
  board::BoardView View() const;
  // The index of the current cell's record (it may lie past the records).
  std::int64_t CurrentIndex() const;

  void StartUp();
  // A CAD command outside a capture: a close asked while it waited for the
  // CAD ends the wait, and the window then closes.
  template <typename Command>
  void AsCadCommand(Command&& command);
  void CloseIfAsked();
  void ReadSettings();
  void CaptionFromTargetList();
  void WireBoard();
  // While a capture runs, the user's commands are ignored (the capture lets
  // window messages through) and a close waits for its end.
  template <typename Handler>
  void UnlessCapturing(Handler&& handler) {
    if (!capturing_) handler();
  }

  ShellServices* services_;
  ui::Form form_;
  TargetDialog* target_dialog_ = nullptr;
  bool filter_registered_ = false;
  bool capturing_ = false;
  bool in_command_ = false;  // a CAD command outside a capture
  // Stop requests taken from the queue while a command runs: the window
  // closes once the command is over; Esc ends a capture.
  ui::QueuedStop asked_;
  ui::CommandWaits waits_;
  // The CAD link as the window's commands use it: their refused calls wait
  // with the windows painted.
  CadServices cad_;
  board::TypeAhead type_ahead_;

 public:
  // The controls. The save-state and undo-capture buttons are hidden by the
  // layout but wired, so that a layout that shows them needs no code.
  ui::Control& target_button;
  ui::Control& capture_button;
  ui::Control& monochrome_box;
  ui::Control& background_field;
  ui::Control& zoom_extents_box;
  ui::Control& restore_state_button;
  ui::Control& delete_state_button;
  ui::Control& undo_capture_button;
  ui::Control& save_state_button;
  ui::Control& board;
  ui::Control& progress_bar;
  ui::Control& fit_layer_box;
  // The board's own grid state.
  ui::GridModel& grid;

  // The layer snapshot; each record owns its thumbnail.
  LayerSnapshot snapshot;
  // The display scale as a fraction (1.0 at 100 %), taken once at start-up.
  double display_scale = 1.0;
};

}  // namespace plyscan
