// The board as its grid shows it: the records of the snapshot row by row in
// a number of columns of cells of one size, with one-pixel lines between the
// cells. Whatever goes from a record to its cell or back, paints a cell or
// makes the picture of the whole board asks a BoardView, so that the
// arithmetic stands in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/geometry.h"
#include "layers/layer_snapshot.h"

namespace plyscan::board {

struct BoardShape {
  std::int32_t cols = 1;
  std::int32_t rows = 1;
  friend bool operator==(const BoardShape&, const BoardShape&) = default;
};

// The layout rule: as many columns as the grid's width holds whole cells (at
// least one) and as many rows as the records need; nullopt for no records
// (the grid then keeps the shape it has). `grid_width` is the grid's whole
// outer width, scroll bar included.
[[nodiscard]] std::optional<BoardShape> BoardShapeFor(std::size_t records, std::int32_t grid_width,
                                                      std::int32_t cell_width) noexcept;

// The header bar's height: the whole part of the display scale x 20 pixels.
[[nodiscard]] std::int32_t HeaderBarHeight(double display_scale) noexcept;

class BoardView {
 public:
  // `cols` below 1 counts as 1. `dpi` is the grid's, for the bar's font.
  BoardView(const LayerSnapshot& records, std::int32_t cols, Size cell, double display_scale,
            std::int32_t dpi) noexcept;

  const LayerSnapshot& Records() const noexcept { return *records_; }
  std::int32_t Cols() const noexcept { return cols_; }
  // The rows the records fill, at least one.
  std::int32_t Rows() const noexcept;
  Size Cell() const noexcept { return cell_; }
  double DisplayScale() const noexcept { return display_scale_; }
  std::int32_t Dpi() const noexcept { return dpi_; }
  // The thumbnail a cell shows under its bar.
  Size Thumbnail() const noexcept { return {cell_.width, cell_.height - HeaderBarHeight(display_scale_)}; }

  // Row x columns + column: the index of the record the cell would show (it
  // may lie past the records).
  std::int64_t IndexOf(std::int32_t col, std::int32_t row) const noexcept;
  // The record the cell shows; nullopt for a column beyond the last or an
  // index past the records.
  std::optional<std::size_t> RecordIn(std::int32_t col, std::int32_t row) const noexcept;
  // The cell that shows record `index`.
  std::int32_t ColOf(std::size_t index) const noexcept;
  std::int32_t RowOf(std::size_t index) const noexcept;

  // The picture of the whole board: every cell and the lines between them.
  Size SheetSize() const noexcept;
  // A cell and the line after it.
  std::int32_t ColPitch() const noexcept { return cell_.width + 1; }
  std::int32_t RowPitch() const noexcept { return cell_.height + 1; }
  // Whole rows of the sheet in a band of at most `max_bytes` at
  // `bytes_per_pixel` (at least one row), so that a board of thousands of
  // layers never needs its picture twice at once.
  std::int32_t BandRows(std::int64_t max_bytes, std::int32_t bytes_per_pixel) const noexcept;

 private:
  const LayerSnapshot* records_;
  std::int32_t cols_;
  Size cell_;
  double display_scale_;
  std::int32_t dpi_;
};

}  // namespace plyscan::board
