#include "simcad/commands/lisp_reader.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace simcad::lisp {
namespace {

std::string Printed(std::u16string_view source) {
  const ReadResult r = ReadForms(source);
  if (!r.Ok()) return "error: " + plyscan::ToUtf8(r.error);
  std::string out;
  for (const auto& form : r.forms) out += (out.empty() ? "" : " | ") + plyscan::ToUtf8(Print(form));
  return out;
}

TEST(LispReader, ReadsAtomsListsAndSeveralForms) {
  EXPECT_EQ(Printed(u"(command \"-LAYER\" \"OF\" \"*\" \"\")(princ)\r"),
            "(COMMAND \"-LAYER\" \"OF\" \"*\" \"\") | (PRINC)");
  EXPECT_EQ(Printed(u"(setvar \"EXPERT\" 5) nil T t 1.5 -7 2147483648 'x ; comment\n(a)"),
            "(SETVAR \"EXPERT\" 5) | nil | T | T | 1.5 | -7 | 2.14748e+09 | (QUOTE X) | (A)");
  EXPECT_EQ(Printed(u"(if (layerstate-has \"PLYSCAN\")(layerstate-delete \"PLYSCAN\"))"),
            "(IF (LAYERSTATE-HAS \"PLYSCAN\") (LAYERSTATE-DELETE \"PLYSCAN\"))");
  EXPECT_EQ(Printed(u"()"), "nil");
}

TEST(LispReader, DecodesStringEscapes) {
  const ReadResult r = ReadForms(u"\"a\\\"b\\\\c\\nd\\re\\tf\\101\\0g\\q\"");
  ASSERT_TRUE(r.Ok()) << plyscan::ToUtf8(r.error);
  ASSERT_EQ(r.forms.size(), 1u);
  EXPECT_EQ(r.forms[0].text, std::u16string(u"a\"b\\c\nd\re\tfA") + u'\0' + u"gq");
}

TEST(LispReader, ReportsIncompleteInputAndReadsNothing) {
  for (const char16_t* bad : {u"(command \"-LAYER\"", u"(princ))", u")", u"(a \"open string)", u"\"x\\"}) {
    const ReadResult r = ReadForms(bad);
    EXPECT_FALSE(r.Ok()) << plyscan::ToUtf8(bad);
    EXPECT_TRUE(r.forms.empty());
  }
}

TEST(LispReader, BoundsNesting) {
  std::u16string deep(kMaxNesting - 1, u'(');
  deep += std::u16string(kMaxNesting - 1, u')');
  EXPECT_TRUE(ReadForms(deep).Ok());
  std::u16string too_deep(100000, u'(');
  too_deep += std::u16string(100000, u')');
  EXPECT_FALSE(ReadForms(too_deep).Ok());
  EXPECT_FALSE(ReadForms(std::u16string(100000, u'\'') + u"x").Ok());
}

}  // namespace
}  // namespace simcad::lisp
