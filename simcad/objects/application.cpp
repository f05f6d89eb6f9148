#include "simcad/objects/member_table.h"
#include "simcad/objects/sim_objects.h"

namespace simcad {

namespace {

constexpr Member kMembers[] = {
    {u"HWND", MemberKind::ReadOnly},
    {u"ActiveDocument", MemberKind::ReadOnly},
    {u"ZoomExtents", MemberKind::Method},
    {u"SimState", MemberKind::ReadOnly},
};
constexpr auto kNames = NamesOf(kMembers);

}  // namespace

std::span<const std::u16string_view> Application::Members() const { return kNames; }

Variant Application::Get(TextView member, const Args& args) {
  const auto name = Resolve(kMembers, member, Access::Get);
  ExpectArgs(name, args, 0, 0);
  if (name == u"HWND") return Variant::Int64(static_cast<std::int64_t>(cad_->ApplicationWindow()));
  if (name == u"ActiveDocument") return Variant::Obj(std::make_shared<Document>(cad_));
  return Variant::String(cad_->SimStateJson());
}

void Application::Put(TextView member, const Variant&) { Resolve(kMembers, member, Access::Put); }

Variant Application::Call(TextView member, const Args& args) {
  const auto name = Resolve(kMembers, member, Access::Call);
  ExpectArgs(name, args, 0, 0);
  cad_->ZoomExtents();
  return Variant();
}

}  // namespace simcad
