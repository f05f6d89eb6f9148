// Loading small DXF texts: block expansion, layer inheritance, paper space,
// code pages, line ends.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf_text.h"
#include "simcad/drawing/drawing.h"

namespace simcad {
namespace {

using testing::DxfFile;
using testing::LayerEntry;
using testing::LineRecord;
using testing::Pairs;
using testing::operator+;

Pairs Block(const std::string& name, double base_x, double base_y, const Pairs& content) {
  return Pairs{{0, "BLOCK"}, {8, "0"}, {2, name}, {70, "0"}, {10, std::to_string(base_x)}, {20, std::to_string(base_y)},
               {30, "0"}, {3, name}} +
         content + Pairs{{0, "ENDBLK"}, {8, "0"}};
}

Pairs Insert(const std::string& layer, const std::string& block, double x, double y, double scale, double rotation) {
  return {{0, "INSERT"}, {8, layer}, {2, block}, {10, std::to_string(x)}, {20, std::to_string(y)}, {30, "0"},
          {41, std::to_string(scale)}, {42, std::to_string(scale)}, {43, "1"}, {50, std::to_string(rotation)}};
}

void ExpectPoint(const Point& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

std::size_t CountOn(const Drawing& d, const Text& layer) {
  const std::vector<std::size_t> counts = d.EntityCounts();
  for (std::size_t i = 0; i < d.layers.size(); ++i)
    if (SameName(d.layers[i].name, layer)) return counts[i];
  return 0;
}

// INNER: a unit line and a small circle. OUTER (base 10,0): INNER turned a
// quarter and doubled at its base, and a line on layer B.
DxfFile NestedBlocks() {
  DxfFile file;
  file.layers = LayerEntry("0", 7) + LayerEntry("A", 1) + LayerEntry("B", 3);
  file.blocks =
      Block("INNER", 0, 0,
            LineRecord("0", 0, 0, 1, 0) +
                Pairs{{0, "CIRCLE"}, {8, "0"}, {10, "1"}, {20, "0"}, {30, "0"}, {40, "0.5"}}) +
      Block("OUTER", 10, 0, Insert("0", "INNER", 10, 0, 2, 90) + LineRecord("B", 10, 0, 11, 0));
  file.entities = Insert("A", "OUTER", 100, 100, 3, 0);
  return file;
}

TEST(DxfLoader, NestedInsertIsOneEntityWithItsBlocksInWorldCoordinates) {
  const Drawing d = LoadDxf(NestedBlocks().Text());
  ASSERT_EQ(d.entities.size(), 1u);
  const Entity& insert = d.entities[0];
  EXPECT_EQ(insert.kind, EntityKind::Insert);
  EXPECT_EQ(insert.layer, u"A");
  ASSERT_EQ(insert.parts.size(), 3u);
  // INNER's line: (0,0)-(1,0) -> OUTER (10,0)-(10,2) -> world (100,100)-(100,106); layer 0 -> A.
  EXPECT_EQ(insert.parts[0].kind, EntityKind::Line);
  EXPECT_EQ(insert.parts[0].layer, u"A");
  ExpectPoint(insert.parts[0].points[0], 100, 100);
  ExpectPoint(insert.parts[0].points[1], 100, 106);
  // INNER's circle: centre (1,0) r 0.5 -> (10,2) r 1 -> (100,106) r 3.
  EXPECT_EQ(insert.parts[1].kind, EntityKind::Circle);
  ExpectPoint(insert.parts[1].points[0], 100, 106);
  EXPECT_NEAR(insert.parts[1].radius, 3, 1e-9);
  // OUTER's own line keeps its layer B: (10,0)-(11,0) -> (100,100)-(103,100).
  EXPECT_EQ(insert.parts[2].layer, u"B");
  ExpectPoint(insert.parts[2].points[1], 103, 100);

  EXPECT_EQ(CountOn(d, u"A"), 1u);
  EXPECT_EQ(CountOn(d, u"B"), 0u) << "sub-entities are geometry, not objects of their layer";
  const Box box = d.ThawedExtents();
  ExpectPoint(box.min, 97, 100);
  ExpectPoint(box.max, 103, 109);
}

TEST(DxfLoader, InsertSelectionFollowsItsOwnLayer) {
  Drawing d = LoadDxf(NestedBlocks().Text());
  const Box window{{99, 105, 0}, {101, 107, 0}};  // touches only parts on layer A
  EXPECT_EQ(d.SelectCrossing(window).size(), 1u);
  d.FindLayer(u"B")->on = false;
  EXPECT_EQ(d.SelectCrossing({{102, 99, 0}, {104, 101, 0}}).size(), 1u) << "a part on an off layer still selects the insert";
  d.FindLayer(u"a")->on = false;
  EXPECT_TRUE(d.SelectCrossing(window).empty());
  d.FindLayer(u"A")->on = true;
  d.FindLayer(u"A")->frozen = true;
  EXPECT_TRUE(d.SelectCrossing(window).empty());
  EXPECT_TRUE(d.ThawedExtents().Empty());
}

TEST(DxfLoader, MirroredAndStretchedInsertsKeepTheirCurves) {
  DxfFile file;
  file.layers = LayerEntry("0", 7);
  file.blocks = Block("QUARTER", 0, 0,
                      Pairs{{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {50, "0"}, {51, "90"}}) +
                Block("RING", 0, 0, Pairs{{0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}});
  file.entities = Pairs{{0, "INSERT"}, {8, "0"}, {2, "QUARTER"}, {10, "0"}, {20, "0"}, {30, "0"}, {41, "-1"}} +
                  Pairs{{0, "INSERT"}, {8, "0"}, {2, "RING"}, {10, "10"}, {20, "0"}, {30, "0"}, {41, "2"}};
  const Drawing d = LoadDxf(file.Text());
  ASSERT_EQ(d.entities.size(), 2u);
  const Box mirrored = Extents(d.entities[0]);  // the quarter arc now in the second quadrant
  ExpectPoint(mirrored.min, -1, 0);
  ExpectPoint(mirrored.max, 0, 1);
  const Box stretched = Extents(d.entities[1]);  // an ellipse 2 by 1 about (10,0)
  EXPECT_NEAR(stretched.min.x, 8, 1e-3);
  EXPECT_NEAR(stretched.max.x, 12, 1e-3);
  EXPECT_NEAR(stretched.max.y, 1, 1e-3);
}

TEST(DxfLoader, ArraysAttributesAndMissingBlocks) {
  DxfFile file;
  file.layers = LayerEntry("0", 7) + LayerEntry("TAGS", 2);
  file.blocks = Block("DOT", 0, 0, LineRecord("0", 0, 0, 1, 0));
  file.entities = Pairs{{0, "INSERT"}, {8, "0"}, {66, "1"}, {2, "DOT"}, {10, "0"}, {20, "0"}, {30, "0"},
                        {70, "3"}, {71, "2"}, {44, "10"}, {45, "5"}} +
                  Pairs{{0, "ATTRIB"}, {8, "TAGS"}, {10, "0"}, {20, "-2"}, {30, "0"}, {40, "1"}, {1, "A1"}, {2, "TAG"},
                        {70, "0"}} +
                  Pairs{{0, "SEQEND"}, {8, "0"}} + Insert("0", "NOWHERE", 5, 5, 1, 0);
  const Drawing d = LoadDxf(file.Text());
  ASSERT_EQ(d.entities.size(), 2u) << "ATTRIB and SEQEND belong to their INSERT";
  EXPECT_EQ(d.entities[0].parts.size(), 3u * 2u + 1u);
  const Box box = Extents(d.entities[0]);
  ExpectPoint(box.max, 21, 5);
  EXPECT_NEAR(box.min.y, -2, 1e-9);
  EXPECT_TRUE(d.entities[1].parts.empty());
  EXPECT_EQ(CountOn(d, u"TAGS"), 0u);
}

TEST(DxfLoader, PaperSpaceIsLeftOutAndUnknownLayersAreCreated) {
  DxfFile file;
  file.layers = LayerEntry("0", 7) + LayerEntry("Walls", 5);
  file.entities = LineRecord("walls", 0, 0, 1, 1) +
                  Pairs{{0, "LINE"}, {8, "Walls"}, {67, "1"}, {10, "0"}, {20, "0"}, {11, "500"}, {21, "500"}} +
                  LineRecord("Extra", 2, 2, 3, 3) +
                  Pairs{{0, "LEADER"}, {8, "Walls"}, {10, "0"}, {20, "0"}, {10, "4"}, {20, "-1"}};
  const Drawing d = LoadDxf(file.Text());
  ASSERT_EQ(d.entities.size(), 3u);
  EXPECT_EQ(d.entities[0].layer, u"Walls") << "named as the table spells it";
  ASSERT_EQ(d.layers.size(), 3u);
  EXPECT_EQ(d.layers[2].name, u"Extra");
  EXPECT_EQ(d.layers[2].colour, 7);
  EXPECT_EQ(d.entities[2].kind, EntityKind::Other);
  EXPECT_EQ(d.entities[2].points.size(), 2u);
  const Box box = d.ThawedExtents();
  ExpectPoint(box.max, 4, 3);
  EXPECT_NEAR(box.min.y, -1, 1e-9);
}

TEST(DxfLoader, PolylinesWithVerticesAndBulges) {
  DxfFile file;
  file.layers = LayerEntry("0", 7);
  file.entities = Pairs{{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "1"},
                        {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {42, "1"},
                        {0, "VERTEX"}, {8, "0"}, {10, "2"}, {20, "0"},
                        {0, "VERTEX"}, {8, "0"}, {10, "2"}, {20, "3"},
                        {0, "SEQEND"}, {8, "0"},
                        {0, "LWPOLYLINE"}, {8, "0"}, {90, "2"}, {70, "0"}, {10, "10"}, {20, "0"}, {42, "-1"},
                        {10, "12"}, {20, "0"}};
  const Drawing d = LoadDxf(file.Text());
  ASSERT_EQ(d.entities.size(), 2u);
  EXPECT_EQ(d.entities[0].points.size(), 3u);
  EXPECT_TRUE(d.entities[0].closed);
  // Bulge 1 from (0,0) to (2,0) is a half circle below the chord (counter-clockwise).
  EXPECT_NEAR(Extents(d.entities[0]).min.y, -1, 1e-9);
  // Bulge -1 from (10,0) to (12,0) turns clockwise: the half circle above.
  const Box lw = Extents(d.entities[1]);
  EXPECT_NEAR(lw.max.y, 1, 1e-9);
  EXPECT_NEAR(lw.min.y, 0, 1e-9);
}

TEST(DxfLoader, CodePagesAndEscapesInNames) {
  DxfFile r12;
  r12.layers = LayerEntry("0", 7) + LayerEntry("\\U+5BF8\\U+6CD5 \xC4\x80", 7);
  const Drawing old = LoadDxf(r12.Text());
  EXPECT_EQ(old.layers[1].name, u"寸法 Ä€");
  DxfFile utf8;
  utf8.acadver = "AC1027";
  utf8.layers = LayerEntry("0", 7) + LayerEntry("寸法 Ä", 7);
  EXPECT_EQ(LoadDxf(utf8.Text()).layers[1].name, u"寸法 Ä");
}

TEST(DxfLoader, LineEndsDoNotMatter) {
  DxfFile file = NestedBlocks();
  file.layers = file.layers + LayerEntry("OFF", -3, 1 | 4);
  for (const std::string eol : {"\n", "\r\n", "\r"}) {
    const Drawing d = LoadDxf(file.Text(eol));
    ASSERT_EQ(d.layers.size(), 4u);
    EXPECT_FALSE(d.layers[3].on);
    EXPECT_TRUE(d.layers[3].frozen);
    EXPECT_TRUE(d.layers[3].locked);
    EXPECT_EQ(d.layers[3].colour, 3);
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(d.entities[0].parts.size(), 3u);
  }
}

TEST(DxfLoader, TextBoxesFollowTheirAlignment) {
  DxfFile file;
  file.layers = LayerEntry("0", 7);
  // Right-aligned at (10,0): the box ends there.
  file.entities = Pairs{{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "2"}, {1, "ABCDE"}, {72, "2"},
                        {11, "10"}, {21, "0"}} +
                  Pairs{{0, "MTEXT"}, {8, "0"}, {10, "0"}, {20, "20"}, {40, "3"}, {71, "1"},
                        {1, "{\\fArial|b0;AB}\\PCD"}};
  const Drawing d = LoadDxf(file.Text());
  const Box text = Extents(d.entities[0]);
  EXPECT_NEAR(text.max.x, 10, 1e-9);
  EXPECT_NEAR(text.max.x - text.min.x, 5 * 0.6 * 2, 1e-9);
  EXPECT_EQ(d.entities[1].text, u"AB\nCD");
  const Box mtext = Extents(d.entities[1]);
  EXPECT_NEAR(mtext.max.y, 20, 1e-9) << "top-left attachment hangs the box below the point";
  EXPECT_LT(mtext.min.y, 20 - 3 * 2);
}

}  // namespace
}  // namespace simcad
