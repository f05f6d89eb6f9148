// The renderer draws visible entities in their colours on the background;
// the BMP writer lays the picture out as Windows reads it.
#include <gtest/gtest.h>

#include "simcad/drawing/render.h"

namespace simcad {
namespace {

Drawing OneLine(int colour) {
  Drawing d;
  d.layers = {{u"0"}, {u"L", true, false, false, colour}};
  Entity line;
  line.kind = EntityKind::Line;
  line.layer = u"L";
  line.points = {{-40, 10}, {40, 10}};
  d.entities.push_back(line);
  d.view = {{0, 0, 0}, 100, 100, 100};
  return d;
}

std::size_t PixelsNot(const Image& image, Rgb colour) {
  std::size_t count = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) count += image.At(x, y) == colour ? 0 : 1;
  return count;
}

TEST(Render, DrawsALineInItsLayerColourWithYUp) {
  const Image image = RenderView(OneLine(1));
  ASSERT_EQ(image.width, 100);
  ASSERT_EQ(image.height, 100);
  EXPECT_EQ(image.At(50, 40), (Rgb{255, 0, 0})) << "y = 10 is 10 pixels above the centre row";
  EXPECT_EQ(image.At(10, 40), (Rgb{255, 0, 0}));
  EXPECT_EQ(image.At(50, 60), kBackground);
  EXPECT_EQ(image.At(5, 40), kBackground);
  EXPECT_GE(PixelsNot(image, kBackground), 80u);
  EXPECT_LE(PixelsNot(image, kBackground), 82u);
}

TEST(Render, NothingForAnOffOrFrozenLayer) {
  Drawing off = OneLine(3);
  off.layers[1].on = false;
  EXPECT_EQ(PixelsNot(RenderView(off), kBackground), 0u);
  Drawing frozen = OneLine(3);
  frozen.layers[1].frozen = true;
  EXPECT_EQ(PixelsNot(RenderView(frozen), kBackground), 0u);
}

TEST(Render, InsertPartsFollowTheirOwnLayersAndVanishWithAFrozenInsert) {
  Drawing d = OneLine(3);
  d.layers.push_back({u"Blocks", true, false, false, 5});
  Entity insert;
  insert.kind = EntityKind::Insert;
  insert.layer = u"Blocks";
  insert.parts = {d.entities[0]};       // a part on layer L, green
  insert.parts[0].points = {{-40, -10}, {40, -10}};
  d.entities = {insert};
  d.layers[2].on = false;
  EXPECT_EQ(RenderView(d).At(50, 60), (Rgb{0, 255, 0})) << "an off insert layer leaves parts on other layers";
  d.layers[2].frozen = true;
  EXPECT_EQ(PixelsNot(RenderView(d), kBackground), 0u);
}

TEST(Render, ColourIndexPalette) {
  EXPECT_EQ(AciColour(1), (Rgb{255, 0, 0}));
  EXPECT_EQ(AciColour(5), (Rgb{0, 0, 255}));
  EXPECT_EQ(AciColour(7), (Rgb{255, 255, 255}));
  EXPECT_EQ(AciColour(256), (Rgb{255, 255, 255}));
  EXPECT_EQ(AciColour(8), (Rgb{128, 128, 128}));
  EXPECT_EQ(AciColour(10), (Rgb{255, 0, 0}));
  EXPECT_EQ(AciColour(11), (Rgb{255, 127, 127}));
  EXPECT_EQ(AciColour(20), (Rgb{255, 63, 0}));
  EXPECT_EQ(AciColour(25), (Rgb{153, 95, 76}));
  EXPECT_EQ(AciColour(60), (Rgb{191, 255, 0}));
  EXPECT_EQ(AciColour(140), (Rgb{0, 191, 255}));
  EXPECT_EQ(AciColour(250), (Rgb{51, 51, 51}));
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

TEST(BmpWriter, HeaderBottomUpRowsAndPadding) {
  Image image;
  image.width = 3;
  image.height = 2;
  image.rgb.assign(3 * 2 * 3, 0);
  image.Set(0, 0, {1, 2, 3});      // top left
  image.Set(2, 1, {10, 20, 30});  // bottom right
  const std::vector<std::uint8_t> bmp = BmpBytes(image);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
  EXPECT_EQ(Le(bmp, 10, 4), 54u);
  EXPECT_EQ(Le(bmp, 14, 4), 40u);
  EXPECT_EQ(Le(bmp, 18, 4), 3u);
  EXPECT_EQ(Le(bmp, 22, 4), 2u);
  EXPECT_EQ(Le(bmp, 28, 2), 24u);
  // The first stored row is the bottom one, blue first.
  EXPECT_EQ(bmp[54 + 6], 30);
  EXPECT_EQ(bmp[54 + 7], 20);
  EXPECT_EQ(bmp[54 + 8], 10);
  EXPECT_EQ(bmp[54 + 9], 0) << "padding";
  EXPECT_EQ(bmp[54 + 12], 3);
  EXPECT_EQ(bmp[54 + 13], 2);
  EXPECT_EQ(bmp[54 + 14], 1);
}

}  // namespace
}  // namespace simcad
