#include "cadlink/automation.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/failure.h"

namespace plyscan::automation {
namespace {

TEST(Variant, NumbersConvertAsTheProgramUsesThem) {
  EXPECT_EQ(Variant::Bool(true).AsInt32(), -1);  // an automation Boolean is -1 / 0
  EXPECT_EQ(Variant::Bool(false).AsInt32(), 0);
  EXPECT_EQ(Variant::Int16(-7).AsInt32(), -7);
  EXPECT_EQ(Variant::Int64(123456).AsInt32(), 123456);
  EXPECT_EQ(Variant::Double(2.4).AsInt32(), 2);
  EXPECT_EQ(Variant::Double(2.6).AsInt32(), 3);
  EXPECT_EQ(Variant::Double(-2.6).AsInt32(), -3);
  EXPECT_EQ(Variant::Double(2.5).AsInt32(), 2);  // halves round to even
  EXPECT_EQ(Variant::Double(3.5).AsInt32(), 4);
  EXPECT_EQ(Variant::Double(-0.5).AsInt32(), 0);
  EXPECT_TRUE(Variant::Int32(-1).AsBool());
  EXPECT_TRUE(Variant::Double(0.5).AsBool());
  EXPECT_FALSE(Variant::Int16(0).AsBool());
  EXPECT_DOUBLE_EQ(Variant::Int32(-5).AsDouble(), -5.0);
}

TEST(Variant, WindowHandlesAreUnsigned64Bit) {
  EXPECT_EQ(Variant::Int32(0x1A2B3C).AsWindowHandle(), 0x1A2B3Cu);
  EXPECT_EQ(Variant::Int64(-1).AsWindowHandle(), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(Variant::UInt64(0xFFFF800012345678u).AsWindowHandle(), 0xFFFF800012345678u);
  EXPECT_THROW((void)Variant::Bool(true).AsWindowHandle(), AutomationFailure);
}

TEST(Variant, AValueOfTheWrongKindIsATypeMismatchNamingTheCall) {
  const Variant text = Variant::String(u"12");
  const Variant empty;
  struct Case {
    const char* what;
    void (*convert)(const Variant&);
  } cases[] = {
      {"AsInt32", [](const Variant& v) { (void)v.AsInt32(u"Count"); }},
      {"AsDouble", [](const Variant& v) { (void)v.AsDouble(u"Count"); }},
      {"AsBool", [](const Variant& v) { (void)v.AsBool(u"Count"); }},
      {"AsWindowHandle", [](const Variant& v) { (void)v.AsWindowHandle(u"Count"); }},
  };
  for (const auto& c : cases) {
    for (const Variant* v : {&text, &empty}) {
      SCOPED_TRACE(c.what);
      try {
        c.convert(*v);
        ADD_FAILURE() << "converted without a failure";
      } catch (const AutomationFailure& failure) {
        EXPECT_EQ(failure.HResult(), hr::kTypeMismatch);
        EXPECT_EQ(failure.Member(), u"Count");
      }
    }
  }
  EXPECT_THROW((void)Variant::Int32(1).AsText(), AutomationFailure);
  EXPECT_THROW((void)Variant::Double(3e10).AsInt32(), AutomationFailure);
  EXPECT_THROW((void)Variant::Int64(std::int64_t{1} << 40).AsInt32(), AutomationFailure);
}

}  // namespace
}  // namespace plyscan::automation
