// The board's commands against simcad in-process: what they do to the
// drawing, whatever the layer names are, and what stays when a call fails.
#include "board/layer_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/failure.h"
#include "simcad/drawing/drawing.h"
#include "support/shared_files.h"
#include "support/sim_target.h"

namespace plyscan::board {
namespace {

using testing::SimCadServices;

constexpr char16_t kProgId[] = u"BricscadApp.AcadApplication";

simcad::Drawing DrawingOf(std::initializer_list<const char16_t*> names) {
  simcad::Drawing drawing;
  for (const char16_t* name : names) drawing.layers.push_back(simcad::Layer{name});
  return drawing;
}

LayerSnapshot RecordsOf(const simcad::Drawing& drawing) {
  LayerSnapshot records;
  ResizeSnapshot(records, drawing.layers.size());
  for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
    const simcad::Layer& layer = drawing.layers[i];
    records[i].name = layer.name;
    records[i].on = layer.on;
    records[i].frozen = layer.frozen;
    records[i].locked = layer.locked;
  }
  return records;
}

struct Cad {
  explicit Cad(simcad::Drawing drawing, simcad::SimOptions options = {}, Text progid = kProgId)
      : session(std::make_shared<simcad::SimCad>(std::move(drawing), options)), sim(session) {
    sim.target.progid = std::move(progid);
  }
  simcad::Drawing& Drawing() { return session->GetDrawing(); }
  int Calls(TextView member) {
    const auto found = sim.target.faults.Counts().find(AsciiUpper(member));
    return found == sim.target.faults.Counts().end() ? 0 : found->second;
  }
  std::shared_ptr<simcad::SimCad> session;
  SimCadServices sim;
};

// After isolating layer `shown`: it alone is on, thawed and unlocked; every
// other layer keeps its freeze and lock switches from `before`.
void ExpectIsolated(const simcad::Drawing& after, const simcad::Drawing& before, std::size_t shown,
                    const std::string& where) {
  for (std::size_t i = 0; i < after.layers.size(); ++i) {
    const simcad::Layer& layer = after.layers[i];
    const std::string name = where + ": layer " + ToUtf8(layer.name);
    if (i == shown) {
      EXPECT_TRUE(layer.on && !layer.frozen && !layer.locked) << name;
    } else {
      EXPECT_FALSE(layer.on) << name;
      EXPECT_EQ(layer.frozen, before.layers[i].frozen) << name;
      EXPECT_EQ(layer.locked, before.layers[i].locked) << name;
    }
  }
}

TEST(IsolateLayer, ShowsEachLayerOfEverySharedDrawingAlone) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  for (const auto& file : testing::SharedDrawingFiles(folder)) {
    Cad cad(simcad::LoadDxfFile(file));
    const LayerSnapshot records = RecordsOf(cad.Drawing());
    for (std::size_t i = 0; i < records.size(); ++i) {
      const simcad::Drawing before = cad.Drawing();
      ASSERT_TRUE(IsolateLayer(cad.sim.services, kProgId, records, static_cast<std::int64_t>(i), false));
      ExpectIsolated(cad.Drawing(), before, i, file.filename().string());
      EXPECT_EQ(cad.session->Variables().Integer(u"EXPERT"), 0);
      EXPECT_EQ(cad.session->Variables().Integer(u"CMDECHO"), 1);
    }
    EXPECT_FALSE(cad.session->GetCommandLine().Active()) << file;
  }
}

TEST(IsolateLayer, HostileNamesNameExactlyTheirLayer) {
  std::u16string long_name(255, u'x');
  long_name[0] = u'*';
  const simcad::Drawing drawing = [&] {
    simcad::Drawing d = DrawingOf({u"0",         u"Say \"hi\"", u"Say hi",    u"C:\\temp",   u"end\\",
                                   u"a\\\"b",    u"E.LIGHT",    u"E-LIGHT",   u"E LIGHT",    u"A#1",
                                   u"A11",       u"@home",      u"Xhome",     u"*",          u"Star*",
                                   u"StarX",     u"Q?",         u"QX",        u"~NOT",       u"~",
                                   u"Old[2]",    u"Old2",       u"Set[a-c]",  u"Setb",       u"a,b",
                                   u"a",         u"b",          u"`tick",     u"tick",       u"Two  Words",
                                   u" lead",     u"trail ",     u"電気-照明", u"電気照明",   u"door",
                                   u"DOOR",      u"\")(command \"-LAYER\" \"ON\" \"*\" \"\")(princ"});
    d.layers.push_back(simcad::Layer{long_name});
    d.layers.push_back(simcad::Layer{Text(255, u'x')});
    d.layers[3].frozen = true;
    d.layers[7].locked = true;
    return d;
  }();
  Cad cad(drawing);
  const LayerSnapshot records = RecordsOf(drawing);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const simcad::Drawing before = cad.Drawing();
    ASSERT_TRUE(IsolateLayer(cad.sim.services, kProgId, records, static_cast<std::int64_t>(i), false));
    for (std::size_t j = 0; j < before.layers.size(); ++j) {
      const simcad::Layer& layer = cad.Drawing().layers[j];
      // The CAD itself takes names without regard to case: "door" is "DOOR".
      const bool same = simcad::SameName(layer.name, records[i].name);
      EXPECT_EQ(layer.on, same) << "isolating [" << ToUtf8(records[i].name) << "]: [" << ToUtf8(layer.name) << "]";
      if (same) {
        // The one shown is thawed and unlocked too ("C:\temp" starts frozen, "E-LIGHT" locked).
        EXPECT_FALSE(layer.frozen || layer.locked) << "isolating [" << ToUtf8(records[i].name) << "]";
      } else {
        EXPECT_EQ(layer.frozen, before.layers[j].frozen) << ToUtf8(layer.name);
      }
    }
  }
  EXPECT_FALSE(cad.session->History().Contains(u"error")) << ToUtf8(cad.session->SimStateJson());
}

TEST(IsolateLayer, PutsTheVariablesBackWhenAStepFails) {
  const struct {
    const char16_t* member;
    int nth;
    const char* what;
  } cases[] = {
      {u"SendCommand", 1, "the layer text"},
      {u"SendCommand", 2, "the text that sets the variables back"},
      {u"SetVariable", 2, "CMDECHO 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Cad cad(DrawingOf({u"0", u"Walls"}));
    ASSERT_EQ(cad.session->Variables().SetInteger(u"CMDECHO", 1), simcad::VariableError::None);
    cad.sim.target.faults.Add({c.member, c.nth});
    EXPECT_FALSE(IsolateLayer(cad.sim.services, kProgId, RecordsOf(cad.Drawing()), 1, false));
    EXPECT_EQ(cad.session->Variables().Integer(u"EXPERT"), 0);
    EXPECT_EQ(cad.session->Variables().Integer(u"CMDECHO"), 1);
  }
}

TEST(IsolateLayer, SendsNothingOutsideTheRecordsOrWithoutATarget) {
  Cad cad(DrawingOf({u"0", u"Walls"}));
  const LayerSnapshot records = RecordsOf(cad.Drawing());
  EXPECT_TRUE(IsolateLayer(cad.sim.services, kProgId, records, 2, false));
  EXPECT_TRUE(IsolateLayer(cad.sim.services, kProgId, LayerSnapshot{}, 0, false));
  EXPECT_EQ(cad.sim.target.attaches, 0);
  cad.sim.target.running = false;
  EXPECT_TRUE(IsolateLayer(cad.sim.services, kProgId, records, 1, false));
  EXPECT_FALSE(IsolateLayer(cad.sim.services, u"Not.Registered", records, 1, false));
  EXPECT_EQ(cad.sim.target.attaches, 0);
  EXPECT_TRUE(cad.Drawing().layers[0].on);
  EXPECT_TRUE(cad.sim.desktop.calls.empty());
}

TEST(IsolateLayer, ZoomsWhenAskedAndTwiceForAGcadTarget) {
  const struct {
    const char16_t* progid;
    bool zoom;
    int zooms;
  } cases[] = {{kProgId, false, 0}, {kProgId, true, 1}, {u"Gcad.Application", true, 2}};
  for (const auto& c : cases) {
    Cad cad(DrawingOf({u"0", u"Walls"}), {}, c.progid);
    ASSERT_TRUE(IsolateLayer(cad.sim.services, c.progid, RecordsOf(cad.Drawing()), 1, c.zoom));
    EXPECT_EQ(cad.session->ZoomCount(), c.zooms) << ToUtf8(c.progid);
    EXPECT_EQ(cad.sim.desktop.calls, std::vector<std::string>{"SetForegroundWindow"});  // never un-minimised
  }
}

TEST(ShowLayer, TurnsOneLayerOnAndLeavesTheOthers) {
  simcad::Drawing drawing = DrawingOf({u"0", u"Walls", u"E.LIGHT", u"E-LIGHT"});
  for (std::size_t i = 1; i < 4; ++i) drawing.layers[i].on = false;
  drawing.layers[2].frozen = drawing.layers[2].locked = true;
  drawing.layers[1].locked = true;
  Cad cad(drawing);
  ASSERT_TRUE(ShowLayer(cad.sim.services, kProgId, RecordsOf(drawing), 2));
  const auto& layers = cad.Drawing().layers;
  EXPECT_TRUE(layers[0].on);
  EXPECT_TRUE(!layers[1].on && layers[1].locked);
  EXPECT_TRUE(layers[2].on && !layers[2].frozen && !layers[2].locked);
  EXPECT_FALSE(layers[3].on);
  EXPECT_EQ(cad.session->Variables().Integer(u"EXPERT"), 0);
}

// The switches of every layer as "name:1FL" (on, frozen, locked) in table order.
std::string Switches(const simcad::Drawing& drawing) {
  std::string out;
  for (const simcad::Layer& layer : drawing.layers)
    out += ToUtf8(layer.name) + ":" + (layer.on ? "1" : "0") + (layer.frozen ? "F" : "T") +
           (layer.locked ? "L" : "U") + " ";
  return out;
}

TEST(LayerState, ASecondSaveReplacesTheFirstOnAServerThatKeepsStates) {
  Cad cad(DrawingOf({u"0", u"Walls", u"Doors"}));  // layerstate-save keeps an existing state here
  auto& layers = cad.Drawing().layers;
  ASSERT_TRUE(SaveLayerState(cad.sim.services, kProgId));
  layers[1].on = false;
  layers[2].locked = true;
  const std::string second = Switches(cad.Drawing());
  ASSERT_TRUE(SaveLayerState(cad.sim.services, kProgId));
  layers[1].on = true;
  layers[2].on = false;
  layers[2].frozen = true;
  ASSERT_TRUE(RestoreLayerState(cad.sim.services, kProgId, false));
  EXPECT_EQ(Switches(cad.Drawing()), second);
  EXPECT_EQ(cad.session->RegenCount(), 1);
  EXPECT_EQ(cad.session->ZoomCount(), 0);

  ASSERT_TRUE(DeleteLayerState(cad.sim.services, kProgId));
  EXPECT_EQ(cad.Drawing().FindLayerState(u"PLYSCAN"), nullptr);
  // Deleting again: the test inside the text finds nothing to delete.
  ASSERT_TRUE(DeleteLayerState(cad.sim.services, kProgId));
  EXPECT_EQ(Switches(cad.Drawing()), second);
  EXPECT_FALSE(cad.session->History().Contains(u"error")) << ToUtf8(cad.session->SimStateJson());
}

TEST(LayerState, RestoreZoomsWhenAskedThenRegenerates) {
  Cad cad(DrawingOf({u"0"}), {}, u"GCAD.Application");
  ASSERT_TRUE(RestoreLayerState(cad.sim.services, u"GCAD.Application", true));
  EXPECT_EQ(cad.session->ZoomCount(), 2);
  EXPECT_EQ(cad.session->RegenCount(), 1);
  // A failed restore text skips the zoom and the regen.
  cad.sim.target.faults.Add({u"SendCommand", 0});
  EXPECT_FALSE(RestoreLayerState(cad.sim.services, u"GCAD.Application", true));
  EXPECT_EQ(cad.session->ZoomCount(), 2);
  EXPECT_EQ(cad.session->RegenCount(), 1);
}

class RecordedProgress final : public ProgressDisplay {
 public:
  void SetVisible(bool v) override { visible = v, ever_shown = ever_shown || v; }
  void SetMax(std::int32_t m) override { max = m; }
  std::int32_t Position() const override { return position; }
  void SetPosition(std::int32_t p) override { position = p; }
  bool visible = false;
  bool ever_shown = false;
  std::int32_t max = 100;
  std::int32_t position = 0;
};

struct SnapshotCase {
  Cad cad{DrawingOf({u"0", u"Walls", u"Doors", u"Notes"})};
  LayerSnapshot records = RecordsOf(cad.Drawing());
  RecordedProgress progress;
  SnapshotCase() {
    // The capture read Walls off and locked, Doors frozen; since then all went back on.
    records[1].on = false;
    records[1].locked = true;
    records[2].frozen = true;
  }
  bool Run() { return RestoreSnapshot(cad.sim.services, kProgId, records, progress); }
};

TEST(RestoreSnapshot, PutsBackTheSwitchesByName) {
  SnapshotCase c;
  std::reverse(c.records.begin(), c.records.end());  // the board's order does not matter
  ASSERT_TRUE(c.Run());
  EXPECT_EQ(Switches(c.cad.Drawing()), "0:1TU Walls:0TL Doors:1FU Notes:1TU ");
  EXPECT_EQ(c.cad.session->RegenCount(), 1);
  EXPECT_TRUE(c.progress.ever_shown);
  EXPECT_FALSE(c.progress.visible);
  EXPECT_EQ(c.progress.position, 0);
  EXPECT_EQ(c.progress.max, 4);
  EXPECT_EQ(c.cad.sim.desktop.calls.front(), "IsIconic");  // it un-minimises
}

TEST(RestoreSnapshot, ARefusedWriteIsAskedAgain) {
  SnapshotCase c;
  c.cad.sim.target.faults.Add({u"Lock", 1, hr::kCallRejected});
  c.cad.sim.target.faults.Add({u"LayerOn", 2, hr::kRetryLater});
  ASSERT_TRUE(c.Run());
  EXPECT_EQ(Switches(c.cad.Drawing()), "0:1TU Walls:0TL Doors:1FU Notes:1TU ");
  EXPECT_EQ(std::count(c.cad.sim.desktop.calls.begin(), c.cad.sim.desktop.calls.end(), "Sleep 250"), 2);
}

TEST(RestoreSnapshot, WritesOnlyWhereNamesMatchExactly) {
  SnapshotCase renamed;
  renamed.cad.Drawing().layers[1].name = u"Walls-old";
  ASSERT_TRUE(renamed.Run());
  EXPECT_EQ(Switches(renamed.cad.Drawing()), "0:1TU Walls-old:1TU Doors:1FU Notes:1TU ");

  SnapshotCase other_case;
  other_case.records[1].name = u"WALLS";
  ASSERT_TRUE(other_case.Run());
  EXPECT_EQ(Switches(other_case.cad.Drawing()), "0:1TU Walls:1TU Doors:1FU Notes:1TU ");
}

TEST(RestoreSnapshot, WritesNothingWhenTheCountsDiffer) {
  SnapshotCase added;
  added.cad.Drawing().layers.push_back(simcad::Layer{u"New"});
  ASSERT_TRUE(added.Run());
  EXPECT_EQ(Switches(added.cad.Drawing()), "0:1TU Walls:1TU Doors:1TU Notes:1TU New:1TU ");
  EXPECT_EQ(added.cad.session->RegenCount(), 0);
  EXPECT_FALSE(added.progress.ever_shown);

  SnapshotCase empty;
  empty.records.clear();
  ASSERT_TRUE(empty.Run());
  EXPECT_EQ(empty.cad.session->RegenCount(), 0);
  EXPECT_FALSE(empty.progress.ever_shown);
}

TEST(RestoreSnapshot, ARefusedWriteStopsThereWithTheBarShown) {
  SnapshotCase c;
  c.cad.sim.target.faults.Add({u"Freeze", 2});  // Walls, the second layer: Lock written, Freeze refused
  EXPECT_FALSE(c.Run());
  EXPECT_EQ(Switches(c.cad.Drawing()), "0:1TU Walls:1TL Doors:1TU Notes:1TU ");
  EXPECT_EQ(c.cad.session->RegenCount(), 0);
  EXPECT_TRUE(c.progress.visible);
  EXPECT_EQ(c.progress.position, 2);
}

TEST(RestoreSnapshot, WithoutATargetTouchesNothing) {
  SnapshotCase c;
  c.cad.sim.target.running = false;
  ASSERT_TRUE(c.Run());
  EXPECT_FALSE(c.progress.ever_shown);
  EXPECT_EQ(c.progress.max, 100);
}

}  // namespace
}  // namespace plyscan::board
