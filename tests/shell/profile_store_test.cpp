// The conventions of the private-profile functions that the settings rely on,
// checked against this build's profile store.
#include "shell/profile_store.h"

#include <gtest/gtest.h>

#include "base/platform.h"
#include "support/temp_dir.h"

namespace plyscan {
namespace {

using testing::TempDir;

std::string Utf16Le(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (const char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

class ProfileFile : public ::testing::Test {
 protected:
  ProfileStore& store_ = SystemProfileStore();
  TempDir dir_;
};

TEST_F(ProfileFile, ReadsValuesTrimmedAndUnquotedWithNamesMatchedIgnoringCase) {
  dir_.Write("read.ini",
             "[Main]\r\n  Spaced =  v w  \r\nDq=\"quoted\"\r\nSq='single'\r\nHalf=\"open\r\nEmpty=\r\n"
             "Eq=a=b\r\n[Other]\r\nK=other\r\n");
  const Text path = dir_.PathOf("read.ini");
  const struct {
    Text section, key;
    std::optional<Text> expected;
  } cases[] = {
      {u"Main", u"Spaced", u"v w"},  {u"main", u"SPACED", u"v w"}, {u"Main", u"Dq", u"quoted"},
      {u"Main", u"Sq", u"single"},   {u"Main", u"Half", u"\"open"}, {u"Main", u"Empty", u""},
      {u"Main", u"Eq", u"a=b"},      {u"Main", u"K", std::nullopt}, {u"Other", u"K", u"other"},
      {u"Missing", u"K", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(store_.Read(path, c.section, c.key), c.expected) << ToUtf8(c.section) << "/" << ToUtf8(c.key);
  EXPECT_EQ(store_.Read(dir_.PathOf("absent.ini"), u"Main", u"K"), std::nullopt);
}

TEST_F(ProfileFile, ReplacesInPlaceAndAppendsNewKeysAndSections) {
  dir_.Write("edit.ini", "[A]\r\nk=1\r\nm=2\r\n[B]\r\nk=3\r\n");
  const Text path = dir_.PathOf("edit.ini");
  ASSERT_TRUE(store_.Write(path, u"a", u"K", u"9"));
  EXPECT_EQ(dir_.Read("edit.ini"), "[A]\r\nk=9\r\nm=2\r\n[B]\r\nk=3\r\n");
  ASSERT_TRUE(store_.Write(path, u"A", u"n", u"4"));
  EXPECT_EQ(dir_.Read("edit.ini"), "[A]\r\nk=9\r\nm=2\r\nn=4\r\n[B]\r\nk=3\r\n");
  ASSERT_TRUE(store_.Write(path, u"C", u"p", u" 5 "));
  EXPECT_EQ(dir_.Read("edit.ini"), "[A]\r\nk=9\r\nm=2\r\nn=4\r\n[B]\r\nk=3\r\n[C]\r\np=5 \r\n");
  EXPECT_EQ(store_.Read(path, u"C", u"p"), u"5");
}

TEST_F(ProfileFile, AFileWithoutFinalLineBreakGetsOne) {
  dir_.Write("open-end.ini", "[A]\r\na=1");
  ASSERT_TRUE(store_.Write(dir_.PathOf("open-end.ini"), u"A", u"b", u"2"));
  EXPECT_EQ(dir_.Read("open-end.ini"), "[A]\r\na=1\r\nb=2\r\n");
}

TEST_F(ProfileFile, AUtf16FileStaysUtf16) {
  dir_.Write("wide.ini", Utf16Le(u"[A]\r\na=1\r\n"));
  const Text path = dir_.PathOf("wide.ini");
  ASSERT_TRUE(store_.Write(path, u"A", u"b", u"日本"));
  EXPECT_EQ(dir_.Read("wide.ini"), Utf16Le(u"[A]\r\na=1\r\nb=日本\r\n"));
  EXPECT_EQ(store_.Read(path, u"A", u"b"), u"日本");
}

TEST_F(ProfileFile, AnUnwritablePlaceIsRefused) {
  EXPECT_FALSE(store_.Write(dir_.PathOf("missing/x.ini"), u"A", u"k", u"v"));
}

}  // namespace
}  // namespace plyscan
