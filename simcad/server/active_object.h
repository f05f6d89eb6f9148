// The application object in the running object table under one CLSID
// (RegisterActiveObject, strong), so that GetActiveObject finds it; revoked
// when the registration ends. Under Wine the table lives in the RpcSs
// service, which cannot start while the service manager is still starting
// the prefix's other services (RPC_S_SERVER_UNAVAILABLE): the registration
// tries again until `patience_ms` have passed.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <utility>

namespace simcad::server {

class ActiveObjectRegistration {
 public:
  ActiveObjectRegistration(IUnknown* object, const CLSID& clsid, DWORD patience_ms = 60000) noexcept;
  ActiveObjectRegistration(ActiveObjectRegistration&& other) noexcept
      : cookie_(std::exchange(other.cookie_, 0)), result_(other.result_) {}
  ActiveObjectRegistration& operator=(ActiveObjectRegistration&&) = delete;
  ActiveObjectRegistration(const ActiveObjectRegistration&) = delete;
  ActiveObjectRegistration& operator=(const ActiveObjectRegistration&) = delete;
  ~ActiveObjectRegistration();

  [[nodiscard]] HRESULT Result() const noexcept { return result_; }

 private:
  DWORD cookie_ = 0;
  HRESULT result_;
};

}  // namespace simcad::server
