#include "cadlink/target_kind.h"

#include <gtest/gtest.h>

namespace plyscan {
namespace {

TEST(TargetKind, ReadsTheUpperCasedProgId) {
  struct Case {
    Text prog_id;
    bool zooms_twice, parks_cursor, exports_view;
  } cases[] = {
      {u"BricscadApp.AcadApplication", false, true, false},  // the default target
      {u"GCAD.Application", true, true, false},
      {u"gcad.application", true, true, false},
      {u"Vendor.gCad.Application.1", true, true, false},
      {u"AutoCAD.Application", false, false, true},
      {u"autocad.application.24", false, false, true},
      {u"Vendor.AutoCAD.Application", false, false, false},
      {u"AUTOCA.Application", false, true, false},
      {u"ＧＣＡＤ.Application", false, true, false},  // full-width letters never match
      {u"ａｕｔｏｃａｄ.Application", false, true, false},
      {u"ＡＵＴＯＣＡＤ.Application", false, true, false},
      {u"GCAD-AutoCAD", true, false, false},
      {u"", false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.prog_id));
    EXPECT_EQ(ZoomsTwice(c.prog_id), c.zooms_twice);
    EXPECT_EQ(ParksCursorOnView(c.prog_id), c.parks_cursor);
    EXPECT_EQ(ExportsView(c.prog_id), c.exports_view);
  }
}

}  // namespace
}  // namespace plyscan
