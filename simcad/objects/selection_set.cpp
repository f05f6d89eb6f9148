#include <algorithm>

#include "simcad/objects/member_table.h"
#include "simcad/objects/sim_objects.h"

namespace simcad {

namespace hr = plyscan::hr;
using plyscan::automation::Kind;

namespace {

constexpr Member kMembers[] = {
    {u"Clear", MemberKind::Method},
    {u"Select", MemberKind::Method},
    {u"Count", MemberKind::ReadOnly},
};
constexpr auto kNames = NamesOf(kMembers);

// AcSelect values.
constexpr std::int32_t kWindow = 0;
constexpr std::int32_t kCrossing = 1;
constexpr std::int32_t kAll = 5;
constexpr std::int32_t kLastMode = 7;

Point CornerArg(std::u16string_view member, const Variant& value, const char16_t* which) {
  if (IsOmitted(value)) Fail(hr::kInvalidArg, member, Text(u"Invalid argument ") + which + u" in Select.");
  if (value.GetKind() != Kind::DoubleArray) Fail(hr::kTypeMismatch, member, u"Type mismatch.");
  const auto& c = std::get<std::vector<double>>(value.Raw());
  if (c.size() != 3) Fail(hr::kInvalidArg, member, Text(u"Invalid argument ") + which + u" in Select.");
  return {c[0], c[1], c[2]};
}

bool Inside(const Box& inner, const Box& outer) {
  return inner.min.x >= outer.min.x && inner.max.x <= outer.max.x && inner.min.y >= outer.min.y &&
         inner.max.y <= outer.max.y;
}

}  // namespace

std::span<const std::u16string_view> SelectionSet::Members() const { return kNames; }

Variant SelectionSet::Get(TextView member, const Args& args) {
  const auto name = Resolve(kMembers, member, Access::Get);
  ExpectArgs(name, args, 0, 0);
  return Variant::Int32(static_cast<std::int32_t>(cad_->Selection().size()));
}

void SelectionSet::Put(TextView member, const Variant&) { Resolve(kMembers, member, Access::Put); }

Variant SelectionSet::Call(TextView member, const Args& args) {
  const auto name = Resolve(kMembers, member, Access::Call);
  if (name == u"Clear") {
    ExpectArgs(name, args, 0, 0);
    cad_->Selection().clear();
  } else {
    Select(args);
  }
  return Variant();
}

void SelectionSet::Select(const Args& args) {
  constexpr std::u16string_view name = u"Select";
  ExpectArgs(name, args, 1, 5);
  const std::int32_t mode = IntegerArg(name, args[0]);
  if (mode < 0 || mode > kLastMode) Fail(hr::kInvalidArg, name, u"Invalid argument Mode in Select.");
  if (mode != kWindow && mode != kCrossing && mode != kAll)
    Fail(hr::kNotImpl, name, u"This selection mode is not supported.");
  for (std::size_t i = 3; i < args.size(); ++i)
    if (!IsOmitted(args[i])) Fail(hr::kNotImpl, name, u"Selection filters are not supported.");

  const Drawing& drawing = cad_->GetDrawing();
  std::vector<std::size_t> found;
  if (mode == kAll) {
    for (std::size_t i = 1; i < args.size() && i < 3; ++i)
      if (!IsOmitted(args[i])) Fail(hr::kInvalidArg, name, u"Invalid argument in Select.");
    Box everything;
    everything.min = {-1e300, -1e300, -1e300};
    everything.max = {1e300, 1e300, 1e300};
    found = drawing.SelectCrossing(everything);
  } else {
    if (args.size() < 3) Fail(hr::kInvalidArg, name, u"Invalid argument Point2 in Select.");
    Box window;
    window.Add(CornerArg(name, args[1], u"Point1"));
    window.Add(CornerArg(name, args[2], u"Point2"));
    found = drawing.SelectCrossing(window);
    if (mode == kWindow)
      std::erase_if(found, [&](std::size_t i) { return !Inside(Extents(drawing.entities[i]), window); });
  }
  auto& selection = cad_->Selection();
  for (std::size_t i : found)
    if (std::find(selection.begin(), selection.end(), i) == selection.end()) selection.push_back(i);
}

}  // namespace simcad
