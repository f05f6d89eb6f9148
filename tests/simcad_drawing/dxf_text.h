// Small DXF texts for the tests, written pair by pair.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace simcad::testing {

using Pairs = std::vector<std::pair<int, std::string>>;

// The pairs as DXF lines ending in `eol`.
std::string DxfText(const Pairs& pairs, const std::string& eol = "\n");

// A whole file: a header with $ACADVER, a LAYER table, the blocks and the entities.
struct DxfFile {
  std::string acadver = "AC1009";
  Pairs layers;    // LAYER entries, each starting with {0, "LAYER"}
  Pairs blocks;    // BLOCK ... ENDBLK groups
  Pairs entities;  // entity records
  std::string Text(const std::string& eol = "\n") const;
};

// A LAYER table entry.
Pairs LayerEntry(const std::string& name, int colour, int flags = 0);
// A LINE record.
Pairs LineRecord(const std::string& layer, double x1, double y1, double x2, double y2);

Pairs operator+(Pairs a, const Pairs& b);

}  // namespace simcad::testing
