// The draw grid's own behaviour: where its cells are at a DPI and a scroll
// position, which cell a point hits, the scroll bars it needs, the keyboard
// moves, the order of its mouse events, and which cells a paint draws.
#include "shell/grid_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform.h"
#include "headless/ui/bitmap_canvas.h"

namespace plyscan::ui {
namespace {

constexpr GridDesign kDesign{200, 140, 5, 5, 0x808080, 0x404040};

struct Grid {
  explicit Grid(std::int32_t dpi = 96, Size outer = {665, 296}, std::int32_t cols = 3, std::int32_t rows = 4) {
    model.SetDesign(kDesign);
    model.SetDpi(dpi);
    model.SetColCount(cols);
    model.SetRowCount(rows);
    model.SetOuterSize(outer, 17);
  }
  GridModel model;
};

TEST(GridModel, ScalesItsCellsWithTheDpiAndStartsAtFiveByFive) {
  GridModel grid;
  grid.SetDesign(kDesign);
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.RowCount(), 5);
  const struct {
    std::int32_t dpi, width, height;
  } cases[] = {{96, 200, 140}, {120, 250, 175}, {144, 300, 210}, {192, 400, 280}};
  for (const auto& c : cases) {
    grid.SetDpi(c.dpi);
    EXPECT_EQ(grid.DefaultColWidth(), c.width) << c.dpi;
    EXPECT_EQ(grid.DefaultRowHeight(), c.height) << c.dpi;
  }
}

TEST(GridModel, CellsSitOnePixelLineApartFromTheScrollPosition) {
  Grid g(96, {665, 296}, 3, 10);
  EXPECT_EQ(g.model.CellRect({0, 0}), (Rect{0, 0, 200, 140}));
  EXPECT_EQ(g.model.CellRect({2, 1}), (Rect{402, 141, 602, 281}));
  g.model.SetTopRow(3);
  EXPECT_EQ(g.model.CellRect({1, 4}), (Rect{201, 141, 401, 281}));
  EXPECT_EQ(g.model.CellRect({1, 2}).bottom, -1);  // scrolled out above
}

TEST(GridModel, HitTestCountsTheLinesAndTheScrollPosition) {
  Grid g(96, {665, 296}, 3, 10);
  const struct {
    std::int32_t top, x, y;
    std::optional<GridCell> cell;
  } cases[] = {
      {0, 0, 0, GridCell{0, 0}},
      {0, 199, 139, GridCell{0, 0}},
      {0, 200, 140, GridCell{0, 0}},  // the lines after a cell belong to it
      {0, 201, 141, GridCell{1, 1}},
      {0, 601, 280, GridCell{2, 1}},   // the last pixels of a cell far from the origin
      {0, 604, 10, std::nullopt},      // grey strip right of the last column
      {0, -1, 10, std::nullopt},
      {3, 10, 10, GridCell{0, 3}},     // the scroll position is counted
      {3, 450, 150, GridCell{2, 4}},
  };
  for (const auto& c : cases) {
    g.model.SetTopRow(c.top);
    EXPECT_EQ(g.model.MouseCoord(c.x, c.y), c.cell) << c.x << "," << c.y << " top " << c.top;
  }
  // Past the last row.
  Grid few(96, {665, 600}, 3, 2);
  EXPECT_EQ(few.model.MouseCoord(10, 300), std::nullopt);
}

TEST(GridModel, ShowsScrollBarsOnlyWhereTheCellsDoNotFit) {
  const struct {
    Size outer;
    std::int32_t cols, rows;
    bool vertical, horizontal;
    Size client;
  } cases[] = {
      {{665, 296}, 3, 2, false, false, {665, 296}},   // 2 rows of 141 less a line: 281
      {{665, 296}, 3, 3, true, false, {648, 296}},
      {{500, 310}, 3, 2, false, true, {500, 293}},
      {{500, 296}, 3, 2, true, true, {483, 279}},     // the horizontal bar pushes the last row out
      {{602, 281}, 3, 2, false, false, {602, 281}},   // exactly fits
      {{602, 281}, 3, 3, true, true, {585, 264}},     // the vertical bar pushes the last column out
  };
  for (const auto& c : cases) {
    Grid g(96, c.outer, c.cols, c.rows);
    EXPECT_EQ(g.model.ShowsVerticalScrollBar(), c.vertical) << c.outer.width << "x" << c.outer.height;
    EXPECT_EQ(g.model.ShowsHorizontalScrollBar(), c.horizontal) << c.outer.width << "x" << c.outer.height;
    EXPECT_EQ(g.model.ClientSize(), c.client);
  }
}

TEST(GridModel, TheCurrentCellStaysInTheGridAndInView) {
  Grid g(96, {665, 296}, 3, 10);  // two rows in view
  g.model.SetRow(7);
  EXPECT_EQ(g.model.Row(), 7);
  EXPECT_EQ(g.model.TopRow(), 6);
  g.model.SetRow(2);
  EXPECT_EQ(g.model.TopRow(), 2);
  g.model.SetRow(99);
  EXPECT_EQ(g.model.Row(), 9);
  EXPECT_EQ(g.model.TopRow(), 8);  // the last row at the bottom, not alone at the top
  g.model.SetTopRow(50);
  EXPECT_EQ(g.model.TopRow(), 8);
  g.model.SetRowCount(4);
  EXPECT_EQ(g.model.Row(), 3);
  EXPECT_EQ(g.model.TopRow(), 2);
  g.model.SetCol(5);
  EXPECT_EQ(g.model.Col(), 2);
}

TEST(GridModel, KeysMoveTheCurrentCell) {
  const struct {
    KeyCode key;
    ShiftState shift;
    GridCell from, to;
  } cases[] = {
      {keys::kRight, {}, {0, 0}, {1, 0}},       {keys::kRight, {}, {2, 0}, {2, 0}},
      {keys::kLeft, {}, {0, 3}, {0, 3}},        {keys::kDown, {}, {1, 9}, {1, 9}},
      {keys::kUp, {}, {1, 4}, {1, 3}},          {keys::kPageDown, {}, {1, 1}, {1, 3}},
      {keys::kPageDown, {}, {1, 9}, {1, 9}},    {keys::kPageUp, {}, {1, 1}, {1, 0}},
      {keys::kHome, {}, {2, 5}, {0, 5}},        {keys::kEnd, {}, {0, 5}, {2, 5}},
      {keys::kHome, {false, true}, {2, 5}, {0, 0}}, {keys::kEnd, {false, true}, {0, 5}, {2, 9}},
  };
  for (const auto& c : cases) {
    Grid g(96, {665, 296}, 3, 10);
    g.model.SetCol(c.from.col);
    g.model.SetRow(c.from.row);
    g.model.KeyDown(c.key, c.shift);
    EXPECT_EQ((GridCell{g.model.Col(), g.model.Row()}), c.to) << "key " << c.key;
    EXPECT_GE(g.model.Row(), g.model.TopRow());
    EXPECT_LT(g.model.Row(), g.model.TopRow() + g.model.VisibleRowCount());
  }
}

TEST(GridModel, AKeyTheOwnerTakesDoesNotMoveTheCell) {
  Grid g;
  g.model.OnKeyDown = [](KeyCode key, ShiftState) { return key == keys::kDown; };
  g.model.KeyDown(keys::kDown, {});
  EXPECT_EQ(g.model.Row(), 0);
  g.model.KeyDown(keys::kRight, {});
  EXPECT_EQ(g.model.Col(), 1);
}

TEST(GridModel, MouseEventsComeInTheGridsOrder) {
  Grid g(96, {665, 296}, 3, 10);
  std::vector<std::string> events;
  g.model.OnMouseDown = [&](MouseButton button, ShiftState, std::int32_t, std::int32_t) {
    events.push_back("down " + std::to_string(static_cast<int>(button)) + " at " + std::to_string(g.model.Col()) +
                     "," + std::to_string(g.model.Row()));
  };
  g.model.OnDblClick = [&] { events.push_back("double at " + std::to_string(g.model.Col()) + "," +
                                              std::to_string(g.model.Row())); };
  g.model.MouseDown(MouseButton::kLeft, {}, 450, 150);  // the cell is current before the event
  g.model.DoubleClick(MouseButton::kLeft, {}, 450, 150);
  g.model.MouseDown(MouseButton::kRight, {}, 10, 10);  // only a left press moves the cell
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 at 2,1", "double at 2,1", "down 0 at 2,1", "down 1 at 2,1"}));
}

TEST(GridModel, TheWheelScrollsByRows) {
  Grid g(96, {665, 296}, 3, 10);
  g.model.Wheel(-3);
  EXPECT_EQ(g.model.TopRow(), 3);
  g.model.Wheel(1);
  EXPECT_EQ(g.model.TopRow(), 2);
  g.model.Wheel(-100);
  EXPECT_EQ(g.model.TopRow(), g.model.MaxTopRow());
  EXPECT_EQ(g.model.Row(), 0);  // the current cell stays where it was
}

class FocusPeer final : public GridPeer {
 public:
  void Invalidate(const std::optional<Rect>&) override {}
  void RepaintNow() override {}
  bool HasFocus() const override { return focused; }
  void TakeFocus() override { focused = true; }
  bool focused = false;
};

TEST(PaintGrid, DrawsOnlyTheCellsThatMeetTheUpdateAndTheFocusOnTheCurrentOne) {
  Grid g(96, {665, 296}, 3, 10);
  FocusPeer peer;
  g.model.AttachPeer(&peer);
  std::vector<std::string> drawn;
  g.model.OnDrawCell = [&](Canvas& canvas, std::int32_t col, std::int32_t row, const Rect& rect) {
    drawn.push_back(std::to_string(col) + "," + std::to_string(row));
    canvas.FillRect(rect, 0x0000FF);
  };
  Bitmap surface(SystemSurfaces());
  surface.SetSize(665, 296);
  BitmapCanvas canvas(surface);
  const FontSpec font{u"Tahoma", 11, 0};

  PaintGrid(g.model, canvas, {0, 0, 665, 296}, font);
  EXPECT_EQ(drawn, (std::vector<std::string>{"0,0", "1,0", "2,0", "0,1", "1,1", "2,1", "0,2", "1,2", "2,2"}));
  EXPECT_EQ(surface.Pixel(200, 50), 0x404040);   // the line between two columns
  EXPECT_EQ(surface.Pixel(50, 140), 0x404040);   // and between two rows
  EXPECT_EQ(surface.Pixel(620, 50), 0x808080);   // the grid's colour where no cell is
  EXPECT_EQ(surface.Pixel(0, 0), 0x0000FF);      // no focus, no focus rectangle

  drawn.clear();
  peer.focused = true;
  PaintGrid(g.model, canvas, {210, 150, 220, 160}, font);
  EXPECT_EQ(drawn, (std::vector<std::string>{"1,1"}));
  PaintGrid(g.model, canvas, {0, 0, 10, 10}, font);
  EXPECT_EQ(surface.Pixel(0, 0), 0x0000FF ^ 0xFFFFFF);  // the dotted frame over the current cell
  EXPECT_EQ(canvas.Font(), font);                         // the grid's font before each cell
}

TEST(PaintGrid, ThePenLastLeftIsThereAtTheNextPaint) {
  Grid g(96, {665, 296}, 3, 2);
  std::vector<Colour> found;
  g.model.OnDrawCell = [&](Canvas& canvas, std::int32_t, std::int32_t, const Rect&) {
    found.push_back(canvas.PenColour());
    canvas.SetPen(0x123456);  // as the board's frame leaves its grey
  };
  Bitmap surface(SystemSurfaces());
  surface.SetSize(665, 296);
  for (int paint = 0; paint < 2; ++paint) {
    BitmapCanvas canvas(surface);  // a fresh drawing surface for every paint, as WM_PAINT has
    PaintGrid(g.model, canvas, {0, 0, 665, 296}, {u"Tahoma", 11, 0});
  }
  ASSERT_EQ(found.size(), 12u);
  EXPECT_EQ(found[0], 0);         // black before anything was painted
  EXPECT_EQ(found[6], 0x123456);  // the first cell of the second paint
}

}  // namespace
}  // namespace plyscan::ui
