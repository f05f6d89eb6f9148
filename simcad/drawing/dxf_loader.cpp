// Loads an ASCII DXF file: the header's code page and current layer, the
// LAYER and VPORT tables, the blocks and the model-space entities. Block
// references are expanded here, once, into their world geometry.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_map>

#include "base/text.h"
#include "simcad/drawing/dxf_entity.h"
#include "simcad/drawing/dxf_reader.h"
#include "simcad/drawing/transform.h"

namespace simcad {
namespace {

// Nested blocks deeper than this, or cycles, stop expanding; so does an
// expansion that would exceed the part budget (block arrays of arrays).
constexpr int kMaxNesting = 32;
constexpr std::size_t kMaxParts = 4'000'000;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Shown(std::string_view s) {
  std::string out(s.substr(0, 40));
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return "'" + out + "'";
}

struct Block {
  Point base;
  std::vector<ParsedEntity> items;
  std::vector<std::vector<ParsedEntity>> attributes;  // per item (INSERTs in blocks may carry ATTRIBs)
};

class Loader {
 public:
  explicit Loader(std::string_view bytes) : pairs_(ReadDxfPairs(bytes)) {}

  Drawing Load() {
    if (pairs_.empty()) throw DxfError(1, "the file is empty: no DXF sections");
    std::size_t i = 0;
    while (i < pairs_.size()) {
      const DxfPair& open = pairs_[i];
      const std::string_view word = Trim(open.value);
      if (open.code == 0 && word == "EOF") break;
      if (open.code != 0 || word != "SECTION")
        throw DxfError(open.line, "SECTION expected, found group code " + std::to_string(open.code) + " " + Shown(open.value));
      if (i + 1 >= pairs_.size() || pairs_[i + 1].code != 2)
        throw DxfError(open.line, "SECTION without a name (group code 2)");
      const std::string name(Trim(pairs_[i + 1].value));
      const std::size_t body = i + 2;
      std::size_t end = body;
      for (; end < pairs_.size(); ++end) {
        if (pairs_[end].code != 0) continue;
        const std::string_view v = Trim(pairs_[end].value);
        if (v == "ENDSEC") break;
        if (v == "SECTION" || v == "EOF")
          throw DxfError(pairs_[end].line, "section " + name + " (line " + std::to_string(open.line) +
                                               ") is not closed by ENDSEC");
      }
      if (end == pairs_.size())
        throw DxfError(pairs_.back().line + 1, "the file ends inside section " + name + " (line " +
                                                   std::to_string(open.line) + "): ENDSEC missing");
      const std::span<const DxfPair> content(pairs_.data() + body, end - body);
      if (name == "HEADER") ReadHeader(content);
      else if (name == "TABLES") ReadTables(Records(content));
      else if (name == "BLOCKS") ReadBlocks(Records(content));
      else if (name == "ENTITIES") ReadEntities(Records(content));
      i = end + 1;
    }
    Finish();
    return std::move(drawing_);
  }

 private:
  static std::vector<DxfRecord> Records(std::span<const DxfPair> pairs) {
    std::vector<DxfRecord> records;
    std::size_t start = pairs.size();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      if (pairs[i].code != 0) continue;
      if (start < i) records.push_back(pairs.subspan(start, i - start));
      start = i;
    }
    if (start < pairs.size()) records.push_back(pairs.subspan(start));
    return records;
  }

  static std::string_view TypeOf(const DxfRecord& record) { return Trim(record.front().value); }

  void ReadHeader(std::span<const DxfPair> pairs) {
    std::string_view variable;
    for (const DxfPair& pair : pairs) {
      if (pair.code == 9) {
        variable = Trim(pair.value);
      } else if (variable == "$ACADVER" && pair.code == 1) {
        acadver_ = Trim(pair.value);
      } else if (variable == "$DWGCODEPAGE" && pair.code == 3) {
        codepage_ = Trim(pair.value);
      } else if (variable == "$CLAYER" && pair.code == 8) {
        current_layer_raw_ = pair.value;
      }
    }
    encoding_ = EncodingFor(acadver_, codepage_);
  }

  void ReadTables(const std::vector<DxfRecord>& records) {
    for (const DxfRecord& record : records) {
      const std::string_view type = TypeOf(record);
      if (type == "LAYER") ReadLayer(record);
      else if (type == "VPORT") ReadViewport(record);
    }
  }

  void ReadLayer(const DxfRecord& record) {
    Layer layer;
    int colour = 7;
    int flags = 0;
    for (const DxfPair& pair : record.subspan(1)) {
      if (pair.code == 2) layer.name = DecodeDxfString(Trim(pair.value), encoding_);
      else if (pair.code == 62) colour = PairInt(pair);
      else if (pair.code == 70) flags = PairInt(pair);
    }
    if (layer.name.empty()) throw DxfError(record.front().line, "LAYER entry without a name (group code 2)");
    layer.on = colour >= 0;
    layer.colour = std::abs(colour);
    if (layer.colour < 1 || layer.colour > 255) layer.colour = 7;
    layer.frozen = flags & 1;
    layer.locked = flags & 4;
    const Text key = NameKey(layer.name);
    if (layer_index_.count(key)) return;  // a repeated name: the first entry stands
    layer_index_.emplace(key, drawing_.layers.size());
    drawing_.layers.push_back(std::move(layer));
  }

  void ReadViewport(const DxfRecord& record) {
    if (saved_view_) return;
    bool active = false;
    View view;
    for (const DxfPair& pair : record.subspan(1)) {
      if (pair.code == 2) active = Trim(pair.value) == "*ACTIVE" || Trim(pair.value) == "*Active";
      else if (pair.code == 12) view.centre.x = PairDouble(pair);
      else if (pair.code == 22) view.centre.y = PairDouble(pair);
      else if (pair.code == 40) view.height = PairDouble(pair);
    }
    if (active && view.height > 0) saved_view_ = view;
  }

  // Entity records with their followers: VERTEX records of a POLYLINE and
  // ATTRIB records of an INSERT, up to and including the SEQEND.
  template <typename Take>
  void ForEachEntity(const std::vector<DxfRecord>& records, std::size_t& k, Take take, std::string_view stop) {
    while (k < records.size()) {
      const DxfRecord& record = records[k];
      const std::string_view type = TypeOf(record);
      if (type == stop) return;
      ++k;
      if (type == "VERTEX" || type == "SEQEND" || type == "ATTRIB") continue;  // strays: counted with a parent only
      std::vector<DxfRecord> followers;
      const std::string_view follower = type == "POLYLINE" ? "VERTEX" : type == "INSERT" ? "ATTRIB" : "";
      if (!follower.empty()) {
        while (k < records.size() && TypeOf(records[k]) == follower) followers.push_back(records[k++]);
        if (k < records.size() && TypeOf(records[k]) == "SEQEND") ++k;
      }
      take(record, followers);
    }
  }

  void ReadBlocks(const std::vector<DxfRecord>& records) {
    std::size_t k = 0;
    while (k < records.size()) {
      const DxfRecord& record = records[k++];
      if (TypeOf(record) != "BLOCK") continue;
      Text name;
      Block block;
      int flags = 0;
      for (const DxfPair& pair : record.subspan(1)) {
        if (pair.code == 2) name = DecodeDxfString(Trim(pair.value), encoding_);
        else if (pair.code == 70) flags = PairInt(pair);
        else if (pair.code == 10) block.base.x = PairDouble(pair);
        else if (pair.code == 20) block.base.y = PairDouble(pair);
        else if (pair.code == 30) block.base.z = PairDouble(pair);
      }
      ForEachEntity(records, k, [&](const DxfRecord& entity, const std::vector<DxfRecord>& followers) {
        ParsedEntity parsed = ParseEntity(entity, TypeOf(entity) == "POLYLINE" ? followers : std::vector<DxfRecord>{},
                                          encoding_);
        if (TypeOf(entity) == "ATTDEF") return;  // attribute definitions show through the INSERT's ATTRIBs
        parsed.entity.layer = LayerName(parsed.entity.layer);
        std::vector<ParsedEntity> attributes;
        if (parsed.reference) attributes = Attributes(followers);
        block.items.push_back(std::move(parsed));
        block.attributes.push_back(std::move(attributes));
      }, "ENDBLK");
      if (k < records.size()) ++k;  // ENDBLK
      if (flags & 4) continue;      // an external reference: its content is in another file
      blocks_[NameKey(name)] = std::move(block);
    }
  }

  std::vector<ParsedEntity> Attributes(const std::vector<DxfRecord>& followers) {
    std::vector<ParsedEntity> attributes;
    for (const DxfRecord& record : followers) {
      ParsedEntity attribute = ParseEntity(record, {}, encoding_);
      if (attribute.hidden) continue;
      attribute.entity.layer = LayerName(attribute.entity.layer);
      attributes.push_back(std::move(attribute));
    }
    return attributes;
  }

  void ReadEntities(const std::vector<DxfRecord>& records) {
    std::size_t k = 0;
    ForEachEntity(records, k, [&](const DxfRecord& record, const std::vector<DxfRecord>& followers) {
      const bool polyline = TypeOf(record) == "POLYLINE";
      ParsedEntity parsed = ParseEntity(record, polyline ? followers : std::vector<DxfRecord>{}, encoding_);
      if (parsed.paper_space) return;
      Entity& e = parsed.entity;
      e.layer = LayerName(e.layer);
      if (parsed.reference) {
        Expand(*parsed.reference, Matrix(), e.layer, e.colour, 0, e.parts);
        for (ParsedEntity& attribute : Attributes(followers)) AddPart(std::move(attribute.entity), Matrix(), e, e.parts);
      } else if (e.kind == EntityKind::Dimension && !parsed.dimension_block.empty()) {
        ExpandBlock(parsed.dimension_block, Matrix(), e.layer, e.colour, 0, e.parts);
      }
      drawing_.entities.push_back(std::move(e));
    }, "");
  }

  // Places one entity of a block: layer "0" takes the insert's layer, colour
  // "by block" the insert's colour.
  void AddPart(Entity part, const Matrix& placement, const Entity& owner, std::vector<Entity>& out) {
    AddPart(std::move(part), placement, owner.layer, owner.colour, out);
  }

  void AddPart(Entity part, const Matrix& placement, const Text& layer, int colour, std::vector<Entity>& out) {
    if (out.size() >= kMaxParts) return;
    const bool inherits_layer = part.layer == u"0";
    if (inherits_layer) part.layer = layer;
    if (part.colour == 0) {
      part.colour = colour;
      if (colour == 256 && !inherits_layer) part.colour = drawing_.layers[LayerIndex(layer)].colour;
    }
    for (Entity& sub : part.parts) {
      if (sub.layer == u"0") sub.layer = part.layer;
      if (sub.colour == 0) sub.colour = part.colour;
    }
    if (!placement.IsIdentity()) TransformEntity(part, placement);
    out.push_back(std::move(part));
  }

  void ExpandBlock(const Text& name, const Matrix& placement, const Text& layer, int colour, int depth,
                   std::vector<Entity>& out) {
    BlockReference whole;
    whole.block = name;
    Expand(whole, placement, layer, colour, depth, out, /*at_base=*/false);
  }

  void Expand(const BlockReference& ref, const Matrix& parent, const Text& layer, int colour, int depth,
              std::vector<Entity>& out, bool at_base = true) {
    if (depth > kMaxNesting) return;
    const auto found = blocks_.find(NameKey(ref.block));
    if (found == blocks_.end()) return;
    const Block& block = found->second;
    const Matrix placement = IsWorldNormal(ref.normal) ? parent : parent * Matrix::FromOcs(ref.normal);
    const Matrix local = Matrix::Translation(ref.insertion) * Matrix::RotationZ(ref.rotation);
    const Matrix scaled = Matrix::Scaling(ref.scale.x, ref.scale.y, ref.scale.z) *
                          Matrix::Translation(at_base ? Point{-block.base.x, -block.base.y, -block.base.z} : Point{});
    for (int row = 0; row < ref.rows; ++row)
      for (int column = 0; column < ref.columns; ++column) {
        const Matrix cell = placement * local *
                            Matrix::Translation({column * ref.column_spacing, row * ref.row_spacing, 0}) * scaled;
        for (std::size_t k = 0; k < block.items.size() && out.size() < kMaxParts; ++k) {
          const ParsedEntity& item = block.items[k];
          const Text& item_layer = item.entity.layer == u"0" ? layer : item.entity.layer;
          const int item_colour = item.entity.colour == 0 ? colour : item.entity.colour;
          if (item.reference) {
            Expand(*item.reference, cell, item_layer, item_colour, depth + 1, out);
            for (const ParsedEntity& attribute : block.attributes[k])
              AddPart(attribute.entity, cell, item_layer, item_colour, out);
          } else {
            Entity part = item.entity;
            if (part.kind == EntityKind::Dimension && !item.dimension_block.empty())
              ExpandBlock(item.dimension_block, Matrix(), item_layer, item_colour, depth + 1, part.parts);
            AddPart(std::move(part), cell, layer, colour, out);
          }
        }
      }
  }

  // The layer's name as the table spells it; a layer the table lacks is added.
  Text LayerName(const Text& name) { return drawing_.layers[LayerIndex(name)].name; }

  std::size_t LayerIndex(const Text& name) {
    const Text key = NameKey(name);
    const auto found = layer_index_.find(key);
    if (found != layer_index_.end()) return found->second;
    Layer layer;
    layer.name = name;
    layer_index_.emplace(key, drawing_.layers.size());
    drawing_.layers.push_back(std::move(layer));
    return drawing_.layers.size() - 1;
  }

  void Finish() {
    if (!layer_index_.count(NameKey(u"0"))) {
      Layer zero;
      zero.name = u"0";
      drawing_.layers.insert(drawing_.layers.begin(), zero);
    }
    drawing_.current = 0;
    const Text current = DecodeDxfString(Trim(current_layer_raw_), encoding_);
    for (std::size_t i = 0; i < drawing_.layers.size(); ++i)
      if (SameName(drawing_.layers[i].name, current)) drawing_.current = i;
    if (saved_view_) {
      drawing_.view.centre = saved_view_->centre;
      drawing_.view.height = saved_view_->height;
    } else {
      drawing_.ZoomExtents();
    }
  }

  std::vector<DxfPair> pairs_;
  Drawing drawing_;
  DxfEncoding encoding_ = DxfEncoding::Cp1252;
  std::string acadver_;
  std::string codepage_;
  std::string_view current_layer_raw_;
  std::optional<View> saved_view_;
  std::unordered_map<Text, std::size_t> layer_index_;
  std::unordered_map<Text, Block> blocks_;
};

}  // namespace

Drawing LoadDxf(std::string_view bytes) { return Loader(bytes).Load(); }

Drawing LoadDxfFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + file.string());
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + file.string());
  return LoadDxf(bytes);
}

}  // namespace simcad
