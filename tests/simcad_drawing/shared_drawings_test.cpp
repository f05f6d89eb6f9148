// Every sample drawing made outside this project loads, with the layer
// switches its sources list and the entity counts of an independent scan.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "base/text.h"
#include "simcad/drawing/drawing.h"
#include "support/shared_files.h"

namespace simcad {
namespace {

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An independent count of the ENTITIES section: top-level records per raw
// layer name, paper space (67 = 1) left out, VERTEX, SEQEND and ATTRIB
// records counted with their parent.
struct EntityScan {
  std::map<std::string, std::size_t> per_layer;
  std::size_t total = 0;
};

EntityScan ScanEntities(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      lines.push_back(line);
      line.clear();
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += bytes[i];
    }
  }
  lines.push_back(line);
  const auto trimmed = [](std::string s) {
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    return s;
  };
  EntityScan scan;
  bool in_entities = false;
  bool open = false;       // a counted record is being read
  bool follower = false;   // inside a VERTEX, SEQEND or ATTRIB: its layer is not the parent's
  std::string layer;
  int space = 0;
  const auto close = [&] {
    if (open && space != 1) {
      ++scan.per_layer[layer];
      ++scan.total;
    }
    open = false;
  };
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    const int code = std::stoi(lines[i]);
    const std::string value = trimmed(lines[i + 1]);
    if (code == 2 && value == "ENTITIES" && i >= 2 && trimmed(lines[i - 1]) == "SECTION") in_entities = true;
    if (!in_entities) continue;
    if (code == 0) {
      follower = value == "VERTEX" || value == "SEQEND" || value == "ATTRIB";
      if (follower) continue;
      close();
      if (value == "ENDSEC") {
        in_entities = false;
        continue;
      }
      open = true;
      layer = "0";
      space = 0;
    } else if (open && !follower && code == 8) {
      layer = value;
    } else if (open && !follower && code == 67) {
      space = std::stoi(value);
    }
  }
  return scan;
}

bool PlainAscii(const std::string& name) {
  for (const char c : name)
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\\') return false;
  return true;
}

TEST(SharedDrawings, EveryDrawingLoadsWithTheCountsOfAnIndependentScan) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  const auto files = plyscan::testing::SharedDrawingFiles(folder);
  ASSERT_GE(files.size(), 9u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::string bytes = ReadBytes(file);
    Drawing drawing;
    ASSERT_NO_THROW(drawing = LoadDxf(bytes));
    const EntityScan scan = ScanEntities(bytes);
    EXPECT_EQ(drawing.entities.size(), scan.total);
    const std::vector<std::size_t> counts = drawing.EntityCounts();
    std::size_t sum = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) sum += counts[i];
    EXPECT_EQ(sum, scan.total) << "every entity counts on a layer of the table";
    // Names in other cases than the table's count on the table's layer.
    std::map<std::size_t, std::size_t> scanned;
    for (const auto& [raw, count] : scan.per_layer) {
      if (!PlainAscii(raw)) continue;  // checked by name against the listed facts below
      const Layer* layer = drawing.FindLayer(plyscan::FromUtf8(raw));
      ASSERT_NE(layer, nullptr) << raw;
      scanned[static_cast<std::size_t>(layer - drawing.layers.data())] += count;
    }
    for (const auto& [index, count] : scanned)
      EXPECT_EQ(counts[index], count) << plyscan::ToUtf8(drawing.layers[index].name);
    EXPECT_FALSE(drawing.ThawedExtents().Empty());
  }
}

struct LayerFact {
  const char16_t* name;
  std::size_t entities;
  bool on = true;
  bool frozen = false;
  bool locked = false;
};

// `layers`: the LAYER table's entries, then the layers a CAD adds: "0" when
// the table lacks it (first) and those that entities use without an entry (last).
struct DrawingFacts {
  const char* file;
  std::size_t layers;
  std::vector<LayerFact> facts;
  std::vector<const char16_t*> added_last = {};
  bool zero_added_first = false;
};

TEST(SharedDrawings, LayerTablesAsTheSourcesListThem) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  const std::vector<DrawingFacts> table = {
      {"flange.dxf", 13, {{u"aux_iso", 6, false, true}, {u"0", 116}, {u"border", 0}, {u"center", 33}, {u"hatch", 46},
                          {u"viewports", 0}}},
      {"frozen-off.dxf",
       5,
       {{u"0", 0}, {u"ONTHAW", 2}, {u"ONFREEZE", 2, true, true}, {u"OFFTHAW", 2, false}, {u"OFFFREEZE", 2, false, true}}},
      {"ASCII_R12.dxf", 2, {{u"0", 0}, {u"\u039B\u0391\u0393\u0395\u03A1\u00C4\u00DC\u00D6", 3}}},
      {"gh109_1.dxf", 27, {{u"\u6D01\u5177", 0}, {u"ASHADE", 0, true, false, true}, {u"_TCH_KEY", 0, true, false, true},
                           {u"WALL", 9}, {u"PUB_DIM", 12}, {u"0", 5}}},
      {"floorplan.dxf", 24, {{u"A-NOTE", 183}, {u"View Port", 0}, {u"xref-Bishop-Overland-08$0$A-WALL", 177}, {u"TEMP", 0}}},
      // A block inserted in model space draws on "TOPTest", which the table lacks.
      {"UAP_212718.dxf", 33, {{u"PUNKTE", 189, false}, {u"HILFSELEMENTE", 52, false}, {u"PROFIL", 975}, {u"1", 86},
                              {u"TOPTest", 0}}, {u"TOPTest"}},
      // Layers "1" to "255" and "MySolids"; no "0".
      {"vdr_Fraeskontur_Fraesermitte.dxf", 256, {{u"1", 2809}, {u"255", 0}, {u"MySolids", 0}}, {}, true},
      {"DrawCSV_Ltype_test.dxf", 49, {{u"0 Entity Linetypes %", 52, true, false, true}, {u"20 Center (.5x)", 1}}},
      {"DrawCSV_Color_test.dxf", 21, {{u"0 Entity Colors %", 24, true, false, true}, {u"112 #Dark Purple", 1}}},
  };
  for (const DrawingFacts& facts : table) {
    SCOPED_TRACE(facts.file);
    const Drawing drawing = LoadDxfFile(folder / facts.file);
    const std::size_t added = facts.added_last.size() + (facts.zero_added_first ? 1 : 0);
    ASSERT_EQ(drawing.layers.size(), facts.layers + added);
    if (facts.zero_added_first) {
      EXPECT_EQ(drawing.layers.front().name, u"0");
    }
    for (std::size_t i = 0; i < facts.added_last.size(); ++i)
      EXPECT_EQ(drawing.layers[drawing.layers.size() - facts.added_last.size() + i].name, facts.added_last[i]);
    const std::vector<std::size_t> counts = drawing.EntityCounts();
    for (const LayerFact& fact : facts.facts) {
      const Text name(fact.name);
      SCOPED_TRACE(plyscan::ToUtf8(name));
      const Layer* layer = drawing.FindLayer(name);
      ASSERT_NE(layer, nullptr);
      EXPECT_EQ(layer->name, name) << "spelled as the table spells it";
      EXPECT_EQ(layer->on, fact.on);
      EXPECT_EQ(layer->frozen, fact.frozen);
      EXPECT_EQ(layer->locked, fact.locked);
      EXPECT_EQ(counts[static_cast<std::size_t>(layer - drawing.layers.data())], fact.entities);
    }
  }
}

TEST(SharedDrawings, SelectionFollowsTheSwitchesOfFrozenOff) {
  PLYSCAN_REQUIRE_SHARED_DRAWINGS(folder);
  Drawing drawing = LoadDxfFile(folder / "frozen-off.dxf");
  const Box all = drawing.ThawedExtents();
  // Only ONTHAW is on and thawed: its LINE and its INSERT are selected, each once.
  const std::vector<std::size_t> selected = drawing.SelectCrossing(all);
  ASSERT_EQ(selected.size(), 2u);
  for (const std::size_t i : selected) EXPECT_TRUE(SameName(drawing.entities[i].layer, u"ONTHAW"));
  // Thawing and turning every layer on makes all eight selectable.
  for (Layer& layer : drawing.layers) {
    layer.on = true;
    layer.frozen = false;
  }
  const Box wider = drawing.ThawedExtents();
  EXPECT_EQ(drawing.SelectCrossing(wider).size(), 8u);
}

}  // namespace
}  // namespace simcad
