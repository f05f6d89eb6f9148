// The painter of one board cell: the record's thumbnail under a header bar
// with the layer name on the left and the object count on the right, on the
// colour of the thumbnail's top-left pixel; black for a cell that holds no
// record or a record without a thumbnail yet. A name that would come within
// 6 px (scaled) of the count is cut there and ended with "…", so the count
// is always read on its own.
#pragma once

#include <cstdint>

#include "base/canvas.h"
#include "board/board_view.h"

namespace plyscan::board {

// The bar over objects found, and over none.
inline constexpr Colour kBarColour = 0xEE687B;
inline constexpr Colour kEmptyBarColour = 0x808080;
inline constexpr Colour kFrameColour = 0x808080;

// Paints cell (col, row) into `rect`. The canvas holds the grid's font; the
// pen it holds outlines the bar, and the painter leaves the frame's pen.
void PaintBoardCell(Canvas& canvas, const BoardView& board, std::int32_t col, std::int32_t row, const Rect& rect);

}  // namespace plyscan::board
