#include "board/layer_commands.h"

#include "cadlink/cad_calls.h"
#include "cadlink/command_texts.h"
#include "cadlink/command_variables.h"
#include "layers/layer_switches.h"

namespace plyscan::board {

namespace {

// The layer text for one record between "EXPERT" 5 / "CMDECHO" 0 and the
// text that sets them to 0 and 1 (the scope sets them back itself when a
// step before fails).
void SendLayerText(automation::Object& document, FailureTrace* trace, const Text& text) {
  cad::CommandVariables variables(document, trace);
  cad::SendCommand(document, text);
  cad::SendCommand(document, cad::kResetVariablesCommand);
  variables.Dismiss();
}

bool InRange(const LayerSnapshot& records, std::int64_t index) {
  return index >= 0 && index < static_cast<std::int64_t>(records.size());
}

// One command text through the prologue without the un-minimize step.
bool SendOneText(CadServices& cad, TextView progid, TextView text) {
  return RunGuarded(cad.trace, [&] {
    const auto target = Connect(cad, progid, Unminimize::kNo);
    if (!target) return;
    cad::SendCommand(*ActiveDocument(*target->application), text);
  });
}

// A layer text for record `index`, the view zoomed afterwards when asked.
bool LayerCommandFor(CadServices& cad, TextView progid, const LayerSnapshot& records, std::int64_t index,
                     Text (*command)(TextView name), bool zoom_extents) {
  return RunGuarded(cad.trace, [&] {
    if (!InRange(records, index)) return;
    const auto target = Connect(cad, progid, Unminimize::kNo);
    if (!target) return;
    const auto document = ActiveDocument(*target->application);
    SendLayerText(*document, cad.trace, command(records[static_cast<std::size_t>(index)].name));
    if (zoom_extents) cad::ZoomExtents(*target->application, progid);
  });
}

}  // namespace

bool IsolateLayer(CadServices& cad, TextView progid, const LayerSnapshot& records, std::int64_t index,
                  bool zoom_extents) {
  return LayerCommandFor(cad, progid, records, index, cad::IsolateLayerCommand, zoom_extents);
}

bool ShowLayer(CadServices& cad, TextView progid, const LayerSnapshot& records, std::int64_t index) {
  return LayerCommandFor(cad, progid, records, index, cad::ShowLayerCommand, false);
}

bool SaveLayerState(CadServices& cad, TextView progid) { return SendOneText(cad, progid, cad::kSaveLayerStateCommand); }

bool RestoreLayerState(CadServices& cad, TextView progid, bool zoom_extents) {
  return RunGuarded(cad.trace, [&] {
    const auto target = Connect(cad, progid, Unminimize::kNo);
    if (!target) return;
    const auto document = ActiveDocument(*target->application);
    cad::SendCommand(*document, cad::kRestoreLayerStateCommand);
    if (zoom_extents) cad::ZoomExtents(*target->application, progid);
    cad::Regen(*document);
  });
}

bool DeleteLayerState(CadServices& cad, TextView progid) {
  return SendOneText(cad, progid, cad::kDeleteLayerStateCommand);
}

bool RestoreSnapshot(CadServices& cad, TextView progid, const LayerSnapshot& records, ProgressDisplay& progress) {
  return RunGuarded(cad.trace, [&] {
    const auto target = Connect(cad, progid, Unminimize::kYes);
    if (!target) return;
    const auto document = ActiveDocument(*target->application);
    const auto layers = document->Get(u"Layers").AsObject(u"Layers");
    const std::int32_t count = layers->Get(u"Count").AsInt32(u"Count");
    if (!records.empty() && static_cast<std::int64_t>(records.size()) == count) {
      progress.SetVisible(true);
      progress.SetMax(count);
      progress.SetPosition(0);
      PutSwitchesBack(*layers, count, records, [&] { progress.SetPosition(progress.Position() + 1); });
      cad::Regen(*document);
    }
    progress.SetPosition(0);
    progress.SetVisible(false);
  });
}

}  // namespace plyscan::board
