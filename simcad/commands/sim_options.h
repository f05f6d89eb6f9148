// Behaviour switches of the simulated CAD (simcad.exe takes them as
// command-line options).
#pragma once

namespace simcad {

struct SimOptions {
  // --lenient-types: SetVariable takes any integer for a 16-bit variable
  // (by default only a 16-bit integer, as AutoCAD-compatible servers document).
  bool lenient_types = false;
  // --layerstate-overwrite: layerstate-save replaces a state of the same name
  // (by default it returns nil and keeps the old state).
  bool layerstate_overwrite = false;
};

}  // namespace simcad
