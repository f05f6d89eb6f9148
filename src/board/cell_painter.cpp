#include "board/cell_painter.h"

#include <cmath>

namespace plyscan::board {

namespace {

constexpr std::int32_t kNamePoints = 10;
constexpr std::int32_t kTextInset = 10;
constexpr std::int32_t kCountTop = 3;

std::int32_t PointsToPixels(std::int32_t points, std::int32_t dpi) { return (points * dpi + 36) / 72; }

}  // namespace

void PaintBoardCell(Canvas& canvas, const BoardView& board, std::int32_t col, std::int32_t row, const Rect& rect) {
  const std::int64_t i = board.IndexOf(col, row);
  const LayerSnapshot& records = board.Records();
  if (i < 0 || i >= static_cast<std::int64_t>(records.size()) || !records[static_cast<std::size_t>(i)].thumbnail) {
    canvas.FillRect(rect, 0);
    return;
  }
  const LayerRecord& record = records[static_cast<std::size_t>(i)];
  const Bitmap& thumbnail = *record.thumbnail;
  const double scale = board.DisplayScale();
  const std::int32_t t = HeaderBarHeight(scale);

  canvas.FillRect(rect, thumbnail.Pixel(0, 0));

  canvas.SetBrush(record.object_count != 0 ? kBarColour : kEmptyBarColour);
  canvas.Rectangle({rect.left + 1, rect.top + 1, rect.right - 1, rect.top + t});

  FontSpec font = canvas.Font();
  font.height = PointsToPixels(kNamePoints, board.Dpi());
  font.colour = 0xFFFFFF;
  canvas.SetFont(font);
  canvas.WriteText(rect.left + kTextInset, rect.top + static_cast<std::int32_t>(std::trunc(scale)), record.name);
  const Text count = DecimalText(record.object_count);
  canvas.WriteText(rect.right - canvas.TextWidth(count) - kTextInset, rect.top + kCountTop, count);

  const Size cell = board.Cell();
  canvas.DrawBitmap(rect.left + (cell.width - thumbnail.Width()) / 2,
                    rect.top + t + (cell.height - thumbnail.Height() - t) / 2, thumbnail);

  canvas.SetPen(kFrameColour);
  canvas.SetHollowBrush();
  canvas.Rectangle(rect);
}

}  // namespace plyscan::board
