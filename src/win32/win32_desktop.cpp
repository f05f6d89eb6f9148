#include "win32/win32_desktop.h"

#include <windows.h>

#include <string>

#include "win32/wide_text.h"

namespace plyscan::win32 {

namespace {
HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }
}  // namespace

bool Win32Desktop::IsIconic(WindowHandle window) { return ::IsIconic(AsHwnd(window)) != FALSE; }
void Win32Desktop::OpenIcon(WindowHandle window) { ::OpenIcon(AsHwnd(window)); }
void Win32Desktop::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }
void Win32Desktop::SetForegroundWindow(WindowHandle window) { ::SetForegroundWindow(AsHwnd(window)); }

void DebugOutputTrace::Discarded(const Text& what) noexcept {
  try {
    const std::wstring line = L"PLYSCAN: CAD command ended: " + std::wstring(WideView(what)) + L"\n";
    OutputDebugStringW(line.c_str());
  } catch (...) {
  }
}

FailureTrace* DeveloperTrace() {
#ifdef PLYSCAN_TRACE_CAD_FAILURES
  static DebugOutputTrace trace;
  return &trace;
#else
  return nullptr;
#endif
}

}  // namespace plyscan::win32
