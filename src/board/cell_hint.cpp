#include "board/cell_hint.h"

#include <algorithm>
#include <cmath>

namespace plyscan::board {

Text SwitchesText(const LayerRecord& record) {
  return Text(record.on ? u"オン" : u"オフ") + u" / " + (record.frozen ? u"凍結" : u"解凍") + u" / " +
         (record.locked ? u"ロック" : u"ロック解除");
}

Text ScaleText(double scale) {
  // Tenths, rounded; never below 0.1, so that a shrunk picture does not read as 0.
  const auto tenths = std::max<std::int64_t>(1, std::llround(scale * 10));
  return DecimalText(tenths / 10) + u"." + DecimalText(tenths % 10);
}

Text CellHint(const LayerSnapshot& records, std::optional<std::size_t> index, TextView board_hint) {
  if (!index || *index >= records.size()) return Text(board_hint);
  const LayerRecord& record = records[*index];
  Text hint = record.name + u"\r\nオブジェクト数 " + DecimalText(record.object_count) + u"\r\n" + SwitchesText(record);
  if (record.fit_scale > 0) hint += u"\r\n拡大 ×" + ScaleText(record.fit_scale);
  return hint + u"\r\n" + Text(board_hint);
}

}  // namespace plyscan::board
