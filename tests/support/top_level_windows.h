// The top-level windows of one process and one window class, as the tests
// of real programs look for them (Windows build only).
#pragma once

#include <windows.h>

#include <vector>

namespace plyscan::testing {

// In the system's z-order, topmost first; only the visible ones when asked.
std::vector<HWND> TopLevelWindows(DWORD process, const wchar_t* class_name, bool visible_only);

}  // namespace plyscan::testing
