// The main window TForm60: the toolbar, the board and the progress bar, the
// settings it restores when created and saves when destroyed, the CAD button
// that opens the target dialog, and the handlers of the board and the
// layer-state buttons, which hand their work to the board's commands.
#pragma once

#include <cstdint>

#include "base/canvas.h"
#include "base/progress_display.h"
#include "board/type_ahead.h"
#include "capture/mdibmp.h"
#include "shell/controls.h"
#include "shell/grid_model.h"
#include "shell/shell_services.h"

namespace plyscan {

// The ProgID of the target CAD application, read afresh by every CAD command;
// empty until the main window is created.
extern Text TargetProgID;

class TTargetCADForm;

class TForm60 {
 public:
  explicit TForm60(ShellServices& services);
  TForm60(const TForm60&) = delete;
  TForm60& operator=(const TForm60&) = delete;

  // Creates the window from its layout; FormCreate runs as part of this.
  void Create();
  // The dialog that Button3Click shows; created after the main window.
  void SetTargetForm(TTargetCADForm* dialog) noexcept { target_form_ = dialog; }

  ui::Form& Window() noexcept { return form_; }
  const ui::Form& Window() const noexcept { return form_; }

  void FormCreate();
  void FormDestroy();
  void WMDropFiles(ui::DroppedFiles& drop);
  void Button3Click();
  // The scale of the first display monitor in percent.
  void GetMonitorScaleFactor(std::int32_t& scale);

  // The board: relayout to the grid's width, one cell painted, a press.
  void FormResize();
  void DrawGrid1DrawCell(Canvas& canvas, std::int32_t acol, std::int32_t arow, const PixelRect& rect);
  void DrawGrid1MouseDown(ui::MouseButton button, ui::ShiftState shift, std::int32_t x, std::int32_t y);
  // Shows only the layer of the current cell.
  void DrawGrid1DblClick();
  // The board's keys: Enter shows only the current cell's layer, Shift+Enter
  // shows it beside the others, Ctrl+C copies the board's picture and Ctrl+S
  // saves it; Esc stops a capture. True when the key was taken.
  bool DrawGrid1KeyDown(ui::KeyCode key, ui::ShiftState shift);
  // A character typed on the board: finds the layer whose name begins so.
  void DrawGrid1KeyPress(char16_t character);
  // The tool tip over a cell: the record's details and the board's hint.
  Text DrawGrid1Hint(std::optional<ui::GridCell> cell) const;
  // Shows the current cell's layer and leaves the other layers as they are.
  void ShowCurrentLayer();
  // The picture of the whole board, to the clipboard or to a PNG file.
  void CopyBoardPicture();
  void SaveBoardPicture();
  // The picture of every record in the board's columns, as the board paints them.
  Bitmap BoardPicture();
  // The capture run: one thumbnail and count per layer.
  void Button4Click();
  // The layer state "PLYSCAN": save, restore, delete; and the snapshot's switches put back.
  void Button1Click();
  void Button2Click();
  void Button6Click();
  void Button5Click();

 private:
  // ProgressBar1 as the commands' progress display.
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

  // The index of the current cell's record (it may lie past the records).
  std::int64_t CurrentIndex() const;

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
  TTargetCADForm* target_form_ = nullptr;
  bool filter_registered_ = false;
  bool capturing_ = false;
  bool close_requested_ = false;
  bool escape_requested_ = false;
  board::TypeAhead type_ahead_;

 public:
  // The controls, under their designed names.
  ui::Control& Button3;
  ui::Control& DrawGrid1;
  ui::Control& Button4;
  ui::Control& Button5;
  ui::Control& CheckBox1;
  ui::Control& Edit1;
  ui::Control& ProgressBar1;
  ui::Control& Button1;
  ui::Control& Button2;
  ui::Control& Button6;
  ui::Control& CheckBox2;
  // The board's own grid state.
  ui::GridModel& Grid;

  // The layer snapshot; each record owns its thumbnail.
  ::plyscan::MdiBmp MdiBmp;
  // The display scale as a fraction (1.0 at 100 %), taken once by FormCreate.
  double dispScale = 1.0;
};

}  // namespace plyscan
