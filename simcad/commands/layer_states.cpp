#include "simcad/commands/layer_states.h"

#include <algorithm>

namespace simcad {

bool SaveLayerState(Drawing& drawing, TextView name, int mask, bool overwrite) {
  if (name.empty()) return false;
  LayerState* existing = drawing.FindLayerState(name);
  if (existing && !overwrite) return false;

  LayerState state;
  state.name = existing ? existing->name : Text(name);
  state.mask = mask;
  if (drawing.current < drawing.layers.size()) state.current_layer = drawing.layers[drawing.current].name;
  for (const Layer& layer : drawing.layers) state.layers.push_back({layer.name, layer.on, layer.frozen, layer.locked});
  if (existing)
    *existing = std::move(state);
  else
    drawing.layer_states.push_back(std::move(state));
  return true;
}

bool RestoreLayerState(Drawing& drawing, TextView name, CommandHistory& history) {
  const LayerState* found = drawing.FindLayerState(name);
  if (!found) return false;
  const LayerState state = *found;  // the drawing's list may not move under us, but stay safe

  // The state's current layer becomes current first, so that freezing the
  // layer that was current before does not meet the current-layer rule.
  if (!state.current_layer.empty()) {
    for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
      if (!SameName(drawing.layers[i].name, state.current_layer)) continue;
      const auto saved = std::find_if(state.layers.begin(), state.layers.end(),
                                      [&](const LayerSwitches& s) { return SameName(s.name, state.current_layer); });
      const bool thawed_after = (state.mask & layer_mask::kFrozen) && saved != state.layers.end()
                                    ? !saved->frozen
                                    : !drawing.layers[i].frozen;
      if (thawed_after) drawing.current = i;
      break;
    }
  }

  const LayerLookup lookup(drawing.layers);
  for (const LayerSwitches& saved : state.layers) {
    const std::size_t i = lookup.IndexOf(saved.name);
    if (i >= drawing.layers.size()) continue;
    Layer& layer = drawing.layers[i];
    if (state.mask & layer_mask::kOn) layer.on = saved.on;
    if (state.mask & layer_mask::kLocked) layer.locked = saved.locked;
    if (state.mask & layer_mask::kFrozen) {
      if (saved.frozen && i == drawing.current)
        history.Add(u"Cannot freeze layer \"" + layer.name + u"\".  It is the CURRENT layer.");
      else
        layer.frozen = saved.frozen;
    }
  }
  return true;
}

bool HasLayerState(const Drawing& drawing, TextView name) {
  return std::any_of(drawing.layer_states.begin(), drawing.layer_states.end(),
                     [&](const LayerState& s) { return SameName(s.name, name); });
}

bool DeleteLayerState(Drawing& drawing, TextView name) {
  auto& states = drawing.layer_states;
  const auto it =
      std::find_if(states.begin(), states.end(), [&](const LayerState& s) { return SameName(s.name, name); });
  if (it == states.end()) return false;
  states.erase(it);
  return true;
}

}  // namespace simcad
