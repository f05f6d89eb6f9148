#include "layers/layer_switches.h"

#include <unordered_map>

namespace plyscan {

void PutSwitchesBack(automation::Object& layers, std::int32_t count, const LayerSnapshot& records,
                     const std::function<void()>& before_layer) {
  using automation::Variant;
  // Each layer's name is read once and found among the records; of records
  // with equal names the first counts.
  std::unordered_map<Text, const LayerRecord*> by_name;
  for (const LayerRecord& record : records) by_name.emplace(record.name, &record);
  for (std::int32_t i = 0; i < count; ++i) {
    if (before_layer) before_layer();
    const auto layer = layers.Get(u"Item", {Variant::Int32(i)}).AsObject(u"Item");
    const auto found = by_name.find(layer->Get(u"Name").AsText(u"Name"));
    if (found == by_name.end()) continue;
    layer->Put(u"Lock", Variant::Bool(found->second->locked));
    layer->Put(u"Freeze", Variant::Bool(found->second->frozen));
    layer->Put(u"LayerOn", Variant::Bool(found->second->on));
  }
}

}  // namespace plyscan
