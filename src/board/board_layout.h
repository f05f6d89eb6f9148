// The board's layout rule: the records of the snapshot fill the grid row by
// row, as many columns as the grid's width holds whole cells (at least one)
// and as many rows as the records need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace plyscan::board {

struct BoardShape {
  std::int32_t cols = 1;
  std::int32_t rows = 1;
  friend bool operator==(const BoardShape&, const BoardShape&) = default;
};

// The grid's columns and rows for `records` records; nullopt for none (the
// grid then keeps the shape it has). `grid_width` is the grid's whole outer
// width, scroll bar included.
[[nodiscard]] std::optional<BoardShape> BoardShapeFor(std::size_t records, std::int32_t grid_width,
                                                      std::int32_t default_col_width) noexcept;

// The record shown in the cell (col, row) of a grid of `col_count` columns:
// row x col_count + col, or nullopt when the cell holds no record (a column
// beyond the last, or an index past the records).
[[nodiscard]] std::optional<std::size_t> RecordInCell(std::int32_t col, std::int32_t row, std::int32_t col_count,
                                                      std::size_t records) noexcept;

}  // namespace plyscan::board
