// The layer table's text for a spreadsheet: the header, one line per record
// in order with its count and switches, CR LF after every line, and names
// that a spreadsheet would split quoted.
#include "board/layer_table.h"

#include <gtest/gtest.h>

namespace plyscan::board {
namespace {

constexpr const char16_t* kHeader = u"画層名\tオブジェクト数\t表示\t凍結\tロック\r\n";

LayerRecord Record(Text name, std::int32_t count, bool on, bool frozen, bool locked) {
  LayerRecord record;
  record.name = std::move(name);
  record.object_count = count;
  record.on = on;
  record.frozen = frozen;
  record.locked = locked;
  return record;
}

TEST(LayerTable, OneLinePerRecordInOrderWithTheSwitchesInWords) {
  LayerSnapshot records;
  records.push_back(Record(u"0", 0, true, false, false));
  records.push_back(Record(u"xref-Bishop-Overland-08$0$0F-WALL", 1234, false, true, true));
  records.push_back(Record(u"寸法", 7, true, true, false));
  EXPECT_EQ(LayerTableText(records), Text(kHeader) +
                                         u"0\t0\tオン\t解凍\tロック解除\r\n"
                                         u"xref-Bishop-Overland-08$0$0F-WALL\t1234\tオフ\t凍結\tロック\r\n"
                                         u"寸法\t7\tオン\t凍結\tロック解除\r\n");
}

TEST(LayerTable, NoRecordsGiveTheHeaderAlone) { EXPECT_EQ(LayerTableText({}), kHeader); }

TEST(LayerTable, NamesASpreadsheetWouldSplitAreQuoted) {
  const struct {
    Text name;
    Text field;
  } cases[] = {
      {u"A\tB", u"\"A\tB\""},
      {u"A\r\nB", u"\"A\r\nB\""},
      {u"A\nB", u"\"A\nB\""},
      {u"A\rB", u"\"A\rB\""},
      {u"say \"hi\"", u"\"say \"\"hi\"\"\""},
      {u"\"", u"\"\"\"\""},
      // Nothing that splits a field: as it is, commas and single quotes too.
      {u"a,b 'c' ;d", u"a,b 'c' ;d"},
      {u" lead", u" lead"},
  };
  for (const auto& c : cases) {
    LayerSnapshot records;
    records.push_back(Record(c.name, 3, true, false, true));
    EXPECT_EQ(LayerTableText(records), Text(kHeader) + c.field + u"\t3\tオン\t解凍\tロック\r\n") << ToUtf8(c.name);
  }
}

}  // namespace
}  // namespace plyscan::board
