// The board from the keyboard and the pointer's tool tip, through the main
// window with simcad in-process: Enter and Shift+Enter on the current cell,
// finding a layer by typing its name, a cell's details, the picture of the
// whole board copied and saved, and the layer table copied.
#include <gtest/gtest.h>

#include <cstring>

#include "base/platform.h"
#include "board/board_sheet.h"
#include "board/cell_hint.h"
#include "board/cell_painter.h"
#include "support/main_window_fixture.h"

namespace plyscan {
namespace {

using testing::MainWindowFixture;

simcad::Drawing Named(std::initializer_list<const char16_t*> names) {
  simcad::Drawing drawing;
  for (const char16_t* name : names) drawing.layers.push_back(simcad::Layer{name});
  return drawing;
}

class BoardKeys : public ::testing::Test, public MainWindowFixture {
 protected:
  explicit BoardKeys(simcad::Drawing drawing = Named({u"Alpha", u"beta", u"Bravo", u"charlie", u"Delta", u"delta2",
                                                      u"echo"}))
      : MainWindowFixture(std::move(drawing)) {
    FillBoard();
    for (std::size_t i = 0; i < main->snapshot.size(); ++i) {
      main->snapshot[i].on = i % 2 == 0;
      main->snapshot[i].locked = i == 1;
    }
  }
  std::vector<Text> Shown() const { return ShownLayers(); }
  void Key(ui::KeyCode key, ui::ShiftState shift = {}) { main->grid.KeyDown(key, shift); }
  void Type(char16_t c, std::uint64_t at_ms) {
    windows.now_ms = at_ms;
    main->grid.KeyPress(c);
  }
  std::int64_t Current() const {
    return static_cast<std::int64_t>(main->grid.Row()) * main->grid.ColCount() + main->grid.Col();
  }
};

TEST_F(BoardKeys, EnterShowsOnlyTheCurrentLayerAndShiftEnterShowsItBesideTheOthers) {
  auto& layers = session->GetDrawing().layers;
  layers[2].on = false;
  layers[2].frozen = true;
  Key(ui::keys::kRight);
  Key(ui::keys::kRight);
  EXPECT_EQ(cad.target.attaches, 0);  // moving the cell alone sends nothing
  Key(ui::keys::kEnter, {true, false, false});
  EXPECT_EQ(Shown().size(), layers.size());  // Bravo on and thawed, the others as they were
  EXPECT_FALSE(layers[2].frozen);
  Key(ui::keys::kDown);  // row 1, column 2: the sixth record
  Key(ui::keys::kEnter);
  EXPECT_EQ(Shown(), std::vector<Text>{u"delta2"});
  // The keyboard came back to the board after each, the CAD having been brought forward.
  EXPECT_EQ(Window().Activations(), 2);
  EXPECT_TRUE(Board().HasFocus());
  EXPECT_EQ(session->Variables().Integer(u"EXPERT"), 0);
  // Past the last record: nothing.
  const int attaches = cad.target.attaches;
  Key(ui::keys::kEnd, {false, true, false});
  Key(ui::keys::kEnter);
  EXPECT_EQ(cad.target.attaches, attaches);
}

TEST_F(BoardKeys, TypingFindsTheNextLayerWhoseNameBeginsSo) {
  const struct {
    char16_t c;
    std::uint64_t at;
    std::int64_t current;
  } steps[] = {
      {u'b', 1000, 1},   // beta, after Alpha
      {u'R', 1400, 2},   // "bR": Bravo, case ignored
      {u'd', 3000, 4},   // a pause: a new text, Delta
      {u'e', 3300, 4},   // "de": Delta still
      {u'd', 5000, 5},   // a new "d" after Delta: delta2
      {u'd', 5200, 4},   // "dd" matches nothing: the next "d", round to Delta
      {u'z', 7000, 4},   // nothing begins with "z": the cell stays
      {u'a', 9000, 0},   // wraps round to Alpha
  };
  for (const auto& s : steps) {
    Type(s.c, s.at);
    EXPECT_EQ(Current(), s.current) << char(s.c) << " at " << s.at;
  }
  EXPECT_EQ(cad.target.attaches, 0);  // nothing went to the CAD
}

// Past the last record (Ctrl+End on a last row that is not full), typing
// starts from the first record, not from the second.
class ShortLastRow : public BoardKeys {
 protected:
  ShortLastRow() : BoardKeys(Named({u"Ant", u"Apple", u"Bee", u"Cat"})) {}
};

TEST_F(ShortLastRow, TypingFromPastTheLastRecordStartsAtTheFirst) {
  ASSERT_EQ(main->grid.ColCount(), 3);
  Key(ui::keys::kEnd, {false, true, false});
  ASSERT_EQ(Current(), 5);  // the cell after the last record
  Type(u'a', 1000);
  EXPECT_EQ(Current(), 0);  // Ant, not Apple
  Type(u'a', 3000);
  EXPECT_EQ(Current(), 1);  // then Apple
}

TEST_F(BoardKeys, TheToolTipShowsTheCellsDetailsThenTheHint) {
  const Text hint = u"クリックでこの画層だけ表示";
  EXPECT_EQ(main->grid.HintAt(210, 10, hint), u"beta\r\nオブジェクト数 1\r\nオフ / 解凍 / ロック\r\n" + hint);
  main->snapshot[0].frozen = true;
  EXPECT_EQ(main->grid.HintAt(10, 10, hint), u"Alpha\r\nオブジェクト数 0\r\nオン / 凍結 / ロック解除\r\n" + hint);
  // A picture fitted to its layer adds its scale, in tenths.
  main->snapshot[0].fit_scale = 3.2;
  EXPECT_EQ(main->grid.HintAt(10, 10, hint),
            u"Alpha\r\nオブジェクト数 0\r\nオン / 凍結 / ロック解除\r\n拡大 ×3.2\r\n" + hint);
  EXPECT_EQ(main->grid.HintAt(250, 290, hint), hint);  // the cell after the last record
  EXPECT_EQ(main->grid.HintAt(640, 10, hint), hint);   // right of the last column
}

TEST(ScaleText, TenthsRoundedAndNeverZero) {
  const struct {
    double scale;
    const char16_t* text;
  } cases[] = {{3.2, u"3.2"},  {8.0, u"8.0"},  {1.0, u"1.0"},  {200.0 / 440, u"0.5"}, {0.125, u"0.1"},
               {3.25, u"3.3"}, {2.96, u"3.0"}, {0.02, u"0.1"}, {15.0, u"15.0"}};
  for (const auto& c : cases) EXPECT_EQ(board::ScaleText(c.scale), c.text) << c.scale;
}

class BigBoard : public BoardKeys {
 protected:
  static simcad::Drawing Many() {
    simcad::Drawing d;
    for (int i = 0; i < 40; ++i) d.layers.push_back(simcad::Layer{u"L" + DecimalText(100 + i)});
    return d;
  }
  BigBoard() : BoardKeys(Many()) {}
};

TEST_F(BigBoard, CtrlCCopiesThePictureOfEveryRecordInTheBoardsColumns) {
  ASSERT_LT(main->grid.VisibleRowCount(), main->grid.RowCount());  // not all in view
  Key(u'C', {false, true, false});
  ASSERT_TRUE(pictures.clipboard);
  const Bitmap& sheet = *pictures.clipboard;
  EXPECT_EQ(sheet.Width(), 602);    // 3 columns of 200 and 2 lines
  EXPECT_EQ(sheet.Height(), 1973);  // 14 rows of 140 and 13 lines
  EXPECT_EQ(sheet.BitsPerPixel(), 24);
  // Every record with its bar and its thumbnail, the cells after the last black.
  for (int i = 0; i < 42; ++i) {
    const int left = (i % 3) * 201, top = (i / 3) * 141;
    if (i < 40) {
      EXPECT_EQ(sheet.Pixel(left + 3, top + 3), i ? board::kBarColour : board::kEmptyBarColour) << i;
      EXPECT_EQ(sheet.Pixel(left + 10, top + 20 + 10), 0x00FF00) << i;
    } else {
      EXPECT_EQ(sheet.Pixel(left + 100, top + 70), 0) << i;
    }
  }
  EXPECT_EQ(sheet.Pixel(200, 10), 0x404040);  // the line between two columns
  // The board's own painting of a cell in view is the same.
  const Bitmap board = Board().Paint();
  for (int y = 0; y < 140; ++y)
    for (int x = 0; x < 200; x += 7) ASSERT_EQ(sheet.Pixel(201 + x, y), board.Pixel(201 + x, y)) << x << "," << y;
  EXPECT_TRUE(windows.errors.empty());
}

// 120 layers: 40 rows, taller than one band of 8 MiB (32 rows of 602 x 141
// pixels at 3 bytes), so the picture is painted in two bands.
class TallBoard : public BoardKeys {
 protected:
  static simcad::Drawing Many() {
    simcad::Drawing d;
    for (int i = 0; i < 120; ++i) d.layers.push_back(simcad::Layer{u"L" + DecimalText(100 + i)});
    return d;
  }
  TallBoard() : BoardKeys(Many()) {}
};

TEST_F(TallBoard, APictureTallerThanOneBandHasEveryRowOfBothBands) {
  Key(u'C', {false, true, false});
  ASSERT_TRUE(pictures.clipboard);
  EXPECT_EQ(pictures.bands, 2);
  const Bitmap& sheet = *pictures.clipboard;
  EXPECT_EQ(sheet.Width(), 602);
  EXPECT_EQ(sheet.Height(), 40 * 141 - 1);
  for (int row : {0, 31, 32, 39}) {
    for (int col = 0; col < 3; ++col) {
      const int i = row * 3 + col, left = col * 201, top = row * 141;
      EXPECT_EQ(sheet.Pixel(left + 3, top + 3), i ? board::kBarColour : board::kEmptyBarColour) << i;
      EXPECT_EQ(sheet.Pixel(left + 10, top + 20 + 10), 0x00FF00) << i;
    }
    if (row) {
      EXPECT_EQ(sheet.Pixel(100, row * 141 - 1), 0x404040) << "the line above row " << row;
    }
  }
}

TEST_F(BigBoard, CtrlSSavesTheSamePictureWhereTheUserSays) {
  pictures.save_answer = u"C:\\Users\\someone\\Pictures\\board.png";
  Key(u'S', {false, true, false});
  EXPECT_EQ(pictures.asked_for, u"PLYSCAN.png");
  ASSERT_EQ(pictures.saved.size(), 1u);
  Key(u'C', {false, true, false});
  EXPECT_EQ(pictures.saved.begin()->first, *pictures.save_answer);
  const Bitmap& saved = pictures.saved.begin()->second;
  ASSERT_EQ(saved.Height(), pictures.clipboard->Height());
  for (int y = 0; y < saved.Height(); y += 13)
    ASSERT_EQ(std::memcmp(saved.Row(y), pictures.clipboard->Row(y), saved.Stride()), 0) << y;

  pictures.save_answer.reset();  // cancelled
  Key(u'S', {false, true, false});
  EXPECT_EQ(pictures.saved.size(), 1u);
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(BoardKeys, CtrlShiftCCopiesTheLayerTableInTheBoardsOrder) {
  main->snapshot[2].object_count = 25;  // the board's fill counts each record's index
  main->snapshot[3].frozen = true;
  Key(u'C', {true, true, false});
  EXPECT_FALSE(pictures.clipboard);  // the table, not the picture
  ASSERT_TRUE(pictures.clipboard_text);
  EXPECT_EQ(*pictures.clipboard_text,
            u"画層名\tオブジェクト数\t表示\t凍結\tロック\r\n"
            u"Alpha\t0\tオン\t解凍\tロック解除\r\n"
            u"beta\t1\tオフ\t解凍\tロック\r\n"
            u"Bravo\t25\tオン\t解凍\tロック解除\r\n"
            u"charlie\t3\tオフ\t凍結\tロック解除\r\n"
            u"Delta\t4\tオン\t解凍\tロック解除\r\n"
            u"delta2\t5\tオフ\t解凍\tロック解除\r\n"
            u"echo\t6\tオン\t解凍\tロック解除\r\n");
  // Ctrl+C still copies the picture.
  Key(u'C', {false, true, false});
  EXPECT_TRUE(pictures.clipboard);
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(BoardKeys, ATableTheClipboardRefusesIsReported) {
  pictures.refuse_with = u"ほかのプログラムがクリップボードを使用しています";
  Key(u'C', {true, true, false});
  EXPECT_FALSE(pictures.clipboard_text);
  ASSERT_EQ(windows.errors.size(), 1u);
  EXPECT_EQ(windows.errors[0],
            u"クリップボードに画層の表をコピーできません。ほかのプログラムがクリップボードを使用しています.");
}

TEST_F(BigBoard, AFileThatCannotBeWrittenIsReportedWithItsName) {
  pictures.save_answer = u"Z:\\full\\board.png";
  pictures.refuse_with = u"ディスクがいっぱいです。";
  Key(u'S', {false, true, false});
  ASSERT_EQ(windows.errors.size(), 1u);
  // As the other file failures: the default error report adds its full stop.
  EXPECT_EQ(windows.errors[0], u"ファイル \"Z:\\full\\board.png\" を作成できません。ディスクがいっぱいです。.");
}

TEST(BoardSheet, BandsPaintTheSamePictureAsOneSurface) {
  ui::HeadlessPictures pictures;
  LayerSnapshot records;
  ResizeSnapshot(records, 8);
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].name = u"N" + DecimalText(static_cast<std::int64_t>(i));
    records[i].thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
    records[i].thumbnail->SetSize(200, 120);
  }
  const board::BoardView view(records, 3, {200, 140}, 1.0, 96);
  const auto paint = [&](std::int32_t band) {
    return pictures.Paint(602, 422, band, [&](Canvas& canvas, std::int32_t top) {
      board::PaintSheetBand(canvas, view, {u"Tahoma", 11, 0}, 0x404040, top, band / 141);
    });
  };
  const Bitmap whole = paint(3 * 141);
  const Bitmap banded = paint(141);
  EXPECT_EQ(pictures.bands, 1 + 3);
  for (int y = 0; y < whole.Height(); ++y) ASSERT_EQ(std::memcmp(whole.Row(y), banded.Row(y), whole.Stride()), 0) << y;
}

}  // namespace
}  // namespace plyscan
