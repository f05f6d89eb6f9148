#include "win32/dispatch_types.h"

#include <cstring>

#include "base/failure.h"

namespace plyscan::win32 {

namespace {

// A refusal or a lost server says nothing about the server's types.
void ThrowIfNotAnswered(HRESULT result, TextView member, const char16_t* question) {
  const auto code = static_cast<std::int32_t>(result);
  if (hr::ServerGone(code) || code == hr::kCallRejected || code == hr::kRetryLater)
    throw AutomationFailure(code, Text(member), question);
}

}  // namespace

bool DispatchTypes::GuidLess::operator()(const GUID& a, const GUID& b) const noexcept {
  return std::memcmp(&a, &b, sizeof(GUID)) < 0;
}

DispatchIdMap* DispatchTypes::IdsOf(IDispatch& dispatch, TextView member, StageTimes* times) {
  if (untyped_) return nullptr;
  ComPtr<ITypeInfo> info;
  HRESULT result = S_OK;
  {
    StageScope waiting(times, Stage::kCadCalls);
    result = dispatch.GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put());
  }
  ThrowIfNotAnswered(result, member, u"GetTypeInfo");
  // A server that answers no type for one object is taken as one without
  // type information: asking each object again would only cost round trips.
  if (FAILED(result) || !info) {
    untyped_ = true;
    return nullptr;
  }
  for (const Seen& seen : seen_)
    if (seen.info.Get() == info.Get()) return seen.ids;

  TYPEATTR* attributes = nullptr;
  {
    StageScope waiting(times, Stage::kCadCalls);
    result = info->GetTypeAttr(&attributes);
  }
  ThrowIfNotAnswered(result, member, u"GetTypeAttr");
  if (FAILED(result) || !attributes) {
    untyped_ = true;
    return nullptr;
  }
  const GUID guid = attributes->guid;
  info->ReleaseTypeAttr(attributes);
  if (IsEqualGUID(guid, GUID_NULL)) {
    untyped_ = true;
    return nullptr;
  }
  DispatchIdMap* const ids = &by_class_[guid];
  seen_.push_back({std::move(info), ids});
  return ids;
}

}  // namespace plyscan::win32
