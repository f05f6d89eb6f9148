// The settings file through the private-profile functions, one call per value.
#include <windows.h>

#include <iterator>

#include "base/platform.h"
#include "shell/profile_store.h"
#include "win32/wide_text.h"

namespace plyscan {

namespace {

using win32::FromWide;
using win32::Wide;

// GetPrivateProfileStringW hands back the default for a missing key. A value
// read from the file never holds a line break, so this default cannot be
// mistaken for one (and it ends in no blank, which the function would strip).
constexpr wchar_t kMissing[] = L"\n<missing>\n<";

class Win32ProfileStore final : public ProfileStore {
 public:
  std::optional<Text> Read(const Text& path, TextView section, TextView key) override {
    wchar_t buffer[kMaxValueLength + 1];
    const DWORD length = GetPrivateProfileStringW(Wide(Text(section)), Wide(Text(key)), kMissing, buffer,
                                                  static_cast<DWORD>(std::size(buffer)), Wide(path));
    const std::wstring_view value(buffer, length);
    if (value == kMissing) return std::nullopt;
    return FromWide(value);
  }

  bool Write(const Text& path, TextView section, TextView key, TextView value) override {
    return WritePrivateProfileStringW(Wide(Text(section)), Wide(Text(key)), Wide(Text(value)), Wide(path)) != FALSE;
  }
};

}  // namespace

ProfileStore& SystemProfileStore() {
  static Win32ProfileStore store;
  return store;
}

}  // namespace plyscan
