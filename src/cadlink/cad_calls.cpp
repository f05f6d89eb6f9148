#include "cadlink/cad_calls.h"

#include <limits>

#include "base/failure.h"
#include "cadlink/target_kind.h"

namespace plyscan::cad {

using automation::Args;
using automation::Variant;

void SetVariable(automation::Object& document, TextView name, int value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
    throw AutomationFailure(hr::kInvalidArg, u"SetVariable", Text(name) + u" value out of the 16-bit range");
  document.Call(u"SetVariable", Args{Variant::String(Text(name)), Variant::Int16(static_cast<std::int16_t>(value))});
}

Variant GetVariable(automation::Object& document, TextView name) {
  return document.Call(u"GetVariable", Args{Variant::String(Text(name))});
}

void SendCommand(automation::Object& document, TextView text) {
  document.Call(u"SendCommand", Args{Variant::String(Text(text)).ByRef()});
}

void SendCommandByValue(automation::Object& document, TextView text) {
  document.Call(u"SendCommand", Args{Variant::String(Text(text))});
}

void Regen(automation::Object& document) { document.Call(u"Regen", Args{Variant::Int32(0)}); }

void ZoomExtents(automation::Object& application, TextView progid) {
  application.Call(u"ZoomExtents");
  if (ZoomsTwice(progid)) application.Call(u"ZoomExtents");
}

void SelectCrossing(automation::Object& selection, const Variant& corner1, const Variant& corner2) {
  selection.Call(u"Select", Args{Variant::Int32(1), corner1.ByRef(), corner2.ByRef(), Variant::Omitted(),
                                 Variant::Omitted()});
}

}  // namespace plyscan::cad
