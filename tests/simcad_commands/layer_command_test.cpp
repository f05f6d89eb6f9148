// The -LAYER command as typed input and through (command ...).
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace simcad::testing {
namespace {

struct LayerCase {
  const char* name;
  const char16_t* text;  // sent as one command text
  const char* switches;  // every layer afterwards
};

class LayerCommandTable : public ::testing::TestWithParam<LayerCase> {};

TEST_P(LayerCommandTable, ChangesTheMatchedLayers) {
  Session s;
  s.LayerNamed(u"Notes").frozen = true;
  s.LayerNamed(u"Notes").locked = true;
  s.LayerNamed(u"Empty").on = false;
  s.cad->SendCommand(GetParam().text);
  EXPECT_EQ(s.Switches(), GetParam().switches);
  EXPECT_FALSE(s.cad->GetCommandLine().Active()) << "the command should have ended";
}

INSTANTIATE_TEST_SUITE_P(
    Options, LayerCommandTable,
    ::testing::Values(
        LayerCase{"OffByName", u"(command \"-LAYER\" \"OFF\" \"walls\" \"\")",
                  "0:1TU Walls:0TU Doors:1TU Notes:1FL A#1:1TU Empty:0TU"},
        LayerCase{"OfAbbreviation", u"(command \"-LAYER\" \"OF\" \"Doors,Notes\" \"\")",
                  "0:1TU Walls:1TU Doors:0TU Notes:0FL A#1:1TU Empty:0TU"},
        LayerCase{"On", u"(command \"-layer\" \"on\" \"Empty\" \"\")",
                  "0:1TU Walls:1TU Doors:1TU Notes:1FL A#1:1TU Empty:1TU"},
        LayerCase{"ThawAndUnlockAll", u"(command \"-LAYER\" \"T\" \"*\" \"U\" \"*\" \"\")",
                  "0:1TU Walls:1TU Doors:1TU Notes:1TU A#1:1TU Empty:0TU"},
        LayerCase{"FreezeAndLockByWildcard", u"(command \"_-LAYER\" \"_F\" \"[DW]*\" \"LO\" \"*s\" \"\")",
                  "0:1TU Walls:1FL Doors:1FL Notes:1FL A#1:1TU Empty:0TU"},
        LayerCase{"HashIsADigit", u"(command \"-LAYER\" \"OF\" \"A#1\" \"\")",
                  "0:1TU Walls:1TU Doors:1TU Notes:1FL A#1:1TU Empty:0TU"},
        LayerCase{"ReverseQuoteEscapes", u"(command \"-LAYER\" \"OF\" \"A`#1\" \"\")",
                  "0:1TU Walls:1TU Doors:1TU Notes:1FL A#1:0TU Empty:0TU"},
        LayerCase{"NegatedPattern", u"(command \"-LAYER\" \"LO\" \"~*s\" \"\")",
                  "0:1TL Walls:1TU Doors:1TU Notes:1FL A#1:1TL Empty:0TL"},
        LayerCase{"FullKeywords", u"(command \"-LAYER\" \"FREEZE\" \"Doors\" \"THAW\" \"Notes\" \"UNLOCK\" \"Notes\" \"\")",
                  "0:1TU Walls:1TU Doors:1FU Notes:1TU A#1:1TU Empty:0TU"},
        LayerCase{"TypedInput", u"-LAYER\rOF\rWalls\r\r",
                  "0:1TU Walls:0TU Doors:1TU Notes:1FL A#1:1TU Empty:0TU"},
        LayerCase{"BlankEndsTypedAnswers", u"-LAYER OF Walls  ",
                  "0:1TU Walls:0TU Doors:1TU Notes:1FL A#1:1TU Empty:0TU"},
        // An unknown keyword is refused and uses up its answer: "Walls" is then
        // read as an option, refused too, and "OF" "Doors" still works.
        LayerCase{"UnknownKeywordConsumesItsToken",
                  u"(command \"-LAYER\" \"BOGUS\" \"Walls\" \"OF\" \"Doors\" \"\")",
                  "0:1TU Walls:1TU Doors:0TU Notes:1FL A#1:1TU Empty:0TU"},
        LayerCase{"AmbiguousOIsRefused", u"(command \"-LAYER\" \"O\" \"OF\" \"Doors\" \"\")",
                  "0:1TU Walls:1TU Doors:0TU Notes:1FL A#1:1TU Empty:0TU"},
        LayerCase{"NoMatchChangesNothing", u"(command \"-LAYER\" \"OF\" \"Nothing*\" \"\")",
                  "0:1TU Walls:1TU Doors:1TU Notes:1FL A#1:1TU Empty:0TU"}),
    [](const auto& info) { return info.param.name; });

TEST(LayerCommand, TurningTheCurrentLayerOffAsksUnlessExpert) {
  {
    Session s;  // EXPERT 0: the next answer is the reply; "N" keeps it on
    s.cad->SendCommand(u"(command \"-LAYER\" \"OF\" \"*\" \"N\" \"\")");
    EXPECT_EQ(s.Switches(), "0:1TU Walls:0TU Doors:0TU Notes:0TU A#1:0TU Empty:0TU");
    EXPECT_TRUE(s.cad->History().Contains(u"Really want layer 0 (the CURRENT layer) off?"));
  }
  {
    Session s;  // "Y" turns it off
    s.cad->SendCommand(u"(command \"-LAYER\" \"OF\" \"0\" \"Y\" \"\")");
    EXPECT_FALSE(s.LayerNamed(u"0").on);
  }
  {
    // EXPERT 0 with PLYSCAN's capture text: the question takes "ON" and "Walls"
    // as wrong replies and "" as No, so nothing is turned on and the command
    // is left waiting at its option prompt.
    Session s;
    s.cad->SendCommand(u"(command \"-LAYER\" \"OF\" \"*\" \"ON\" \"Walls\" \"\")");
    EXPECT_EQ(s.Switches(), "0:1TU Walls:0TU Doors:0TU Notes:0TU A#1:0TU Empty:0TU");
    EXPECT_EQ(s.cad->GetCommandLine().ActiveName(), u"-LAYER");
  }
  {
    Session s;  // EXPERT 1: no question, the current layer goes off
    s.cad->SendCommand(u"(setvar \"EXPERT\" 1)(command \"-LAYER\" \"OF\" \"*\" \"ON\" \"Walls\" \"\")");
    EXPECT_EQ(s.Switches(), "0:0TU Walls:1TU Doors:0TU Notes:0TU A#1:0TU Empty:0TU");
    EXPECT_FALSE(s.cad->History().Contains(u"Really want"));
  }
}

TEST(LayerCommand, RefusesToFreezeTheCurrentLayer) {
  Session s;
  s.cad->SendCommand(u"(command \"-LAYER\" \"F\" \"*\" \"\")");
  EXPECT_EQ(s.Switches(), "0:1TU Walls:1FU Doors:1FU Notes:1FU A#1:1FU Empty:1FU");
  EXPECT_TRUE(s.cad->History().Contains(u"It is the CURRENT layer."));
}

TEST(LayerCommand, StaysActiveUntilEnterAndTakesFurtherInput) {
  Session s;
  s.cad->SendCommand(u"(command \"-LAYER\" \"OF\")(princ)\r");
  EXPECT_EQ(s.cad->GetCommandLine().ActiveName(), u"-LAYER");
  s.cad->SendCommand(u"Walls\r\r");
  EXPECT_FALSE(s.LayerNamed(u"Walls").on);
  EXPECT_FALSE(s.cad->GetCommandLine().Active());
}

TEST(LayerCommand, UnknownCommandIsReportedAndChangesNothing) {
  Session s;
  const std::string before = s.Switches();
  s.cad->SendCommand(u"(command \"LAYERZ\" \"OF\" \"*\" \"\")");
  EXPECT_EQ(s.Switches(), before);
  EXPECT_TRUE(s.cad->History().Contains(u"Unknown command \"LAYERZ\""));
}

}  // namespace
}  // namespace simcad::testing
