// The automation objects as PLYSCAN calls them: types, failures, selection,
// zoom and the state report.
#include <gtest/gtest.h>

#include "base/failure.h"
#include "base/text.h"
#include "sim_fixture.h"

namespace simcad::testing {
namespace {

namespace hr = plyscan::hr;
using plyscan::automation::Kind;
using plyscan::automation::ObjectRef;

// Runs `call` and gives the HRESULT it failed with, or 0.
template <typename F>
std::int32_t FailureOf(F&& call) {
  try {
    call();
  } catch (const plyscan::AutomationFailure& failure) {
    return failure.HResult();
  }
  return 0;
}

class Objects : public ::testing::Test {
 protected:
  explicit Objects(SimOptions options = {}) : s(SmallDrawing(), options) {
    application = std::make_shared<Application>(s.cad);
    document = application->Get(u"ActiveDocument").AsObject();
    layers = document->Get(u"Layers").AsObject();
    selection = document->Get(u"ActiveSelectionSet").AsObject();
  }
  Variant Var(const char16_t* name) { return document->Call(u"GetVariable", {Variant::String(name)}); }
  std::int32_t SetVar(const char16_t* name, Variant value) {
    return FailureOf([&] { document->Call(u"SetVariable", {Variant::String(name), value}); });
  }
  ObjectRef Layer(Variant index) { return layers->Get(u"Item", {index}).AsObject(); }
  std::int32_t SelectCrossing(std::vector<double> a, std::vector<double> b) {
    selection->Call(u"Clear");
    selection->Call(u"Select", {Variant::Int32(1), Variant::Doubles(std::move(a)).ByRef(),
                                Variant::Doubles(std::move(b)).ByRef(), Variant::Omitted(), Variant::Omitted()});
    return selection->Get(u"Count").AsInt32();
  }

  Session s;
  ObjectRef application, document, layers, selection;
};

TEST_F(Objects, VariablesComeBackWithTheServersTypes) {
  EXPECT_EQ(Var(u"SCREENSIZE"), Variant::Doubles({800, 400}));
  EXPECT_EQ(Var(u"viewsize").GetKind(), Kind::Double);
  EXPECT_EQ(Var(u"EXTMIN"), Variant::Doubles({0, 0, 0}));
  EXPECT_EQ(Var(u"EXTMAX"), Variant::Doubles({100, 50, 0}));
  for (const char16_t* name : {u"GRIDMODE", u"UCSICON", u"EXPERT", u"CMDECHO", u"FILEDIA"})
    EXPECT_EQ(Var(name).GetKind(), Kind::Int16) << plyscan::ToUtf8(name);
  EXPECT_EQ(Var(u"GRIDMODE"), Variant::Int16(1));
  EXPECT_EQ(Var(u"CMDECHO"), Variant::Int16(1));
  EXPECT_EQ(Var(u"EXPERT"), Variant::Int16(0));
  EXPECT_EQ(FailureOf([&] { Var(u"NOSUCHVAR"); }), hr::kInvalidArg);
}

TEST_F(Objects, EmptyDrawingReportsInvertedHugeExtentsAndKeepsItsViewOnZoom) {
  Session empty(Drawing{});
  auto doc = std::make_shared<Document>(empty.cad);
  EXPECT_EQ(doc->Call(u"GetVariable", {Variant::String(u"EXTMIN")}), Variant::Doubles({1e20, 1e20, 1e20}));
  EXPECT_EQ(doc->Call(u"GetVariable", {Variant::String(u"EXTMAX")}), Variant::Doubles({-1e20, -1e20, -1e20}));
  const View before = empty.cad->GetDrawing().view;
  Application(empty.cad).Call(u"ZoomExtents");
  EXPECT_EQ(empty.cad->GetDrawing().view.height, before.height);
  EXPECT_EQ(empty.cad->ZoomCount(), 1);
}

TEST_F(Objects, SetVariableTakesSixteenBitIntegersOnly) {
  EXPECT_EQ(SetVar(u"GRIDMODE", Variant::Int32(0)), hr::kTypeMismatch);
  EXPECT_EQ(Var(u"GRIDMODE"), Variant::Int16(1));
  EXPECT_EQ(SetVar(u"EXPERT", Variant::Double(5)), hr::kTypeMismatch);
  EXPECT_EQ(SetVar(u"gridmode", Variant::Int16(0)), 0);
  EXPECT_EQ(Var(u"GRIDMODE"), Variant::Int16(0));
  EXPECT_EQ(SetVar(u"EXPERT", Variant::Int16(5).ByRef()), 0);
  EXPECT_EQ(Var(u"EXPERT"), Variant::Int16(5));
  EXPECT_EQ(SetVar(u"GRIDMODE", Variant::Int16(7)), hr::kInvalidArg);  // out of the variable's range
  EXPECT_NE(SetVar(u"SCREENSIZE", Variant::Int16(1)), 0);              // read-only
  EXPECT_NE(SetVar(u"VIEWSIZE", Variant::Double(10)), 0);
  EXPECT_NE(SetVar(u"NOSUCHVAR", Variant::Int16(1)), 0);
  EXPECT_EQ(FailureOf([&] { document->Call(u"SetVariable", {Variant::String(u"EXPERT")}); }), hr::kBadParamCount);
}

class LenientObjects : public Objects {
 protected:
  LenientObjects() : Objects(SimOptions{true, false}) {}
};

TEST_F(LenientObjects, LenientTypesAcceptThirtyTwoBitIntegers) {
  EXPECT_EQ(SetVar(u"EXPERT", Variant::Int32(5)), 0);
  EXPECT_EQ(Var(u"EXPERT"), Variant::Int16(5));
  EXPECT_EQ(SetVar(u"EXPERT", Variant::Int32(70000)), hr::kInvalidArg);
  EXPECT_EQ(SetVar(u"EXPERT", Variant::String(u"5")), hr::kTypeMismatch);
}

TEST_F(Objects, ZoomExtentsFitsTheThawedExtentsIntoTheScreen) {
  application->Call(u"zoomextents");
  // Extents 100 x 50 on an 800 x 400 screen: the height 50 fits both ways.
  EXPECT_DOUBLE_EQ(Var(u"VIEWSIZE").AsDouble(), 50);
  EXPECT_EQ(Var(u"VIEWCTR"), Variant::Doubles({50, 25, 0}));

  // PLYSCAN's capture rectangle from these values fills the screen exactly.
  const double v = Var(u"VIEWSIZE").AsDouble();
  const double w = Var(u"SCREENSIZE").ElementAsDouble(0), h = Var(u"SCREENSIZE").ElementAsDouble(1);
  const double scale = w / (v / h * w);
  EXPECT_DOUBLE_EQ((Var(u"EXTMAX").ElementAsDouble(0) - Var(u"EXTMIN").ElementAsDouble(0)) * scale, 800);

  // A frozen layer leaves the extents; a layer that is only off does not.
  Layer(Variant::Int32(1))->Put(u"Freeze", Variant::Bool(true));  // Walls
  Layer(Variant::Int32(2))->Put(u"LayerOn", Variant::Bool(false));  // Doors
  application->Call(u"ZoomExtents");
  EXPECT_EQ(Var(u"EXTMIN"), Variant::Doubles({0, 10, 0}));
  EXPECT_EQ(Var(u"EXTMAX"), Variant::Doubles({80, 50, 0}));
  EXPECT_DOUBLE_EQ(Var(u"VIEWSIZE").AsDouble(), 40);  // 80 wide at 2:1 needs 40, as does the height
  EXPECT_EQ(Var(u"VIEWCTR"), Variant::Doubles({40, 30, 0}));
  EXPECT_EQ(s.cad->ZoomCount(), 2);
}

TEST_F(Objects, CrossingSelectionCountsEntitiesOnLayersOnAndThawed) {
  EXPECT_EQ(SelectCrossing({0, 0, 0}, {100, 50, 0}), 6);
  EXPECT_EQ(SelectCrossing({60, 30, 0}, {40, 20, 0}), 1);  // corners in any order; the circle
  EXPECT_EQ(SelectCrossing({-5, -5, 0}, {5, 5, 0}), 1);     // crosses the first wall
  Layer(Variant::String(u"walls"))->Put(u"LayerOn", Variant::Bool(false));
  Layer(Variant::String(u"Notes"))->Put(u"Freeze", Variant::Bool(true));
  Layer(Variant::String(u"Doors"))->Put(u"Lock", Variant::Bool(true));  // locked still counts
  EXPECT_EQ(SelectCrossing({0, 0, 0}, {100, 50, 0}), 3);
  EXPECT_EQ(SelectCrossing({-5, -5, 0}, {5, 5, 0}), 0);

  // Select adds to the set without counting an entity twice; Clear empties it.
  selection->Call(u"Select", {Variant::Int32(1), Variant::Doubles({0, 0, 0}), Variant::Doubles({100, 50, 0})});
  EXPECT_EQ(selection->Get(u"Count"), Variant::Int32(3));
  selection->Call(u"Clear");
  EXPECT_EQ(selection->Get(u"Count"), Variant::Int32(0));
}

TEST_F(Objects, SelectRefusesMalformedCorners) {
  auto select = [&](Variant a, Variant b) {
    return FailureOf([&] { selection->Call(u"Select", {Variant::Int32(1), a, b, Variant::Omitted(), Variant::Omitted()}); });
  };
  EXPECT_EQ(select(Variant::Doubles({0, 0}), Variant::Doubles({100, 50})), hr::kInvalidArg);
  EXPECT_EQ(select(Variant::Doubles({0, 0, 0}), Variant::Doubles({100, 50})), hr::kInvalidArg);
  EXPECT_EQ(select(Variant::Double(0), Variant::Doubles({100, 50, 0})), hr::kTypeMismatch);
  EXPECT_EQ(select(Variant::Omitted(), Variant::Omitted()), hr::kInvalidArg);
  EXPECT_NE(FailureOf([&] {
              selection->Call(u"Select", {Variant::Int32(9), Variant::Doubles({0, 0, 0}), Variant::Doubles({1, 1, 1})});
            }),
            0);
  EXPECT_EQ(selection->Get(u"Count"), Variant::Int32(0));
}

TEST_F(Objects, LayerCollectionAndLayerMembers) {
  EXPECT_EQ(layers->Get(u"count"), Variant::Int32(6));
  auto walls = Layer(Variant::Int32(1));
  EXPECT_EQ(walls->Get(u"NAME"), Variant::String(u"Walls"));
  EXPECT_EQ(walls->Get(u"LayerOn"), Variant::Bool(true));
  EXPECT_EQ(walls->Get(u"Freeze"), Variant::Bool(false));
  EXPECT_EQ(walls->Get(u"Lock"), Variant::Bool(false));
  walls->Put(u"lock", Variant::Bool(true));
  walls->Put(u"Freeze", Variant::Int16(-1));  // a number converts as the automation types do
  EXPECT_EQ(walls->Get(u"Lock"), Variant::Bool(true));
  EXPECT_EQ(walls->Get(u"Freeze"), Variant::Bool(true));
  EXPECT_EQ(FailureOf([&] { walls->Put(u"LayerOn", Variant::String(u"yes")); }), hr::kTypeMismatch);
  EXPECT_EQ(layers->Call(u"Item", {Variant::Int16(2)}).AsObject()->Get(u"Name"), Variant::String(u"Doors"));

  EXPECT_EQ(FailureOf([&] { Layer(Variant::Int32(6)); }), hr::kBadIndex);
  EXPECT_EQ(FailureOf([&] { Layer(Variant::Int32(-1)); }), hr::kBadIndex);
  EXPECT_EQ(FailureOf([&] { Layer(Variant::String(u"Nope")); }), hr::kInvalidArg);
  EXPECT_EQ(FailureOf([&] { Layer(Variant::Double(1)); }), hr::kTypeMismatch);
  EXPECT_EQ(FailureOf([&] { layers->Get(u"Item"); }), hr::kBadParamCount);

  // The current layer cannot be frozen; it can be turned off.
  auto zero = Layer(Variant::String(u"0"));
  EXPECT_NE(FailureOf([&] { zero->Put(u"Freeze", Variant::Bool(true)); }), 0);
  EXPECT_EQ(zero->Get(u"Freeze"), Variant::Bool(false));
  zero->Put(u"LayerOn", Variant::Bool(false));
  EXPECT_EQ(zero->Get(u"LayerOn"), Variant::Bool(false));
}

TEST_F(Objects, RenamingALayerMovesItsEntitiesAndRefusesBadNames) {
  auto walls = Layer(Variant::String(u"Walls"));
  walls->Put(u"Name", Variant::String(u"Outer"));
  EXPECT_EQ(Layer(Variant::String(u"outer"))->Get(u"Name"), Variant::String(u"Outer"));
  Layer(Variant::String(u"Outer"))->Put(u"Freeze", Variant::Bool(true));
  EXPECT_EQ(Var(u"EXTMIN"), Variant::Doubles({0, 10, 0}));  // the walls went with the name
  EXPECT_EQ(FailureOf([&] { walls->Put(u"Name", Variant::String(u"Doors")); }), hr::kInvalidArg);
  EXPECT_EQ(FailureOf([&] { walls->Put(u"Name", Variant::String(u"a*b")); }), hr::kInvalidArg);
  EXPECT_EQ(FailureOf([&] { walls->Put(u"Name", Variant::String(u"")); }), hr::kInvalidArg);
  EXPECT_EQ(FailureOf([&] { Layer(Variant::String(u"0"))->Put(u"Name", Variant::String(u"Zero")); }),
            hr::kInvalidArg);
}

TEST_F(Objects, MembersMatchWithoutCaseAndRefuseTheWrongUse) {
  s.cad->SetWindowHandles(0x1122334455ull, 0x66778899AAull);
  EXPECT_EQ(application->Get(u"hwnd"), Variant::Int64(0x1122334455ll));
  EXPECT_EQ(document->Get(u"Hwnd"), Variant::Int64(0x66778899AAll));
  EXPECT_EQ(FailureOf([&] { application->Get(u"Visible"); }), hr::kUnknownName);
  EXPECT_EQ(FailureOf([&] { application->Get(u"ZoomExtents"); }), hr::kMemberNotFound);  // a method, not a property
  EXPECT_EQ(FailureOf([&] { document->Call(u"Layers"); }), hr::kMemberNotFound);
  EXPECT_EQ(FailureOf([&] { layers->Put(u"Count", Variant::Int32(1)); }), hr::kMemberNotFound);
  EXPECT_EQ(FailureOf([&] { application->Call(u"ZoomExtents", {Variant::Int32(1)}); }), hr::kBadParamCount);
  EXPECT_EQ(FailureOf([&] { document->Call(u"Regen"); }), hr::kBadParamCount);
  EXPECT_EQ(FailureOf([&] { document->Call(u"Regen", {Variant::Int32(4)}); }), hr::kInvalidArg);
  EXPECT_EQ(FailureOf([&] { document->Call(u"SendCommand", {Variant::Int32(4)}); }), hr::kTypeMismatch);
  int repaints = 0;
  s.cad->SetViewChangedHandler([&] { ++repaints; });
  document->Call(u"REGEN", {Variant::Int32(0)});
  EXPECT_EQ(s.cad->RegenCount(), 1);
  EXPECT_EQ(repaints, 1);
  application->Call(u"ZoomExtents");
  document->Call(u"SendCommand", {Variant::String(u"(princ)\r")});
  layers->Get(u"Item", {Variant::Int32(1)}).AsObject()->Put(u"LayerOn", Variant::Bool(false));
  EXPECT_EQ(repaints, 4);
}

TEST_F(Objects, SimStateReportsTheDrawingAndTheLiveObjects) {
  const long before = SimObject::LiveObjects();
  {
    auto extra = Layer(Variant::Int32(0));
    EXPECT_EQ(SimObject::LiveObjects(), before + 1);
  }
  EXPECT_EQ(SimObject::LiveObjects(), before);

  document->Call(u"SendCommand", {Variant::String(u"(setvar \"GRIDMODE\" 0)(command \"-LAYER\" \"OF\" \"Walls\" \"\")(princ)\r")});
  document->Call(u"SendCommand", {Variant::String(u"(layerstate-save \"PLYSCAN\" 255 nil)(princ)\r")});
  const std::string json = plyscan::ToUtf8(application->Get(u"SimState").AsText());
  EXPECT_EQ(json, plyscan::ToUtf8(document->Get(u"simstate").AsText()));
  for (const char* part :
       {"\"layers\":[{\"name\":\"0\",\"on\":true,\"frozen\":false,\"locked\":false},"
        "{\"name\":\"Walls\",\"on\":false,\"frozen\":false,\"locked\":false},",
        "\"current_layer\":\"0\"", "\"layer_states\":[{\"name\":\"PLYSCAN\",\"mask\":255,\"current_layer\":\"0\"",
        "\"GRIDMODE\":0,", "\"SCREENSIZE\":[800,400]", "\"EXTMAX\":[100,50,0]",
        "\"Command: (setvar \\\"GRIDMODE\\\" 0)(command \\\"-LAYER\\\" \\\"OF\\\" \\\"Walls\\\" \\\"\\\")(princ)\"",
        "\"active_command\":\"\"", "\"regen_count\":0", "\"zoom_count\":0"})
    EXPECT_NE(json.find(part), std::string::npos) << part << "\nin " << json;
  EXPECT_NE(json.find("\"live_objects\":" + std::to_string(SimObject::LiveObjects())), std::string::npos) << json;
}

}  // namespace
}  // namespace simcad::testing
