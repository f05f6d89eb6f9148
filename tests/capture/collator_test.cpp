// The user locale's comparison as this build provides it (CompareStringW on
// Windows, the case-folding stand-in elsewhere): only cases on which both agree.
#include "base/collation.h"

#include <gtest/gtest.h>

#include "base/platform.h"

namespace plyscan {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(UserCollator, IgnoresLetterCaseInEveryScriptOfLayerNames) {
  const std::pair<Text, Text> same[] = {
      {u"LAYER", u"layer"},        {u"Wände", u"WÄNDE"},   {u"ŁÓDŹ", u"łódź"},
      {u"ΑΞΩ", u"αξω"},            {u"ΆΈΌ", u"άέό"},       {u"ЖЁЛТ", u"жёлт"},
      {u"ＡＢＣ", u"ａｂｃ"},      {u"", u""},             {u"壁-01", u"壁-01"},
  };
  const Collator& collator = UserCollator();
  for (const auto& [a, b] : same) {
    EXPECT_EQ(collator.Compare(a, b), 0) << ToUtf8(a) << " / " << ToUtf8(b);
    EXPECT_EQ(collator.Compare(b, a), 0) << ToUtf8(b) << " / " << ToUtf8(a);
  }
}

TEST(UserCollator, OrdersLettersRegardlessOfCaseAndDigitsAsCharacters) {
  struct Case {
    Text a, b;
    int sign;
  } cases[] = {
      {u"Alpha", u"alpha2", -1}, {u"alpha2", u"beta", -1}, {u"a", u"B", -1},     {u"B", u"a", 1},
      {u"Layer10", u"Layer9", -1}, {u"abc", u"ABCD", -1}, {u"", u"a", -1},       {u"0", u"9", -1},
      {u"9", u"a", -1},          {u"Ω", u"α", 1},           {u"Я", u"а", 1},       {u"ｂ", u"Ａ", 1},
  };
  const Collator& collator = UserCollator();
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(collator.Compare(c.a, c.b)), c.sign) << ToUtf8(c.a) << " / " << ToUtf8(c.b);
    EXPECT_EQ(Sign(collator.Compare(c.b, c.a)), -c.sign) << ToUtf8(c.b) << " / " << ToUtf8(c.a);
  }
}

}  // namespace
}  // namespace plyscan
