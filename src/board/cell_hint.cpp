#include "board/cell_hint.h"

namespace plyscan::board {

Text SwitchesText(const LayerRecord& record) {
  return Text(record.on ? u"オン" : u"オフ") + u" / " + (record.frozen ? u"凍結" : u"解凍") + u" / " +
         (record.locked ? u"ロック" : u"ロック解除");
}

Text CellHint(const LayerSnapshot& records, std::optional<std::size_t> index, TextView board_hint) {
  if (!index || *index >= records.size()) return Text(board_hint);
  const LayerRecord& record = records[*index];
  return record.name + u"\r\nオブジェクト数 " + DecimalText(record.object_count) + u"\r\n" + SwitchesText(record) +
         u"\r\n" + Text(board_hint);
}

}  // namespace plyscan::board
