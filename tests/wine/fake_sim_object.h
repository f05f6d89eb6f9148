// A small simcad object for driving the IDispatch server in-process: it
// records what each call received and answers with values the test chose.
#pragma once

#include <array>
#include <map>

#include "base/failure.h"
#include "simcad/objects/sim_object.h"

namespace simcad::testing {

using plyscan::AutomationFailure;
using plyscan::automation::Args;
using plyscan::automation::Variant;

class FakeSimObject final : public SimObject {
 public:
  // What the last call received.
  std::u16string last_member;
  Args last_args;
  // Get("Value", {Int32 i}) answers values[i]; Get("Flag") the last put.
  std::vector<Variant> values;
  Variant flag = Variant::Bool(false);

  std::span<const std::u16string_view> Members() const override {
    static constexpr std::array<std::u16string_view, 7> kMembers = {u"Name",  u"Value",       u"Flag", u"Item",
                                                                     u"Echo", u"SetVariable", u"Fail"};
    return kMembers;
  }
  std::u16string_view TypeName() const override { return u"Fake"; }

  Variant Get(std::u16string_view member, const Args& args) override {
    Record(member, args);
    if (member == u"Name") return Variant::String(u"fake");
    if (member == u"Flag") return flag;
    if (member == u"Value") return values.at(static_cast<std::size_t>(args.at(0).AsInt32(member)));
    if (member == u"Item") {
      if (args.size() != 1) throw AutomationFailure(plyscan::hr::kBadParamCount, Text(member), {});
      return Variant::Obj(std::make_shared<FakeSimObject>());
    }
    throw AutomationFailure(plyscan::hr::kMemberNotFound, Text(member), u"not a property");
  }

  void Put(std::u16string_view member, const Variant& value) override {
    Record(member, {value});
    if (member != u"Flag") throw AutomationFailure(plyscan::hr::kMemberNotFound, Text(member), u"read-only");
    flag = value;
  }

  Variant Call(std::u16string_view member, const Args& args) override {
    Record(member, args);
    if (member == u"Echo") return Variant::Int32(static_cast<std::int32_t>(args.size()));
    if (member == u"SetVariable") {
      // Like a CAD: a 16-bit integer is taken, a 32-bit one refused.
      if (args.size() != 2) throw AutomationFailure(plyscan::hr::kBadParamCount, Text(member), {});
      if (args[1].GetKind() != plyscan::automation::Kind::Int16)
        throw AutomationFailure(plyscan::hr::kTypeMismatch, Text(member), u"wants a 16-bit integer");
      return Variant();
    }
    if (member == u"Fail") throw AutomationFailure(plyscan::hr::kFail, Text(member), u"fake failure");
    throw AutomationFailure(plyscan::hr::kMemberNotFound, Text(member), u"not a method");
  }

 private:
  using Text = std::u16string;
  void Record(std::u16string_view member, const Args& args) {
    last_member = Text(member);
    last_args = args;
  }
};

}  // namespace simcad::testing
