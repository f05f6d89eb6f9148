// The registry entries that let a client find simcad by ProgID: ProgID\CLSID
// and CLSID\{...}\ProgID, under HKCU\Software\Classes and under
// HKLM\Software\Classes (Wine's HKEY_CLASSES_ROOT is HKLM's alone). The keys
// this run created are deleted when the registration ends; a key that holds
// another program's value is left alone and that hive is not used.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simcad::server {

// A deterministic class identifier for a ProgID: a name-based GUID (version 5
// layout) from FNV-1a hashes of the upper-cased ProgID, so that the
// same ProgID always gets the same CLSID and different ones differ.
CLSID ClassIdForProgId(std::u16string_view progid);

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
std::u16string ClassIdText(const CLSID& clsid);

class ClassRegistration {
 public:
  // Registers `progid` as `clsid` in both hives. A hive that refuses (HKLM
  // without rights on Windows) is skipped; the registration fails (Ok() is
  // false) only when neither hive took it.
  ClassRegistration(std::u16string_view progid, const CLSID& clsid);
  ClassRegistration(ClassRegistration&& other) noexcept;
  ClassRegistration& operator=(ClassRegistration&&) = delete;
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;
  ~ClassRegistration();

  [[nodiscard]] bool Ok() const noexcept { return ok_; }

 private:
  struct CreatedKey {
    HKEY root;
    std::wstring path;
  };
  bool Register(HKEY root, const std::wstring& progid, const std::wstring& clsid);
  bool CreateKey(HKEY root, const std::wstring& path, const std::wstring& default_value);

  std::vector<CreatedKey> created_;  // in creation order: parents before children
  bool ok_ = false;
};

}  // namespace simcad::server
