#include "capture/rgb_text.h"

#include <gtest/gtest.h>

#include <string>

namespace plyscan {
namespace {

using namespace std::string_literals;

TEST(ParseRgbText, ReadsTheBackgroundField) {
  struct Case {
    Text text;
    Colour colour;
  } cases[] = {
      {u"33,40,48", 0x302821},
      {u" 33 , 40 , 48 ", 0x302821},
      {u"3 3,4 0,4 8", 0x302821},  // every space goes, even inside a number
      {u"33,40", 0},
      {u"", 0},
      {u"1,2,3,4", 0x030201},
      {u"300,-1,48", 0x30FF2C},
      {u"\"33\",40,48", 0x302821},
      {u"$FF,0,0", 0xFF},
      {u"0x10,x20,X30", 0x302010},
      {u"33;40;48", 0},
      {u"a,b,c", 0},
      {u"33,40,", 0x002821},
      {u"33\t40\t48", 0x302821},
      {u"\t\t33,\r\n40\x01,48\x1F", 0x302821},
      {u"33,,48", 0x300021},
      {u",40,48", 0x302800},
      {u"33,40,\t", 0},                 // a comma followed by controls adds no item
      {u"33\x3000,40,48", 0x302800},    // the full-width space stays and spoils the item
      {u"33,40,4\08"s, 0x042821},       // NUL ends the text
      {u"33,40\0,48"s, 0},
      {u"2147483648,40,48", 0x302800},  // beyond 32 bits counts as 0
      {u"-2147483648,1,1", 0x010100},
      {u"\"3,3\",40,48", 0x302800},     // a quoted comma belongs to the item
      {u"\"33\"40,48", 0x302821},       // after the closing quote a new item begins
      {u"33,40,\"48", 0x302821},        // an unclosed quote runs to the end
      {u"\uFF11,2,3", 0x030200},        // full-width digits are no digits
  };
  for (const auto& c : cases) EXPECT_EQ(ParseRgbText(c.text), c.colour) << ToUtf8(c.text);
}

TEST(SplitCommaText, FollowsQuotesControlsAndTheTrailingComma) {
  struct Case {
    Text text;
    std::vector<Text> items;
  } cases[] = {
      {u"", {}},
      {u"\t\r\n", {}},
      {u",", {u"", u""}},
      {u"a,", {u"a", u""}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"a\tb", {u"a", u"b"}},
      {u"a\t,\tb", {u"a", u"b"}},
      {u"a b", {u"a b"}},
      {u"\"\"", {u""}},
      {u"\"a\"\"b\",c", {u"a\"b", u"c"}},
      {u"\"a,b", {u"a,b"}},
      {u"\"a\"\"", {u"a\""}},
      {u"a\"b", {u"a\"b"}},
      {u"\"a\"b", {u"a", u"b"}},
      {u"a\0,b"s, {u"a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommaText(c.text), c.items) << ToUtf8(c.text);
}

}  // namespace
}  // namespace plyscan
