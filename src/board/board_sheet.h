// The board as one picture, to copy or save: every record, not only those in
// view, laid out in the board's columns with the one-pixel lines between the
// cells, each cell painted as the board paints it (the cells after the last
// record black).
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/canvas.h"
#include "board/cell_painter.h"

namespace plyscan::board {

struct SheetLayout {
  std::int32_t cols = 1;
  std::int32_t rows = 1;
  std::int32_t cell_width = 0;
  std::int32_t cell_height = 0;
  // The picture's size: every cell and the lines between them.
  std::int32_t Width() const noexcept { return cols * (cell_width + 1) - 1; }
  std::int32_t Height() const noexcept { return rows * (cell_height + 1) - 1; }
};

// The sheet of `records` records in `cols` columns (at least one) of cells
// of the given size.
[[nodiscard]] SheetLayout SheetFor(std::size_t records, std::int32_t cols, std::int32_t cell_width,
                                   std::int32_t cell_height) noexcept;

// Paints the rows [first_row, last_row) of the sheet, with row `first_row`
// at the canvas's top (a picture too large for one surface is painted in
// bands). `font` is the board's font; `line_colour` the grid's lines. Each
// band starts with the frame's pen, as every painted cell leaves it.
void PaintSheetRows(Canvas& canvas, const SheetLayout& sheet, const BoardCellPaint& board, const FontSpec& font,
                    Colour line_colour, std::int32_t first_row, std::int32_t last_row);

}  // namespace plyscan::board
