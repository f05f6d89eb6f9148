// Named layer states of the drawing: save, restore, test and delete, as the
// AutoLISP layerstate-* functions do them. A state keeps every layer's on,
// frozen and locked switches, the current layer, and a mask of which
// switches a restore puts back. Names match without regard to case.
#pragma once

#include "simcad/commands/command_history.h"
#include "simcad/drawing/drawing.h"

namespace simcad {

namespace layer_mask {
inline constexpr int kOn = 1;
inline constexpr int kFrozen = 2;
inline constexpr int kLocked = 4;
}  // namespace layer_mask

// False (and nothing changes) when the name is empty, or a state of that name
// exists and `overwrite` is false.
[[nodiscard]] bool SaveLayerState(Drawing& drawing, TextView name, int mask, bool overwrite);

// Puts back the switches the state's mask covers, on the layers the state
// names; other layers stay as they are. The current layer is never frozen
// (the state's current layer is made current first when it can be); such a
// refusal is noted on `history`. False when there is no such state.
[[nodiscard]] bool RestoreLayerState(Drawing& drawing, TextView name, CommandHistory& history);

[[nodiscard]] bool HasLayerState(const Drawing& drawing, TextView name);
[[nodiscard]] bool DeleteLayerState(Drawing& drawing, TextView name);

}  // namespace simcad
