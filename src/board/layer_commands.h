// The board's commands on the layers of the target CAD's drawing: showing
// only one layer (a press on its thumbnail), showing one layer beside the
// others, and the named layer state "PLYSCAN" saved, restored and deleted,
// and the snapshot's switches put back. Each is one guarded CAD command:
// a target that is not running, or any failure, ends it silently.
#pragma once

#include <cstdint>

#include "base/progress_display.h"
#include "cadlink/cad_services.h"
#include "layers/layer_snapshot.h"

namespace plyscan::board {

// Every layer off and record `index`'s layer on, thawed and unlocked; the
// view zoomed to the extents when asked. An index outside the records sends
// nothing. "EXPERT" and "CMDECHO" end at 0 and 1, also when a step fails
// after they were set. True when the command ran to its end.
bool IsolateLayer(CadServices& cad, TextView progid, const LayerSnapshot& records, std::int64_t index,
                  bool zoom_extents);

// Record `index`'s layer on, thawed and unlocked; every other layer as it is.
bool ShowLayer(CadServices& cad, TextView progid, const LayerSnapshot& records, std::int64_t index);

// The layer state "PLYSCAN": saved (replacing one of that name), restored
// (then zoomed when asked, and regenerated), and deleted where it exists.
bool SaveLayerState(CadServices& cad, TextView progid);
bool RestoreLayerState(CadServices& cad, TextView progid, bool zoom_extents);
bool DeleteLayerState(CadServices& cad, TextView progid);

// Puts the switches the last capture read back on the layers of the same
// names (exactly, case counting), when the drawing has as many layers as
// the snapshot has records; then regenerates. The progress shows meanwhile.
bool RestoreSnapshot(CadServices& cad, TextView progid, const LayerSnapshot& records, ProgressDisplay& progress);

}  // namespace plyscan::board
