// The board's layout rule: columns from the grid's width, rows from the
// number of records, and which record a cell holds.
#include "board/board_layout.h"

#include <gtest/gtest.h>

namespace plyscan::board {
namespace {

TEST(BoardShape, ColumnsFromTheWidthAndRowsFromTheRecords) {
  const struct {
    std::size_t records;
    std::int32_t width, cell;
    BoardShape shape;
  } cases[] = {
      {7, 665, 200, {3, 3}}, {6, 665, 200, {3, 2}}, {1, 665, 200, {3, 1}},  {7, 150, 200, {1, 7}},
      {7, 0, 200, {1, 7}},   {8, 600, 200, {3, 3}}, {9, 600, 200, {3, 3}},  {300, 998, 300, {3, 100}},
      {5, 1330, 200, {6, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BoardShapeFor(c.records, c.width, c.cell), c.shape) << c.records << " in " << c.width;
}

TEST(BoardShape, NoRecordsLeaveTheGridAsItIs) { EXPECT_EQ(BoardShapeFor(0, 665, 200), std::nullopt); }

TEST(RecordInCell, RowTimesColumnsPlusColumnInsideTheRecords) {
  const struct {
    std::int32_t col, row, cols;
    std::size_t records;
    std::optional<std::size_t> index;
  } cases[] = {
      {1, 2, 3, 8, 7},              // the eighth record
      {2, 2, 3, 8, std::nullopt},   // an empty cell after the last record
      {3, 0, 3, 8, std::nullopt},   // a column beyond the last
      {0, 0, 3, 0, std::nullopt},   // no records yet
      {0, 0, 1, 1, 0},
      {-1, 0, 3, 8, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RecordInCell(c.col, c.row, c.cols, c.records), c.index) << c.col << "," << c.row;
}

}  // namespace
}  // namespace plyscan::board
