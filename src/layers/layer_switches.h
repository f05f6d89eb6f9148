// The switches of the snapshot put back on the drawing's layers by name: the
// layers in the drawing's own order, each matched to the first record of
// exactly its name (letter case counting), and Lock, Freeze and LayerOn
// written in that order as automation Booleans. A layer that matches no
// record stays as it is.
#pragma once

#include <cstdint>
#include <functional>

#include "cadlink/automation.h"
#include "layers/layer_snapshot.h"

namespace plyscan {

// `count` layers of the collection; `before_layer` runs before each one.
void PutSwitchesBack(automation::Object& layers, std::int32_t count, const LayerSnapshot& records,
                     const std::function<void()>& before_layer = {});

}  // namespace plyscan
