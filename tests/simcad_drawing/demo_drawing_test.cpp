// The built-in demo drawing has what the capture needs to show.
#include <gtest/gtest.h>

#include <algorithm>

#include "simcad/drawing/render.h"

namespace simcad {
namespace {

TEST(DemoDrawing, LayersCoverTheAwkwardCases) {
  const Drawing d = DemoDrawing();
  EXPECT_GE(d.layers.size(), 12u);
  EXPECT_EQ(d.layers[d.current].name, u"0");
  const auto any = [&](auto test) { return std::any_of(d.layers.begin(), d.layers.end(), test); };
  EXPECT_TRUE(any([](const Layer& l) { return l.name == u"寸法"; }));
  EXPECT_TRUE(any([](const Layer& l) { return l.name.find(u'.') != Text::npos; }));
  EXPECT_TRUE(any([](const Layer& l) { return l.name.find(u'#') != Text::npos; }));
  EXPECT_TRUE(any([](const Layer& l) { return l.name.find(u' ') != Text::npos; }));
  EXPECT_TRUE(any([](const Layer& l) { return !l.on; }));
  EXPECT_TRUE(any([](const Layer& l) { return l.frozen; }));
  EXPECT_TRUE(any([](const Layer& l) { return l.locked; }));
  const std::vector<std::size_t> counts = d.EntityCounts();
  EXPECT_GE(std::count(counts.begin(), counts.end(), 0u), 2) << "some layers are empty";
  for (std::size_t i = 0; i < d.layers.size(); ++i)
    if (d.layers[i].frozen || !d.layers[i].on) {
      EXPECT_GT(counts[i], 0u) << "hidden layers hold something to show";
    }
  std::size_t total = 0;
  for (const std::size_t c : counts) total += c;
  EXPECT_EQ(total, d.entities.size()) << "every entity is on a layer of the table";
}

TEST(DemoDrawing, OpensZoomedToItsExtents) {
  const Drawing d = DemoDrawing();
  const Box box = d.ThawedExtents();
  ASSERT_FALSE(box.Empty());
  EXPECT_NEAR(d.view.centre.x, (box.min.x + box.max.x) / 2, 1e-9);
  EXPECT_EQ(d.SelectCrossing(box).size(), d.entities.size() - [&] {
    std::size_t hidden = 0;
    for (const Entity& e : d.entities) {
      const Layer* l = d.FindLayer(e.layer);
      hidden += (!l->on || l->frozen) ? 1 : 0;
    }
    return hidden;
  }());
  const Image image = RenderView(d);
  std::size_t drawn = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) drawn += image.At(x, y) == kBackground ? 0 : 1;
  EXPECT_GT(drawn, 1000u);
}

}  // namespace
}  // namespace simcad
