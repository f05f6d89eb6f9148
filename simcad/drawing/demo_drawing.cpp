// simcad's built-in drawing: a mounting plate with a bore, four bolt holes,
// a keyway, a section, dimensions and a title block, spread over a dozen
// layers whose names exercise the awkward cases ('.', '#', spaces, Japanese).
#include <cmath>
#include <numbers>

#include "simcad/drawing/drawing.h"

namespace simcad {
namespace {

class Builder {
 public:
  explicit Builder(Drawing& drawing) : drawing_(drawing) {}

  void AddLayer(Text name, int colour, bool on = true, bool frozen = false, bool locked = false) {
    Layer layer;
    layer.name = std::move(name);
    layer.colour = colour;
    layer.on = on;
    layer.frozen = frozen;
    layer.locked = locked;
    drawing_.layers.push_back(std::move(layer));
  }

  void Use(Text layer) { layer_ = std::move(layer); }

  void Line(double x1, double y1, double x2, double y2) { Add(EntityKind::Line, {{x1, y1}, {x2, y2}}); }

  void Rectangle(double x1, double y1, double x2, double y2) {
    Entity& e = Add(EntityKind::Polyline, {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}});
    e.closed = true;
  }

  void Circle(double x, double y, double r) { Add(EntityKind::Circle, {{x, y}}).radius = r; }

  void Arc(double x, double y, double r, double start_degrees, double end_degrees) {
    Entity& e = Add(EntityKind::Arc, {{x, y}});
    e.radius = r;
    e.start_angle = start_degrees * std::numbers::pi / 180;
    e.end_angle = end_degrees * std::numbers::pi / 180;
  }

  void Label(double x, double y, double height, Text text) {
    Entity& e = Add(EntityKind::Text, {{x, y}});
    e.height = height;
    e.text = std::move(text);
  }

  Entity& Add(EntityKind kind, std::vector<Point> points) {
    Entity e;
    e.kind = kind;
    e.layer = layer_;
    e.points = std::move(points);
    drawing_.entities.push_back(std::move(e));
    return drawing_.entities.back();
  }

 private:
  Drawing& drawing_;
  Text layer_ = u"0";
};

}  // namespace

Drawing DemoDrawing() {
  Drawing d;
  Builder b(d);
  b.AddLayer(u"0", 7);
  b.AddLayer(u"Outline", 7);
  b.AddLayer(u"Centre.Lines", 1);
  b.AddLayer(u"Hidden #2", 3);
  b.AddLayer(u"寸法", 2);  // dimensions
  b.AddLayer(u"Holes", 4);
  b.AddLayer(u"Text Notes", 7);
  b.AddLayer(u"Section Hatch", 8);
  b.AddLayer(u"Defpoints", 7);
  b.AddLayer(u"Title Block", 5, true, false, true);
  b.AddLayer(u"Construction", 6, false);
  b.AddLayer(u"Old.Rev#1", 30, true, true);
  b.AddLayer(u"Spare", 9);

  // The plate: 200 x 120 with rounded corners (radius 10), as one polyline.
  b.Use(u"Outline");
  Entity& plate = b.Add(EntityKind::Polyline, {{10, 0}, {190, 0}, {200, 10}, {200, 110}, {190, 120}, {10, 120}, {0, 110}, {0, 10}});
  plate.closed = true;
  const double quarter = std::tan(std::numbers::pi / 8);  // bulge of a 90 degree arc
  plate.bulges = {0, quarter, 0, quarter, 0, quarter, 0, quarter};
  b.Circle(100, 60, 30);  // the bore
  b.Line(95, 90, 95, 96);  // the keyway
  b.Line(95, 96, 105, 96);
  b.Line(105, 96, 105, 90);

  b.Use(u"Holes");
  for (const double x : {25.0, 175.0})
    for (const double y : {25.0, 95.0}) b.Circle(x, y, 6);

  b.Use(u"Centre.Lines");
  b.Line(60, 60, 140, 60);
  b.Line(100, 20, 100, 100);
  for (const double x : {25.0, 175.0})
    for (const double y : {25.0, 95.0}) {
      b.Line(x - 10, y, x + 10, y);
      b.Line(x, y - 10, x, y + 10);
    }

  b.Use(u"Hidden #2");
  b.Line(70, 0, 70, 120);  // a counterbore seen from above
  b.Line(130, 0, 130, 120);

  b.Use(u"寸法");
  b.Line(0, -15, 200, -15);
  b.Line(0, -2, 0, -18);
  b.Line(200, -2, 200, -18);
  b.Label(92, -13, 5, u"200");
  b.Line(215, 0, 215, 120);
  b.Line(202, 0, 218, 0);
  b.Line(202, 120, 218, 120);
  b.Label(218, 58, 5, u"120");
  b.Line(121.2, 81.2, 150, 110);
  b.Label(150, 110, 5, u"\u2300" u"60");

  b.Use(u"Text Notes");
  b.Label(0, 135, 6, u"MOUNTING PLATE  t=12");
  b.Label(0, 127, 4, u"4 x \u2300" u"12 THRU");

  // A section through the plate, beside it, hatched.
  b.Use(u"Outline");
  b.Rectangle(240, 0, 252, 120);
  b.Use(u"Section Hatch");
  Entity& hatch = b.Add(EntityKind::Hatch, {{240, 0}, {252, 0}, {252, 30}, {240, 30}});
  hatch.closed = true;
  Entity& hatch2 = b.Add(EntityKind::Hatch, {{240, 90}, {252, 90}, {252, 120}, {240, 120}});
  hatch2.closed = true;

  b.Use(u"Title Block");
  b.Rectangle(-20, -40, 280, 150);
  b.Rectangle(180, -40, 280, -20);
  b.Label(184, -33, 6, u"simcad demo");

  b.Use(u"Construction");
  b.Line(-20, 60, 280, 60);
  b.Line(100, -40, 100, 150);

  b.Use(u"Old.Rev#1");
  b.Arc(100, 60, 40, 30, 150);
  b.Circle(100, 60, 26);

  d.current = 0;
  d.ZoomExtents();
  return d;
}

}  // namespace simcad
