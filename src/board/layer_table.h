// The layer table for a spreadsheet: a header line, then one line per record
// in the board's order with the name, the object count and the three
// switches, separated by tabs, each line ended by CR LF. A name holding a
// tab, a line break or a double quote is written in double quotes with its
// quotes doubled, as spreadsheets read pasted text.
#pragma once

#include "layers/layer_snapshot.h"

namespace plyscan::board {

[[nodiscard]] Text LayerTableText(const LayerSnapshot& records);

}  // namespace plyscan::board
