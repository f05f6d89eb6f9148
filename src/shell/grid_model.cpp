#include "shell/grid_model.h"

#include <algorithm>
#include <limits>

#include "shell/placement.h"

namespace plyscan::ui {

namespace {

// A draw grid's own defaults, before a form designs it.
constexpr GridDesign kGridDefaults{64, 24, 5, 5, 0xFFFFFF, 0xC0C0C0};

// count x pitch less the last line, without overflow.
std::int64_t Extent(std::int32_t count, std::int32_t pitch) {
  return static_cast<std::int64_t>(count) * pitch - GridModel::kGridLineWidth;
}

std::int32_t WhollyVisible(std::int32_t client, std::int32_t pitch) {
  return std::max<std::int32_t>(1, (client + GridModel::kGridLineWidth) / pitch);
}

}  // namespace

GridModel::GridModel()
    : design_(kGridDefaults),
      col_width_(kGridDefaults.default_col_width),
      row_height_(kGridDefaults.default_row_height),
      col_count_(kGridDefaults.col_count),
      row_count_(kGridDefaults.row_count) {}

void GridModel::SetDesign(const GridDesign& design) {
  design_ = design;
  col_count_ = std::max(1, design.col_count);
  row_count_ = std::max(1, design.row_count);
  SetDpi(dpi_);
}

void GridModel::SetDpi(std::int32_t dpi) {
  dpi_ = dpi > 0 ? dpi : 96;
  col_width_ = std::max(1, Scale(design_.default_col_width, dpi_));
  row_height_ = std::max(1, Scale(design_.default_row_height, dpi_));
  ClampScroll();
  Changed();
}

void GridModel::SetColCount(std::int32_t count) {
  if (std::max(1, count) == col_count_) return;
  col_count_ = std::max(1, count);
  col_ = std::min(col_, col_count_ - 1);
  ClampScroll();
  Changed();
}

void GridModel::SetRowCount(std::int32_t count) {
  if (std::max(1, count) == row_count_) return;
  row_count_ = std::max(1, count);
  row_ = std::min(row_, row_count_ - 1);
  ClampScroll();
  Changed();
}

void GridModel::SetRow(std::int32_t row) { SetCurrent({col_, row}); }

void GridModel::SetCol(std::int32_t col) { SetCurrent({col, row_}); }

void GridModel::SetCurrent(GridCell cell) {
  cell.col = std::clamp(cell.col, 0, col_count_ - 1);
  cell.row = std::clamp(cell.row, 0, row_count_ - 1);
  const GridCell old{col_, row_};
  const std::int32_t old_top = top_row_;
  const std::int32_t old_left = left_col_;
  col_ = cell.col;
  row_ = cell.row;
  ScrollInView(cell);
  if (top_row_ != old_top || left_col_ != old_left) {
    Changed();
  } else if (old != cell) {
    Changed(CellRect(old));
    Changed(CellRect(cell));
  }
}

void GridModel::ScrollInView(GridCell cell) {
  if (cell.row < top_row_) top_row_ = cell.row;
  if (cell.row >= top_row_ + VisibleRowCount()) top_row_ = cell.row - VisibleRowCount() + 1;
  if (cell.col < left_col_) left_col_ = cell.col;
  if (cell.col >= left_col_ + VisibleColCount()) left_col_ = cell.col - VisibleColCount() + 1;
  ClampScroll();
}

void GridModel::SetTopRow(std::int32_t row) {
  const std::int32_t old = top_row_;
  top_row_ = row;
  ClampScroll();
  if (top_row_ != old) Changed();
}

void GridModel::SetLeftCol(std::int32_t col) {
  const std::int32_t old = left_col_;
  left_col_ = col;
  ClampScroll();
  if (left_col_ != old) Changed();
}

std::int32_t GridModel::MaxTopRow() const noexcept {
  return std::max(0, row_count_ - (Extent(row_count_, RowPitch()) > ClientSize().height ? VisibleRowCount() : row_count_));
}

std::int32_t GridModel::MaxLeftCol() const noexcept {
  return std::max(0, col_count_ - (Extent(col_count_, ColPitch()) > ClientSize().width ? VisibleColCount() : col_count_));
}

std::int32_t GridModel::VisibleRowCount() const noexcept { return WhollyVisible(ClientSize().height, RowPitch()); }

std::int32_t GridModel::VisibleColCount() const noexcept { return WhollyVisible(ClientSize().width, ColPitch()); }

void GridModel::ClampScroll() {
  top_row_ = std::clamp(top_row_, 0, MaxTopRow());
  left_col_ = std::clamp(left_col_, 0, MaxLeftCol());
}

void GridModel::SetOuterSize(Size outer, std::int32_t scroll_bar) {
  const Size size{std::max(0, outer.width), std::max(0, outer.height)};
  if (size == outer_ && std::max(0, scroll_bar) == scroll_bar_) return;
  outer_ = size;
  scroll_bar_ = std::max(0, scroll_bar);
  ClampScroll();
  Changed();
}

bool GridModel::ShowsVerticalScrollBar() const noexcept {
  const std::int64_t rows = Extent(row_count_, RowPitch());
  if (rows > outer_.height) return true;
  // A horizontal bar takes room from the rows too.
  const std::int64_t cols = Extent(col_count_, ColPitch());
  return cols > outer_.width && rows > outer_.height - scroll_bar_;
}

bool GridModel::ShowsHorizontalScrollBar() const noexcept {
  const std::int64_t cols = Extent(col_count_, ColPitch());
  const std::int32_t width = outer_.width - (ShowsVerticalScrollBar() ? scroll_bar_ : 0);
  return cols > width;
}

Size GridModel::ClientSize() const noexcept {
  return {std::max(0, outer_.width - (ShowsVerticalScrollBar() ? scroll_bar_ : 0)),
          std::max(0, outer_.height - (ShowsHorizontalScrollBar() ? scroll_bar_ : 0))};
}

Rect GridModel::CellRect(GridCell cell) const noexcept {
  const auto at = [](std::int32_t index, std::int32_t first, std::int32_t pitch) {
    const std::int64_t v = static_cast<std::int64_t>(index - first) * pitch;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min() / 2,
                                                              std::numeric_limits<std::int32_t>::max() / 2));
  };
  const std::int32_t left = at(cell.col, left_col_, ColPitch());
  const std::int32_t top = at(cell.row, top_row_, RowPitch());
  return {left, top, left + col_width_, top + row_height_};
}

std::optional<GridCell> GridModel::MouseCoord(std::int32_t x, std::int32_t y) const noexcept {
  const Size client = ClientSize();
  if (x < 0 || y < 0 || x >= client.width || y >= client.height) return std::nullopt;
  const std::int64_t col = static_cast<std::int64_t>(left_col_) + x / ColPitch();
  const std::int64_t row = static_cast<std::int64_t>(top_row_) + y / RowPitch();
  if (col >= col_count_ || row >= row_count_) return std::nullopt;
  return GridCell{static_cast<std::int32_t>(col), static_cast<std::int32_t>(row)};
}

void GridModel::MouseDown(MouseButton button, ShiftState shift, std::int32_t x, std::int32_t y) {
  if (button == MouseButton::kLeft)
    if (const auto cell = MouseCoord(x, y)) SetCurrent(*cell);
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void GridModel::DoubleClick(MouseButton button, ShiftState shift, std::int32_t x, std::int32_t y) {
  if (button == MouseButton::kLeft && OnDblClick) OnDblClick();
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void GridModel::KeyDown(KeyCode key, ShiftState shift) {
  if (OnKeyDown && OnKeyDown(key, shift)) return;
  MoveCurrent(key, shift);
}

void GridModel::KeyPress(char16_t character) {
  if (OnKeyPress) OnKeyPress(character);
}

bool GridModel::MoveCurrent(KeyCode key, ShiftState shift) {
  GridCell to{col_, row_};
  const std::int32_t page = VisibleRowCount();
  switch (key) {
    case keys::kLeft: --to.col; break;
    case keys::kRight: ++to.col; break;
    case keys::kUp: --to.row; break;
    case keys::kDown: ++to.row; break;
    case keys::kPageUp: to.row -= page; break;
    case keys::kPageDown: to.row += page; break;
    case keys::kHome:
      to.col = 0;
      if (shift.ctrl) to.row = 0;
      break;
    case keys::kEnd:
      to.col = col_count_ - 1;
      if (shift.ctrl) to.row = row_count_ - 1;
      break;
    default:
      return false;
  }
  // A page moves the view with the current row, as far as it can go.
  const bool paging = key == keys::kPageUp || key == keys::kPageDown;
  if (paging) {
    top_row_ += key == keys::kPageUp ? -page : page;
    ClampScroll();
  }
  SetCurrent(to);
  if (paging) Changed();
  return true;
}

void GridModel::Wheel(std::int32_t notches) { SetTopRow(top_row_ - notches); }

void GridModel::Repaint() {
  if (peer_) peer_->RepaintNow();
}

void GridModel::Invalidate() { Changed(); }

void GridModel::InvalidateCell(GridCell cell) { Changed(CellRect(cell)); }

void GridModel::Focus() {
  if (peer_) peer_->TakeFocus();
}

Text GridModel::HintAt(std::int32_t x, std::int32_t y, TextView fallback) const {
  return OnHint ? OnHint(MouseCoord(x, y)) : Text(fallback);
}

void GridModel::Changed(const std::optional<Rect>& area) {
  if (peer_) peer_->Invalidate(area);
}

void PaintGrid(GridModel& grid, Canvas& canvas, const Rect& update, const FontSpec& font) {
  const GridDesign& design = grid.Design();
  canvas.SetPen(grid.Pen());
  canvas.FillRect(update, design.colour);
  const Size client = grid.ClientSize();
  const bool focused = grid.Focused();
  for (std::int32_t row = grid.TopRow(); row < grid.RowCount(); ++row) {
    const Rect first = grid.CellRect({grid.LeftCol(), row});
    if (first.top >= client.height || first.top >= update.bottom) break;
    if (first.bottom + GridModel::kGridLineWidth <= update.top) continue;
    for (std::int32_t col = grid.LeftCol(); col < grid.ColCount(); ++col) {
      const Rect cell = grid.CellRect({col, row});
      if (cell.left >= client.width || cell.left >= update.right) break;
      const Rect with_lines{cell.left, cell.top, cell.right + GridModel::kGridLineWidth,
                            cell.bottom + GridModel::kGridLineWidth};
      if (!with_lines.Intersects(update)) continue;
      canvas.FillRect({cell.right, cell.top, with_lines.right, with_lines.bottom}, design.line_colour);
      canvas.FillRect({cell.left, cell.bottom, cell.right, with_lines.bottom}, design.line_colour);
      canvas.SetFont(font);
      canvas.FillRect(cell, design.colour);
      if (grid.OnDrawCell) grid.OnDrawCell(canvas, col, row, cell);
      if (focused && col == grid.Col() && row == grid.Row()) canvas.FocusRect(cell);
    }
  }
  grid.KeepPen(canvas.PenColour());
}

}  // namespace plyscan::ui
