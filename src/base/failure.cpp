#include "base/failure.h"

#include <cstdio>

namespace plyscan {

Text AutomationFailure::Describe(std::int32_t hresult, const Text& member, const Text& detail) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hresult));
  Text out = member + u": " + FromUtf8(code);
  if (!detail.empty()) out += u" " + detail;
  return out;
}

}  // namespace plyscan
