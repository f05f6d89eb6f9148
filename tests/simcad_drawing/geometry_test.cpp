// Extents and crossing selection arithmetic: curves are tested as curves,
// not by their bounding boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "simcad/drawing/drawing.h"

namespace simcad {
namespace {

constexpr double kPi = std::numbers::pi;

Entity Make(EntityKind kind, std::vector<Point> points, const char16_t* layer = u"0") {
  Entity e;
  e.kind = kind;
  e.layer = layer;
  e.points = std::move(points);
  return e;
}

Entity ArcOf(double x, double y, double r, double start, double end) {
  Entity e = Make(EntityKind::Arc, {{x, y}});
  e.radius = r;
  e.start_angle = start;
  e.end_angle = end;
  return e;
}

Entity CircleOf(double x, double y, double r) {
  Entity e = Make(EntityKind::Circle, {{x, y}});
  e.radius = r;
  return e;
}

Box Window(double x1, double y1, double x2, double y2) { return {{x1, y1, 0}, {x2, y2, 0}}; }

struct CrossingCase {
  const char* what;
  Entity entity;
  Box window;
  bool crosses;
};

TEST(Geometry, CrossingWindowTestsTheRealGeometry) {
  Entity bulged = Make(EntityKind::Polyline, {{0, 0}, {2, 0}});
  bulged.bulges = {1, 0};  // half circle below the chord
  Entity hatch = Make(EntityKind::Hatch, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  hatch.closed = true;
  Entity text = Make(EntityKind::Text, {{0, 0}});
  text.height = 2;
  text.text = u"ABCDEFGHIJ";  // a box 12 by 2
  Entity ellipse = Make(EntityKind::Ellipse, {{0, 0}, {4, 0}});
  ellipse.ratio = 0.25;
  ellipse.end_angle = 2 * kPi;
  const std::vector<CrossingCase> cases = {
      {"line through the window, ends outside", Make(EntityKind::Line, {{-5, 0.5}, {5, 0.5}}), Window(0, 0, 1, 1), true},
      {"diagonal line whose box covers the window", Make(EntityKind::Line, {{0, 3}, {3, 0}}), Window(0, 0, 1, 1), false},
      {"line wholly inside", Make(EntityKind::Line, {{0.2, 0.2}, {0.8, 0.8}}), Window(0, 0, 1, 1), true},
      {"window inside a circle", CircleOf(0, 0, 10), Window(-1, -1, 1, 1), false},
      {"window across a circle", CircleOf(0, 0, 10), Window(9, -1, 11, 1), true},
      {"circle inside the window", CircleOf(0, 0, 1), Window(-5, -5, 5, 5), true},
      {"window on the missing part of an arc", ArcOf(0, 0, 10, 0, kPi / 2), Window(-11, -1, -9, 1), false},
      {"window on the arc", ArcOf(0, 0, 10, 0, kPi / 2), Window(-1, 9, 1, 11), true},
      {"arc across the x axis (start > end)", ArcOf(0, 0, 10, 1.5 * kPi, 0.5 * kPi), Window(9, -1, 11, 1), true},
      {"bulge reaches the window, the chord does not", bulged, Window(0.5, -1.2, 1.5, -0.8), true},
      {"window inside the bulge, off its curve", bulged, Window(0.9, -0.3, 1.1, -0.1), false},
      {"window inside a hatch", hatch, Window(4, 4, 5, 5), true},
      {"window beside a hatch", hatch, Window(11, 4, 12, 5), false},
      {"window inside a text box", text, Window(5, 0.5, 6, 1), true},
      {"window above a text box", text, Window(5, 2.5, 6, 3), false},
      {"window across the ellipse's end", ellipse, Window(3.9, -0.1, 4.1, 0.1), true},
      {"window inside the ellipse, off its curve", ellipse, Window(-0.5, -0.1, 0.5, 0.1), false},
      {"point inside", Make(EntityKind::Point, {{1, 1}}), Window(0, 0, 2, 2), true},
      {"point outside", Make(EntityKind::Point, {{3, 1}}), Window(0, 0, 2, 2), false},
  };
  for (const CrossingCase& c : cases) EXPECT_EQ(CrossesWindow(c.entity, c.window), c.crosses) << c.what;
}

struct ExtentsCase {
  const char* what;
  Entity entity;
  Box expected;
};

TEST(Geometry, ExtentsOfCurvesUseTheirReachNotTheirPoints) {
  Entity bulged = Make(EntityKind::Polyline, {{0, 0}, {2, 0}});
  bulged.bulges = {-1, 0};  // half circle above
  Entity rotated = Make(EntityKind::Text, {{0, 0}});
  rotated.height = 1;
  rotated.width = 4;
  rotated.rotation = kPi / 2;
  const std::vector<ExtentsCase> cases = {
      {"quarter arc", ArcOf(0, 0, 1, 0, kPi / 2), Window(0, 0, 1, 1)},
      {"arc over the top", ArcOf(0, 0, 1, kPi / 4, 3 * kPi / 4), Window(-std::sqrt(0.5), std::sqrt(0.5), std::sqrt(0.5), 1)},
      {"circle", CircleOf(5, 5, 2), Window(3, 3, 7, 7)},
      {"bulged segment", bulged, Window(0, 0, 2, 1)},
      {"text turned upright", rotated, Window(-1, 0, 0, 4)},
  };
  for (const ExtentsCase& c : cases) {
    SCOPED_TRACE(c.what);
    const Box box = Extents(c.entity);
    EXPECT_NEAR(box.min.x, c.expected.min.x, 1e-9);
    EXPECT_NEAR(box.min.y, c.expected.min.y, 1e-9);
    EXPECT_NEAR(box.max.x, c.expected.max.x, 1e-9);
    EXPECT_NEAR(box.max.y, c.expected.max.y, 1e-9);
  }
}

TEST(Geometry, DrawingExtentsAndSelectionFollowTheLayers) {
  Drawing d;
  d.layers = {{u"0"}, {u"Off"}, {u"Frozen"}};
  d.layers[1].on = false;
  d.layers[2].frozen = true;
  d.entities = {Make(EntityKind::Line, {{0, 0}, {1, 1}}), Make(EntityKind::Line, {{5, 5}, {6, 6}}, u"off"),
                Make(EntityKind::Line, {{-50, -50}, {50, 50}}, u"Frozen")};
  const Box box = d.ThawedExtents();
  EXPECT_DOUBLE_EQ(box.min.x, 0);
  EXPECT_DOUBLE_EQ(box.max.x, 6) << "off layers count for the extents, frozen ones do not";
  EXPECT_EQ(d.SelectCrossing(box), std::vector<std::size_t>{0});
  d.layers[1].on = true;
  EXPECT_EQ(d.SelectCrossing(box), (std::vector<std::size_t>{0, 1}));
  EXPECT_TRUE(d.SelectCrossing(Box{}).empty()) << "an empty window selects nothing";

  d.view.screen_width = 200;
  d.view.screen_height = 100;
  d.ZoomExtents();
  EXPECT_DOUBLE_EQ(d.view.centre.x, 3);
  EXPECT_DOUBLE_EQ(d.view.height, 6) << "the taller side fits";
}

TEST(Geometry, LayerNamesCompareWithoutCase) {
  EXPECT_TRUE(SameName(u"A-Wall", u"a-wALL"));
  EXPECT_TRUE(SameName(u"Äußere", u"äußERE"));
  EXPECT_TRUE(SameName(u"ΛΑΓΕΡ", u"λαγερ"));
  EXPECT_TRUE(SameName(u"Стена", u"СТЕНА"));
  EXPECT_FALSE(SameName(u"寸法", u"寸法2"));
  EXPECT_FALSE(SameName(u"A", u"B"));
  EXPECT_EQ(NameKey(u"a-wall"), NameKey(u"A-WALL"));
}

}  // namespace
}  // namespace simcad
