#include "cadlink/automation.h"

#include <cmath>
#include <limits>

#include "base/failure.h"

namespace plyscan::automation {

namespace {

template <typename F>
bool AsWideInteger(const Variant::Value& v, F&& take) {
  if (auto p = std::get_if<std::int16_t>(&v)) return take(static_cast<std::int64_t>(*p)), true;
  if (auto p = std::get_if<std::int32_t>(&v)) return take(static_cast<std::int64_t>(*p)), true;
  if (auto p = std::get_if<std::int64_t>(&v)) return take(*p), true;
  if (auto p = std::get_if<std::uint64_t>(&v)) return take(static_cast<std::int64_t>(*p)), true;
  if (auto p = std::get_if<bool>(&v)) return take(*p ? -1 : 0), true;  // an automation Boolean is -1/0
  return false;
}

// To the nearest, halves to even, as automation's own conversion rounds.
std::int32_t RoundToInt32(double d, bool& ok) {
  const double r = std::nearbyint(d);
  ok = std::isfinite(r) && r >= -2147483648.0 && r <= 2147483647.0;
  return ok ? static_cast<std::int32_t>(r) : 0;
}

}  // namespace

void Variant::Mismatch(TextView member, const char* wanted) const {
  throw AutomationFailure(hr::kTypeMismatch, Text(member), u"result is not " + FromUtf8(wanted));
}

bool Variant::AsBool(TextView member) const {
  std::int64_t n = 0;
  if (AsWideInteger(value_, [&](std::int64_t v) { n = v; })) return n != 0;
  if (auto p = std::get_if<double>(&value_)) return *p != 0.0;
  Mismatch(member, "a Boolean");
}

std::int32_t Variant::AsInt32(TextView member) const {
  std::int64_t n = 0;
  if (AsWideInteger(value_, [&](std::int64_t v) { n = v; })) {
    if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
      Mismatch(member, "a 32-bit integer");
    return static_cast<std::int32_t>(n);
  }
  if (auto p = std::get_if<double>(&value_)) {
    bool ok = false;
    const auto r = RoundToInt32(*p, ok);
    if (ok) return r;
  }
  Mismatch(member, "an integer");
}

std::uint64_t Variant::AsWindowHandle(TextView member) const {
  std::int64_t n = 0;
  if (std::holds_alternative<bool>(value_)) Mismatch(member, "a window handle");
  if (AsWideInteger(value_, [&](std::int64_t v) { n = v; })) return static_cast<std::uint64_t>(n);
  Mismatch(member, "a window handle");
}

double Variant::AsDouble(TextView member) const {
  if (auto p = std::get_if<double>(&value_)) return *p;
  std::int64_t n = 0;
  if (AsWideInteger(value_, [&](std::int64_t v) { n = v; })) return static_cast<double>(n);
  Mismatch(member, "a number");
}

const Text& Variant::AsText(TextView member) const {
  if (auto p = std::get_if<Text>(&value_)) return *p;
  Mismatch(member, "a text");
}

const std::vector<double>& Variant::AsDoubles(TextView member) const {
  if (auto p = std::get_if<std::vector<double>>(&value_)) return *p;
  Mismatch(member, "an array of doubles");
}

ObjectRef Variant::AsObject(TextView member) const {
  if (auto p = std::get_if<ObjectRef>(&value_); p && *p) return *p;
  Mismatch(member, "an object");
}

double Variant::ElementAsDouble(std::size_t i, TextView member) const {
  const auto& a = AsDoubles(member);
  if (i >= a.size()) throw AutomationFailure(hr::kBadIndex, Text(member), u"array element out of range");
  return a[i];
}

std::int32_t Variant::ElementAsInt32(std::size_t i, TextView member) const {
  return Variant::Double(ElementAsDouble(i, member)).AsInt32(member);
}

}  // namespace plyscan::automation
