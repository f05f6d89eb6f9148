#include "driver.h"

#include <filesystem>
#include <fstream>
#include <thread>

#include "support/top_level_windows.h"
#include "win32/gdi.h"

namespace plyscan::testing {

namespace {


}  // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

RunningProgram::RunningProgram(const std::wstring& folder) {
  const std::wstring exe = folder + L"\\plyscan.exe";
  if (!CopyFileW(PLYSCAN_EXE, exe.c_str(), FALSE)) return;
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return;
  process_.Reset(pi.hProcess);
  thread_.Reset(pi.hThread);
  id_ = pi.dwProcessId;
}

RunningProgram::~RunningProgram() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 99);  // a failed test leaves nothing running
    WaitForSingleObject(process_.Get(), 5000);
  }
}

HWND RunningProgram::TopLevel(const wchar_t* class_name, bool visible_only) const {
  const std::vector<HWND> found = TopLevelWindows(id_, class_name, visible_only);
  return found.empty() ? nullptr : found.front();
}

long RunningProgram::WaitForExit(std::chrono::milliseconds timeout) {
  if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return static_cast<long>(code);
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &copied);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  GetClassNameW(hwnd, name, 128);
  return name;
}

HWND ChildById(HWND parent, int id) {
  struct Find {
    int id;
    HWND found;
  } find{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        if (GetDlgCtrlID(hwnd) != f->id) return TRUE;
        f->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

RECT RectInParent(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring ListEntry(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return L"<none>";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

namespace {

// The screen's pixels at the window's place, as 24-bit bottom-up rows.
std::vector<char> Grab(HWND window, BITMAPINFOHEADER& header) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  const win32::ScreenDc screen;
  const win32::MemoryDc memory(screen.Get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  header = info.bmiHeader;
  void* bits = nullptr;
  const win32::GdiBitmap bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  {
    const win32::SelectIn select(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) return {};
  }
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const char* first = static_cast<const char*>(bits);
  return std::vector<char>(first, first + stride * static_cast<DWORD>(height));
}

bool Painted(HWND window) {
  if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
  bool clean = true;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lp) -> BOOL {
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(lp) = false;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&clean));
  return clean;
}

}  // namespace

bool WaitShown(HWND window) {
  if (!WaitUntil([&] { return Painted(window); })) return false;
  BITMAPINFOHEADER header{};
  std::vector<char> last = Grab(window, header);
  return WaitUntil([&] {
    std::vector<char> now = Grab(window, header);
    const bool alike = !now.empty() && now == last;
    last = std::move(now);
    return alike;
  });
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  BITMAPINFOHEADER header{};
  const std::vector<char> image = Grab(window, header);
  if (image.empty()) return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(image.data(), static_cast<std::streamsize>(image.size()));
  return static_cast<bool>(out);
}

}  // namespace plyscan::testing
