// The board as one picture, to copy or save: every record, not only those in
// view, laid out in the board's columns with the one-pixel lines between the
// cells, each cell painted as the board paints it (the cells after the last
// record black). A picture too large for one surface is painted in bands of
// whole rows.
#pragma once

#include <cstdint>

#include "base/canvas.h"
#include "board/board_view.h"

namespace plyscan::board {

// Paints the band of `rows` rows of the sheet that begins at `band_top`
// pixels (a multiple of the row pitch), with that row at the canvas's top.
// `font` is the board's font; `line_colour` the grid's lines. Each band
// starts with the frame's pen, as every painted cell leaves it.
void PaintSheetBand(Canvas& canvas, const BoardView& board, const FontSpec& font, Colour line_colour,
                    std::int32_t band_top, std::int32_t rows);

}  // namespace plyscan::board
