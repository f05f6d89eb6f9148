// OLE Automation values: scoped BSTR, VARIANT and SAFEARRAY, and the
// conversions between the portable automation::Variant and VARIANT that both
// the IDispatch client and simcad's IDispatch server use.
#pragma once

#include <oaidl.h>

#include <deque>
#include <utility>
#include <vector>

#include "cadlink/automation.h"
#include "win32/com_ptr.h"

namespace plyscan::win32 {

class UniqueBstr {
 public:
  UniqueBstr() noexcept = default;
  explicit UniqueBstr(TextView text);  // throws AutomationFailure(E_OUTOFMEMORY)
  UniqueBstr(UniqueBstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& other) noexcept;
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr();

  BSTR Get() const noexcept { return b_; }
  [[nodiscard]] BSTR* Put() noexcept;  // frees the current string first
  [[nodiscard]] BSTR Release() noexcept { return std::exchange(b_, nullptr); }

 private:
  BSTR b_ = nullptr;
};

// The text of a BSTR (null is the empty text); embedded nulls are kept.
Text BstrText(BSTR b);

class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&v_); }
  UniqueVariant(UniqueVariant&& other) noexcept;
  UniqueVariant& operator=(UniqueVariant&& other) noexcept;
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&v_); }

  VARIANT* Get() noexcept { return &v_; }
  const VARIANT* Get() const noexcept { return &v_; }
  [[nodiscard]] VARIANT* Put() noexcept;  // clears the current value first
  // Hands the value over; this one becomes VT_EMPTY.
  [[nodiscard]] VARIANT Release() noexcept;

 private:
  VARIANT v_;
};

class UniqueSafeArray {
 public:
  UniqueSafeArray() noexcept = default;
  explicit UniqueSafeArray(SAFEARRAY* adopt) noexcept : a_(adopt) {}
  UniqueSafeArray(UniqueSafeArray&& other) noexcept : a_(std::exchange(other.a_, nullptr)) {}
  UniqueSafeArray& operator=(UniqueSafeArray&& other) noexcept;
  UniqueSafeArray(const UniqueSafeArray&) = delete;
  UniqueSafeArray& operator=(const UniqueSafeArray&) = delete;
  ~UniqueSafeArray();

  SAFEARRAY* Get() const noexcept { return a_; }
  [[nodiscard]] SAFEARRAY* Release() noexcept { return std::exchange(a_, nullptr); }

 private:
  SAFEARRAY* a_ = nullptr;
};

// How object references cross between the two worlds: the client wraps an
// IDispatch it receives as a portable object, the server wraps its portable
// objects as IDispatch. Both may throw AutomationFailure.
class ObjectBridge {
 public:
  virtual ~ObjectBridge() = default;
  // `dispatch` is borrowed: the portable object takes its own reference.
  virtual automation::ObjectRef Wrap(IDispatch* dispatch) = 0;
  virtual ComPtr<IDispatch> Unwrap(const automation::ObjectRef& object) = 0;
};

// VARIANT to portable value. A VT_BYREF value is read through its pointer;
// VT_ARRAY of doubles (or of variants holding numbers) of one dimension
// becomes a double array. Any other type throws AutomationFailure
// (DISP_E_TYPEMISMATCH) naming `member`.
automation::Variant FromVariant(const VARIANT& v, ObjectBridge& objects, TextView member);

// Portable value to a VARIANT of its own (the by-reference mark is not
// looked at here: see DispatchArguments). Empty is VT_EMPTY, Missing is
// VT_ERROR with DISP_E_PARAMNOTFOUND, Bool is VT_BOOL -1/0.
UniqueVariant ToVariant(const automation::Variant& value, ObjectBridge& objects, TextView member);

// The DISPPARAMS of one IDispatch::Invoke: the arguments in reverse order,
// as IDispatch wants them. A value marked ByRef travels as VT_BYREF pointing
// at storage owned by this object, so it lives for the call's duration and
// whatever the callee leaves there is freed with it.
class DispatchArguments {
 public:
  DispatchArguments(const automation::Args& args, ObjectBridge& objects, TextView member);
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;
  ~DispatchArguments();

  // The parameters of a method call or property get.
  DISPPARAMS* Positional() noexcept;
  // The parameters of a property put: the value is named DISPID_PROPERTYPUT.
  DISPPARAMS* PropertyPut() noexcept;

 private:
  std::vector<VARIANTARG> passed_;       // what Invoke sees; by-value entries are owned here
  std::deque<UniqueVariant> referenced_;  // targets of the VT_BYREF entries
  DISPID put_id_ = DISPID_PROPERTYPUT;
  DISPPARAMS params_{};
};

}  // namespace plyscan::win32
