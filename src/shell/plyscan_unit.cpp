#include "shell/plyscan_unit.h"

#include <algorithm>
#include <optional>

#include "base/failure.h"
#include "base/file_paths.h"
#include "base/platform.h"
#include "board/board_layout.h"
#include "board/board_sheet.h"
#include "board/cell_hint.h"
#include "board/cell_painter.h"
#include "board/layer_commands.h"
#include "shell/clear_of_capture.h"
#include "shell/error_report.h"
#include "shell/layouts.h"
#include "shell/placement.h"
#include "shell/settings.h"
#include "shell/target_cad_unit.h"
#include "shell/target_list.h"

namespace plyscan {

Text TargetProgID;

namespace {

constexpr char16_t kDefaultTargetCaption[] = u" [ BricsCAD ]";
constexpr std::uint32_t kDropNameCapacity = 255;

}  // namespace

TForm60::TForm60(ShellServices& services)
    : services_(&services),
      form_(ui::Form60Design()),
      Button3(form_[u"Button3"]),
      DrawGrid1(form_[u"DrawGrid1"]),
      Button4(form_[u"Button4"]),
      Button5(form_[u"Button5"]),
      CheckBox1(form_[u"CheckBox1"]),
      Edit1(form_[u"Edit1"]),
      ProgressBar1(form_[u"ProgressBar1"]),
      Button1(form_[u"Button1"]),
      Button2(form_[u"Button2"]),
      Button6(form_[u"Button6"]),
      CheckBox2(form_[u"CheckBox2"]),
      Grid(DrawGrid1.Grid()) {
  Button3.OnClick = [this] {
    UnlessCapturing([this] { ui::RunReported(services_->windows, [this] { Button3Click(); }); });
  };
  WireBoard();
}

void TForm60::WireBoard() {
  Grid.SetDesign(ui::BoardGridDesign());
  form_.OnResize = [this] { FormResize(); };
  Grid.OnDrawCell = [this](Canvas& canvas, std::int32_t col, std::int32_t row, const PixelRect& rect) {
    DrawGrid1DrawCell(canvas, col, row, rect);
  };
  Grid.OnMouseDown = [this](ui::MouseButton button, ui::ShiftState shift, std::int32_t x, std::int32_t y) {
    UnlessCapturing([&] { DrawGrid1MouseDown(button, shift, x, y); });
  };
  Grid.OnDblClick = [this] { UnlessCapturing([this] { DrawGrid1DblClick(); }); };
  Grid.OnKeyDown = [this](ui::KeyCode key, ui::ShiftState shift) { return DrawGrid1KeyDown(key, shift); };
  Grid.OnKeyPress = [this](char16_t c) { UnlessCapturing([&] { DrawGrid1KeyPress(c); }); };
  Grid.OnHint = [this](std::optional<ui::GridCell> cell) { return DrawGrid1Hint(cell); };
  Button4.OnClick = [this] { UnlessCapturing([this] { Button4Click(); }); };
  Button1.OnClick = [this] { UnlessCapturing([this] { Button1Click(); }); };
  Button2.OnClick = [this] { UnlessCapturing([this] { Button2Click(); }); };
  Button6.OnClick = [this] { UnlessCapturing([this] { Button6Click(); }); };
  Button5.OnClick = [this] { UnlessCapturing([this] { Button5Click(); }); };
  form_.OnCloseQuery = [this] {
    if (capturing_) close_requested_ = true;
    return !capturing_;
  };
}

// The main window as the capture run's host: the board, the options, the
// progress bar, the stop requests and the window's place while it runs.
class TForm60::CaptureWindow final : public CaptureHost {
 public:
  explicit CaptureWindow(TForm60& form) : form_(form), progress_(form.ProgressBar1) {}

  bool SaveLayerState() override { return board::SaveLayerState(form_.services_->cad, TargetProgID); }
  bool RestoreLayerState() override {
    return board::RestoreLayerState(form_.services_->cad, TargetProgID, form_.CheckBox2.Checked());
  }
  void Relayout() override { form_.FormResize(); }
  void ShowCaptured(std::size_t index) override {
    ui::GridModel& grid = form_.Grid;
    grid.SetRow(static_cast<std::int32_t>(static_cast<std::int64_t>(index) / grid.ColCount()));
    grid.Repaint();
  }
  void ShowFirstCell() override {
    form_.Grid.SetRow(0);
    form_.Grid.SetCol(0);
  }
  void ProcessMessages() override { form_.services_->windows.ProcessMessages(); }
  bool Monochrome() override { return form_.CheckBox1.Checked(); }
  Text BackgroundText() override { return form_.Edit1.GetText(); }
  ThumbnailSize Thumbnail() override {
    return {form_.Grid.DefaultColWidth(), form_.Grid.DefaultRowHeight() - board::HeaderBarHeight(form_.dispScale)};
  }
  ProgressDisplay& Progress() override { return progress_; }
  StopRequest Stop(WindowHandle cad_window) override {
    const ui::QueuedStop queued = form_.services_->windows.TakeStopRequests(form_.form_, cad_window);
    form_.close_requested_ = form_.close_requested_ || queued.close;
    form_.escape_requested_ = form_.escape_requested_ || queued.escape;
    if (form_.close_requested_) return StopRequest::kNow;
    return form_.escape_requested_ ? StopRequest::kAfterLayer : StopRequest::kNone;
  }

  void KeepOutOfCapture(const ScreenBox& area) override {
    ui::FormPeer& window = form_.form_.Peer();
    if (window.ExcludeFromCapture(true)) {
      excluded_ = true;
      return;
    }
    const ui::ScreenRect now = window.WindowRect();
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
  TForm60& form_;
  BarProgress progress_;
  bool excluded_ = false;
  std::optional<ui::ScreenRect> moved_from_;
};

void TForm60::Button4Click() {
  capturing_ = true;
  escape_requested_ = false;
  CaptureWindow host(*this);
  CaptureServices capture{services_->cad, services_->capture.windows,
                          ViewGrabServices{services_->capture.copier, services_->files, SystemSurfaces(),
                                           WithExtension(services_->exe_path, u".bmp")},
                          services_->collator};
  RunCapture(capture, host, TargetProgID, MdiBmp);
  capturing_ = false;
  escape_requested_ = false;
  // The run brought the CAD forward: the keyboard walks the new board at once.
  if (!close_requested_) {
    form_.Peer().Activate();
    Grid.Focus();
  }
  // A close asked for during the run takes effect now that the drawing is back.
  if (close_requested_) {
    close_requested_ = false;
    form_.Peer().Close();
  }
}

void TForm60::Create() {
  services_->windows.CreateWindows(form_, nullptr);
  FormCreate();
}

void TForm60::GetMonitorScaleFactor(std::int32_t& scale) {
  // Where Shcore.dll or its GetScaleFactorForMonitor is missing, the primary
  // display's resolution gives the same percentage (144 dpi: 150 %).
  const auto found = services_->windows.ScaleFactorOfFirstMonitor();
  scale = found ? *found : (services_->windows.PrimaryDpi() * 100 + 48) / 96;
}

void TForm60::FormCreate() {
  ui::RunReported(services_->windows, [this] {
    std::int32_t scale = 100;
    GetMonitorScaleFactor(scale);
    dispScale = static_cast<double>(scale) / 100.0;

    TargetProgID = kDefaultProgID;
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

void TForm60::ReadSettings() {
  const Settings settings(services_->profiles, SettingsPathFor(services_->exe_path));
  ui::FormPeer& window = form_.Peer();
  const ui::PixelSize screen_px = services_->windows.PrimaryScreenSize();
  const WindowSize screen{screen_px.width, screen_px.height};

  ui::ScreenRect rect = window.WindowRect();
  const WindowSize size = ReadWindowSize(settings, {rect.width, rect.height});
  rect.width = size.width;
  rect.height = size.height;
  window.SetWindowRect(rect);

  const WindowPosition position = ReadWindowPosition(settings, size, screen);
  rect.left = position.left;
  rect.top = position.top;
  window.SetWindowRect(rect);

  const WindowBounds kept = KeepOnPrimaryDisplay({rect.left, rect.top, rect.width, rect.height}, screen);
  window.SetWindowRect({kept.left, kept.top, kept.width, kept.height});

  const WindowOptions options = ReadWindowOptions(settings, Edit1.GetText(), TargetProgID);
  Edit1.SetText(options.background);
  CheckBox1.SetChecked(options.mono);
  CheckBox2.SetChecked(options.zoom_extents);
  TargetProgID = options.target_prog_id;
}

void TForm60::CaptionFromTargetList() {
  const Text path = TargetListPathFor(services_->exe_path);
  if (!services_->files.Exists(path)) return;
  const DecodedList list = LoadTargetList(services_->files, services_->ansi, path);
  if (const auto name = StartupTargetName(list.lines, TargetProgID))
    form_.SetCaption(Text(ui::kApplicationTitle) + u" [ " + *name + u" ]");
}

void TForm60::FormDestroy() {
  ui::RunReported(services_->windows, [this] {
    Settings settings(services_->profiles, SettingsPathFor(services_->exe_path));
    const ui::ScreenRect normal = form_.Peer().NormalRect();
    const WindowOptions options{Edit1.GetText(), CheckBox1.Checked(), CheckBox2.Checked(), TargetProgID};
    WriteWindowSettings(settings, {normal.left, normal.top, normal.width, normal.height}, options);

    if (filter_registered_) {
      services_->message_filter.Revoke();
      filter_registered_ = false;
    }
    ReleaseThumbnails(MdiBmp);
  });
}

void TForm60::WMDropFiles(ui::DroppedFiles& drop) {
  const std::uint32_t count = drop.Count();
  for (std::uint32_t i = 0; i < count; ++i) static_cast<void>(drop.Name(i, kDropNameCapacity));
  drop.Finish();
}

void TForm60::FormResize() {
  const auto shape = board::BoardShapeFor(MdiBmp.size(), Grid.OuterSize().width, Grid.DefaultColWidth());
  if (!shape) return;
  Grid.SetColCount(shape->cols);
  Grid.SetRowCount(shape->rows);
}

void TForm60::DrawGrid1DrawCell(Canvas& canvas, std::int32_t acol, std::int32_t arow, const PixelRect& rect) {
  const board::BoardCellPaint board{MdiBmp,         Grid.ColCount(),         dispScale,
                                    Grid.DefaultColWidth(), Grid.DefaultRowHeight(), Grid.Dpi()};
  board::PaintBoardCell(canvas, board, acol, arow, rect);
}

void TForm60::DrawGrid1MouseDown(ui::MouseButton, ui::ShiftState, std::int32_t x, std::int32_t y) {
  // Every button counts. The cell is the grid's own hit test, so that the
  // grid lines and the scroll position in both directions are counted and a
  // press isolates the layer under the pointer.
  const auto cell = Grid.MouseCoord(x, y);
  if (!cell || !board::RecordInCell(cell->col, cell->row, Grid.ColCount(), MdiBmp.size())) return;
  Grid.SetRow(cell->row);
  Grid.SetCol(cell->col);
  DrawGrid1DblClick();
}

std::int64_t TForm60::CurrentIndex() const {
  return static_cast<std::int64_t>(Grid.Row()) * Grid.ColCount() + Grid.Col();
}

void TForm60::DrawGrid1DblClick() {
  board::IsolateLayer(services_->cad, TargetProgID, MdiBmp, CurrentIndex(), CheckBox2.Checked());
}

void TForm60::ShowCurrentLayer() { board::ShowLayer(services_->cad, TargetProgID, MdiBmp, CurrentIndex()); }

bool TForm60::DrawGrid1KeyDown(ui::KeyCode key, ui::ShiftState shift) {
  if (capturing_) {
    // Only Esc means something during a capture; the board still moves.
    if (key == ui::keys::kEscape) escape_requested_ = true;
    return key == ui::keys::kEscape;
  }
  if (key == ui::keys::kEnter && !shift.ctrl && !shift.alt) {
    if (shift.shift)
      ShowCurrentLayer();
    else
      DrawGrid1DblClick();
    // The command brought the CAD forward; the keyboard stays on the board,
    // so that the walk goes on with the next key.
    form_.Peer().Activate();
    Grid.Focus();
    return true;
  }
  if (shift.ctrl && !shift.alt && (key == u'C' || key == u'S')) {
    ui::RunReported(services_->windows, [&] { key == u'C' ? CopyBoardPicture() : SaveBoardPicture(); });
    return true;
  }
  return false;
}

void TForm60::DrawGrid1KeyPress(char16_t character) {
  if (character < u' ') return;  // Enter, Esc and the Ctrl combinations are keys, not names
  const std::int64_t current = CurrentIndex();
  const auto found = type_ahead_.Type(character, services_->windows.TickCount(),
                                      current >= 0 ? static_cast<std::size_t>(current) : 0, MdiBmp,
                                      services_->collator);
  if (!found) return;
  const auto index = static_cast<std::int64_t>(*found);
  Grid.SetRow(static_cast<std::int32_t>(index / Grid.ColCount()));
  Grid.SetCol(static_cast<std::int32_t>(index % Grid.ColCount()));
}

Text TForm60::DrawGrid1Hint(std::optional<ui::GridCell> cell) const {
  std::optional<std::size_t> index;
  if (cell) index = board::RecordInCell(cell->col, cell->row, Grid.ColCount(), MdiBmp.size());
  return board::CellHint(MdiBmp, index, DrawGrid1.Design().hint);
}

Bitmap TForm60::BoardPicture() {
  const board::SheetLayout sheet =
      board::SheetFor(MdiBmp.size(), Grid.ColCount(), Grid.DefaultColWidth(), Grid.DefaultRowHeight());
  const board::BoardCellPaint cells{MdiBmp,           sheet.cols,       dispScale, Grid.DefaultColWidth(),
                                    Grid.DefaultRowHeight(), Grid.Dpi()};
  const ui::FormDesign& design = form_.Design();
  const FontSpec font{design.font_face, ui::Scale(design.font_height, Grid.Dpi()), 0};
  // Bands of whole rows of some megabytes each, so that a board of thousands
  // of layers never needs its picture twice at once.
  const std::int32_t pitch = sheet.cell_height + 1;
  const std::int64_t row_bytes = static_cast<std::int64_t>(sheet.Width()) * 3 * pitch;
  const auto band_rows = static_cast<std::int32_t>(std::max<std::int64_t>(1, (8 << 20) / std::max<std::int64_t>(1, row_bytes)));
  return services_->pictures.Paint(sheet.Width(), sheet.Height(), band_rows * pitch,
                                   [&](Canvas& canvas, std::int32_t band_top) {
                                     const std::int32_t first = band_top / pitch;
                                     board::PaintSheetRows(canvas, sheet, cells, font, Grid.Design().line_colour,
                                                           first, first + band_rows);
                                   });
}

void TForm60::CopyBoardPicture() {
  if (MdiBmp.empty()) return;
  const FileResult copied = services_->pictures.CopyToClipboard(BoardPicture());
  if (!copied.ok) throw Failure(Format(u"クリップボードに画像をコピーできません。%s", {copied.error}));
}

void TForm60::SaveBoardPicture() {
  if (MdiBmp.empty()) return;
  const auto path = services_->pictures.AskSavePath(u"PLYSCAN.png");
  if (!path) return;
  const FileResult saved = services_->pictures.SavePng(BoardPicture(), *path);
  if (!saved.ok) throw Failure(Format(u"ファイル \"%s\" を作成できません。%s", {*path, saved.error}));
}

void TForm60::Button1Click() { board::SaveLayerState(services_->cad, TargetProgID); }

void TForm60::Button2Click() { board::RestoreLayerState(services_->cad, TargetProgID, CheckBox2.Checked()); }

void TForm60::Button6Click() { board::DeleteLayerState(services_->cad, TargetProgID); }

void TForm60::Button5Click() {
  BarProgress progress(ProgressBar1);
  board::RestoreSnapshot(services_->cad, TargetProgID, MdiBmp, progress);
}

void TForm60::Button3Click() {
  if (!target_form_) return;
  ui::FormPeer& main = form_.Peer();
  ui::FormPeer& dialog = target_form_->Window().Peer();
  main.SetStacking(ui::Stacking::kNotTopmost);
  dialog.SetStacking(ui::Stacking::kTopmost);
  static_cast<void>(target_form_->Window().ShowModal());
  dialog.SetStacking(ui::Stacking::kNotTopmost);
  main.SetStacking(ui::Stacking::kTopmost);
}

}  // namespace plyscan
