#include "board/board_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plyscan::board {

namespace {

std::int32_t RowsFor(std::size_t records, std::int32_t cols) noexcept {
  const auto per_row = static_cast<std::size_t>(cols);
  const std::size_t rows = records / per_row + (records % per_row ? 1 : 0);
  return static_cast<std::int32_t>(std::min<std::size_t>(rows, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::optional<BoardShape> BoardShapeFor(std::size_t records, std::int32_t grid_width,
                                        std::int32_t cell_width) noexcept {
  if (records == 0) return std::nullopt;
  std::int32_t cols = cell_width > 0 ? grid_width / cell_width : 0;
  if (cols <= 0) cols = 1;
  return BoardShape{cols, RowsFor(records, cols)};
}

std::int32_t HeaderBarHeight(double display_scale) noexcept {
  const double t = std::trunc(display_scale * 20.0);
  return std::isfinite(t) && t > 0 && t < 10000 ? static_cast<std::int32_t>(t) : 0;
}

BoardView::BoardView(const LayerSnapshot& records, std::int32_t cols, Size cell, double display_scale,
                     std::int32_t dpi) noexcept
    : records_(&records), cols_(std::max(1, cols)), cell_(cell), display_scale_(display_scale), dpi_(dpi) {}

std::int32_t BoardView::Rows() const noexcept { return std::max(1, RowsFor(records_->size(), cols_)); }

std::int64_t BoardView::IndexOf(std::int32_t col, std::int32_t row) const noexcept {
  return static_cast<std::int64_t>(row) * cols_ + col;
}

std::optional<std::size_t> BoardView::RecordIn(std::int32_t col, std::int32_t row) const noexcept {
  if (col < 0 || row < 0 || col >= cols_) return std::nullopt;
  const std::int64_t index = IndexOf(col, row);
  if (static_cast<std::uint64_t>(index) >= records_->size()) return std::nullopt;
  return static_cast<std::size_t>(index);
}

std::int32_t BoardView::ColOf(std::size_t index) const noexcept {
  return static_cast<std::int32_t>(index % static_cast<std::size_t>(cols_));
}

std::int32_t BoardView::RowOf(std::size_t index) const noexcept {
  return static_cast<std::int32_t>(
      std::min<std::size_t>(index / static_cast<std::size_t>(cols_), std::numeric_limits<std::int32_t>::max()));
}

Size BoardView::SheetSize() const noexcept { return {cols_ * ColPitch() - 1, Rows() * RowPitch() - 1}; }

std::int32_t BoardView::BandRows(std::int64_t max_bytes, std::int32_t bytes_per_pixel) const noexcept {
  const std::int64_t row_bytes = static_cast<std::int64_t>(SheetSize().width) * bytes_per_pixel * RowPitch();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(max_bytes / std::max<std::int64_t>(1, row_bytes), 1,
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace plyscan::board
