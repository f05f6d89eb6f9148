// The tool tip over a board cell: the whole layer name (the bar cuts a long
// one off), its object count and its switches as the capture read them, the
// scale of a picture fitted to its layer ("拡大 ×3.2"), and then the board's
// own hint on its own line. Over a cell without a record,
// the hint alone.
#pragma once

#include <cstddef>
#include <optional>

#include "layers/layer_snapshot.h"

namespace plyscan::board {

// "オン" or "オフ", "凍結" or "解凍", "ロック" or "ロック解除", separated by " / ".
[[nodiscard]] Text SwitchesText(const LayerRecord& record);

// A picture's scale in tenths, as "3.2" or "0.5".
[[nodiscard]] Text ScaleText(double scale);

[[nodiscard]] Text CellHint(const LayerSnapshot& records, std::optional<std::size_t> index, TextView board_hint);

}  // namespace plyscan::board
