#include "simcad/server/active_object.h"

#include <oleauto.h>

namespace simcad::server {

ActiveObjectRegistration::ActiveObjectRegistration(IUnknown* object, const CLSID& clsid) noexcept
    : result_(RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie_)) {
  if (FAILED(result_)) cookie_ = 0;
}

ActiveObjectRegistration::~ActiveObjectRegistration() {
  if (cookie_) RevokeActiveObject(cookie_, nullptr);
}

}  // namespace simcad::server
