#include "support/top_level_windows.h"

#include <string>

namespace plyscan::testing {

std::vector<HWND> TopLevelWindows(DWORD process, const wchar_t* class_name, bool visible_only) {
  struct Search {
    DWORD process;
    const wchar_t* class_name;
    bool visible_only;
    std::vector<HWND> found;
  } search{process, class_name, visible_only, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[256] = {};
        GetClassNameW(hwnd, name, 256);
        if (owner == s->process && std::wstring(name) == s->class_name && (!s->visible_only || IsWindowVisible(hwnd)))
          s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace plyscan::testing
