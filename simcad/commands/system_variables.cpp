#include "simcad/commands/system_variables.h"

#include "base/text.h"

namespace simcad {

using plyscan::automation::Kind;
using plyscan::automation::Variant;

namespace {

bool Is(TextView name, TextView wanted) { return plyscan::AsciiUpper(name) == wanted; }

std::vector<double> Coordinates(const Point& p) { return {p.x, p.y, p.z}; }

}  // namespace

SystemVariables::SystemVariables(Drawing& drawing)
    : drawing_(drawing),
      switches_{{u"GRIDMODE", 1, 0, 1}, {u"UCSICON", 1, 0, 3}, {u"EXPERT", 0, 0, 5}, {u"CMDECHO", 1, 0, 1},
                {u"FILEDIA", 1, 0, 1}} {}

SystemVariables::Switch* SystemVariables::FindSwitch(TextView name) {
  for (auto& s : switches_)
    if (Is(name, s.name)) return &s;
  return nullptr;
}

const SystemVariables::Switch* SystemVariables::FindSwitch(TextView name) const {
  return const_cast<SystemVariables*>(this)->FindSwitch(name);
}

std::vector<Text> SystemVariables::Names() {
  return {u"GRIDMODE", u"UCSICON", u"EXPERT",  u"CMDECHO", u"FILEDIA", u"CLAYER",
          u"SCREENSIZE", u"VIEWSIZE", u"VIEWCTR", u"EXTMIN",  u"EXTMAX"};
}

std::optional<Variant> SystemVariables::Get(TextView name) const {
  if (const auto* s = FindSwitch(name)) return Variant::Int16(s->value);
  const View& view = drawing_.view;
  if (Is(name, u"SCREENSIZE"))
    return Variant::Doubles({static_cast<double>(view.screen_width), static_cast<double>(view.screen_height)});
  if (Is(name, u"VIEWSIZE")) return Variant::Double(view.height);
  if (Is(name, u"VIEWCTR")) return Variant::Doubles(Coordinates(view.centre));
  if (Is(name, u"EXTMIN")) return Variant::Doubles(Coordinates(drawing_.ThawedExtents().min));
  if (Is(name, u"EXTMAX")) return Variant::Doubles(Coordinates(drawing_.ThawedExtents().max));
  if (Is(name, u"CLAYER")) {
    if (drawing_.current < drawing_.layers.size()) return Variant::String(drawing_.layers[drawing_.current].name);
    return Variant::String(u"0");
  }
  return std::nullopt;
}

VariableError SystemVariables::Set(TextView name, const Variant& value, bool lenient) {
  if (FindSwitch(name)) {
    const auto& raw = value.Raw();
    if (auto p = std::get_if<std::int16_t>(&raw)) return SetInteger(name, *p);
    if (!lenient) return VariableError::WrongType;
    if (auto p = std::get_if<std::int32_t>(&raw)) return SetInteger(name, *p);
    if (auto p = std::get_if<std::int64_t>(&raw)) return SetInteger(name, *p);
    if (auto p = std::get_if<std::uint64_t>(&raw))
      return *p > 0x7FFF ? VariableError::OutOfRange : SetInteger(name, static_cast<std::int64_t>(*p));
    return VariableError::WrongType;
  }
  if (Is(name, u"CLAYER")) {
    if (value.GetKind() != Kind::Text) return VariableError::WrongType;
    return SetText(name, std::get<Text>(value.Raw()));
  }
  return Get(name) ? VariableError::ReadOnly : VariableError::Unknown;
}

VariableError SystemVariables::SetInteger(TextView name, std::int64_t value) {
  Switch* s = FindSwitch(name);
  if (!s) {
    if (Is(name, u"CLAYER")) return VariableError::WrongType;
    return Get(name) ? VariableError::ReadOnly : VariableError::Unknown;
  }
  if (value < s->min || value > s->max) return VariableError::OutOfRange;
  s->value = static_cast<std::int16_t>(value);
  return VariableError::None;
}

VariableError SystemVariables::SetText(TextView name, TextView value) {
  if (!Is(name, u"CLAYER")) {
    if (FindSwitch(name)) return VariableError::WrongType;
    return Get(name) ? VariableError::ReadOnly : VariableError::Unknown;
  }
  for (std::size_t i = 0; i < drawing_.layers.size(); ++i) {
    if (!SameName(drawing_.layers[i].name, value)) continue;
    if (drawing_.layers[i].frozen) return VariableError::OutOfRange;  // a frozen layer cannot be current
    drawing_.current = i;
    return VariableError::None;
  }
  return VariableError::OutOfRange;
}

int SystemVariables::Integer(TextView name) const {
  const Switch* s = FindSwitch(name);
  return s ? s->value : 0;
}

}  // namespace simcad
