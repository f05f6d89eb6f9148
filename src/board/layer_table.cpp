#include "board/layer_table.h"

namespace plyscan::board {

namespace {

Text TableField(TextView name) {
  if (name.find_first_of(u"\t\r\n\"") == TextView::npos) return Text(name);
  Text quoted = u"\"";
  for (char16_t c : name) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  return quoted + u"\"";
}

}  // namespace

Text LayerTableText(const LayerSnapshot& records) {
  Text table = u"画層名\tオブジェクト数\t表示\t凍結\tロック\r\n";
  for (const LayerRecord& record : records) {
    table += TableField(record.name);
    table += u'\t';
    table += DecimalText(record.object_count);
    table += record.on ? u"\tオン" : u"\tオフ";
    table += record.frozen ? u"\t凍結" : u"\t解凍";
    table += record.locked ? u"\tロック\r\n" : u"\tロック解除\r\n";
  }
  return table;
}

}  // namespace plyscan::board
