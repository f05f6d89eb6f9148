#include "simcad/objects/member_table.h"
#include "simcad/objects/sim_objects.h"

namespace simcad {

namespace hr = plyscan::hr;

namespace {

constexpr Member kMembers[] = {
    {u"HWND", MemberKind::ReadOnly},
    {u"Layers", MemberKind::ReadOnly},
    {u"ActiveSelectionSet", MemberKind::ReadOnly},
    {u"GetVariable", MemberKind::Method},
    {u"SetVariable", MemberKind::Method},
    {u"SendCommand", MemberKind::Method},
    {u"Regen", MemberKind::Method},
    {u"SimState", MemberKind::ReadOnly},
};
constexpr auto kNames = NamesOf(kMembers);

// acActiveViewport and acAllViewports.
constexpr std::int32_t kActiveViewport = 0;
constexpr std::int32_t kAllViewports = 1;

}  // namespace

std::span<const std::u16string_view> Document::Members() const { return kNames; }

Variant Document::Get(TextView member, const Args& args) {
  const auto name = Resolve(kMembers, member, Access::Get);
  ExpectArgs(name, args, 0, 0);
  if (name == u"HWND") return Variant::Int64(static_cast<std::int64_t>(cad_->DocumentWindow()));
  if (name == u"Layers") return Variant::Obj(std::make_shared<LayerCollection>(cad_));
  if (name == u"ActiveSelectionSet") return Variant::Obj(std::make_shared<SelectionSet>(cad_));
  return Variant::String(cad_->SimStateJson());
}

void Document::Put(TextView member, const Variant&) { Resolve(kMembers, member, Access::Put); }

Variant Document::Call(TextView member, const Args& args) {
  const auto name = Resolve(kMembers, member, Access::Call);
  if (name == u"GetVariable") {
    ExpectArgs(name, args, 1, 1);
    const auto value = cad_->Variables().Get(TextArg(name, args[0]));
    if (!value) Fail(hr::kInvalidArg, name, u"Error getting system variable.");
    return *value;
  }
  if (name == u"SetVariable") {
    ExpectArgs(name, args, 2, 2);
    switch (cad_->Variables().Set(TextArg(name, args[0]), args[1], cad_->Options().lenient_types)) {
      case VariableError::None: cad_->ViewChanged(); return Variant();
      case VariableError::Unknown: Fail(hr::kInvalidArg, name, u"Error setting system variable: unknown name.");
      case VariableError::ReadOnly: Fail(hr::kInvalidArg, name, u"Error setting system variable: read-only.");
      case VariableError::WrongType: Fail(hr::kTypeMismatch, name, u"Type mismatch.");
      case VariableError::OutOfRange: Fail(hr::kInvalidArg, name, u"Invalid argument value.");
    }
    return Variant();
  }
  if (name == u"SendCommand") {
    ExpectArgs(name, args, 1, 1);
    cad_->SendCommand(TextArg(name, args[0]));
    return Variant();
  }
  // Regen
  ExpectArgs(name, args, 1, 1);
  const std::int32_t which = IntegerArg(name, args[0]);
  if (which != kActiveViewport && which != kAllViewports) Fail(hr::kInvalidArg, name, u"Invalid argument.");
  cad_->Regen();
  return Variant();
}

}  // namespace simcad
