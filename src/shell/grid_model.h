// The draw grid's own state and behaviour, portable: cell size at the
// window's DPI, column and row counts, the current cell, the scroll
// position, the scroll bars it needs, the hit test, the keyboard moves, the
// order of its mouse events and its painting around the owner's cell
// painter. Every control of kind draw grid holds one; a window system attaches a
// peer that shows it and feeds it the user's input.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "base/canvas.h"
#include "shell/controls.h"

namespace plyscan::ui {

// Virtual-key codes, as Windows numbers them.
using KeyCode = std::uint16_t;
namespace keys {
inline constexpr KeyCode kEnter = 0x0D;
inline constexpr KeyCode kEscape = 0x1B;
inline constexpr KeyCode kPageUp = 0x21;
inline constexpr KeyCode kPageDown = 0x22;
inline constexpr KeyCode kEnd = 0x23;
inline constexpr KeyCode kHome = 0x24;
inline constexpr KeyCode kLeft = 0x25;
inline constexpr KeyCode kUp = 0x26;
inline constexpr KeyCode kRight = 0x27;
inline constexpr KeyCode kDown = 0x28;
}  // namespace keys

enum class MouseButton : std::uint8_t { kLeft, kRight, kMiddle };

struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

struct GridCell {
  std::int32_t col = 0;
  std::int32_t row = 0;
  friend bool operator==(const GridCell&, const GridCell&) = default;
};

// How a form designs its grid (pixels at 96 dpi).
struct GridDesign {
  std::int32_t default_col_width;
  std::int32_t default_row_height;
  std::int32_t col_count;
  std::int32_t row_count;
  Colour colour;       // seen where no cell is, and each cell's background before it is painted
  Colour line_colour;  // the one-pixel lines between cells
};

// The window-system side of a grid.
class GridPeer {
 public:
  virtual ~GridPeer() = default;
  // Part of the client area (all of it without a rectangle) needs painting;
  // the counts or the scroll position may have changed with it.
  virtual void Invalidate(const std::optional<Rect>& area) = 0;
  // Paints what needs painting now, before returning.
  virtual void RepaintNow() = 0;
  virtual bool HasFocus() const = 0;
  virtual void TakeFocus() = 0;
};

class GridModel {
 public:
  GridModel();
  GridModel(const GridModel&) = delete;
  GridModel& operator=(const GridModel&) = delete;

  void SetDesign(const GridDesign& design);
  const GridDesign& Design() const noexcept { return design_; }
  // The resolution the cell size is scaled to (96 until the peer says).
  void SetDpi(std::int32_t dpi);
  std::int32_t Dpi() const noexcept { return dpi_; }

  std::int32_t DefaultColWidth() const noexcept { return col_width_; }
  std::int32_t DefaultRowHeight() const noexcept { return row_height_; }
  static constexpr std::int32_t kGridLineWidth = 1;

  std::int32_t ColCount() const noexcept { return col_count_; }
  std::int32_t RowCount() const noexcept { return row_count_; }
  // At least 1; the current cell and the scroll position stay inside.
  void SetColCount(std::int32_t count);
  void SetRowCount(std::int32_t count);

  // The current cell. Setting it clamps it to the grid and scrolls it into view.
  std::int32_t Row() const noexcept { return row_; }
  std::int32_t Col() const noexcept { return col_; }
  void SetRow(std::int32_t row);
  void SetCol(std::int32_t col);

  // The first visible row and column.
  std::int32_t TopRow() const noexcept { return top_row_; }
  std::int32_t LeftCol() const noexcept { return left_col_; }
  void SetTopRow(std::int32_t row);
  void SetLeftCol(std::int32_t col);
  std::int32_t MaxTopRow() const noexcept;
  std::int32_t MaxLeftCol() const noexcept;
  // Rows and columns wholly in view from the top row and left column (at least 1).
  std::int32_t VisibleRowCount() const noexcept;
  std::int32_t VisibleColCount() const noexcept;

  // The control's whole size in pixels, scroll bars included, and the
  // thickness of a scroll bar at the current DPI.
  void SetOuterSize(Size outer, std::int32_t scroll_bar);
  Size OuterSize() const noexcept { return outer_; }
  Size ClientSize() const noexcept;
  bool ShowsVerticalScrollBar() const noexcept;
  bool ShowsHorizontalScrollBar() const noexcept;

  // The cell's rectangle in client coordinates at the scroll position (it may
  // lie outside the client area).
  Rect CellRect(GridCell cell) const noexcept;
  // The cell under a point of the client area, grid lines counted (a line
  // belongs to the cell before it); none outside the cells.
  std::optional<GridCell> MouseCoord(std::int32_t x, std::int32_t y) const noexcept;

  // Input from the window system, in the grid's order of events:
  // a press: for the left button the cell under the pointer becomes current
  //   first, then OnMouseDown;
  // the second press of a left double click: OnDblClick, then OnMouseDown;
  // a key: OnKeyDown, and unless it took the key, the grid's own moves
  //   (arrows, Page Up/Down, Home/End, with Ctrl to the first or last cell);
  // a character: OnKeyPress;
  // the wheel: scrolls by rows, `notches` up when positive.
  void MouseDown(MouseButton button, ShiftState shift, std::int32_t x, std::int32_t y);
  void DoubleClick(MouseButton button, ShiftState shift, std::int32_t x, std::int32_t y);
  void KeyDown(KeyCode key, ShiftState shift);
  void KeyPress(char16_t character);
  void Wheel(std::int32_t notches);

  // Paints what needs painting now (a synchronous repaint), or all of the
  // grid soon; InvalidateCell marks one cell (with its grid lines) for the
  // next paint.
  void Repaint();
  void Invalidate();
  void InvalidateCell(GridCell cell);
  bool Focused() const { return peer_ && peer_->HasFocus(); }
  // Gives the grid the keyboard focus.
  void Focus();

  // The tool tip over a point of the client area: OnHint for the cell there
  // (none outside the cells), or `fallback` without an OnHint.
  Text HintAt(std::int32_t x, std::int32_t y, TextView fallback) const;

  void AttachPeer(GridPeer* peer) noexcept { peer_ = peer; }

  // The pen the last paint left on the drawing surface (black at first).
  Colour Pen() const noexcept { return pen_; }
  void KeepPen(Colour pen) noexcept { pen_ = pen; }

  std::function<void(Canvas&, std::int32_t col, std::int32_t row, const Rect& rect)> OnDrawCell;
  std::function<void(MouseButton, ShiftState, std::int32_t x, std::int32_t y)> OnMouseDown;
  std::function<void()> OnDblClick;
  // True when the owner took the key, so the grid does not move for it.
  std::function<bool(KeyCode, ShiftState)> OnKeyDown;
  std::function<void(char16_t)> OnKeyPress;
  std::function<Text(std::optional<GridCell>)> OnHint;

 private:
  bool MoveCurrent(KeyCode key, ShiftState shift);
  void SetCurrent(GridCell cell);
  void ScrollInView(GridCell cell);
  std::int32_t ColPitch() const noexcept { return col_width_ + kGridLineWidth; }
  std::int32_t RowPitch() const noexcept { return row_height_ + kGridLineWidth; }
  void ClampScroll();
  void Changed(const std::optional<Rect>& area = std::nullopt);

  GridDesign design_;
  GridPeer* peer_ = nullptr;
  std::int32_t dpi_ = 96;
  std::int32_t col_width_;
  std::int32_t row_height_;
  std::int32_t col_count_;
  std::int32_t row_count_;
  std::int32_t row_ = 0;
  std::int32_t col_ = 0;
  std::int32_t top_row_ = 0;
  std::int32_t left_col_ = 0;
  Size outer_;
  std::int32_t scroll_bar_ = 17;
  Colour pen_ = 0;
};

// The grid's painting of the part `update` of its client area: the grid's
// colour where no cell is, the lines between cells, and for every cell that
// meets `update` the grid's font and its background, then OnDrawCell, then
// the focus rectangle over the current cell while the grid has the focus.
// The pen is the grid's own from one paint to the next, as a drawing
// surface that lives with the grid keeps it: the owner's painter finds the
// pen the cell painted before left, whichever paint that was.
void PaintGrid(GridModel& grid, Canvas& canvas, const Rect& update, const FontSpec& font);

}  // namespace plyscan::ui
