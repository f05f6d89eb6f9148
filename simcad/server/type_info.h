// The type information simcad's objects give, as a server with a type library
// does: one ITypeInfo per class, the same object for every instance of it,
// whose TYPEATTR names the class by a GUID of its own. Only GetTypeAttr and
// ReleaseTypeAttr are answered; the rest of ITypeInfo says E_NOTIMPL.
#pragma once

#include <oaidl.h>

#include <map>
#include <string>

#include "simcad/server/dispatch_server.h"
#include "win32/com_ptr.h"

namespace simcad::server {

// The GUID of the class `type_name` ("Layer", "Document"...): name-based, so
// it is the same in every run and differs between classes.
GUID TypeGuidOf(std::u16string_view type_name);

class TypeLibrary {
 public:
  // `observer` (may be null) hears of every question asked of a type; it must
  // outlive every client reference to the types.
  explicit TypeLibrary(CallObserver* observer) : observer_(observer) {}
  TypeLibrary(const TypeLibrary&) = delete;
  TypeLibrary& operator=(const TypeLibrary&) = delete;

  // The one type information of `type_name`, a new reference.
  [[nodiscard]] plyscan::win32::ComPtr<ITypeInfo> TypeOf(std::u16string_view type_name);

 private:
  CallObserver* observer_;
  std::map<std::u16string, plyscan::win32::ComPtr<ITypeInfo>, std::less<>> types_;
};

}  // namespace simcad::server
