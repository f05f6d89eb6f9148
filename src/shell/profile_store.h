// Port: the operating system's private-profile (INI) functions, one call per
// value, as GetPrivateProfileStringW and WritePrivateProfileStringW offer them.
#pragma once

#include <cstddef>
#include <optional>

#include "base/text.h"

namespace plyscan {

class ProfileStore {
 public:
  // A value is returned with at most this many characters, as a 2048-character
  // buffer of the profile function holds them.
  static constexpr std::size_t kMaxValueLength = 2047;

  virtual ~ProfileStore() = default;

  // The value of `key` in `section` of the file at `path` (surrounding blanks and
  // one pair of enclosing quotes removed, cut to kMaxValueLength), or nullopt when
  // the file, the section or the key is missing. Never fails.
  virtual std::optional<Text> Read(const Text& path, TextView section, TextView key) = 0;

  // Sets `key` in `section` to `value`, creating the file and the section when
  // needed. False when the file cannot be written.
  [[nodiscard]] virtual bool Write(const Text& path, TextView section, TextView key, TextView value) = 0;
};

}  // namespace plyscan
