// SimCad::SimStateJson: the state report tests assert on.
#include "simcad/objects/json_text.h"
#include "simcad/objects/sim_cad.h"
#include "simcad/objects/sim_object.h"

namespace simcad {

namespace {

using plyscan::automation::Variant;

void WriteVariable(JsonText& json, const Variant& value) {
  const auto& raw = value.Raw();
  if (auto p = std::get_if<std::int16_t>(&raw)) json.Integer(*p);
  else if (auto p = std::get_if<double>(&raw)) json.Number(*p);
  else if (auto p = std::get_if<Text>(&raw)) json.String(*p);
  else if (auto p = std::get_if<std::vector<double>>(&raw)) {
    json.BeginArray();
    for (double d : *p) json.Number(d);
    json.EndArray();
  } else {
    json.String(u"");
  }
}

void WriteSwitches(JsonText& json, TextView name, bool on, bool frozen, bool locked) {
  json.BeginObject()
      .Key(u"name").String(name)
      .Key(u"on").Bool(on)
      .Key(u"frozen").Bool(frozen)
      .Key(u"locked").Bool(locked)
      .EndObject();
}

}  // namespace

Text SimCad::SimStateJson() const {
  JsonText json;
  json.BeginObject();

  json.Key(u"layers").BeginArray();
  for (const Layer& layer : drawing_.layers) WriteSwitches(json, layer.name, layer.on, layer.frozen, layer.locked);
  json.EndArray();
  json.Key(u"current_layer")
      .String(drawing_.current < drawing_.layers.size() ? TextView(drawing_.layers[drawing_.current].name) : u"");

  json.Key(u"layer_states").BeginArray();
  for (const LayerState& state : drawing_.layer_states) {
    json.BeginObject().Key(u"name").String(state.name).Key(u"mask").Integer(state.mask);
    json.Key(u"current_layer").String(state.current_layer).Key(u"layers").BeginArray();
    for (const LayerSwitches& s : state.layers) WriteSwitches(json, s.name, s.on, s.frozen, s.locked);
    json.EndArray().EndObject();
  }
  json.EndArray();

  json.Key(u"variables").BeginObject();
  for (const Text& name : SystemVariables::Names()) {
    if (const auto value = variables_.Get(name)) {
      json.Key(name);
      WriteVariable(json, *value);
    }
  }
  json.EndObject();

  json.Key(u"command_history").BeginArray();
  for (const Text& line : history_.Lines()) json.String(line);
  json.EndArray();
  json.Key(u"active_command").String(input_.Line().ActiveName());

  json.Key(u"selection_count").Integer(static_cast<std::int64_t>(selection_.size()));
  json.Key(u"live_objects").Integer(SimObject::LiveObjects());
  json.Key(u"regen_count").Integer(regen_count_);
  json.Key(u"zoom_count").Integer(zoom_count_);
  json.EndObject();
  return json.Result();
}

}  // namespace simcad
