// Whatever a command text holds, simcad reports what it does not understand
// and goes on: no crash, no unbounded recursion or growth.
#include <gtest/gtest.h>

#include <random>

#include "base/text.h"
#include "sim_fixture.h"

namespace simcad::testing {
namespace {

TEST(HostileInput, MalformedTextsChangeNothingAndAreReported) {
  const std::u16string nul(1, u'\0');
  const std::u16string texts[] = {
      u"(command \"-LAYER\" \"OF\" \"*\" \"\"(princ)\r",          // one paren short
      u"(command \"-LAYER\" \"OF\" \"*\" \"\"))(princ)\r",        // one too many
      u"(command \"-LAYER\" \"OF\" \"*\" \"\")(princ",            // the second form unfinished
      u"(command \"-LAYER\" \"OF\" \"*)(princ)\r",                // an open string
      u"(command \"-LAYER\" \"OF\")(nosuchfunction)(command \"*\" \"\")\r",  // an error cancels the command
      u"(command \"-LAYER\" \"OF\" (nosuchfunction) \"\")\r",                     // before any answer
      u"(\"-LAYER\" \"OF\" \"*\")\r",                             // a string where a function belongs
      u"(setvar \"EXPERT\" 99)(command \"-LAYER\" \"OF\" \"*\" \"\")\r",
      u"(setvar \"EXPERT\" \"5\")\r",
      u"(setvar \"SCREENSIZE\" 5)\r",
      u"(layerstate-save 1 2 3)\r",
      u"(layerstate-restore)\r",
      u"(if)\r",
      u"(command \"-LAYER\" \"OF\" (quote (1 2 3 4)) \"\")\r",
      u"(command \"-LAYER\" \"OF\" \"Wa" + nul + u"lls\" \"\")(princ)\r",
      nul + u"\r" + nul + u"(\r",
      u")))\r",
      u"NOSUCHCOMMAND\r",
  };
  for (const auto& text : texts) {
    Session s;
    const std::string before = s.Switches();
    const std::size_t lines = s.cad->History().Lines().size();
    s.cad->SendCommand(text);
    s.cad->SendCommand(u"\r\r");  // ends any command a text left waiting
    EXPECT_EQ(s.Switches(), before) << plyscan::ToUtf8(text);
    EXPECT_GT(s.cad->History().Lines().size(), lines + 1) << plyscan::ToUtf8(text);
    EXPECT_EQ(s.cad->Variables().Integer(u"EXPERT"), 0);
  }
}

TEST(HostileInput, DeepNestingAndHugeTextsAreBounded) {
  Session s;
  std::u16string deep;
  for (int i = 0; i < 50000; ++i) deep += u"(if T ";
  deep += u"(command \"-LAYER\" \"OF\" \"Walls\" \"\")" + std::u16string(50000, u')') + u"\r";
  s.cad->SendCommand(deep);
  EXPECT_TRUE(s.LayerNamed(u"Walls").on);
  EXPECT_TRUE(s.cad->History().Contains(u"nested too deeply"));

  // A nesting within the limit runs.
  std::u16string shallow;
  for (int i = 0; i < 20; ++i) shallow += u"(if T ";
  shallow += u"(command \"-LAYER\" \"OF\" \"Walls\" \"\")" + std::u16string(20, u')') + u"\r";
  s.cad->SendCommand(shallow);
  EXPECT_FALSE(s.LayerNamed(u"Walls").on);

  // A huge layer name is matched and found wanting; a text over the limit is refused whole.
  s.cad->SendCommand(u"(command \"-LAYER\" \"ON\" \"" + std::u16string(500000, u'*') + u"x\" \"\")\r");
  EXPECT_FALSE(s.LayerNamed(u"Walls").on);
  s.cad->SendCommand(u"(command \"-LAYER\" \"ON\" \"*\" \"\")" + std::u16string(CommandInput::kMaxText, u' '));
  EXPECT_FALSE(s.LayerNamed(u"Walls").on);
  EXPECT_TRUE(s.cad->History().Contains(u"too long"));
  for (const auto& line : s.cad->History().Lines()) EXPECT_LE(line.size(), CommandHistory::kMaxLineLength + 3);
}

TEST(HostileInput, RandomBytesNeverCrash) {
  std::mt19937 random(20240611);
  const char16_t alphabet[] = {u'(', u')', u'"', u'\\', u'\'', u';', u'|', u' ', u'\r', u'\n', u'\0', u'*',
                               u'`', u'[', u']', u'~', u'#', u'O', u'F', u'-', u'L', u'A', u'Y', u'E', u'R',
                               u'1', u'.', u'e', u'\xD800', u'\xFFFF', u'\x3042'};
  Session s;
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    const int length = static_cast<int>(random() % 80);
    for (int i = 0; i < length; ++i) {
      const auto r = random();
      text.push_back(r % 4 == 0 ? static_cast<char16_t>(r >> 8) : alphabet[(r >> 8) % std::size(alphabet)]);
    }
    if (round % 2 == 0) text.insert(text.begin(), u'(');
    s.cad->SendCommand(text);
  }
  EXPECT_LE(s.cad->History().Lines().size(), CommandHistory::kMaxLines);
  EXPECT_FALSE(s.cad->SimStateJson().empty());
}

}  // namespace
}  // namespace simcad::testing
