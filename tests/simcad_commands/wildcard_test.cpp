#include "simcad/commands/wildcard.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace simcad {
namespace {

struct WildcardCase {
  const char16_t* name;
  const char16_t* pattern;
  bool matches;
};

class WildcardTable : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTable, MatchesAsWcmatch) {
  const auto& c = GetParam();
  EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.matches)
      << plyscan::ToUtf8(c.name) << " against " << plyscan::ToUtf8(c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WildcardTable,
    ::testing::Values(
        // literal text, without regard to case
        WildcardCase{u"Walls", u"Walls", true}, WildcardCase{u"Walls", u"WALLS", true},
        WildcardCase{u"Walls", u"Wall", false}, WildcardCase{u"Wall", u"Walls", false},
        WildcardCase{u"\u00C9tage", u"\u00E9TAGE", true},
        // * any run, ? any one character
        WildcardCase{u"Walls", u"*", true}, WildcardCase{u"", u"*", true}, WildcardCase{u"Walls", u"W*s", true},
        WildcardCase{u"Walls", u"*a*l*", true}, WildcardCase{u"Walls", u"*x*", false},
        WildcardCase{u"Walls", u"W?lls", true}, WildcardCase{u"Wlls", u"W?lls", false},
        // # digit, @ letter, . neither
        WildcardCase{u"A1", u"A#", true}, WildcardCase{u"AB", u"A#", false}, WildcardCase{u"A#", u"A#", false},
        WildcardCase{u"AB", u"A@", true}, WildcardCase{u"A1", u"A@", false}, WildcardCase{u"A-", u"A.", true},
        WildcardCase{u"A.", u"A.", true}, WildcardCase{u"AB", u"A.", false}, WildcardCase{u"A1", u"A.", false},
        WildcardCase{u"\u58C1", u"@", true},
        // ~ at the start negates; elsewhere it is an ordinary character
        WildcardCase{u"Walls", u"~Doors", true}, WildcardCase{u"Doors", u"~Doors", false},
        WildcardCase{u"Doors", u"~D*", false}, WildcardCase{u"A~B", u"A~B", true},
        // classes, ranges, negated classes, a literal ] first
        WildcardCase{u"L3", u"L[1-5]", true}, WildcardCase{u"L7", u"L[1-5]", false},
        WildcardCase{u"Lb", u"L[ABC]", true}, WildcardCase{u"LB", u"L[a-c]", true},
        WildcardCase{u"L7", u"L[~1-5]", true}, WildcardCase{u"L3", u"L[~1-5]", false},
        WildcardCase{u"L]", u"L[]x]", true}, WildcardCase{u"L[", u"L[", true},
        // commas separate alternatives, each with its own ~
        WildcardCase{u"Doors", u"Walls,Doors", true}, WildcardCase{u"Notes", u"Walls,Doors", false},
        WildcardCase{u"Doors", u"Walls,~Doors", false}, WildcardCase{u"Notes", u"Walls,~Doors", true},
        // the reverse quote makes the next character literal
        WildcardCase{u"A#1", u"A`#1", true}, WildcardCase{u"A21", u"A`#1", false},
        WildcardCase{u"a,b", u"a`,b", true}, WildcardCase{u"*", u"`*", true}, WildcardCase{u"x", u"`*", false},
        WildcardCase{u"A~", u"A`~", true}, WildcardCase{u"~A", u"`~A", true},
        WildcardCase{u"L-", u"L[`-]", true}));

TEST(Wildcard, StarsDoNotBlowUp) {
  // A pattern that makes naive backtracking exponential.
  std::u16string name(2000, u'a');
  std::u16string pattern;
  for (int i = 0; i < 200; ++i) pattern += u"*a";
  pattern += u"*b";
  EXPECT_FALSE(WildcardMatch(name, pattern));
  name.back() = u'b';
  EXPECT_TRUE(WildcardMatch(name, pattern));
}

}  // namespace
}  // namespace simcad
