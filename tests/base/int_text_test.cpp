#include "base/int_text.h"

#include <gtest/gtest.h>

namespace plyscan {
namespace {

struct IntCase {
  Text text;
  std::int32_t expected;
};

TEST(ParseInt32, AcceptsSignsBlanksAndHexPrefixes) {
  const IntCase cases[] = {
      {u"768", 768},         {u"  -12", -12},      {u"+7", 7},          {u"$300", 768},
      {u"x1F", 31},          {u"X1f", 31},         {u"0x10", 16},       {u"-$10", -16},
      {u"2147483647", INT32_MAX},                  {u"-2147483648", INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt32(c.text, -99), c.expected) << ToUtf8(c.text);
}

TEST(ParseInt32, GivesTheDefaultForAnythingElse) {
  const Text bad[] = {u"",   u" ",   u"768px", u"12 ", u"1.5", u"$",         u"0x",          u"-",
                      u"abc", u"\t5", u"$G",   u"2147483648", u"-2147483649", u"$80000000", u"99999999999999999999"};
  for (const auto& t : bad) EXPECT_EQ(ParseInt32(t, -99), -99) << ToUtf8(t);
}

TEST(ParseProfileInt32, TreatsLeading0xAsHexOnlyBeyondTwoCharacters) {
  EXPECT_EQ(ParseProfileInt32(u"0x300", 5), 768);
  EXPECT_EQ(ParseProfileInt32(u"0X1a", 5), 26);
  EXPECT_EQ(ParseProfileInt32(u"0x", 5), 5);
  EXPECT_EQ(ParseProfileInt32(u"$300", 5), 768);
  EXPECT_EQ(ParseProfileInt32(u"768px", 5), 5);
  EXPECT_EQ(ParseProfileInt32(u"0x-1", 5), 5);  // the rest must be hex digits alone
}

}  // namespace
}  // namespace plyscan
