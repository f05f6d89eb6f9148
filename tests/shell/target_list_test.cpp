#include "shell/target_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "base/failure.h"
#include "base/platform.h"
#include "support/temp_dir.h"

namespace plyscan {
namespace {

using testing::TempDir;
using Lines = std::vector<Text>;

std::string Utf16(std::u16string_view text, bool big_endian) {
  std::string out;
  for (const char16_t c : text) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    out.push_back(big_endian ? high : low);
    out.push_back(big_endian ? low : high);
  }
  return out;
}

TEST(TargetListDecoding, ByteOrderMarksLineBreaksAndTheAnsiCodePage) {
  using namespace std::string_literals;
  const struct {
    const char* what;
    std::string bytes;
    Lines lines;
    ListEncoding encoding;
  } cases[] = {
      {"empty file", "", {}, ListEncoding::kAnsi},
      {"last line without break", "CAD A\tX.App", {u"CAD A\tX.App"}, ListEncoding::kAnsi},
      {"CR LF, break at the end", "a\r\nb\r\n", {u"a", u"b"}, ListEncoding::kAnsi},
      {"CR, LF and CR LF mixed", "a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}, ListEncoding::kAnsi},
      {"empty lines in between", "a\n\n\r\n\rb\n", {u"a", u"", u"", u"", u"b"}, ListEncoding::kAnsi},
      {"LF CR is two breaks", "a\n\rb", {u"a", u"", u"b"}, ListEncoding::kAnsi},
      {"a lone break", "\r\n", {u""}, ListEncoding::kAnsi},
      {"NUL kept", "a\0b\n"s, {u"a\0b"s}, ListEncoding::kAnsi},
      {"code page 932", "\x93\xFA\x96\x7B CAD\tJ.App\r\n\xB1\tK", {u"日本 CAD\tJ.App", u"ｱ\tK"}, ListEncoding::kAnsi},
      {"UTF-8", "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\tJ.App\r\n", {u"日本\tJ.App"}, ListEncoding::kUtf8},
      {"UTF-8 mark only", "\xEF\xBB\xBF", {}, ListEncoding::kUtf8},
      {"invalid UTF-8", "\xEF\xBB\xBF" "a\xFF" "b", {u"a\uFFFDb"}, ListEncoding::kUtf8},
      {"UTF-16 LE", "\xFF\xFE" + Utf16(u"日本\tJ\r\nx", false), {u"日本\tJ", u"x"}, ListEncoding::kUtf16Le},
      {"UTF-16 BE", "\xFE\xFF" + Utf16(u"日本\tJ\rx\r\n", true), {u"日本\tJ", u"x"}, ListEncoding::kUtf16Be},
      {"UTF-16 odd byte count", "\xFF\xFE" + Utf16(u"ab\nc", false) + "d", {u"ab", u"c"}, ListEncoding::kUtf16Le},
      {"UTF-16 mark and one byte", "\xFF\xFE" "a", {}, ListEncoding::kUtf16Le},
  };
  for (const auto& c : cases) {
    const DecodedList list = DecodeTargetList(c.bytes, SystemAnsiCodec());
    EXPECT_EQ(list.lines, c.lines) << c.what;
    EXPECT_EQ(list.encoding, c.encoding) << c.what;
  }
}

TEST(TargetListDecoding, HandlesLargeInputs) {
  const DecodedList breaks = DecodeTargetList(std::string(1 << 20, '\r'), SystemAnsiCodec());
  EXPECT_EQ(breaks.lines.size(), std::size_t{1} << 20);
  const DecodedList one_line = DecodeTargetList("\xFF\xFE" + std::string(8 << 20, 'a'), SystemAnsiCodec());
  ASSERT_EQ(one_line.lines.size(), 1u);
  EXPECT_EQ(one_line.lines[0].size(), std::size_t{4} << 20);
  EXPECT_EQ(one_line.lines[0].find_first_not_of(u'\u6161'), Text::npos);
}

TEST(TargetListEncoding, EveryEntryEndsInCrLfAfterTheMark) {
  const Lines lines = {u"日本\tJ", u""};
  const struct {
    ListEncoding encoding;
    std::string bytes;
  } cases[] = {
      {ListEncoding::kAnsi, "\x93\xFA\x96\x7B\tJ\r\n\r\n"},
      {ListEncoding::kUtf8, "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\tJ\r\n\r\n"},
      {ListEncoding::kUtf16Le, "\xFF\xFE" + Utf16(u"日本\tJ\r\n\r\n", false)},
      {ListEncoding::kUtf16Be, "\xFE\xFF" + Utf16(u"日本\tJ\r\n\r\n", true)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeTargetList(lines, c.encoding, SystemAnsiCodec()), c.bytes) << static_cast<int>(c.encoding);
    EXPECT_EQ(EncodeTargetList({}, c.encoding, SystemAnsiCodec()), "") << static_cast<int>(c.encoding);
  }
}

TEST(TargetListFile, SavesAndLoadsInEachEncoding) {
  TempDir dir;
  const Lines lines = {u"CAD A\tX.Application.24", u"日本語 CAD\tJ.Application", u"", u"no tab", u"a\tb\tc"};
  for (const ListEncoding encoding :
       {ListEncoding::kAnsi, ListEncoding::kUtf8, ListEncoding::kUtf16Le, ListEncoding::kUtf16Be}) {
    const Text path = dir.PathOf("TargetCAD_APIVersion.txt");
    SaveTargetList(SystemFiles(), SystemAnsiCodec(), path, lines, encoding);
    const DecodedList loaded = LoadTargetList(SystemFiles(), SystemAnsiCodec(), path);
    EXPECT_EQ(loaded.lines, lines) << static_cast<int>(encoding);
    EXPECT_EQ(loaded.encoding, encoding);
  }
}

TEST(TargetListFile, TheDialogSavesInTheEncodingItLastLoaded) {
  TempDir dir;
  dir.Write("utf8.txt", "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\tJ.App\n");
  TargetListStore store(SystemFiles(), SystemAnsiCodec());
  EXPECT_EQ(store.Encoding(), ListEncoding::kAnsi);
  Lines lines = store.Load(dir.PathOf("utf8.txt"));
  EXPECT_EQ(store.Encoding(), ListEncoding::kUtf8);
  lines.push_back(u"ｶﾅ\tK.App");
  store.Save(dir.PathOf("utf8.txt"), lines);
  EXPECT_EQ(dir.Read("utf8.txt"), "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\tJ.App\r\n\xEF\xBD\xB6\xEF\xBE\x85\tK.App\r\n");

  TargetListStore fresh(SystemFiles(), SystemAnsiCodec());
  fresh.Save(dir.PathOf("ansi.txt"), {u"日本\tJ.App"});
  EXPECT_EQ(dir.Read("ansi.txt"), "\x93\xFA\x96\x7B\tJ.App\r\n");
}

// A file system whose every call fails with one error text.
class FailingFiles final : public FileSystem {
 public:
  bool Exists(const Text&) override { return true; }
  FileResult ReadAll(const Text&, std::string&) override { return {false, u"E-read"}; }
  FileResult WriteAll(const Text&, const std::string&) override { return {false, u"E-write"}; }
  FileResult Remove(const Text&) override { return {false, u"E-remove"}; }
};

Text MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& f) {
    return f.Message();
  }
  return u"<no failure>";
}

TEST(TargetListFile, FailuresNameTheFileAndTheSystemsReason) {
  FailingFiles failing;
  EXPECT_EQ(MessageOf([&] { LoadTargetList(failing, SystemAnsiCodec(), u"C:\\t\\list.txt"); }),
            u"ファイル C:\\t\\list.txt は開けません。 E-read ");
  EXPECT_EQ(MessageOf([&] { SaveTargetList(failing, SystemAnsiCodec(), u"C:\\t\\list.txt", {}, ListEncoding::kAnsi); }),
            u"ファイル \"C:\\t\\list.txt\" を作成できません。E-write");

  // The real reason, as this system words it.
  TempDir dir;
  const Text path = dir.PathOf("missing/TargetCAD_APIVersion.txt");
  std::string ignored;
  const FileResult read = SystemFiles().ReadAll(path, ignored);
  const FileResult written = SystemFiles().WriteAll(path, "x");
  ASSERT_FALSE(read.ok);
  ASSERT_FALSE(written.ok);
  EXPECT_FALSE(read.error.empty());
  EXPECT_NE(read.error.back(), u'\n');
  EXPECT_EQ(MessageOf([&] { LoadTargetList(SystemFiles(), SystemAnsiCodec(), path); }),
            u"ファイル " + path + u" は開けません。 " + read.error + u" ");
  EXPECT_EQ(MessageOf([&] { SaveTargetList(SystemFiles(), SystemAnsiCodec(), path, {u"a"}, ListEncoding::kUtf8); }),
            u"ファイル \"" + path + u"\" を作成できません。" + written.error);
}

TEST(TargetListMatching, ATabFollowedByTheProgIdAnywhereInTheEntry) {
  const struct {
    Text entry, prog_id;
    bool matches;
  } cases[] = {
      {u"CAD A\tX.Application.24", u"X.Application", true},
      {u"CAD A\tX.Application.24", u"X.Application.2", true},
      {u"CAD A\tX.Application.24", u"X.Application.24", true},
      {u"CAD A\tX.Application.24", u"x.application", false},
      {u"CAD A\tX.Application.24", u"Application", false},
      {u"X.Application", u"X.Application", false},  // no TAB
      {u"A\tB\tX.App", u"X.App", true},
      {u"A\t", u"", true},
      {u"", u"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EntryMatches(c.entry, c.prog_id), c.matches) << ToUtf8(c.entry) << " / " << ToUtf8(c.prog_id);
}

TEST(TargetListMatching, TheFirstMatchingLineNamesTheTarget) {
  const Lines lines = {u"no tab X.App", u"Vendor CAD 24\tVendor.Application.24", u"CAD B\tX.App",
                       u"CAD A\tX.App.2", u"One\tTwo\tX.App.3"};
  EXPECT_EQ(StartupTargetName(lines, u"Vendor.Application"), u"Vendor CAD 24");
  EXPECT_EQ(StartupTargetName(lines, u"X.App"), u"CAD B");
  EXPECT_EQ(StartupTargetName(lines, u"X.App.3"), u"One\tTwo");  // the text before the TAB that precedes it
  EXPECT_EQ(StartupTargetName(lines, u"Two"), u"One");
  EXPECT_EQ(StartupTargetName(lines, u"BricscadApp.AcadApplication"), std::nullopt);
  EXPECT_EQ(StartupTargetName({}, u"X.App"), std::nullopt);
  EXPECT_EQ(FindEntry(lines, u"X.App"), 2u);
  EXPECT_EQ(FindEntry(lines, u"x.app"), std::nullopt);
}

TEST(TargetListMatching, TheDialogSplitsAtTheFirstTab) {
  const struct {
    Text entry, name, prog_id;
  } cases[] = {
      {u"CAD A\tX.App", u"CAD A", u"X.App"}, {u"\tX.App", u"", u"X.App"}, {u"CAD A\t", u"CAD A", u""},
      {u"no tab", u"", u"no tab"},           {u"One\tTwo\tX", u"One", u"Two\tX"}, {u"", u"", u""},
      {u"\t", u"", u""},
  };
  for (const auto& c : cases) {
    const EntryFields fields = SplitEntry(c.entry);
    EXPECT_EQ(fields.name, c.name) << ToUtf8(c.entry);
    EXPECT_EQ(fields.prog_id, c.prog_id) << ToUtf8(c.entry);
  }
  EXPECT_EQ(JoinEntry(u"", u""), u"\t");
  EXPECT_EQ(SplitEntry(JoinEntry(u"CAD", u"X\tY")).prog_id, u"X\tY");
}

}  // namespace
}  // namespace plyscan
