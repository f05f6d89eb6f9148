#include "simcad/commands/layer_states.h"

#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace simcad::testing {
namespace {

TEST(LayerStates, RoundTripPutsBackEverySwitchOfTheStatesLayers) {
  Session s;
  Drawing& d = s.cad->GetDrawing();
  s.LayerNamed(u"Walls").locked = true;
  s.LayerNamed(u"Doors").frozen = true;
  s.LayerNamed(u"Notes").on = false;
  const std::string saved = s.Switches();
  ASSERT_TRUE(SaveLayerState(d, u"Mine", 255, false));

  for (Layer& layer : d.layers) {
    layer.on = !layer.on;
    layer.locked = !layer.locked;
    if (&layer != &d.layers[d.current]) layer.frozen = !layer.frozen;
  }
  Layer added;  // a layer the state does not know stays as it is
  added.name = u"Added";
  added.on = false;
  added.locked = true;
  d.layers.push_back(added);

  CommandHistory history;
  ASSERT_TRUE(RestoreLayerState(d, u"MINE", history));  // names match without regard to case
  EXPECT_EQ(s.Switches(), saved + " Added:0TL");
  EXPECT_TRUE(HasLayerState(d, u"mine"));
  EXPECT_TRUE(DeleteLayerState(d, u"Mine"));
  EXPECT_FALSE(HasLayerState(d, u"Mine"));
  EXPECT_FALSE(DeleteLayerState(d, u"Mine"));
  EXPECT_FALSE(RestoreLayerState(d, u"Mine", history));
}

TEST(LayerStates, RestoreAppliesOnlyTheSwitchesOfTheMask) {
  Session s;
  Drawing& d = s.cad->GetDrawing();
  ASSERT_TRUE(SaveLayerState(d, u"OnOnly", layer_mask::kOn, false));
  s.LayerNamed(u"Walls").on = false;
  s.LayerNamed(u"Walls").locked = true;
  s.LayerNamed(u"Doors").frozen = true;
  CommandHistory history;
  ASSERT_TRUE(RestoreLayerState(d, u"OnOnly", history));
  EXPECT_EQ(s.Switches(), "0:1TU Walls:1TL Doors:1FU Notes:1TU A#1:1TU Empty:1TU");
}

TEST(LayerStates, RestoreMakesTheSavedCurrentLayerCurrentBeforeFreezing) {
  Session s;
  Drawing& d = s.cad->GetDrawing();
  s.LayerNamed(u"Walls").frozen = true;
  ASSERT_TRUE(SaveLayerState(d, u"S", 255, false));  // current "0", Walls frozen
  s.LayerNamed(u"Walls").frozen = false;
  d.current = 1;  // Walls current now: the restore must make "0" current to freeze it
  CommandHistory history;
  ASSERT_TRUE(RestoreLayerState(d, u"S", history));
  EXPECT_EQ(d.current, 0u);
  EXPECT_TRUE(s.LayerNamed(u"Walls").frozen);
}

TEST(LayerStates, SaveRefusesAnEmptyNameAndKeepsAnExistingStateUnlessOverwriting) {
  Session s;
  Drawing& d = s.cad->GetDrawing();
  EXPECT_FALSE(SaveLayerState(d, u"", 255, true));
  ASSERT_TRUE(SaveLayerState(d, u"S", 255, false));
  s.LayerNamed(u"Walls").on = false;
  EXPECT_FALSE(SaveLayerState(d, u"s", 255, false));
  EXPECT_TRUE(d.FindLayerState(u"S")->layers[1].on);
  EXPECT_TRUE(SaveLayerState(d, u"s", 255, true));
  EXPECT_EQ(d.layer_states.size(), 1u);
  EXPECT_FALSE(d.FindLayerState(u"S")->layers[1].on);
}

TEST(LayerStates, LispFunctionsReturnTOrNil) {
  Session s;
  s.cad->SendCommand(u"(layerstate-has \"X\")\r");
  s.cad->SendCommand(u"(layerstate-save \"X\" 255 nil)\r");
  s.cad->SendCommand(u"(layerstate-has \"x\")\r");
  s.cad->SendCommand(u"(layerstate-restore \"X\" nil)\r");
  s.cad->SendCommand(u"(layerstate-delete \"X\")\r");
  s.cad->SendCommand(u"(layerstate-delete \"X\")\r");
  std::vector<std::u16string> results;
  for (const auto& line : s.cad->History().Lines())
    if (line == u"nil" || line == u"T") results.push_back(line);
  EXPECT_EQ(results, (std::vector<std::u16string>{u"nil", u"T", u"T", u"T", u"T", u"nil"}));
}

}  // namespace
}  // namespace simcad::testing
