#include "simcad/server/active_object.h"

#include <oleauto.h>

namespace simcad::server {

ActiveObjectRegistration::ActiveObjectRegistration(IUnknown* object, const CLSID& clsid, DWORD patience_ms) noexcept {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    result_ = RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie_);
    if (result_ != HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) || GetTickCount64() - start >= patience_ms) break;
    Sleep(250);
  }
  if (FAILED(result_)) cookie_ = 0;
}

ActiveObjectRegistration::~ActiveObjectRegistration() {
  if (cookie_) RevokeActiveObject(cookie_, nullptr);
}

}  // namespace simcad::server
