#include "sim_fixture.h"

#include <stdexcept>

#include "base/text.h"

namespace simcad::testing {

namespace {

Entity LineOn(Text layer, Point a, Point b) {
  Entity e;
  e.kind = EntityKind::Line;
  e.layer = std::move(layer);
  e.points = {a, b};
  return e;
}

}  // namespace

Drawing SmallDrawing() {
  Drawing d;
  for (const char16_t* name : {u"0", u"Walls", u"Doors", u"Notes", u"A#1", u"Empty"}) {
    Layer layer;
    layer.name = name;
    d.layers.push_back(layer);
  }
  d.current = 0;
  d.entities.push_back(LineOn(u"Walls", {0, 0, 0}, {100, 0, 0}));
  d.entities.push_back(LineOn(u"Walls", {100, 0, 0}, {100, 50, 0}));
  Entity circle;
  circle.kind = EntityKind::Circle;
  circle.layer = u"Doors";
  circle.points = {{50, 25, 0}};
  circle.radius = 5;
  d.entities.push_back(circle);
  d.entities.push_back(LineOn(u"Notes", {10, 40, 0}, {20, 40, 0}));
  d.entities.push_back(LineOn(u"0", {0, 50, 0}, {60, 50, 0}));
  d.entities.push_back(LineOn(u"A#1", {70, 10, 0}, {80, 10, 0}));
  d.view.screen_width = 800;
  d.view.screen_height = 400;
  d.view.centre = {0, 0, 0};
  d.view.height = 10;
  return d;
}

Session::Session(Drawing drawing, SimOptions options) {
  auto captured = std::make_unique<CapturedFiles>();
  files = captured.get();
  cad = std::make_shared<SimCad>(std::move(drawing), options, std::move(captured));
}

Layer& Session::LayerNamed(TextView name) {
  Layer* layer = cad->GetDrawing().FindLayer(name);
  if (!layer) throw std::runtime_error("no such layer: " + plyscan::ToUtf8(name));
  return *layer;
}

std::string Session::Switches() const {
  std::string out;
  for (const Layer& layer : cad->GetDrawing().layers) {
    if (!out.empty()) out += ' ';
    out += plyscan::ToUtf8(layer.name) + ':' + (layer.on ? '1' : '0') + (layer.frozen ? 'F' : 'T') +
           (layer.locked ? 'L' : 'U');
  }
  return out;
}

}  // namespace simcad::testing
