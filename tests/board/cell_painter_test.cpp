// The board's cell painter on the headless canvas at the display scales a
// user meets: the bar's colour, place and outline, the name and the count,
// the background from the thumbnail's corner, the thumbnail's place, the
// frame, and black where a cell holds no picture.
#include "board/cell_painter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/platform.h"
#include "headless/ui/bitmap_canvas.h"
#include "shell/placement.h"

namespace plyscan::board {
namespace {

constexpr Colour kBackground = 0x302821;
constexpr Colour kMark = 0x00FF00;
constexpr Colour kOldPen = 0x123456;

std::unique_ptr<Bitmap> Thumbnail(std::int32_t width, std::int32_t height) {
  auto bmp = std::make_unique<Bitmap>(SystemSurfaces());
  bmp->SetSize(width, height);
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x) bmp->SetPixel(x, y, kBackground);
  bmp->SetPixel(7, 3, kMark);
  return bmp;
}

struct Scale {
  double disp_scale;
  std::int32_t dpi;
};

class CellPainter : public ::testing::TestWithParam<Scale> {
 protected:
  CellPainter()
      : width(ui::Scale(200, GetParam().dpi)),
        height(ui::Scale(140, GetParam().dpi)),
        bar(static_cast<std::int32_t>(std::trunc(GetParam().disp_scale * 20))),
        surface(SystemSurfaces()),
        canvas(surface) {
    surface.SetSize(2 * width + 20, height + 20);
    rect = {10, 10, 10 + width, 10 + height};
    canvas.SetFont({u"Tahoma", 11, 0});
    canvas.SetPen(kOldPen);
  }

  void Paint(std::int32_t col = 0) {
    const BoardView board(records, 2, {width, height}, GetParam().disp_scale, GetParam().dpi);
    PaintBoardCell(canvas, board, col, 0, rect);
  }

  std::int32_t width, height, bar;
  LayerSnapshot records;
  Bitmap surface;
  ui::BitmapCanvas canvas;
  Rect rect;
};

TEST_P(CellPainter, BarNameAndCountOverTheThumbnail) {
  ResizeSnapshot(records, 1);
  records[0].name = u"Walls";
  records[0].object_count = 12;
  records[0].thumbnail = Thumbnail(width, height - bar);
  Paint();

  EXPECT_EQ(bar, HeaderBarHeight(GetParam().disp_scale));
  // The bar inside the frame, outlined with the pen the canvas held.
  EXPECT_EQ(surface.Pixel(rect.left + 1, rect.top + 1), kOldPen);
  EXPECT_EQ(surface.Pixel(rect.left + 3, rect.top + 3), kBarColour);
  EXPECT_EQ(surface.Pixel(rect.left + 3, rect.top + bar - 2), kBarColour);
  EXPECT_EQ(surface.Pixel(rect.left + 3, rect.top + bar - 1), kOldPen);
  // The thumbnail at its own size right under the bar.
  EXPECT_EQ(surface.Pixel(rect.left + 7, rect.top + bar + 3), kMark);
  // The frame over everything, with the pen left for the next cell.
  EXPECT_EQ(surface.Pixel(rect.left, rect.top), kFrameColour);
  EXPECT_EQ(surface.Pixel(rect.right - 1, rect.bottom - 1), kFrameColour);
  EXPECT_EQ(canvas.PenColour(), kFrameColour);

  const auto& runs = canvas.Runs();
  ASSERT_EQ(runs.size(), 2u);
  const std::int32_t font_height = (10 * GetParam().dpi + 36) / 72;  // 10 points
  EXPECT_EQ(runs[0].text, u"Walls");
  EXPECT_EQ(runs[0].x, rect.left + 10);
  EXPECT_EQ(runs[0].y, rect.top + static_cast<std::int32_t>(std::trunc(GetParam().disp_scale)));
  EXPECT_EQ(runs[0].font, (FontSpec{u"Tahoma", font_height, 0xFFFFFF}));
  EXPECT_TRUE(runs[0].opaque);
  EXPECT_EQ(runs[0].background, kBarColour);
  EXPECT_EQ(runs[1].text, u"12");
  EXPECT_EQ(runs[1].y, rect.top + 3);
  EXPECT_EQ(runs[1].x + canvas.TextWidth(u"12"), rect.right - 10);  // right-aligned
}

TEST_P(CellPainter, NoObjectsGiveAGreyBarAndAZero) {
  ResizeSnapshot(records, 1);
  records[0].name = u"Empty";
  records[0].thumbnail = Thumbnail(width, height - bar);
  Paint();
  EXPECT_EQ(surface.Pixel(rect.left + 3, rect.top + 3), kEmptyBarColour);
  ASSERT_EQ(canvas.Runs().size(), 2u);
  EXPECT_EQ(canvas.Runs()[1].text, u"0");
}

TEST_P(CellPainter, AThumbnailOfAnotherSizeIsCentredOnItsCornersColour) {
  ResizeSnapshot(records, 1);
  records[0].thumbnail = Thumbnail(100, 50);
  Paint();
  const std::int32_t x = rect.left + (width - 100) / 2;
  const std::int32_t y = rect.top + bar + (height - 50 - bar) / 2;
  EXPECT_EQ(surface.Pixel(x + 7, y + 3), kMark);
  EXPECT_EQ(surface.Pixel(rect.left + 5, rect.top + bar + 2), kBackground);
  EXPECT_EQ(surface.Pixel(rect.right - 5, rect.bottom - 5), kBackground);
}

TEST_P(CellPainter, CellsWithoutAPictureAreBlack) {
  ResizeSnapshot(records, 2);  // record 1 has no thumbnail yet; column 3 is past the records
  records[0].thumbnail = Thumbnail(width, height - bar);
  for (std::int32_t col : {1, 3}) {
    Paint(col);
    for (const auto& [x, y] : {std::pair{rect.left, rect.top}, std::pair{rect.left + 50, rect.top + 50},
                               std::pair{rect.right - 1, rect.bottom - 1}})
      EXPECT_EQ(surface.Pixel(x, y), 0) << "column " << col;
  }
  EXPECT_TRUE(canvas.Runs().empty());
}

// A name that would reach within 6 px (scaled) of the count is cut and ended
// with "…". The headless canvas measures a character below U+0100 as half the
// font height rounded up and any other as the whole height; the 10-point font
// is 13, 20 and 27 px high at 96, 144 and 192 dpi, so the name (from 10 px
// inside the cell) has 160, 251 and 340 px before the gap before "12".
struct NameCase {
  Scale scale;
  Text name;
  Text drawn;
};

Text Repeat(TextView piece, std::size_t times) {
  Text text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

class NameCut : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameCut, TheNameStopsBeforeTheCount) {
  const NameCase& c = GetParam();
  const std::int32_t width = ui::Scale(200, c.scale.dpi);
  const std::int32_t height = ui::Scale(140, c.scale.dpi);
  Bitmap surface(SystemSurfaces());
  surface.SetSize(width + 20, height + 20);
  ui::BitmapCanvas canvas(surface);
  canvas.SetFont({u"Tahoma", 11, 0});
  const Rect rect{10, 10, 10 + width, 10 + height};
  LayerSnapshot records;
  ResizeSnapshot(records, 1);
  records[0].name = c.name;
  records[0].object_count = 12;
  records[0].thumbnail = Thumbnail(width, height - HeaderBarHeight(c.scale.disp_scale));
  PaintBoardCell(canvas, BoardView(records, 1, {width, height}, c.scale.disp_scale, c.scale.dpi), 0, 0, rect);

  const auto& runs = canvas.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, c.drawn);
  EXPECT_EQ(runs[0].x, rect.left + 10);
  EXPECT_EQ(runs[1].text, u"12");
  const std::int32_t gap = c.scale.dpi * 6 / 96;
  const std::int32_t count_x = runs[1].x;
  EXPECT_LE(runs[0].x + canvas.TextWidth(runs[0].text), count_x - gap);
  // Nothing of the name's colour in the gap: its letters stop before it.
  const std::int32_t bar = HeaderBarHeight(c.scale.disp_scale);
  for (std::int32_t y = rect.top + 1; y < rect.top + bar - 1; ++y)
    for (std::int32_t x = count_x - gap; x < count_x; ++x)
      ASSERT_NE(surface.Pixel(x, y), 0xFFFFFF) << "x " << x << " y " << y;
}

const Scale k96{1.0, 96}, k144{1.5, 144}, k192{2.0, 192};
const Text kEllipsis = u"\u2026";

INSTANTIATE_TEST_SUITE_P(
    Names, NameCut,
    ::testing::Values(
        // Short: as written.
        NameCase{k96, u"WALL", u"WALL"}, NameCase{k144, u"WALL", u"WALL"}, NameCase{k192, u"WALL", u"WALL"},
        // The longest that fits whole (22 × 7, 25 × 10, 24 × 14 px): no "…".
        NameCase{k96, Repeat(u"a", 22), Repeat(u"a", 22)}, NameCase{k144, Repeat(u"a", 25), Repeat(u"a", 25)},
        NameCase{k192, Repeat(u"a", 24), Repeat(u"a", 24)},
        // One more letter: cut where the letters and "…" fit (21 × 7 + 13, 23 × 10 + 20, 22 × 14 + 27).
        NameCase{k96, Repeat(u"a", 23), Repeat(u"a", 21) + kEllipsis},
        NameCase{k144, Repeat(u"a", 26), Repeat(u"a", 23) + kEllipsis},
        NameCase{k192, Repeat(u"a", 25), Repeat(u"a", 22) + kEllipsis},
        // The longest name a layer can have.
        NameCase{k96, Repeat(u"x", 255), Repeat(u"x", 21) + kEllipsis},
        NameCase{k144, Repeat(u"x", 255), Repeat(u"x", 23) + kEllipsis},
        NameCase{k192, Repeat(u"x", 255), Repeat(u"x", 22) + kEllipsis},
        // Wide characters: 11 × 13 + 13 at 96 dpi.
        NameCase{k96, Repeat(u"壁", 20), Repeat(u"壁", 11) + kEllipsis},
        // 11 units fit, but the 11th is the first half of a pair: 5 characters are kept.
        NameCase{k96, Repeat(u"\U0002000B", 20), Repeat(u"\U0002000B", 5) + kEllipsis}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(DisplayScales, CellPainter,
                         ::testing::Values(Scale{1.0, 96}, Scale{1.25, 120}, Scale{1.5, 144}, Scale{2.0, 192}),
                         [](const auto& info) { return "dpi" + std::to_string(info.param.dpi); });

}  // namespace
}  // namespace plyscan::board
