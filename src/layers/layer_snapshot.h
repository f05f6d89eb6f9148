// The layer snapshot: one record per layer of the drawing as the last capture
// found it, in the board's order. Each record owns its thumbnail; records are
// move-only and move as whole values, so no two records ever share a bitmap
// and reordering never copies, creates or releases one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/bitmap.h"
#include "base/collation.h"
#include "base/text.h"

namespace plyscan {

struct LayerRecord {
  std::unique_ptr<Bitmap> thumbnail;  // empty until the capture stores it
  Text name;                          // exactly as the CAD application reported it
  bool on = false;                    // the switches as the capture read them
  bool frozen = false;
  bool locked = false;
  std::int32_t object_count = 0;  // objects found while only this layer was on
  double fit_scale = 0;           // the scale of a picture fitted to its layer; 0 for the whole view
};

using LayerSnapshot = std::vector<LayerRecord>;

// Keeps the first min(old, new) records unchanged, drops the rest and appends
// empty records (no thumbnail, empty name, switches off, count 0).
void ResizeSnapshot(LayerSnapshot& records, std::size_t length);

// Releases the thumbnail of every record (before a capture resizes the
// snapshot, and when the main window goes).
void ReleaseThumbnails(LayerSnapshot& records) noexcept;

// Orders the records by name with the user locale's case-ignoring comparison.
// Stable: records whose names compare equal keep their order. A failure of
// the comparison passes to the caller with every record still present.
void SortByName(LayerSnapshot& records, const Collator& collator);

}  // namespace plyscan
