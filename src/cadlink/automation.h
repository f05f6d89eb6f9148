// The portable face of a late-bound automation object: get, put and call by
// member name with a portable variant. The Win32 adapter implements it over
// IDispatch; simcad's in-process model implements it directly.
#pragma once

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "base/text.h"

namespace plyscan::automation {

class Object;
using ObjectRef = std::shared_ptr<Object>;

// An omitted optional argument (sent as VT_ERROR with DISP_E_PARAMNOTFOUND).
struct Missing {
  bool operator==(const Missing&) const = default;
};

enum class Kind { Empty, Missing, Bool, Int16, Int32, Int64, UInt64, Double, Text, DoubleArray, Object };

class Variant {
 public:
  Variant() = default;

  static Variant Omitted() { return Variant(Missing{}); }
  static Variant Bool(bool v) { return Variant(v); }
  static Variant Int16(std::int16_t v) { return Variant(v); }
  static Variant Int32(std::int32_t v) { return Variant(v); }
  static Variant Int64(std::int64_t v) { return Variant(v); }
  static Variant UInt64(std::uint64_t v) { return Variant(v); }
  static Variant Double(double v) { return Variant(v); }
  static Variant String(Text v) { return Variant(std::move(v)); }
  static Variant Doubles(std::vector<double> v) { return Variant(std::move(v)); }
  static Variant Obj(ObjectRef v) { return Variant(std::move(v)); }

  // The same value, marked to travel by reference (VT_BYREF).
  Variant ByRef() const {
    Variant copy = *this;
    copy.by_ref_ = true;
    return copy;
  }
  bool IsByRef() const noexcept { return by_ref_; }
  Kind GetKind() const noexcept { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const noexcept { return GetKind() == Kind::Empty; }

  // Conversions as the program uses results. Each throws AutomationFailure
  // (DISP_E_TYPEMISMATCH) for a value of an unexpected kind; `member` names
  // the call for the failure's text.
  bool AsBool(TextView member = {}) const;                // any non-zero number is true
  std::int32_t AsInt32(TextView member = {}) const;       // integers of any width; doubles to the nearest
  std::uint64_t AsWindowHandle(TextView member = {}) const;  // integers as unsigned 64-bit
  double AsDouble(TextView member = {}) const;
  const Text& AsText(TextView member = {}) const;
  const std::vector<double>& AsDoubles(TextView member = {}) const;
  ObjectRef AsObject(TextView member = {}) const;

  // Element i of an array result, converted as above.
  double ElementAsDouble(std::size_t i, TextView member = {}) const;
  std::int32_t ElementAsInt32(std::size_t i, TextView member = {}) const;

  // The raw value, for adapters and the simulated server.
  using Value = std::variant<std::monostate, Missing, bool, std::int16_t, std::int32_t, std::int64_t,
                             std::uint64_t, double, Text, std::vector<double>, ObjectRef>;
  const Value& Raw() const noexcept { return value_; }

  bool operator==(const Variant& other) const = default;

 private:
  template <typename T>
  explicit Variant(T v) : value_(std::move(v)) {}
  [[noreturn]] void Mismatch(TextView member, const char* wanted) const;

  Value value_;
  bool by_ref_ = false;
};

using Args = std::vector<Variant>;

// One automation object reference. Every call either returns or throws
// AutomationFailure; implementations never let another exception out.
class Object {
 public:
  virtual ~Object() = default;
  // Property get, or method-or-property-get with arguments (as `Item` is read).
  virtual Variant Get(TextView member, const Args& args) = 0;
  // Property put (DISPID_PROPERTYPUT).
  virtual void Put(TextView member, const Variant& value) = 0;
  // Method call.
  virtual Variant Call(TextView member, const Args& args) = 0;

  Variant Get(TextView member) { return Get(member, Args{}); }
  Variant Call(TextView member) { return Call(member, Args{}); }
};

}  // namespace plyscan::automation
