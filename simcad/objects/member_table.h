// Member lookup and argument checks shared by simcad's automation objects.
// Names match without regard to case; failures carry the HRESULTs and texts
// a typical server gives: an unknown name, a member used the wrong way
// (a method read as a property, a read-only property written), a wrong
// number or type of arguments, a value out of range.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/failure.h"
#include "cadlink/automation.h"

namespace simcad {

using plyscan::automation::Args;
using plyscan::automation::Variant;

enum class MemberKind {
  ReadOnly,  // property get
  Property,  // property get and put
  Method,    // method call
  Item,      // method, also answering a property get (as collections' Item does)
};

enum class Access { Get, Put, Call };

struct Member {
  std::u16string_view name;
  MemberKind kind;
};

// The member's name as the table spells it; throws for an unknown name or
// one that the access does not fit.
std::u16string_view Resolve(std::span<const Member> table, std::u16string_view member, Access access);

[[noreturn]] void Fail(std::int32_t hresult, std::u16string_view member, std::u16string_view detail);

void ExpectArgs(std::u16string_view member, const Args& args, std::size_t least, std::size_t most);
// An integer of any width that fits 32 bits.
std::int32_t IntegerArg(std::u16string_view member, const Variant& value);
const plyscan::Text& TextArg(std::u16string_view member, const Variant& value);
// A Boolean, or a number as the automation type conversion takes it (non-zero is true).
bool BoolArg(std::u16string_view member, const Variant& value);
bool IsOmitted(const Variant& value);

}  // namespace simcad

namespace simcad {

// The names of a member table, for SimObject::Members().
template <std::size_t N>
constexpr std::array<std::u16string_view, N> NamesOf(const Member (&table)[N]) {
  std::array<std::u16string_view, N> names{};
  for (std::size_t i = 0; i < N; ++i) names[i] = table[i].name;
  return names;
}

}  // namespace simcad
