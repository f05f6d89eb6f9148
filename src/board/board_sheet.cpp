#include "board/board_sheet.h"

#include <algorithm>

namespace plyscan::board {

SheetLayout SheetFor(std::size_t records, std::int32_t cols, std::int32_t cell_width,
                     std::int32_t cell_height) noexcept {
  SheetLayout sheet;
  sheet.cols = std::max(1, cols);
  const std::size_t per_row = static_cast<std::size_t>(sheet.cols);
  sheet.rows = std::max<std::int32_t>(1, static_cast<std::int32_t>((records + per_row - 1) / per_row));
  sheet.cell_width = cell_width;
  sheet.cell_height = cell_height;
  return sheet;
}

void PaintSheetRows(Canvas& canvas, const SheetLayout& sheet, const BoardCellPaint& board, const FontSpec& font,
                    Colour line_colour, std::int32_t first_row, std::int32_t last_row) {
  const std::int32_t pitch_w = sheet.cell_width + 1, pitch_h = sheet.cell_height + 1;
  BoardCellPaint cells = board;
  cells.col_count = sheet.cols;
  canvas.SetPen(kFrameColour);
  for (std::int32_t row = first_row; row < std::min(last_row, sheet.rows); ++row) {
    const std::int32_t top = (row - first_row) * pitch_h;
    canvas.FillRect({0, top + sheet.cell_height, sheet.Width(), top + pitch_h}, line_colour);
    for (std::int32_t col = 0; col < sheet.cols; ++col) {
      const Rect cell{col * pitch_w, top, col * pitch_w + sheet.cell_width, top + sheet.cell_height};
      canvas.FillRect({cell.right, top, cell.right + 1, top + pitch_h}, line_colour);
      canvas.SetFont(font);
      PaintBoardCell(canvas, cells, col, row, cell);
    }
  }
}

}  // namespace plyscan::board
