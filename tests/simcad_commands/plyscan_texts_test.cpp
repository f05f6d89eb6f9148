// The command texts PLYSCAN sends, built by the program's own functions, and
// what they do to simcad's drawing; and simcad's own answer to a save over a
// state that exists, which those texts allow for.
#include <gtest/gtest.h>

#include "cadlink/command_texts.h"
#include "sim_fixture.h"

namespace simcad::testing {
namespace {

namespace cad = plyscan::cad;

const std::u16string kSave = cad::kSaveLayerStateCommand;
const std::u16string kRestore = cad::kRestoreLayerStateCommand;
const std::u16string kDelete = cad::kDeleteLayerStateCommand;
const std::u16string kResetVariables = cad::kResetVariablesCommand;

std::u16string CaptureText(std::u16string_view name) { return cad::CaptureLayerCommand(name); }
std::u16string IsolationText(std::u16string_view name) { return cad::IsolateLayerCommand(name); }

class PlyscanTexts : public ::testing::Test {
 protected:
  PlyscanTexts() {
    s.LayerNamed(u"Walls").locked = true;
    s.LayerNamed(u"Notes").frozen = true;
    s.LayerNamed(u"Empty").on = false;
    document = std::make_shared<Document>(s.cad);
  }
  void SetExpert(std::int16_t expert, std::int16_t cmdecho) {
    document->Call(u"SetVariable", {Variant::String(u"EXPERT"), Variant::Int16(expert)});
    document->Call(u"SetVariable", {Variant::String(u"CMDECHO"), Variant::Int16(cmdecho)});
  }
  void Send(const std::u16string& text) { document->Call(u"SendCommand", {Variant::String(text).ByRef()}); }

  Session s;
  std::shared_ptr<Document> document;
};

TEST_F(PlyscanTexts, CaptureRunShowsOneLayerAtATimeAndRestoresTheSavedState) {
  const std::string before = "0:1TU Walls:1TL Doors:1TU Notes:1FU A#1:1TU Empty:0TU";
  ASSERT_EQ(s.Switches(), before);
  Send(kSave);
  ASSERT_NE(s.cad->GetDrawing().FindLayerState(u"PLYSCAN"), nullptr);

  SetExpert(5, 0);
  Send(CaptureText(u"Walls"));
  EXPECT_EQ(s.Switches(), "0:0TU Walls:1TU Doors:0TU Notes:0TU A#1:0TU Empty:0TU");
  Send(CaptureText(u"0"));
  EXPECT_EQ(s.Switches(), "0:1TU Walls:0TU Doors:0TU Notes:0TU A#1:0TU Empty:0TU");
  // A name holding wild-card characters names exactly its layer.
  Send(CaptureText(u"A#1"));
  EXPECT_EQ(s.Switches(), "0:0TU Walls:0TU Doors:0TU Notes:0TU A#1:1TU Empty:0TU");

  Send(kRestore);
  EXPECT_EQ(s.Switches(), before);
  Send(kResetVariables);
  EXPECT_EQ(s.cad->Variables().Integer(u"EXPERT"), 0);
  EXPECT_EQ(s.cad->Variables().Integer(u"CMDECHO"), 1);
  EXPECT_FALSE(s.cad->GetCommandLine().Active());
  EXPECT_FALSE(s.cad->History().Contains(u"error")) << plyscan::ToUtf8(s.cad->SimStateJson());
}

TEST_F(PlyscanTexts, IsolationShowsOnlyThatLayerAndKeepsTheOthersSwitches) {
  SetExpert(5, 0);
  Send(IsolationText(u"Notes"));
  EXPECT_EQ(s.Switches(), "0:0TU Walls:0TL Doors:0TU Notes:1TU A#1:0TU Empty:0TU");
  Send(kResetVariables);

  // A name of two words travels between the double quotes unchanged.
  Layer two;
  two.name = u"Two Words";
  two.frozen = true;
  s.cad->GetDrawing().layers.push_back(two);
  SetExpert(5, 0);
  Send(IsolationText(u"Two Words"));
  EXPECT_EQ(s.Switches(), "0:0TU Walls:0TL Doors:0TU Notes:0TU A#1:0TU Empty:0TU Two Words:1TU");
}

TEST_F(PlyscanTexts, DeleteTestsForTheStateItself) {
  Send(kDelete);  // no state yet: the test inside the text says nil, nothing happens
  EXPECT_FALSE(s.cad->History().Contains(u"error"));
  Send(kSave);
  Send(kDelete);
  EXPECT_EQ(s.cad->GetDrawing().FindLayerState(u"PLYSCAN"), nullptr);
  Send(kRestore);  // restoring a deleted state does nothing
  EXPECT_EQ(s.Switches(), "0:1TU Walls:1TL Doors:1TU Notes:1FU A#1:1TU Empty:0TU");
}

TEST_F(PlyscanTexts, TheSaveReplacesAStateOfTheSameName) {
  Send(kSave);
  s.LayerNamed(u"Doors").on = false;
  Send(kSave);
  s.LayerNamed(u"Doors").on = true;
  Send(kRestore);
  EXPECT_FALSE(s.LayerNamed(u"Doors").on);
}

// simcad's own semantics, as a CAD's: layerstate-save over an existing state
// keeps the old one (hence the program's delete first).
const std::u16string kPlainSave = u"(layerstate-save \"PLYSCAN\" 255 nil)(princ)\r";

TEST_F(PlyscanTexts, APlainSaveOverAnExistingStateKeepsTheOldOne) {
  Send(kPlainSave);
  s.LayerNamed(u"Doors").on = false;
  Send(kPlainSave);  // returns nil: the first state stays
  const LayerState* state = s.cad->GetDrawing().FindLayerState(u"PLYSCAN");
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(state->layers.size(), 6u);
  EXPECT_EQ(state->layers[2].name, u"Doors");
  EXPECT_TRUE(state->layers[2].on);
  s.LayerNamed(u"Doors").on = true;
  s.LayerNamed(u"Walls").on = false;
  Send(kRestore);
  EXPECT_TRUE(s.LayerNamed(u"Doors").on);
  EXPECT_TRUE(s.LayerNamed(u"Walls").on);

}

TEST(PlyscanTextsOverwrite, LayerstateOverwriteOptionReplacesTheState) {
  Session s(SmallDrawing(), SimOptions{false, true});
  s.cad->SendCommand(kPlainSave);
  s.LayerNamed(u"Doors").on = false;
  s.cad->SendCommand(kPlainSave);
  s.LayerNamed(u"Doors").on = true;
  s.cad->SendCommand(kRestore);
  EXPECT_FALSE(s.LayerNamed(u"Doors").on);
}

TEST(PlyscanTextsExport, BmpOutTextWritesTheFileNamedInIt) {
  Session s;
  s.cad->SendCommand(u"(setvar \"FILEDIA\" 0)(princ)\r");
  for (const std::u16string path : {u"C:\\tools\\plyscan.bmp", u"C:\\Program Files\\PLYSCAN\\plyscan.bmp"}) {
    s.cad->SendCommand(cad::BmpOutCommand(path));
    EXPECT_EQ(s.files->files.count(path), 1u) << plyscan::ToUtf8(path);
  }
  EXPECT_FALSE(s.cad->GetCommandLine().Active());
}

}  // namespace
}  // namespace simcad::testing
