#include "simcad/drawing/drawing.h"

#include <algorithm>

namespace simcad {
namespace {

// Simple case folding for layer names: ASCII, Latin-1 and Latin Extended-A
// letters, Greek and Cyrillic; every other character stays as it is.
char16_t Fold(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    // Pairs: even upper, odd lower in 0100-0137 and 014A-0177; odd upper, even lower in 0139-0148 and 0179-017E.
    if ((c <= 0x137 || (c >= 0x14A && c <= 0x177)) && (c & 1)) return static_cast<char16_t>(c - 1);
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && !(c & 1)) return static_cast<char16_t>(c - 1);
    return c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

}  // namespace

bool SameName(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

Text NameKey(TextView name) {
  Text key(name);
  for (char16_t& c : key) c = Fold(c);
  return key;
}

Layer* Drawing::FindLayer(TextView name) {
  for (Layer& layer : layers)
    if (SameName(layer.name, name)) return &layer;
  return nullptr;
}

const Layer* Drawing::FindLayer(TextView name) const {
  for (const Layer& layer : layers)
    if (SameName(layer.name, name)) return &layer;
  return nullptr;
}

LayerLookup::LayerLookup(const std::vector<Layer>& layers) : layers_(&layers) {
  index_.reserve(layers.size());
  for (std::size_t i = 0; i < layers.size(); ++i) index_.emplace(NameKey(layers[i].name), i);  // the first stays
}

std::size_t LayerLookup::IndexOf(TextView name) const {
  const auto found = index_.find(NameKey(name));
  return found == index_.end() ? layers_->size() : found->second;
}

const Layer* LayerLookup::Find(TextView name) const {
  const std::size_t i = IndexOf(name);
  return i < layers_->size() ? &(*layers_)[i] : nullptr;
}

LayerState* Drawing::FindLayerState(TextView name) {
  for (LayerState& state : layer_states)
    if (SameName(state.name, name)) return &state;
  return nullptr;
}

Box Drawing::ThawedExtents() const {
  const LayerLookup lookup(layers);
  Box box;
  for (const Entity& entity : entities) {
    const Layer* layer = lookup.Find(entity.layer);
    if (layer && layer->frozen) continue;
    box.Add(Extents(entity));
  }
  return box;
}

std::vector<std::size_t> Drawing::SelectCrossing(const Box& window) const {
  const LayerLookup lookup(layers);
  std::vector<std::size_t> selected;
  for (std::size_t i = 0; i < entities.size(); ++i) {
    const Layer* layer = lookup.Find(entities[i].layer);
    if (layer && (!layer->on || layer->frozen)) continue;
    if (CrossesWindow(entities[i], window)) selected.push_back(i);
  }
  return selected;
}

std::vector<std::size_t> Drawing::EntityCounts() const {
  const LayerLookup lookup(layers);
  std::vector<std::size_t> counts(layers.size(), 0);
  for (const Entity& entity : entities)
    if (const std::size_t i = lookup.IndexOf(entity.layer); i < layers.size()) ++counts[i];
  return counts;
}

void Drawing::ZoomExtents() {
  const Box box = ThawedExtents();
  if (box.Empty() || view.screen_width <= 0 || view.screen_height <= 0) return;
  view.centre = {(box.min.x + box.max.x) / 2, (box.min.y + box.max.y) / 2, 0};
  const double aspect = static_cast<double>(view.screen_width) / view.screen_height;
  const double height = std::max(box.max.y - box.min.y, (box.max.x - box.min.x) / aspect);
  view.height = height > 0 ? height : 1;
}

}  // namespace simcad
