#include "simcad/objects/member_table.h"
#include "simcad/objects/sim_objects.h"

namespace simcad {

namespace hr = plyscan::hr;
using plyscan::automation::Kind;

namespace {

constexpr Member kCollectionMembers[] = {
    {u"Count", MemberKind::ReadOnly},
    {u"Item", MemberKind::Item},
};
constexpr auto kCollectionNames = NamesOf(kCollectionMembers);

constexpr Member kLayerMembers[] = {
    {u"Name", MemberKind::Property},
    {u"Lock", MemberKind::Property},
    {u"Freeze", MemberKind::Property},
    {u"LayerOn", MemberKind::Property},
};
constexpr auto kLayerNames = NamesOf(kLayerMembers);

// Characters a CAD refuses in layer names.
bool ValidLayerName(TextView name) {
  if (name.empty() || name.size() > 255) return false;
  if (name.find_first_of(u"<>/\\\":;?*|,=`") != TextView::npos) return false;
  for (char16_t c : name)
    if (c < 0x20) return false;
  return true;
}

void RenameEntities(std::vector<Entity>& entities, TextView old_name, const Text& new_name) {
  for (Entity& e : entities) {
    if (SameName(e.layer, old_name)) e.layer = new_name;
    RenameEntities(e.parts, old_name, new_name);
  }
}

}  // namespace

// Layers ------------------------------------------------------------------

std::span<const std::u16string_view> LayerCollection::Members() const { return kCollectionNames; }

Variant LayerCollection::Get(TextView member, const Args& args) {
  const auto name = Resolve(kCollectionMembers, member, Access::Get);
  if (name == u"Item") return Item(args);
  ExpectArgs(name, args, 0, 0);
  return Variant::Int32(static_cast<std::int32_t>(cad_->GetDrawing().layers.size()));
}

void LayerCollection::Put(TextView member, const Variant&) { Resolve(kCollectionMembers, member, Access::Put); }

Variant LayerCollection::Call(TextView member, const Args& args) {
  Resolve(kCollectionMembers, member, Access::Call);
  return Item(args);
}

Variant LayerCollection::Item(const Args& args) {
  constexpr std::u16string_view name = u"Item";
  ExpectArgs(name, args, 1, 1);
  const auto& layers = cad_->GetDrawing().layers;
  if (args[0].GetKind() == Kind::Text) {
    const Text& wanted = std::get<Text>(args[0].Raw());
    for (std::size_t i = 0; i < layers.size(); ++i)
      if (SameName(layers[i].name, wanted)) return Variant::Obj(std::make_shared<LayerObject>(cad_, i));
    Fail(hr::kInvalidArg, name, u"Key not found.");
  }
  const std::int32_t index = IntegerArg(name, args[0]);
  if (index < 0 || static_cast<std::size_t>(index) >= layers.size()) Fail(hr::kBadIndex, name, u"Invalid index.");
  return Variant::Obj(std::make_shared<LayerObject>(cad_, static_cast<std::size_t>(index)));
}

// Layer -------------------------------------------------------------------

std::span<const std::u16string_view> LayerObject::Members() const { return kLayerNames; }

Layer& LayerObject::Target(std::u16string_view member) {
  auto& layers = cad_->GetDrawing().layers;
  if (index_ >= layers.size()) Fail(hr::kFail, member, u"The object has been erased.");
  return layers[index_];
}

Variant LayerObject::Get(TextView member, const Args& args) {
  const auto name = Resolve(kLayerMembers, member, Access::Get);
  ExpectArgs(name, args, 0, 0);
  const Layer& layer = Target(name);
  if (name == u"Name") return Variant::String(layer.name);
  if (name == u"Lock") return Variant::Bool(layer.locked);
  if (name == u"Freeze") return Variant::Bool(layer.frozen);
  return Variant::Bool(layer.on);
}

void LayerObject::Put(TextView member, const Variant& value) {
  const auto name = Resolve(kLayerMembers, member, Access::Put);
  Layer& layer = Target(name);
  if (name == u"Name") {
    Rename(layer, TextArg(name, value));
    cad_->ViewChanged();
    return;
  }
  const bool on = BoolArg(name, value);
  if (name == u"Lock") {
    layer.locked = on;
  } else if (name == u"Freeze") {
    if (on && index_ == cad_->GetDrawing().current) Fail(hr::kInvalidArg, name, u"Cannot freeze the current layer.");
    layer.frozen = on;
  } else {
    layer.on = on;
  }
  cad_->ViewChanged();
}

void LayerObject::Rename(Layer& layer, const Text& name) {
  constexpr std::u16string_view member = u"Name";
  if (SameName(layer.name, name)) {
    layer.name = name;  // a change of case only
    return;
  }
  if (layer.name == u"0") Fail(hr::kInvalidArg, member, u"Layer 0 cannot be renamed.");
  if (!ValidLayerName(name)) Fail(hr::kInvalidArg, member, u"Invalid symbol table name.");
  if (cad_->GetDrawing().FindLayer(name)) Fail(hr::kInvalidArg, member, u"Duplicate record name.");
  RenameEntities(cad_->GetDrawing().entities, layer.name, name);
  layer.name = name;
}

Variant LayerObject::Call(TextView member, const Args&) {
  Resolve(kLayerMembers, member, Access::Call);
  return Variant();
}

}  // namespace simcad
