#include "board/cell_painter.h"

#include <cmath>

namespace plyscan::board {

namespace {

constexpr std::int32_t kNamePoints = 10;
constexpr std::int32_t kTextInset = 10;
constexpr std::int32_t kCountTop = 3;

std::int32_t PointsToPixels(std::int32_t points, std::int32_t dpi) { return (points * dpi + 36) / 72; }

}  // namespace

std::int32_t HeaderBarHeight(double disp_scale) noexcept {
  const double t = std::trunc(disp_scale * 20.0);
  return std::isfinite(t) && t > 0 && t < 10000 ? static_cast<std::int32_t>(t) : 0;
}

void PaintBoardCell(Canvas& canvas, const BoardCellPaint& board, std::int32_t col, std::int32_t row, const Rect& rect) {
  const std::int64_t i = static_cast<std::int64_t>(row) * board.col_count + col;
  if (i < 0 || i >= static_cast<std::int64_t>(board.records.size()) ||
      !board.records[static_cast<std::size_t>(i)].thumbnail) {
    canvas.FillRect(rect, 0);
    return;
  }
  const LayerRecord& record = board.records[static_cast<std::size_t>(i)];
  const Bitmap& thumbnail = *record.thumbnail;
  const std::int32_t t = HeaderBarHeight(board.disp_scale);

  canvas.FillRect(rect, thumbnail.Pixel(0, 0));

  canvas.SetBrush(record.object_count != 0 ? kBarColour : kEmptyBarColour);
  canvas.Rectangle({rect.left + 1, rect.top + 1, rect.right - 1, rect.top + t});

  FontSpec font = canvas.Font();
  font.height = PointsToPixels(kNamePoints, board.dpi);
  font.colour = 0xFFFFFF;
  canvas.SetFont(font);
  canvas.WriteText(rect.left + kTextInset, rect.top + static_cast<std::int32_t>(std::trunc(board.disp_scale)),
                   record.name);
  const Text count = DecimalText(record.object_count);
  canvas.WriteText(rect.right - canvas.TextWidth(count) - kTextInset, rect.top + kCountTop, count);

  canvas.DrawBitmap(rect.left + (board.default_col_width - thumbnail.Width()) / 2,
                    rect.top + t + (board.default_row_height - thumbnail.Height() - t) / 2, thumbnail);

  canvas.SetPen(kFrameColour);
  canvas.SetHollowBrush();
  canvas.Rectangle(rect);
}

}  // namespace plyscan::board
