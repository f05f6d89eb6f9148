#include "win32/variant_win32.h"

#include <oleauto.h>

#include <limits>

#include "base/failure.h"
#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {

using automation::Kind;
using automation::Variant;

constexpr std::int32_t kOutOfMemory = static_cast<std::int32_t>(0x8007000E);  // E_OUTOFMEMORY

[[noreturn]] void Mismatch(TextView member, VARTYPE vt) {
  throw AutomationFailure(hr::kTypeMismatch, Text(member),
                          u"unsupported VARIANT type " + DecimalText(static_cast<std::int64_t>(vt)));
}

void Check(HRESULT result, TextView member, const char16_t* what) {
  if (FAILED(result)) throw AutomationFailure(static_cast<std::int32_t>(result), Text(member), what);
}

// The elements of a one-dimensional array of doubles, or of variants that
// hold numbers (as some servers hand back points).
std::vector<double> DoublesOf(SAFEARRAY* array, VARTYPE element, TextView member) {
  if (!array) return {};
  if (SafeArrayGetDim(array) != 1) Mismatch(member, static_cast<VARTYPE>(VT_ARRAY | element));
  LONG lower = 0;
  LONG upper = -1;
  Check(SafeArrayGetLBound(array, 1, &lower), member, u"SafeArrayGetLBound");
  Check(SafeArrayGetUBound(array, 1, &upper), member, u"SafeArrayGetUBound");
  std::vector<double> out;
  if (upper < lower) return out;
  out.reserve(static_cast<std::size_t>(upper - lower) + 1);
  for (LONG i = lower; i <= upper; ++i) {
    if (element == VT_R8) {
      double d = 0;
      Check(SafeArrayGetElement(array, &i, &d), member, u"SafeArrayGetElement");
      out.push_back(d);
      continue;
    }
    UniqueVariant item;
    Check(SafeArrayGetElement(array, &i, item.Get()), member, u"SafeArrayGetElement");
    const VARTYPE vt = item.Get()->vt;
    const bool number = vt == VT_R8 || vt == VT_R4 || vt == VT_I2 || vt == VT_I4 || vt == VT_I8 ||
                        vt == VT_UI1 || vt == VT_UI2 || vt == VT_UI4 || vt == VT_INT || vt == VT_UINT;
    if (!number) Mismatch(member, vt);
    UniqueVariant as_double;
    Check(VariantChangeType(as_double.Get(), item.Get(), 0, VT_R8), member, u"VariantChangeType");
    out.push_back(as_double.Get()->dblVal);
  }
  return out;
}

UniqueSafeArray MakeDoubleArray(const std::vector<double>& values, TextView member) {
  if (values.size() > static_cast<std::size_t>(std::numeric_limits<LONG>::max()))
    throw AutomationFailure(hr::kInvalidArg, Text(member), u"array too long");
  UniqueSafeArray array(SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(values.size())));
  if (!array.Get()) throw AutomationFailure(kOutOfMemory, Text(member), u"SafeArrayCreateVector");
  if (!values.empty()) {
    void* data = nullptr;
    Check(SafeArrayAccessData(array.Get(), &data), member, u"SafeArrayAccessData");
    std::copy(values.begin(), values.end(), static_cast<double*>(data));
    SafeArrayUnaccessData(array.Get());
  }
  return array;
}

}  // namespace

UniqueBstr::UniqueBstr(TextView text) {
  if (text.size() > std::numeric_limits<UINT>::max() / 2)
    throw AutomationFailure(kOutOfMemory, {}, u"text too long for a BSTR");
  b_ = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
  if (!b_) throw AutomationFailure(kOutOfMemory, {}, u"SysAllocStringLen");
}

UniqueBstr& UniqueBstr::operator=(UniqueBstr&& other) noexcept {
  if (this != &other) {
    SysFreeString(b_);
    b_ = std::exchange(other.b_, nullptr);
  }
  return *this;
}

UniqueBstr::~UniqueBstr() { SysFreeString(b_); }

BSTR* UniqueBstr::Put() noexcept {
  SysFreeString(std::exchange(b_, nullptr));
  return &b_;
}

Text BstrText(BSTR b) {
  if (!b) return {};
  return FromWide({b, SysStringLen(b)});
}

UniqueVariant::UniqueVariant(UniqueVariant&& other) noexcept : v_(other.Release()) {}

UniqueVariant& UniqueVariant::operator=(UniqueVariant&& other) noexcept {
  if (this != &other) {
    VariantClear(&v_);
    v_ = other.Release();
  }
  return *this;
}

VARIANT* UniqueVariant::Put() noexcept {
  VariantClear(&v_);
  return &v_;
}

VARIANT UniqueVariant::Release() noexcept {
  VARIANT out = v_;
  VariantInit(&v_);
  return out;
}

UniqueSafeArray& UniqueSafeArray::operator=(UniqueSafeArray&& other) noexcept {
  if (this != &other) {
    if (a_) SafeArrayDestroy(a_);
    a_ = std::exchange(other.a_, nullptr);
  }
  return *this;
}

UniqueSafeArray::~UniqueSafeArray() {
  if (a_) SafeArrayDestroy(a_);
}

Variant FromVariant(const VARIANT& v, ObjectBridge& objects, TextView member) {
  const VARTYPE vt = v.vt;
  const bool by_ref = (vt & VT_BYREF) != 0;
  const VARTYPE type = static_cast<VARTYPE>(vt & ~VT_BYREF);
  if (by_ref && !v.byref) Mismatch(member, vt);
  // A by-reference value points at storage of the value's own type.
  auto read = [&](auto by_value, auto by_reference) { return by_ref ? *by_reference : by_value; };

  if (type & VT_ARRAY) {
    const VARTYPE element = static_cast<VARTYPE>(type & ~VT_ARRAY);
    if (element != VT_R8 && element != VT_VARIANT) Mismatch(member, vt);
    return Variant::Doubles(DoublesOf(read(v.parray, v.pparray), element, member));
  }
  switch (type) {
    case VT_EMPTY:
    case VT_NULL:
      return Variant();
    case VT_ERROR:
      if (read(v.scode, v.pscode) == DISP_E_PARAMNOTFOUND) return Variant::Omitted();
      Mismatch(member, vt);
    case VT_BOOL:
      return Variant::Bool(read(v.boolVal, v.pboolVal) != VARIANT_FALSE);
    case VT_I1:
      return Variant::Int16(read(v.cVal, v.pcVal));
    case VT_UI1:
      return Variant::Int16(read(v.bVal, v.pbVal));
    case VT_I2:
      return Variant::Int16(read(v.iVal, v.piVal));
    case VT_UI2:
      return Variant::Int32(read(v.uiVal, v.puiVal));
    case VT_I4:
      return Variant::Int32(read(v.lVal, v.plVal));
    case VT_INT:
      return Variant::Int32(read(v.intVal, v.pintVal));
    case VT_UI4:
      return Variant::Int64(read(v.ulVal, v.pulVal));
    case VT_UINT:
      return Variant::Int64(read(v.uintVal, v.puintVal));
    case VT_I8:
      return Variant::Int64(read(v.llVal, v.pllVal));
    case VT_UI8:
      return Variant::UInt64(read(v.ullVal, v.pullVal));
    case VT_R4:
      return Variant::Double(read(v.fltVal, v.pfltVal));
    case VT_R8:
      return Variant::Double(read(v.dblVal, v.pdblVal));
    case VT_BSTR:
      return Variant::String(BstrText(read(v.bstrVal, v.pbstrVal)));
    case VT_DISPATCH: {
      IDispatch* dispatch = read(v.pdispVal, v.ppdispVal);
      if (!dispatch) return Variant();
      return Variant::Obj(objects.Wrap(dispatch));
    }
    case VT_VARIANT:
      if (by_ref && v.pvarVal && v.pvarVal->vt != (VT_VARIANT | VT_BYREF))
        return FromVariant(*v.pvarVal, objects, member);
      Mismatch(member, vt);
    default:
      Mismatch(member, vt);
  }
}

UniqueVariant ToVariant(const Variant& value, ObjectBridge& objects, TextView member) {
  UniqueVariant out;
  VARIANT& v = *out.Get();
  const auto& raw = value.Raw();
  switch (value.GetKind()) {
    case Kind::Empty:
      break;
    case Kind::Missing:
      v.vt = VT_ERROR;
      v.scode = DISP_E_PARAMNOTFOUND;
      break;
    case Kind::Bool:
      v.vt = VT_BOOL;
      v.boolVal = std::get<bool>(raw) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Kind::Int16:
      v.vt = VT_I2;
      v.iVal = std::get<std::int16_t>(raw);
      break;
    case Kind::Int32:
      v.vt = VT_I4;
      v.lVal = std::get<std::int32_t>(raw);
      break;
    case Kind::Int64:
      v.vt = VT_I8;
      v.llVal = std::get<std::int64_t>(raw);
      break;
    case Kind::UInt64:
      v.vt = VT_UI8;
      v.ullVal = std::get<std::uint64_t>(raw);
      break;
    case Kind::Double:
      v.vt = VT_R8;
      v.dblVal = std::get<double>(raw);
      break;
    case Kind::Text:
      v.bstrVal = UniqueBstr(std::get<Text>(raw)).Release();
      v.vt = VT_BSTR;
      break;
    case Kind::DoubleArray:
      v.parray = MakeDoubleArray(std::get<std::vector<double>>(raw), member).Release();
      v.vt = VT_ARRAY | VT_R8;
      break;
    case Kind::Object: {
      const auto& object = std::get<automation::ObjectRef>(raw);
      v.pdispVal = object ? objects.Unwrap(object).Detach() : nullptr;
      v.vt = VT_DISPATCH;
      break;
    }
  }
  return out;
}

DispatchArguments::DispatchArguments(const automation::Args& args, ObjectBridge& objects, TextView member) {
  passed_.reserve(args.size());
  try {
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
      UniqueVariant value = ToVariant(*it, objects, member);
      const VARTYPE vt = value.Get()->vt;
      if (!it->IsByRef() || vt == VT_EMPTY || vt == VT_ERROR) {
        passed_.push_back(value.Release());
        continue;
      }
      // Every member of the VARIANT's value union starts at the same address,
      // so one pointer serves whatever type the value has.
      UniqueVariant& target = referenced_.emplace_back(std::move(value));
      VARIANTARG ref;
      VariantInit(&ref);
      ref.vt = static_cast<VARTYPE>(VT_BYREF | vt);
      ref.byref = &target.Get()->llVal;
      passed_.push_back(ref);
    }
  } catch (...) {
    for (auto& v : passed_) VariantClear(&v);
    throw;
  }
}

DispatchArguments::~DispatchArguments() {
  // By-reference entries own nothing (VariantClear leaves their targets
  // alone); the targets go with `referenced_`.
  for (auto& v : passed_) VariantClear(&v);
}

DISPPARAMS* DispatchArguments::Positional() noexcept {
  params_.rgvarg = passed_.empty() ? nullptr : passed_.data();
  params_.cArgs = static_cast<UINT>(passed_.size());
  params_.rgdispidNamedArgs = nullptr;
  params_.cNamedArgs = 0;
  return &params_;
}

DISPPARAMS* DispatchArguments::PropertyPut() noexcept {
  Positional();
  params_.rgdispidNamedArgs = &put_id_;
  params_.cNamedArgs = 1;
  return &params_;
}

}  // namespace plyscan::win32
