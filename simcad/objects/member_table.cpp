#include "simcad/objects/member_table.h"

#include <limits>

namespace simcad {

namespace hr = plyscan::hr;
using plyscan::automation::Kind;

namespace {

bool SameMember(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

void Fail(std::int32_t hresult, std::u16string_view member, std::u16string_view detail) {
  throw plyscan::AutomationFailure(hresult, plyscan::Text(member), plyscan::Text(detail));
}

std::u16string_view Resolve(std::span<const Member> table, std::u16string_view member, Access access) {
  for (const Member& m : table) {
    if (!SameMember(m.name, member)) continue;
    const bool fits = (access == Access::Get && m.kind != MemberKind::Method) ||
                      (access == Access::Put && m.kind == MemberKind::Property) ||
                      (access == Access::Call && (m.kind == MemberKind::Method || m.kind == MemberKind::Item));
    if (!fits) Fail(hr::kMemberNotFound, m.name, u"Member not found.");
    return m.name;
  }
  Fail(hr::kUnknownName, member, u"Unknown name.");
}

void ExpectArgs(std::u16string_view member, const Args& args, std::size_t least, std::size_t most) {
  if (args.size() < least || args.size() > most) Fail(hr::kBadParamCount, member, u"Invalid number of parameters.");
}

std::int32_t IntegerArg(std::u16string_view member, const Variant& value) {
  std::int64_t n = 0;
  const auto& raw = value.Raw();
  if (auto p = std::get_if<std::int16_t>(&raw)) n = *p;
  else if (auto p = std::get_if<std::int32_t>(&raw)) n = *p;
  else if (auto p = std::get_if<std::int64_t>(&raw)) n = *p;
  else if (auto p = std::get_if<std::uint64_t>(&raw))
    n = *p > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) ? std::numeric_limits<std::int64_t>::max()
                                                                                 : static_cast<std::int64_t>(*p);
  else Fail(hr::kTypeMismatch, member, u"Type mismatch.");
  if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
    Fail(hr::kInvalidArg, member, u"Invalid argument.");
  return static_cast<std::int32_t>(n);
}

const plyscan::Text& TextArg(std::u16string_view member, const Variant& value) {
  if (value.GetKind() != Kind::Text) Fail(hr::kTypeMismatch, member, u"Type mismatch.");
  return std::get<plyscan::Text>(value.Raw());
}

bool BoolArg(std::u16string_view member, const Variant& value) {
  switch (value.GetKind()) {
    case Kind::Bool:
    case Kind::Int16:
    case Kind::Int32:
    case Kind::Int64:
    case Kind::UInt64:
    case Kind::Double: return value.AsBool(member);
    default: Fail(hr::kTypeMismatch, member, u"Type mismatch.");
  }
}

bool IsOmitted(const Variant& value) { return value.GetKind() == Kind::Missing; }

}  // namespace simcad
