#include "cadlink/cad_calls.h"

#include <gtest/gtest.h>

#include "base/failure.h"
#include "simcad/objects/sim_objects.h"

namespace plyscan {
namespace {

using automation::Args;
using automation::Variant;

simcad::Drawing TwoLayerDrawing() {
  simcad::Drawing d;
  d.layers = {{u"0"}, {u"Walls"}, {u"Notes"}};
  simcad::Entity wall;
  wall.kind = simcad::EntityKind::Line;
  wall.layer = u"Walls";
  wall.points = {{0, 0}, {100, 0}};
  simcad::Entity note = wall;
  note.layer = u"Notes";
  note.points = {{10, 40}, {20, 40}};
  d.entities = {wall, wall, note};
  d.view.screen_width = 800;
  d.view.screen_height = 400;
  return d;
}

class CadCalls : public ::testing::Test {
 protected:
  std::shared_ptr<simcad::SimCad> cad = std::make_shared<simcad::SimCad>(TwoLayerDrawing());
  automation::ObjectRef application = std::make_shared<simcad::Application>(cad);
  automation::ObjectRef document = application->Get(u"ActiveDocument").AsObject();
};

TEST_F(CadCalls, SystemVariablesAreSetAsSixteenBitIntegersWhichStrictServersAccept) {
  for (const char16_t* name : {u"EXPERT", u"CMDECHO", u"GRIDMODE", u"UCSICON", u"FILEDIA"}) {
    cad::SetVariable(*document, name, 0);
    EXPECT_EQ(cad::GetVariable(*document, name).AsInt32(), 0) << ToUtf8(name);
  }
  cad::SetVariable(*document, u"EXPERT", 5);
  EXPECT_EQ(cad::GetVariable(*document, u"EXPERT").AsInt32(), 5);
  // The same value as a 32-bit integer is refused by such a server.
  EXPECT_THROW(document->Call(u"SetVariable", Args{Variant::String(u"EXPERT"), Variant::Int32(5)}),
               AutomationFailure);
  EXPECT_THROW(cad::SetVariable(*document, u"EXPERT", 70000), AutomationFailure);
}

TEST_F(CadCalls, CommandTextsRunOnTheCommandLine) {
  cad::SetVariable(*document, u"EXPERT", 5);
  cad::SendCommand(*document, u"(command \"-LAYER\" \"OF\" \"*\" \"ON\" \"Notes\" \"\")(princ)\r");
  const auto layers = document->Get(u"Layers").AsObject();
  EXPECT_FALSE(layers->Get(u"Item", Args{Variant::Int32(1)}).AsObject()->Get(u"LayerOn").AsBool());
  EXPECT_TRUE(layers->Get(u"Item", Args{Variant::Int32(2)}).AsObject()->Get(u"LayerOn").AsBool());
  cad::SendCommandByValue(*document, u"(command \"-LAYER\" \"ON\" \"*\" \"\")(princ)\r");
  EXPECT_TRUE(layers->Get(u"Item", Args{Variant::Int32(1)}).AsObject()->Get(u"LayerOn").AsBool());
}

TEST_F(CadCalls, CrossingSelectionTakesTheExtentsAsGetVariableReturnedThem) {
  cad::ZoomExtents(*application, u"BricscadApp.AcadApplication");
  const Variant emin = cad::GetVariable(*document, u"EXTMIN");
  const Variant emax = cad::GetVariable(*document, u"EXTMAX");
  const auto selection = document->Get(u"ActiveSelectionset").AsObject();
  selection->Call(u"Clear");
  cad::SelectCrossing(*selection, emin, emax);
  EXPECT_EQ(selection->Get(u"Count").AsInt32(), 3);
}

TEST_F(CadCalls, GcadTargetsZoomTwiceOthersOnce) {
  struct Case {
    const char16_t* progid;
    int zooms;
  } cases[] = {{u"Gcad.Application", 2}, {u"x.gcad.y", 2}, {u"BricscadApp.AcadApplication", 1},
               {u"AutoCAD.Application", 1}};
  for (const auto& c : cases) {
    const int before = cad->ZoomCount();
    cad::ZoomExtents(*application, c.progid);
    EXPECT_EQ(cad->ZoomCount() - before, c.zooms) << ToUtf8(c.progid);
  }
}

TEST_F(CadCalls, RegenRedrawsTheActiveViewport) {
  const int before = cad->RegenCount();
  cad::Regen(*document);
  EXPECT_EQ(cad->RegenCount(), before + 1);
}

}  // namespace
}  // namespace plyscan
