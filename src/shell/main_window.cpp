#include "shell/main_window.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "base/failure.h"
#include "base/file_paths.h"
#include "base/platform.h"
#include "board/board_view.h"
#include "board/board_sheet.h"
#include "board/cell_hint.h"
#include "board/cell_painter.h"
#include "board/layer_commands.h"
#include "board/layer_table.h"
#include "shell/clear_of_capture.h"
#include "shell/error_report.h"
#include "shell/layouts.h"
#include "shell/placement.h"
#include "shell/settings.h"
#include "shell/target_dialog.h"
#include "shell/target_list.h"

namespace plyscan {

namespace {

constexpr char16_t kDefaultTargetCaption[] = u" [ BricsCAD ]";
constexpr std::uint32_t kDropNameCapacity = 255;

}  // namespace

MainWindow::MainWindow(ShellServices& services)
    : services_(&services),
      form_(ui::MainWindowDesign()),
      waits_(services.windows, form_, asked_),
      cad_{services.cad.runtime, services.cad.desktop, services.cad.trace, &waits_},
      target_button(form_[ui::main_controls::kTargetButton]),
      capture_button(form_[ui::main_controls::kCaptureButton]),
      monochrome_box(form_[ui::main_controls::kMonochromeBox]),
      background_field(form_[ui::main_controls::kBackgroundField]),
      zoom_extents_box(form_[ui::main_controls::kZoomExtentsBox]),
      restore_state_button(form_[ui::main_controls::kRestoreStateButton]),
      delete_state_button(form_[ui::main_controls::kDeleteStateButton]),
      undo_capture_button(form_[ui::main_controls::kUndoCaptureButton]),
      save_state_button(form_[ui::main_controls::kSaveStateButton]),
      board(form_[ui::main_controls::kBoard]),
      progress_bar(form_[ui::main_controls::kProgressBar]),
      fit_layer_box(form_[ui::main_controls::kFitLayerBox]),
      grid(board.Grid()) {
  target_button.OnClick = [this] {
    UnlessCapturing([this] { ui::RunReported(services_->windows, [this] { ChooseTarget(); }); });
  };
  WireBoard();
}

void MainWindow::WireBoard() {
  grid.SetDesign(ui::BoardGridDesign());
  form_.OnResize = [this] { LayOutBoard(); };
  grid.OnDrawCell = [this](Canvas& canvas, std::int32_t col, std::int32_t row, const Rect& rect) {
    PaintCell(canvas, col, row, rect);
  };
  grid.OnMouseDown = [this](ui::MouseButton button, ui::ShiftState shift, std::int32_t x, std::int32_t y) {
    UnlessCapturing([&] { IsolatePressedLayer(button, shift, x, y); });
  };
  grid.OnDblClick = [this] { UnlessCapturing([this] { IsolateCurrentLayer(); }); };
  grid.OnKeyDown = [this](ui::KeyCode key, ui::ShiftState shift) { return BoardKeyDown(key, shift); };
  grid.OnKeyPress = [this](char16_t c) { UnlessCapturing([&] { FindTypedLayer(c); }); };
  grid.OnHint = [this](std::optional<ui::GridCell> cell) { return CellToolTip(cell); };
  capture_button.OnClick = [this] { UnlessCapturing([this] { Capture(); }); };
  save_state_button.OnClick = [this] { UnlessCapturing([this] { SaveLayerState(); }); };
  restore_state_button.OnClick = [this] { UnlessCapturing([this] { RestoreLayerState(); }); };
  delete_state_button.OnClick = [this] { UnlessCapturing([this] { DeleteLayerState(); }); };
  undo_capture_button.OnClick = [this] { UnlessCapturing([this] { UndoCapture(); }); };
  // A close while a command waits for the CAD is taken for after it.
  form_.OnCloseQuery = [this] {
    const bool busy = capturing_ || in_command_;
    if (busy) asked_.close = true;
    return !busy;
  };
}

// The main window as the capture run's host: the board, the options, the
// progress bar, the stop requests and the window's place while it runs.
class MainWindow::CaptureWindow final : public CaptureHost {
 public:
  explicit CaptureWindow(MainWindow& form) : form_(form), progress_(form.progress_bar) {}

  bool SaveLayerState() override { return board::SaveLayerState(form_.cad_, form_.Target()); }
  bool RestoreLayerState() override {
    return board::RestoreLayerState(form_.cad_, form_.Target(), form_.zoom_extents_box.Checked());
  }
  void Relayout() override { form_.LayOutBoard(); }
  // Only the cell the new picture fills is painted again (with the cells the
  // current row leaves and enters, or everything when the board scrolls);
  // the first picture repaints the whole board, whose records the run
  // has just read afresh.
  void ShowCaptured(std::size_t index) override {
    const board::BoardView view = form_.View();
    form_.grid.SetRow(view.RowOf(index));
    if (index == 0)
      form_.grid.Invalidate();
    else
      form_.grid.InvalidateCell({view.ColOf(index), view.RowOf(index)});
    form_.grid.Repaint();
  }
  void ShowFirstCell() override {
    form_.grid.SetRow(0);
    form_.grid.SetCol(0);
  }
  void ProcessMessages() override { form_.services_->windows.ProcessMessages(); }
  bool Monochrome() override { return form_.monochrome_box.Checked(); }
  bool FitLayer() override { return form_.fit_layer_box.Checked(); }
  Text BackgroundText() override { return form_.background_field.GetText(); }
  Size Thumbnail() override { return form_.View().Thumbnail(); }
  ProgressDisplay& Progress() override { return progress_; }
  StopRequest Stop(WindowHandle cad_window) override {
    const ui::QueuedStop queued = form_.services_->windows.TakeStopRequests(form_.form_, cad_window);
    form_.waits_.SetCadWindow(cad_window);
    ui::QueuedStop& asked = form_.asked_;
    asked.close = asked.close || queued.close;
    asked.escape = asked.escape || queued.escape;
    if (asked.close) return StopRequest::kNow;
    return asked.escape ? StopRequest::kAfterLayer : StopRequest::kNone;
  }

  void KeepOutOfCapture(const Rect& area) override {
    ui::FormPeer& window = form_.form_.Peer();
    if (window.ExcludeFromCapture(true)) {
      excluded_ = true;
      return;
    }
    const Rect now = window.WindowRect();
    if (const auto clear = ui::PlaceClearOf(now, area, form_.services_->windows.Desktop())) {
      moved_from_ = now;
      window.SetWindowRect(*clear);
    }
  }
  void BackAfterCapture() override {
    ui::FormPeer& window = form_.form_.Peer();
    if (excluded_) static_cast<void>(window.ExcludeFromCapture(false));
    if (moved_from_) window.SetWindowRect(*moved_from_);
    excluded_ = false;
    moved_from_.reset();
  }

 private:
  MainWindow& form_;
  BarProgress progress_;
  bool excluded_ = false;
  std::optional<Rect> moved_from_;
};

void MainWindow::Capture() {
  capturing_ = true;
  asked_.escape = false;
  waits_.Begin(true);
  CaptureWindow host(*this);
  CaptureServices capture{cad_,
                          ViewGrabServices{services_->view_screen, services_->files, SystemSurfaces(),
                                           WithExtension(services_->exe_path, u".bmp"), services_->stage_times},
                          services_->collator};
  RunCapture(capture, host, Target(), snapshot);
  capturing_ = false;
  asked_.escape = false;
  // The run brought the CAD forward: the keyboard walks the new board at once.
  if (!asked_.close) {
    form_.Peer().Activate();
    grid.Focus();
  }
  CloseIfAsked();
}

template <typename Command>
void MainWindow::AsCadCommand(Command&& command) {
  waits_.Begin(false);
  in_command_ = true;
  command();
  in_command_ = false;
  CloseIfAsked();
}

void MainWindow::CloseIfAsked() {
  // A close taken from the queue while the command waited for the CAD takes
  // effect now that the command is over.
  if (!std::exchange(asked_.close, false)) return;
  form_.Peer().Close();
}

void MainWindow::Create() {
  services_->windows.CreateWindows(form_, nullptr);
  StartUp();
}

std::int32_t MainWindow::MonitorScalePercent() {
  // Where Shcore.dll or its GetScaleFactorForMonitor is missing, the primary
  // display's resolution gives the same percentage (144 dpi: 150 %).
  const auto found = services_->windows.ScaleFactorOfFirstMonitor();
  return found ? *found : (services_->windows.PrimaryDpi() * 100 + 48) / 96;
}

void MainWindow::StartUp() {
  ui::RunReported(services_->windows, [this] {
    display_scale = static_cast<double>(MonitorScalePercent()) / 100.0;

    services_->target_prog_id = kDefaultProgID;
    form_.SetCaption(Text(ui::kApplicationTitle) + kDefaultTargetCaption);
    ReadSettings();

    // A target list that cannot be opened is reported on its own, and the
    // message filter and the drop acceptance still follow: without the
    // filter, busy-CAD retries would stay off for the whole session.
    ui::RunReported(services_->windows, [this] { CaptionFromTargetList(); });

    services_->message_filter.CreateAndRegister();
    filter_registered_ = true;
    form_.Peer().AcceptDroppedFiles(true);
  });
}

void MainWindow::ReadSettings() {
  const Settings settings(services_->profiles, SettingsPathFor(services_->exe_path));
  ui::FormPeer& window = form_.Peer();
  const Size screen = services_->windows.PrimaryScreenSize();

  // Each step applied before the next is read, as the window takes it.
  const Rect now = window.WindowRect();
  const Size size = ReadWindowSize(settings, now.Extent());
  window.SetWindowRect(now.Resized(size));

  const Point position = ReadWindowPosition(settings, size, screen);
  window.SetWindowRect(Rect::At(position, size));

  const WindowPlacement kept = KeepOnPrimaryDisplay({position, size}, screen);
  window.SetWindowRect(Rect::At(kept.corner, kept.size));

  const WindowOptions options = ReadWindowOptions(settings, background_field.GetText(), Target());
  background_field.SetText(options.background);
  monochrome_box.SetChecked(options.mono);
  zoom_extents_box.SetChecked(options.zoom_extents);
  fit_layer_box.SetChecked(options.fit_layer);
  services_->target_prog_id = options.target_prog_id;
}

void MainWindow::CaptionFromTargetList() {
  const Text path = TargetListPathFor(services_->exe_path);
  if (!services_->files.Exists(path)) return;
  const DecodedList list = LoadTargetList(services_->files, services_->ansi, path);
  if (const auto name = StartupTargetName(list.lines, Target()))
    form_.SetCaption(Text(ui::kApplicationTitle) + u" [ " + *name + u" ]");
}

void MainWindow::ShutDown() {
  ui::RunReported(services_->windows, [this] {
    Settings settings(services_->profiles, SettingsPathFor(services_->exe_path));
    const Rect normal = form_.Peer().NormalRect();
    const WindowOptions options{background_field.GetText(), monochrome_box.Checked(), zoom_extents_box.Checked(),
                                Target(), fit_layer_box.Checked()};
    WriteWindowSettings(settings, {normal.TopLeft(), normal.Extent()}, options);

    if (filter_registered_) {
      services_->message_filter.Revoke();
      filter_registered_ = false;
    }
    ReleaseThumbnails(snapshot);
  });
}

// The window accepts dropped files, so that a drawing dragged onto it from
// Explorer is not refused with the no-entry cursor, and reads each name as
// the drop hands it over; it does nothing with them yet, and releases the
// drop so that its memory does not outlive the message.
void MainWindow::TakeDroppedFiles(ui::DroppedFiles& drop) {
  const std::uint32_t count = drop.Count();
  for (std::uint32_t i = 0; i < count; ++i) static_cast<void>(drop.Name(i, kDropNameCapacity));
  drop.Finish();
}

void MainWindow::LayOutBoard() {
  const auto shape = board::BoardShapeFor(snapshot.size(), grid.OuterSize().width, grid.DefaultColWidth());
  if (!shape) return;
  grid.SetColCount(shape->cols);
  grid.SetRowCount(shape->rows);
}

board::BoardView MainWindow::View() const {
  return {snapshot, grid.ColCount(), {grid.DefaultColWidth(), grid.DefaultRowHeight()}, display_scale, grid.Dpi()};
}

void MainWindow::PaintCell(Canvas& canvas, std::int32_t col, std::int32_t row, const Rect& rect) {
  board::PaintBoardCell(canvas, View(), col, row, rect);
}

void MainWindow::IsolatePressedLayer(ui::MouseButton, ui::ShiftState, std::int32_t x, std::int32_t y) {
  // Every button counts. The cell is the grid's own hit test, so that the
  // grid lines and the scroll position in both directions are counted and a
  // press isolates the layer under the pointer.
  const auto cell = grid.MouseCoord(x, y);
  if (!cell || !View().RecordIn(cell->col, cell->row)) return;
  grid.SetRow(cell->row);
  grid.SetCol(cell->col);
  IsolateCurrentLayer();
}

std::int64_t MainWindow::CurrentIndex() const { return View().IndexOf(grid.Col(), grid.Row()); }

void MainWindow::IsolateCurrentLayer() {
  AsCadCommand([&] { board::IsolateLayer(cad_, Target(), snapshot, CurrentIndex(), zoom_extents_box.Checked()); });
}

void MainWindow::ShowCurrentLayer() {
  AsCadCommand([&] { board::ShowLayer(cad_, Target(), snapshot, CurrentIndex()); });
}

bool MainWindow::BoardKeyDown(ui::KeyCode key, ui::ShiftState shift) {
  if (capturing_) {
    // Only Esc means something during a capture; the board still moves.
    if (key == ui::keys::kEscape) asked_.escape = true;
    return key == ui::keys::kEscape;
  }
  if (key == ui::keys::kEnter && !shift.ctrl && !shift.alt) {
    if (shift.shift)
      ShowCurrentLayer();
    else
      IsolateCurrentLayer();
    // The command brought the CAD forward; the keyboard stays on the board,
    // so that the walk goes on with the next key.
    form_.Peer().Activate();
    grid.Focus();
    return true;
  }
  if (shift.ctrl && shift.shift && !shift.alt && key == u'C') {
    ui::RunReported(services_->windows, [&] { CopyLayerTable(); });
    return true;
  }
  if (shift.ctrl && !shift.alt && (key == u'C' || key == u'S')) {
    ui::RunReported(services_->windows, [&] { key == u'C' ? CopyBoardPicture() : SaveBoardPicture(); });
    return true;
  }
  return false;
}

void MainWindow::FindTypedLayer(char16_t character) {
  if (character < u' ') return;  // Enter, Esc and the Ctrl combinations are keys, not names
  const std::int64_t current = CurrentIndex();
  const auto found =
      type_ahead_.Type(character, services_->windows.TickCount(), current >= 0 ? static_cast<std::size_t>(current) : 0,
                       snapshot, services_->collator);
  if (!found) return;
  const board::BoardView view = View();
  grid.SetRow(view.RowOf(*found));
  grid.SetCol(view.ColOf(*found));
}

Text MainWindow::CellToolTip(std::optional<ui::GridCell> cell) const {
  std::optional<std::size_t> index;
  if (cell) index = View().RecordIn(cell->col, cell->row);
  return board::CellHint(snapshot, index, board.Design().hint);
}

Bitmap MainWindow::BoardPicture() {
  const board::BoardView view = View();
  const ui::FormDesign& design = form_.Design();
  const FontSpec font{design.font_face, ui::Scale(design.font_height, grid.Dpi()), 0};
  // Bands of some megabytes each of the 24-bit picture.
  const std::int32_t band_rows = view.BandRows(8 << 20, 3);
  const Size size = view.SheetSize();
  return services_->pictures.Paint(
      size.width, size.height, band_rows * view.RowPitch(), [&](Canvas& canvas, std::int32_t band_top) {
        board::PaintSheetBand(canvas, view, font, grid.Design().line_colour, band_top, band_rows);
      });
}

void MainWindow::CopyBoardPicture() {
  if (snapshot.empty()) return;
  const FileResult copied = services_->pictures.CopyToClipboard(BoardPicture());
  if (!copied.ok) throw Failure(Format(u"クリップボードに画像をコピーできません。%s", {copied.error}));
}

void MainWindow::CopyLayerTable() {
  if (snapshot.empty()) return;
  const FileResult copied = services_->pictures.CopyTextToClipboard(board::LayerTableText(snapshot));
  if (!copied.ok) throw Failure(Format(u"クリップボードに画層の表をコピーできません。%s", {copied.error}));
}

void MainWindow::SaveBoardPicture() {
  if (snapshot.empty()) return;
  const auto path = services_->pictures.AskSavePath(u"PLYSCAN.png");
  if (!path) return;
  const FileResult saved = services_->pictures.SavePng(BoardPicture(), *path);
  if (!saved.ok) throw Failure(Format(u"ファイル \"%s\" を作成できません。%s", {*path, saved.error}));
}

void MainWindow::SaveLayerState() {
  AsCadCommand([&] { board::SaveLayerState(cad_, Target()); });
}

void MainWindow::RestoreLayerState() {
  AsCadCommand([&] { board::RestoreLayerState(cad_, Target(), zoom_extents_box.Checked()); });
}

void MainWindow::DeleteLayerState() {
  AsCadCommand([&] { board::DeleteLayerState(cad_, Target()); });
}

void MainWindow::UndoCapture() {
  BarProgress progress(progress_bar);
  AsCadCommand([&] { board::RestoreSnapshot(cad_, Target(), snapshot, progress); });
}

void MainWindow::ChooseTarget() {
  if (!target_dialog_) return;
  ui::FormPeer& main = form_.Peer();
  ui::FormPeer& dialog = target_dialog_->Window().Peer();
  main.SetStacking(ui::Stacking::kNotTopmost);
  dialog.SetStacking(ui::Stacking::kTopmost);
  static_cast<void>(target_dialog_->Window().ShowModal());
  dialog.SetStacking(ui::Stacking::kNotTopmost);
  main.SetStacking(ui::Stacking::kTopmost);
}

}  // namespace plyscan
