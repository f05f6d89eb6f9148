#include "board/board_layout.h"

#include <algorithm>
#include <limits>

namespace plyscan::board {

std::optional<BoardShape> BoardShapeFor(std::size_t records, std::int32_t grid_width,
                                        std::int32_t default_col_width) noexcept {
  if (records == 0) return std::nullopt;
  std::int32_t cols = default_col_width > 0 ? grid_width / default_col_width : 0;
  if (cols <= 0) cols = 1;
  const std::size_t rows = records / static_cast<std::size_t>(cols) + (records % static_cast<std::size_t>(cols) ? 1 : 0);
  return BoardShape{cols, static_cast<std::int32_t>(
                              std::min<std::size_t>(rows, std::numeric_limits<std::int32_t>::max()))};
}

std::optional<std::size_t> RecordInCell(std::int32_t col, std::int32_t row, std::int32_t col_count,
                                        std::size_t records) noexcept {
  if (col < 0 || row < 0 || col >= col_count) return std::nullopt;
  const std::int64_t index = static_cast<std::int64_t>(row) * col_count + col;
  if (static_cast<std::uint64_t>(index) >= records) return std::nullopt;
  return static_cast<std::size_t>(index);
}

}  // namespace plyscan::board
