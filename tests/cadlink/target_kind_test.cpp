#include "cadlink/target_kind.h"

#include <gtest/gtest.h>

namespace plyscan {
namespace {

TEST(TargetKind, ReadsTheUpperCasedProgId) {
  struct Case {
    Text prog_id;
    bool gcad, autocad, autocad_prefixed;
  } cases[] = {
      {u"BricscadApp.AcadApplication", false, false, false},  // the default target
      {u"GCAD.Application", true, false, false},
      {u"gcad.application", true, false, false},
      {u"Vendor.gCad.Application.1", true, false, false},
      {u"AutoCAD.Application", false, true, true},
      {u"autocad.application.24", false, true, true},
      {u"Vendor.AutoCAD.Application", false, true, false},
      {u"AUTOCA.Application", false, false, false},
      {u"ＧＣＡＤ.Application", false, false, false},  // full-width letters never match
      {u"ａｕｔｏｃａｄ.Application", false, false, false},
      {u"ＡＵＴＯＣＡＤ.Application", false, false, false},
      {u"GCAD-AutoCAD", true, true, false},
      {u"", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.prog_id));
    EXPECT_EQ(IsGcadTarget(c.prog_id), c.gcad);
    EXPECT_EQ(IsAutocadTarget(c.prog_id), c.autocad);
    EXPECT_EQ(IsAutocadPrefixedTarget(c.prog_id), c.autocad_prefixed);
  }
}

}  // namespace
}  // namespace plyscan
