// The ANSI code page of this build: code page 932 (Japanese), as
// MultiByteToWideChar and WideCharToMultiByte treat it.
#include "base/ansi_codec.h"

#include <gtest/gtest.h>

#include "base/platform.h"

namespace plyscan {
namespace {

TEST(AnsiCodePage, DecodesCodePage932WithItsDefaultCharacter) {
  using namespace std::string_literals;
  const struct {
    const char* what;
    std::string bytes;
    Text text;
  } cases[] = {
      {"kanji", "\x93\xFA\x96\x7B", u"日本"},
      {"half-width katakana", "\xB1\xDF", u"ｱﾟ"},
      {"yen and overline stay ASCII", "\x5C\x7E", u"\\~"},
      {"NEC special", "\x87\x40", u"\u2460"},
      {"IBM extension", "\xFA\x40", u"\u2170"},
      {"user-defined area", "\xF0\x40", u"\uE000"},
      {"undefined pair", "\x85\x40", u"\u30FB"},
      {"lead byte takes any trail byte", "A\x81\nB", u"A\u30FBB"},
      {"lead byte at the end", "A\x81", u"A\u30FB"},
      {"lead byte before NUL", "\x81\0A"s, u"\u30FB\0A"s},
      {"single bytes outside the code page", "\x80\xA0\xFD\xFE\xFF", u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
  };
  for (const auto& c : cases) EXPECT_EQ(SystemAnsiCodec().Decode(c.bytes), c.text) << c.what;
}

TEST(AnsiCodePage, EncodesWithBestFitOrQuestionMark) {
  const struct {
    const char* what;
    Text text;
    std::string bytes;
  } cases[] = {
      {"kanji", u"日本", "\x93\xFA\x96\x7B"},
      {"default character", u"\u30FB", "\x81\x45"},
      {"duplicate codes pick JIS X 0208", u"\u2252\u2235\uFFE2", "\x81\xE0\x81\xE6\x81\xCA"},
      {"duplicate codes pick the IBM extension", u"\u2170\u7E8A", "\xFA\x40\xFA\x5C"},
      {"single bytes outside the code page", u"\u0080\uF8F0\uF8F3", "\x80\xA0\xFF"},
      {"best fit", u"\u00E9\u00A5\u00C5", "e\\A"},
      {"no such character", u"\u0E01\u4E02", "??"},
      {"surrogate pair", u"\U0001F600", "??"},
      {"lone surrogate", u"a\xD800" "b", "a?b"},
  };
  for (const auto& c : cases) EXPECT_EQ(SystemAnsiCodec().Encode(c.text), c.bytes) << c.what;
}

}  // namespace
}  // namespace plyscan
