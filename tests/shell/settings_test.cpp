#include "shell/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "base/platform.h"
#include "support/temp_dir.h"

namespace plyscan {
namespace {

using testing::TempDir;

// A settings file in a fresh folder, read and written through this build's
// profile functions. Every case uses a file of its own name.
class SettingsFile : public ::testing::Test {
 protected:
  Settings Open(std::string_view name) { return Settings(SystemProfileStore(), dir_.PathOf(name)); }
  Settings WithContent(std::string_view name, const std::string& bytes) {
    dir_.Write(name, bytes);
    return Open(name);
  }

  TempDir dir_;
};

// Records the calls; a write fails once `fail_at` writes have succeeded.
class RecordingStore final : public ProfileStore {
 public:
  std::optional<Text> Read(const Text&, TextView section, TextView key) override {
    calls.push_back(Text(section) + u"/" + Text(key));
    return std::nullopt;
  }
  bool Write(const Text&, TextView section, TextView key, TextView value) override {
    if (calls.size() == fail_at) return false;
    calls.push_back(Text(section) + u"/" + Text(key) + u"=" + Text(value));
    return true;
  }
  std::vector<Text> calls;
  std::size_t fail_at = static_cast<std::size_t>(-1);
};

TEST(SettingsPaths, ReplaceTheFileNamesExtensionOnly) {
  const struct {
    Text exe, ini, list;
  } cases[] = {
      {u"C:\\Tools\\scan.exe", u"C:\\Tools\\scan.ini", u"C:\\Tools\\TargetCAD_APIVersion.txt"},
      {u"C:\\my.tools\\scan", u"C:\\my.tools\\scan.ini", u"C:\\my.tools\\TargetCAD_APIVersion.txt"},
      {u"C:\\Tools\\plyscan.v2.exe", u"C:\\Tools\\plyscan.v2.ini", u"C:\\Tools\\TargetCAD_APIVersion.txt"},
      {u"/opt/a.b/plyscan", u"/opt/a.b/plyscan.ini", u"/opt/a.b/TargetCAD_APIVersion.txt"},
      {u"scan.", u"scan.ini", u"TargetCAD_APIVersion.txt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsPathFor(c.exe), c.ini) << ToUtf8(c.exe);
    EXPECT_EQ(TargetListPathFor(c.exe), c.list) << ToUtf8(c.exe);
  }
}

TEST_F(SettingsFile, ReadsIntegersAsTheProfileReaderDoes) {
  const struct {
    std::string stored;
    std::int32_t expected;
  } cases[] = {
      {"0x300", 768}, {"$300", 768},        {"768px", 681},      {"", 681},  {"  -12  ", -12},
      {"0X1a", 26},   {"2147483648", 681},  {"-2147483648", INT32_MIN},    {"0x", 681},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = "int" + std::to_string(n++) + ".ini";
    const Settings s = WithContent(name, "[PLYSCAN]\r\nWidth=" + c.stored + "\r\n");
    EXPECT_EQ(s.ReadInteger(kMainSection, u"Width", 681), c.expected) << c.stored;
  }
}

TEST_F(SettingsFile, ReadsBooleansAsIntegersWithTheirDefault) {
  const struct {
    std::string stored;
    bool fallback, expected;
  } cases[] = {
      {"Mono=1", false, true}, {"Mono=2", false, true}, {"Mono=-1", false, true}, {"Mono=0", true, false},
      {"Mono=yes", false, false}, {"Mono=yes", true, true}, {"Mono=", false, false}, {"Other=1", false, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = "bool" + std::to_string(n++) + ".ini";
    const Settings s = WithContent(name, "[PLYSCAN]\r\n" + c.stored + "\r\n");
    EXPECT_EQ(s.ReadBool(kMainSection, u"Mono", c.fallback), c.expected) << c.stored << " default " << c.fallback;
  }
}

TEST_F(SettingsFile, NoFileGivesEveryDefaultAndACentredWindow) {
  const Settings s = Open("absent.ini");
  const WindowPlacement b = ReadWindowPlacement(s, {681, 362}, {1600, 1200});
  EXPECT_EQ(b.size.width, 681);
  EXPECT_EQ(b.size.height, 362);
  EXPECT_EQ(b.corner.x, (1600 - 681) / 2);
  EXPECT_EQ(b.corner.y, (1200 - 362) / 2);
  const WindowOptions o = ReadWindowOptions(s, u"33,40,48", kDefaultProgID);
  EXPECT_EQ(o.background, u"33,40,48");
  EXPECT_FALSE(o.mono);
  EXPECT_FALSE(o.zoom_extents);
  EXPECT_FALSE(o.fit_layer);
  EXPECT_EQ(o.target_prog_id, kDefaultProgID);
}

TEST_F(SettingsFile, FitLayerIsABooleanAndAnOlderFileWithoutItReadsAsUnticked) {
  const struct {
    const char* content;
    bool fit;
  } cases[] = {
      {"[PLYSCAN]\r\nMono=1\r\nZoomExt=1\r\n", false},  // an older file
      {"[PLYSCAN]\r\nZoomExt=0\r\nFitLayer=1\r\n", true},
      {"[PLYSCAN]\r\nFitLayer=0\r\n", false},
      {"[PLYSCAN]\r\nFitLayer=-1\r\n", true},
      {"[Other]\r\nFitLayer=1\r\n", false},  // another section's key
  };
  int n = 0;
  for (const auto& c : cases) {
    const Settings s = WithContent("fit" + std::to_string(n++) + ".ini", c.content);
    EXPECT_EQ(ReadWindowOptions(s, u"", u"").fit_layer, c.fit) << c.content;
  }
}

TEST_F(SettingsFile, CentresWithTheSizeJustReadTruncatingTowardZero) {
  const Settings s = WithContent("wide.ini", "[PLYSCAN]\r\nWidth=2001\r\nHeight=0x100\r\n");
  const WindowPlacement b = ReadWindowPlacement(s, {681, 362}, {1600, 1200});
  EXPECT_EQ(b.size.width, 2001);
  EXPECT_EQ(b.size.height, 256);
  EXPECT_EQ(b.corner.x, -200);  // -401 div 2
  EXPECT_EQ(b.corner.y, 472);
}

TEST_F(SettingsFile, TextValuesComeBackUnvalidatedAndEmptyIsAValue) {
  const Settings s = WithContent("text.ini", "[PLYSCAN]\r\nBkgColor=abc\r\nMono=1\r\n");
  const WindowOptions o = ReadWindowOptions(s, u"33,40,48", kDefaultProgID);
  EXPECT_EQ(o.background, u"abc");
  EXPECT_TRUE(o.mono);
  EXPECT_EQ(o.target_prog_id, kDefaultProgID);  // no section "Target"

  const Settings empty = WithContent("empty.ini", "[PLYSCAN]\r\nBkgColor=\r\n[Target]\r\nProgID=\r\n");
  const WindowOptions e = ReadWindowOptions(empty, u"33,40,48", kDefaultProgID);
  EXPECT_EQ(e.background, u"");
  EXPECT_EQ(e.target_prog_id, u"");
}

TEST(SettingsOrder, ReadsAndWritesInTheFixedOrder) {
  RecordingStore store;
  Settings s(store, u"x.ini");
  ReadWindowPlacement(s, {1, 1}, {1, 1});
  ReadWindowOptions(s, u"", u"");
  const std::vector<Text> reads = {u"PLYSCAN/Width",   u"PLYSCAN/Height",   u"PLYSCAN/Left",
                                   u"PLYSCAN/Top",     u"PLYSCAN/BkgColor", u"PLYSCAN/Mono",
                                   u"PLYSCAN/ZoomExt", u"PLYSCAN/FitLayer", u"Target/ProgID"};
  EXPECT_EQ(store.calls, reads);

  store.calls.clear();
  WriteWindowSettings(s, {{-8, 10}, {681, 362}}, {u"1,2,3", true, false, u"X.App", true});
  const std::vector<Text> writes = {u"PLYSCAN/Width=681", u"PLYSCAN/Height=362",  u"PLYSCAN/Left=-8",
                                    u"PLYSCAN/Top=10",    u"Target/ProgID=X.App", u"PLYSCAN/BkgColor=1,2,3",
                                    u"PLYSCAN/Mono=1",    u"PLYSCAN/ZoomExt=0",   u"PLYSCAN/FitLayer=1"};
  EXPECT_EQ(store.calls, writes);
}

TEST(SettingsOrder, StopsAtTheFirstValueThatCannotBeWritten) {
  RecordingStore store;
  store.fail_at = 2;
  Settings s(store, u"C:\\ro\\scan.ini");
  try {
    WriteWindowSettings(s, {{0, 0}, {1, 1}}, {});
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.Message(), u"C:\\ro\\scan.ini に書き込めません");
  }
  EXPECT_EQ(store.calls, (std::vector<Text>{u"PLYSCAN/Width=1", u"PLYSCAN/Height=1"}));
}

TEST_F(SettingsFile, AFreshFileHoldsBothSectionsInWritingOrder) {
  Settings s = Open("fresh.ini");
  WriteWindowSettings(s, {{-8, 10}, {681, 362}}, {u"33,40,48", true, false, kDefaultProgID});
  EXPECT_EQ(dir_.Read("fresh.ini"),
            "[PLYSCAN]\r\nWidth=681\r\nHeight=362\r\nLeft=-8\r\nTop=10\r\nBkgColor=33,40,48\r\nMono=1\r\n"
            "ZoomExt=0\r\nFitLayer=0\r\n[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");

  // Written again: the values change in place, and read back as written.
  WriteWindowSettings(s, {{5, -3}, {700, 400}}, {u"abc", false, true, u"X.App", true});
  EXPECT_EQ(dir_.Read("fresh.ini"),
            "[PLYSCAN]\r\nWidth=700\r\nHeight=400\r\nLeft=5\r\nTop=-3\r\nBkgColor=abc\r\nMono=0\r\n"
            "ZoomExt=1\r\nFitLayer=1\r\n[Target]\r\nProgID=X.App\r\n");
  const WindowPlacement b = ReadWindowPlacement(s, {1, 1}, {1, 1});
  EXPECT_EQ(b.corner.x, 5);
  EXPECT_EQ(b.corner.y, -3);
  EXPECT_EQ(b.size.width, 700);
  EXPECT_EQ(b.size.height, 400);
  const WindowOptions o = ReadWindowOptions(s, u"", u"");
  EXPECT_EQ(o.background, u"abc");
  EXPECT_FALSE(o.mono);
  EXPECT_TRUE(o.zoom_extents);
  EXPECT_TRUE(o.fit_layer);
  EXPECT_EQ(o.target_prog_id, u"X.App");
}

TEST_F(SettingsFile, KeepsForeignContentAndAddsMissingKeysToTheirSection) {
  Settings s = WithContent("mixed.ini", "[Other]\r\nx=1\r\n[PLYSCAN]\r\nMono=0\r\n");
  WriteWindowSettings(s, {{1, 2}, {3, 4}}, {u"9,9,9", true, true, u"P"});
  EXPECT_EQ(dir_.Read("mixed.ini"),
            "[Other]\r\nx=1\r\n[PLYSCAN]\r\nMono=1\r\nWidth=3\r\nHeight=4\r\nLeft=1\r\nTop=2\r\nBkgColor=9,9,9\r\n"
            "ZoomExt=1\r\nFitLayer=0\r\n[Target]\r\nProgID=P\r\n");
}

TEST_F(SettingsFile, WritesTextInTheAnsiCodePage) {
  Settings s = Open("ansi.ini");
  s.WriteText(kMainSection, u"BkgColor", u"日本");
  EXPECT_EQ(dir_.Read("ansi.ini"), "[PLYSCAN]\r\nBkgColor=\x93\xFA\x96\x7B\r\n");
  EXPECT_EQ(s.ReadText(kMainSection, u"BkgColor", u""), u"日本");
}

TEST_F(SettingsFile, CutsATextValueAt2047Characters) {
  Text long_value;
  for (int i = 0; i < 3000; ++i) long_value.push_back(static_cast<char16_t>(u'a' + i % 26));
  Settings s = Open("long.ini");
  s.WriteText(kTargetSection, u"ProgID", long_value);
  const Text read = s.ReadText(kTargetSection, u"ProgID", u"");
  EXPECT_EQ(read, long_value.substr(0, 2047));
  EXPECT_EQ(SystemProfileStore().Read(s.Path(), kTargetSection, u"ProgID"), long_value.substr(0, 2047));
}

TEST_F(SettingsFile, AnUnwritablePlaceRaisesTheMessageWithTheFullPath) {
  const Text path = dir_.PathOf("no-such-folder/scan.ini");
  Settings s(SystemProfileStore(), path);
  try {
    WriteWindowSettings(s, {{0, 0}, {681, 362}}, {u"33,40,48", false, false, kDefaultProgID});
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.Message(), path + u" に書き込めません");
  }
}

TEST(KeepOnPrimaryDisplay, PullsTheWindowBackOntoTheDisplay) {
  const Size screen{1600, 1200};
  const struct {
    WindowPlacement saved, expected;
  } cases[] = {
      {{{100, 100}, {681, 362}}, {{100, 100}, {681, 362}}},  // inside: unchanged
      {{{1800, 50}, {681, 362}}, {{919, 50}, {681, 362}}},   // on a monitor to the right
      {{{-900, 50}, {681, 362}}, {{0, 50}, {681, 362}}},     // on a monitor to the left
      {{{10, 1100}, {681, 362}}, {{10, 838}, {681, 362}}},   // below
      {{{10, -400}, {681, 362}}, {{10, 0}, {681, 362}}},     // above
      {{{300, 300}, {2000, 1300}}, {{0, 0}, {2000, 1300}}},  // larger than the display
      {{{INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX}}, {{0, 0}, {INT32_MAX, INT32_MAX}}},
      {{{INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN}}, {{0, 0}, {INT32_MIN, INT32_MIN}}},
  };
  for (const auto& c : cases) {
    const WindowPlacement b = KeepOnPrimaryDisplay(c.saved, screen);
    EXPECT_EQ(b.corner.x, c.expected.corner.x) << c.saved.corner.x << "," << c.saved.corner.y;
    EXPECT_EQ(b.corner.y, c.expected.corner.y) << c.saved.corner.x << "," << c.saved.corner.y;
    EXPECT_EQ(b.size.width, c.expected.size.width);
    EXPECT_EQ(b.size.height, c.expected.size.height);
  }
}

TEST_F(SettingsFile, ExtremeSavedSizesCentreWithoutOverflow) {
  const Settings s = WithContent("extreme.ini", "[PLYSCAN]\r\nWidth=-2147483648\r\nHeight=2147483647\r\n");
  const WindowPlacement b = ReadWindowPlacement(s, {1, 1}, {1600, 1200});
  EXPECT_EQ(b.corner.x, static_cast<std::int32_t>((1600LL + 2147483648LL) / 2));
  EXPECT_EQ(b.corner.y, static_cast<std::int32_t>((1200LL - 2147483647LL) / 2));
}

}  // namespace
}  // namespace plyscan
