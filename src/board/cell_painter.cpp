#include "board/cell_painter.h"

#include <algorithm>
#include <cmath>

namespace plyscan::board {

namespace {

constexpr std::int32_t kNamePoints = 10;
constexpr std::int32_t kTextInset = 10;
constexpr std::int32_t kCountTop = 3;

constexpr std::int32_t kCountGap = 6;  // at 96 dpi: the least space left between the name and the count
constexpr char16_t kEllipsis = u'\u2026';

std::int32_t PointsToPixels(std::int32_t points, std::int32_t dpi) { return (points * dpi + 36) / 72; }

// The name as drawn from `x` when nothing of it may reach `limit`: whole when
// it fits, else its longest start that fits with "…" after it (never split
// inside a surrogate pair), else nothing.
Text FittedName(Canvas& canvas, TextView name, std::int32_t x, std::int32_t limit) {
  if (x + canvas.TextWidth(name) <= limit) return Text(name);
  const auto cut = [&](std::size_t length) {
    Text text(name.substr(0, length));
    text.push_back(kEllipsis);
    return text;
  };
  std::size_t fits = 0;            // the longest start known to fit, with the ellipsis
  std::size_t over = name.size();  // a start known not to fit (the whole name)
  if (x + canvas.TextWidth(cut(0)) > limit) return {};
  while (over - fits > 1) {  // widths grow with the length: a binary search
    const std::size_t mid = fits + (over - fits) / 2;
    if (x + canvas.TextWidth(cut(mid)) <= limit)
      fits = mid;
    else
      over = mid;
  }
  if (fits > 0 && name[fits - 1] >= 0xD800 && name[fits - 1] < 0xDC00) --fits;
  return cut(fits);
}

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
  const Text count = DecimalText(record.object_count);
  const std::int32_t count_x = rect.right - canvas.TextWidth(count) - kTextInset;
  const std::int32_t name_x = rect.left + kTextInset;
  const std::int32_t name_limit = std::min(count_x - (kCountGap * board.Dpi() + 48) / 96, rect.right - 1);
  const Text name = FittedName(canvas, record.name, name_x, name_limit);
  canvas.WriteText(name_x, rect.top + static_cast<std::int32_t>(std::trunc(scale)), name);
  canvas.WriteText(count_x, rect.top + kCountTop, count);

  const Size cell = board.Cell();
  canvas.DrawBitmap(rect.left + (cell.width - thumbnail.Width()) / 2,
                    rect.top + t + (cell.height - thumbnail.Height() - t) / 2, thumbnail);

  canvas.SetPen(kFrameColour);
  canvas.SetHollowBrush();
  canvas.Rectangle(rect);
}

}  // namespace plyscan::board
