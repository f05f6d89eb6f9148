// One entity record of a DXF file turned into an Entity of the model, in the
// coordinates of the space that holds it (world or block). Block references
// are returned unexpanded; the loader expands them.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "simcad/drawing/dxf_reader.h"

namespace simcad {

// An INSERT as the file gives it.
struct BlockReference {
  Text block;
  Point insertion;  // OCS
  Point scale{1, 1, 1};
  double rotation = 0;  // radians
  int columns = 1;
  int rows = 1;
  double column_spacing = 0;
  double row_spacing = 0;
  Point normal{0, 0, 1};
};

struct ParsedEntity {
  Entity entity;                            // layer as the file spells it ("0" when absent)
  std::optional<BlockReference> reference;  // INSERT
  Text dimension_block;                     // DIMENSION: the block that draws it
  bool paper_space = false;                 // group 67 = 1
  bool hidden = false;                      // an invisible attribute
};

using DxfRecord = std::span<const DxfPair>;  // the pairs of one record, starting with its "0 TYPE" pair

// `vertices`: the VERTEX records of a POLYLINE.
ParsedEntity ParseEntity(DxfRecord record, std::span<const DxfRecord> vertices, DxfEncoding encoding);

// The text of an MTEXT without its formatting codes; paragraphs become '\n'.
Text PlainMText(TextView text);

}  // namespace simcad
