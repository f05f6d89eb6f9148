// The board's layout rule: columns from the grid's width, rows from the
// number of records; which record a cell holds and back; the whole board's
// picture and its bands.
#include "board/board_view.h"

#include <gtest/gtest.h>

#include <utility>

namespace plyscan::board {
namespace {

TEST(BoardShape, ColumnsFromTheWidthAndRowsFromTheRecords) {
  const struct {
    std::size_t records;
    std::int32_t width, cell;
    BoardShape shape;
  } cases[] = {
      {7, 665, 200, {3, 3}}, {6, 665, 200, {3, 2}},     {1, 665, 200, {3, 1}},
      {7, 150, 200, {1, 7}}, {7, 0, 200, {1, 7}},       {8, 600, 200, {3, 3}},
      {9, 600, 200, {3, 3}}, {300, 998, 300, {3, 100}}, {5, 1330, 200, {6, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BoardShapeFor(c.records, c.width, c.cell), c.shape) << c.records << " in " << c.width;
}

TEST(BoardShape, NoRecordsLeaveTheGridAsItIs) { EXPECT_EQ(BoardShapeFor(0, 665, 200), std::nullopt); }

LayerSnapshot Records(std::size_t count) {
  LayerSnapshot records;
  ResizeSnapshot(records, count);
  return records;
}

TEST(BoardView, ACellHoldsRowTimesColumnsPlusColumnInsideTheRecords) {
  const struct {
    std::int32_t col, row, cols;
    std::size_t records;
    std::optional<std::size_t> index;
  } cases[] = {
      {1, 2, 3, 8, 7},             // the eighth record
      {2, 2, 3, 8, std::nullopt},  // an empty cell after the last record
      {3, 0, 3, 8, std::nullopt},  // a column beyond the last
      {0, 0, 3, 0, std::nullopt},  // no records yet
      {0, 0, 1, 1, 0},
      {-1, 0, 3, 8, std::nullopt},
  };
  for (const auto& c : cases) {
    const LayerSnapshot records = Records(c.records);
    const BoardView view(records, c.cols, {200, 140}, 1.0, 96);
    EXPECT_EQ(view.RecordIn(c.col, c.row), c.index) << c.col << "," << c.row;
    if (c.index) {
      EXPECT_EQ((std::pair{view.ColOf(*c.index), view.RowOf(*c.index)}), (std::pair{c.col, c.row}));
    }
  }
}

TEST(BoardView, TheSheetHoldsEveryCellWithTheLinesBetweenThem) {
  const struct {
    std::size_t records;
    std::int32_t cols;
    Size cell;
    Size sheet;
    std::int32_t band_rows;  // in 8 MiB of 24-bit pixels
  } cases[] = {
      {40, 3, {200, 140}, {602, 1973}, 32},                                                // 14 rows: 14 x 141 - 1
      {8, 3, {200, 140}, {602, 422}, 32},      {0, 3, {200, 140}, {602, 140}, 32},         // one row of black cells
      {5, 0, {200, 140}, {200, 704}, 99},                                                  // no columns count as one
      {1000, 9, {400, 280}, {3608, 31471}, 2}, {1, 1, {20000, 20000}, {20000, 20000}, 1},  // a band is at least one row
  };
  for (const auto& c : cases) {
    const LayerSnapshot records = Records(c.records);
    const BoardView view(records, c.cols, c.cell, 1.0, 96);
    EXPECT_EQ(view.SheetSize(), c.sheet) << c.records << " in " << c.cols;
    EXPECT_EQ(view.BandRows(8 << 20, 3), c.band_rows) << c.records << " in " << c.cols;
  }
}

TEST(BoardView, TheThumbnailIsTheCellUnderTheBar) {
  const LayerSnapshot records = Records(1);
  EXPECT_EQ(BoardView(records, 1, {200, 140}, 1.0, 96).Thumbnail(), (Size{200, 120}));
  EXPECT_EQ(BoardView(records, 1, {300, 210}, 1.5, 144).Thumbnail(), (Size{300, 180}));
  EXPECT_EQ(BoardView(records, 1, {250, 175}, 1.25, 120).Thumbnail(), (Size{250, 150}));
}

}  // namespace
}  // namespace plyscan::board
