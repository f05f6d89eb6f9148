#include "board/board_sheet.h"

#include <algorithm>

#include "board/cell_painter.h"

namespace plyscan::board {

void PaintSheetBand(Canvas& canvas, const BoardView& board, const FontSpec& font, Colour line_colour,
                    std::int32_t band_top, std::int32_t rows) {
  const Size cell = board.Cell();
  const Size sheet = board.SheetSize();
  const std::int32_t first_row = band_top / board.RowPitch();
  const std::int32_t last_row = std::min(first_row + rows, board.Rows());
  canvas.SetPen(kFrameColour);
  for (std::int32_t row = first_row; row < last_row; ++row) {
    const std::int32_t top = (row - first_row) * board.RowPitch();
    canvas.FillRect({0, top + cell.height, sheet.width, top + board.RowPitch()}, line_colour);
    for (std::int32_t col = 0; col < board.Cols(); ++col) {
      const Rect cell_rect = Rect::At({col * board.ColPitch(), top}, cell);
      canvas.FillRect({cell_rect.right, top, cell_rect.right + 1, top + board.RowPitch()}, line_colour);
      canvas.SetFont(font);
      PaintBoardCell(canvas, board, col, row, cell_rect);
    }
  }
}

}  // namespace plyscan::board
