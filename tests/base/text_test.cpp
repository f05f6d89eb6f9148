#include "base/text.h"

#include <gtest/gtest.h>

namespace plyscan {
namespace {

TEST(Utf8, RoundTripsJapaneseAndAstralCharacters) {
  const Text text = u"画層 \U0001F600 ΛΑΓΕΡ";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
  struct Case { std::string bytes; Text expected; };
  const Case cases[] = {
      {"a\xFF" "b", u"a\uFFFD" "b"},
      {"\xE7\x94", u"\uFFFD"},             // truncated three-byte sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},       // overlong: lead byte refused
      {"\xED\xA0\x80", u"\uFFFD"},         // encoded surrogate
      {std::string("x\0y", 3), Text(u"x\0y", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.bytes), c.expected) << c.bytes;
}

TEST(Utf8, LoneSurrogateIsWrittenAsReplacementCharacter) {
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Utf16Bytes, BothByteOrdersRoundTripAndALoneLastByteIsDropped) {
  const Text text = u"画A\U0001F600";
  for (const bool big_endian : {false, true}) {
    const std::string bytes = ToUtf16Bytes(text, big_endian);
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(2, 2), big_endian ? std::string("\0A", 2) : std::string("A\0", 2));
    EXPECT_EQ(FromUtf16Bytes(bytes, big_endian), text);
    EXPECT_EQ(FromUtf16Bytes(bytes + "x", big_endian), text);
  }
}

TEST(AsciiUpper, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper(u"gcad-ｇｃａｄ-é-z"), u"GCAD-ｇｃａｄ-é-Z");
}

TEST(Pos, IsOneBasedAndZeroWhenAbsent) {
  EXPECT_EQ(Pos(u"CAD", u"GCAD"), 2u);
  EXPECT_EQ(Pos(u"AUTOCAD", u"AUTOCAD.APPLICATION"), 1u);
  EXPECT_EQ(Pos(u"X", u"abc"), 0u);
  EXPECT_EQ(Pos(u"", u"abc"), 0u);
}

TEST(Format, FillsPlaceholdersInOrder) {
  EXPECT_EQ(Format(u"ファイル %s は開けません。 %s ", {u"C:\\a.txt", u"拒否"}), u"ファイル C:\\a.txt は開けません。 拒否 ");
  EXPECT_EQ(Format(u"(%d)", {DecimalText(-1)}), u"(-1)");
  EXPECT_EQ(Format(u"%s and %s", {u"one"}), u"one and %s");
}

}  // namespace
}  // namespace plyscan
