#include "board/cell_hint.h"

namespace plyscan::board {

Text SwitchesText(const TMdibmp& record) {
  return Text(record.LayerOn ? u"オン" : u"オフ") + u" / " + (record.Freeze ? u"凍結" : u"解凍") + u" / " +
         (record.Lock ? u"ロック" : u"ロック解除");
}

Text CellHint(const MdiBmp& records, std::optional<std::size_t> index, TextView board_hint) {
  if (!index || *index >= records.size()) return Text(board_hint);
  const TMdibmp& record = records[*index];
  return record.Name + u"\r\nオブジェクト数 " + DecimalText(record.cnt) + u"\r\n" + SwitchesText(record) + u"\r\n" +
         Text(board_hint);
}

}  // namespace plyscan::board
