// The designed layouts placed at a resolution and a client size, and the
// sorted list the dialog keeps.
#include <gtest/gtest.h>

#include "base/failure.h"
#include "base/platform.h"
#include "shell/controls.h"
#include "shell/layouts.h"
#include "shell/placement.h"

namespace plyscan::ui {
namespace {

const ControlDesign& Row(const FormDesign& form, ControlId id) {
  for (const ControlDesign& c : form.controls)
    if (c.id == id) return c;
  throw std::logic_error("no such control");
}

TEST(Placement, ScalesTheDesignAndKeepsAnchorsAndTheBottomBar) {
  const FormDesign& main = MainWindowDesign();
  const struct {
    ControlId control;
    Size client;
    std::int32_t dpi;
    Rect expected;
  } cases[] = {
      {main_controls::kBoard, {665, 323}, 96, Rect::Sized(0, 27, 665, 296)},
      {main_controls::kBoard, {800, 400}, 96, Rect::Sized(0, 27, 800, 373)},
      {main_controls::kBoard, {998, 485}, 144, Rect::Sized(0, 41, 998, 444)},
      {main_controls::kBoard, {10, 10}, 96, Rect::Sized(0, 27, 10, 0)},  // never negative
      {main_controls::kProgressBar, {665, 323}, 96, Rect::Sized(0, 308, 665, 15)},
      {main_controls::kProgressBar, {900, 500}, 144, Rect::Sized(0, 477, 900, 23)},
      {main_controls::kCaptureButton, {900, 500}, 144, Rect::Sized(59, 0, 99, 38)},
      {main_controls::kBackgroundField, {998, 485}, 120, Rect::Sized(213, 5, 94, 28)},
  };
  for (const auto& c : cases) {
    const ControlDesign& row = Row(main, c.control);
    EXPECT_EQ(PlaceControl(row, DesignedParentSize(main, row), c.client, c.dpi), c.expected)
        << "control " << c.control << " at " << c.dpi;
  }
}

TEST(MainLayout, TheFitBoxSitsRightOfDeleteStateClearOfEveryShownControl) {
  const FormDesign& main = MainWindowDesign();
  const ControlDesign& fit = Row(main, main_controls::kFitLayerBox);
  EXPECT_EQ(fit.id, 111);  // after the others, whose numbers tools and tests use
  EXPECT_EQ(fit.kind, Kind::kCheckBox);
  EXPECT_EQ(Text(fit.caption), u"フィット");
  EXPECT_EQ(Text(fit.hint), u"画層ごとに図形の範囲を拡大してキャプチャ");
  const ControlDesign& del = Row(main, main_controls::kDeleteStateButton);
  EXPECT_GE(fit.bounds.left, del.bounds.right);
  EXPECT_LE(fit.bounds.right, main.client_width);
  EXPECT_LE(fit.bounds.bottom, Row(main, main_controls::kBoard).bounds.top);
  for (const ControlDesign& c : main.controls) {
    if (c.id == fit.id || (c.flags & kHidden) != 0) continue;
    EXPECT_FALSE(c.bounds.Intersects(fit.bounds)) << "control " << c.id;
    EXPECT_NE(c.tab_order, fit.tab_order) << "control " << c.id;
  }
}

TEST(Placement, ControlsInsideTheGroupBoxArePlacedAgainstIt) {
  const FormDesign& dialog = TargetDialogDesign();
  const ControlDesign& edit = Row(dialog, dialog_controls::kProgIdField);
  EXPECT_EQ(DesignedParentSize(dialog, edit), (Size{297, 105}));
  EXPECT_EQ(PlaceControl(edit, {297, 105}, {446, 158}, 144), Rect::Sized(24, 110, 297, 36));
}

TEST(Placement, ScaleRoundsHalvesAwayFromZero) {
  EXPECT_EQ(Scale(11, 96), 11);
  EXPECT_EQ(Scale(11, 144), 17);  // 16.5
  EXPECT_EQ(Scale(-11, 144), -17);
  EXPECT_EQ(Scale(665, 120), 831);  // 831.25
}

TEST(SortedList, AddsAfterEqualEntriesAndKeepsTheSelectionOnItsEntry) {
  Control list(Row(TargetDialogDesign(), dialog_controls::kTargetList));
  list.LoadSorted({u"b", u"A", u"c", u"a"}, UserCollator());
  EXPECT_EQ(list.Items(), (std::vector<Text>{u"A", u"a", u"b", u"c"}));
  list.SetItemIndex(2);
  EXPECT_EQ(list.AddSorted(u"B", UserCollator()), 3);
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(list.AddSorted(u"0", UserCollator()), 0);
  EXPECT_EQ(list.ItemIndex(), 3);
  EXPECT_EQ(list.Item(3), u"b");
  EXPECT_THROW(list.SetItemIndex(6), Failure);
  EXPECT_THROW(list.Replace(-1, u"x"), Failure);
}

}  // namespace
}  // namespace plyscan::ui
