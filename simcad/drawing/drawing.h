// simcad's drawing: layers in table order, model-space entities, named layer
// states and the view. Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace simcad {

using Text = std::u16string;
using TextView = std::u16string_view;

struct Point {
  double x = 0;
  double y = 0;
  double z = 0;
};

// An axis-aligned rectangle in drawing units; empty when min > max.
struct Box {
  Point min{1e20, 1e20, 1e20};
  Point max{-1e20, -1e20, -1e20};
  bool Empty() const { return min.x > max.x || min.y > max.y; }
  void Add(const Point& p);
  void Add(const Box& b);
};

struct Layer {
  Text name;
  bool on = true;
  bool frozen = false;
  bool locked = false;
  int colour = 7;  // AutoCAD colour index, always positive here (off is `on`)
};

enum class EntityKind {
  Line, Polyline, Circle, Arc, Ellipse, Spline, Point, Text, Solid, Hatch, Dimension, Other,
  Insert,  // a block reference: its geometry is in `parts`
};

// One model-space entity, already in world coordinates (block inserts are
// expanded when the drawing is loaded). The geometry fields a kind uses:
//   Line, Polyline, Spline, Solid, Hatch, Dimension, Point, Other: `points`
//     (`closed` for polylines and hatch boundaries);
//   Circle, Arc: `points[0]` centre, `radius`, `start_angle`/`end_angle` in radians (arc);
//   Ellipse: `points[0]` centre, `points[1]` end of the major axis relative to
//     the centre, `ratio`, `start_angle`/`end_angle` (parameters);
//   Text: `points[0]` insertion point, `height`, `rotation`, `text`.
//     For this model the insertion point is the lower-left corner of the
//     text's box (alignment is resolved on loading); `width` is the box width
//     (0: estimated from the text) and `text` has '\n' between MTEXT lines.
//   Polyline, Hatch: `bulges` (empty, or one per point: the bulge of the
//     segment that starts there, as in DXF; negative turns clockwise).
//   Solid: the outline in drawing order (DXF's third and fourth points swapped).
//   Insert: `points[0]` insertion point, `text` the block name, `parts` the
//     block's entities expanded into world coordinates (nested inserts
//     flattened; parts on layer "0" carry the insert's layer).
//   Dimension: `points` the definition points, `parts` the dimension's block.
//   Hatch: `points` the first boundary loop (closed), `parts` further loops.
//
// A compound entity (Insert, Dimension, Hatch with several loops) is ONE
// object, as a CAD counts and selects it: it counts on its own layer, its
// extents and crossing test cover its parts, and it is selected when its own
// layer is on and thawed. The renderer draws each part by the part's layer.
struct Entity {
  EntityKind kind = EntityKind::Other;
  Text layer;  // the name of its layer, as the drawing spells it
  std::vector<Point> points;
  bool closed = false;
  double radius = 0;
  double ratio = 1;
  double start_angle = 0;
  double end_angle = 0;
  double height = 0;
  double rotation = 0;
  Text text;
  int colour = 256;  // 256: by layer
  double width = 0;
  std::vector<double> bulges;
  std::vector<Entity> parts;
};

// The bounding box of an entity's geometry (circles and arcs by their extent).
Box Extents(const Entity& entity);
// Crossing selection: the entity lies inside or crosses the window.
bool CrossesWindow(const Entity& entity, const Box& window);

// Switches of one layer as a named layer state keeps them.
struct LayerSwitches {
  Text name;
  bool on = true;
  bool frozen = false;
  bool locked = false;
};

struct LayerState {
  Text name;
  int mask = 255;
  Text current_layer;
  std::vector<LayerSwitches> layers;
};

// What the screen shows: the centre and height of the view in drawing units
// and the size of the view window in pixels.
struct View {
  Point centre;
  double height = 100;
  int screen_width = 1024;
  int screen_height = 768;
};

class Drawing {
 public:
  std::vector<Layer> layers;   // table order; layer "0" always exists
  std::size_t current = 0;     // index of the current layer
  std::vector<Entity> entities;  // model space only
  std::vector<LayerState> layer_states;
  View view;

  // Layer names compare without regard to case, as in a CAD.
  Layer* FindLayer(TextView name);
  const Layer* FindLayer(TextView name) const;
  LayerState* FindLayerState(TextView name);

  // Extents of the entities on thawed layers (on or off); empty for none.
  Box ThawedExtents() const;
  // Entities that a crossing window selects: on layers that are on and thawed.
  std::vector<std::size_t> SelectCrossing(const Box& window) const;

  // The number of model-space entities on each layer, in table order.
  std::vector<std::size_t> EntityCounts() const;
  // Centres the view on the thawed extents and fits them into the screen;
  // keeps the view when the drawing is empty.
  void ZoomExtents();
};

// A DXF file that cannot be read: `Line()` is the 1-based line of the file
// where the fault was found; what() reads "line N: <message>".
class DxfError : public std::runtime_error {
 public:
  DxfError(std::size_t line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  std::size_t Line() const noexcept { return line_; }

 private:
  std::size_t line_;
};

// Loads an ASCII DXF drawing (R12 to 2018). Throws DxfError for a malformed
// file, std::runtime_error when the file cannot be read.
Drawing LoadDxf(std::string_view bytes);
Drawing LoadDxfFile(const std::filesystem::path& file);

// simcad's built-in demo drawing: a small machine-part plan on a dozen
// layers, some empty, one off, one frozen and one locked.
Drawing DemoDrawing();

// Case-insensitive comparison of layer names (ASCII and the Latin, Greek and
// Cyrillic letters fold; everything else compares exactly).
bool SameName(TextView a, TextView b);
// The name with its letters folded as SameName folds them: equal keys, same name.
Text NameKey(TextView name);

// The drawing's layers by name, for loops over many entities or layers:
// built once, it finds what FindLayer finds (the first layer of that name)
// without a search through every layer for each name. It stays right while
// the drawing's layers keep their names and places.
class LayerLookup {
 public:
  explicit LayerLookup(const std::vector<Layer>& layers);
  // The index of the layer, or layers.size() for none.
  std::size_t IndexOf(TextView name) const;
  const Layer* Find(TextView name) const;

 private:
  const std::vector<Layer>* layers_;
  std::unordered_map<Text, std::size_t> index_;
};

}  // namespace simcad
