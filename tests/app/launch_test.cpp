// Starts plyscan.exe, finds its main window, closes it as a user would, and
// checks that the process ends cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h) CloseHandle(h);
  }
};

struct FoundWindow {
  DWORD pid;
  HWND hwnd;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<FoundWindow*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == found->pid && std::wstring(cls) == L"TForm60") {
    found->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForMainWindow(DWORD pid, DWORD timeout_ms) {
  for (DWORD waited = 0; waited < timeout_ms; waited += 100) {
    FoundWindow found{pid, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&found));
    if (found.hwnd && IsWindowVisible(found.hwnd)) return found.hwnd;
    Sleep(100);
  }
  return nullptr;
}

TEST(Launch, MainWindowOpensOnTopAndClosesCleanly) {
  std::wstring command = L"\"" + std::wstring(PLYSCAN_EXE) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << "cannot start " << GetLastError();
  Handle process{pi.hProcess};
  Handle thread{pi.hThread};

  HWND main = WaitForMainWindow(pi.dwProcessId, 20000);
  ASSERT_NE(main, nullptr) << "no visible TForm60 window";

  wchar_t caption[256] = {};
  GetWindowTextW(main, caption, 256);
  EXPECT_EQ(std::wstring(caption).rfind(L"PLYSCAN", 0), 0u) << "caption does not begin with the title";
  const LONG_PTR ex_style = GetWindowLongPtrW(main, GWL_EXSTYLE);
  EXPECT_TRUE(ex_style & WS_EX_TOPMOST);
  const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.h, 20000), WAIT_OBJECT_0) << "plyscan.exe did not exit";
  DWORD code = 1;
  GetExitCodeProcess(process.h, &code);
  EXPECT_EQ(code, 0u);
}

}  // namespace
