// demo_driver.exe: the user of the demo. With plyscan.exe and simcad.exe
// running, it sizes PLYSCAN's window to show the drawing's layers beside the
// CAD's, presses "キャプチャ" with a real click, waits until the run has
// ended (simcad's call log has the restore of the layer state and then goes
// quiet), saves the desktop and PLYSCAN's client area as BMP files, checks the
// board when asked, and closes both programs unless told to keep them.
//
//   demo_driver.exe --log FILE --desktop FILE.bmp --window FILE.bmp --layers N
//                   [--check] [--keep] [--timeout SECONDS]
//
// Each way it can fail prints one line on stderr and gives its own exit code:
// 2 command line, 3 a program that did not start, 4 a capture that did not
// end, 5 a board that does not show the drawing, 6 a program that did not close.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "shell/control_ids.h"
#include "shell/window_class_names.h"
#include "win32/com_activation.h"
#include "win32/gdi.h"
#include "win32/wide_text.h"

namespace {

using Clock = std::chrono::steady_clock;

using plyscan::ui::main_controls::kBoard;
using plyscan::ui::main_controls::kCaptureButton;
constexpr COLORREF kBar = RGB(0x7B, 0x68, 0xEE);
constexpr COLORREF kEmptyBar = RGB(0x80, 0x80, 0x80);

struct Options {
  std::filesystem::path log;
  std::wstring desktop_shot;
  std::wstring window_shot;
  int layers = 0;
  bool check = false;
  bool keep = false;
  int timeout_s = 300;
};

[[noreturn]] void Fail(int code, const std::string& message) {
  std::fprintf(stderr, "demo: %s\n", message.c_str());
  std::exit(code);
}

std::optional<Options> ParseArgs(int argc, wchar_t** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const auto value = [&]() -> std::wstring {
      if (i + 1 >= argc) Fail(2, "a value is missing after an option");
      return argv[++i];
    };
    if (a == L"--log") o.log = value();
    else if (a == L"--desktop") o.desktop_shot = value();
    else if (a == L"--window") o.window_shot = value();
    else if (a == L"--layers") o.layers = std::stoi(value());
    else if (a == L"--timeout") o.timeout_s = std::stoi(value());
    else if (a == L"--check") o.check = true;
    else if (a == L"--keep") o.keep = true;
    else return std::nullopt;
  }
  if (o.log.empty() || o.desktop_shot.empty() || o.window_shot.empty() || o.layers <= 0) return std::nullopt;
  return o;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

HWND VisibleWindow(const wchar_t* class_name) {
  const HWND hwnd = FindWindowW(class_name, nullptr);
  return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

int LogLines(const std::filesystem::path& log, const std::string& what) {
  std::ifstream in(log);
  int n = 0;
  for (std::string line; std::getline(in, line);)
    if (line.find(what) != std::string::npos) ++n;
  return n;
}

void ClickAt(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// The board's measures at the window's resolution, as the program scales its design.
struct Board {
  POINT origin;  // the grid's client area on the screen
  SIZE client;
  int cell_width, cell_height, bar;
};

Board MeasureBoard(HWND grid) {
  const UINT dpi = GetDpiForWindow(grid) ? GetDpiForWindow(grid) : 96;
  Board b{};
  ClientToScreen(grid, &b.origin);
  RECT client{};
  GetClientRect(grid, &client);
  b.client = {client.right, client.bottom};
  b.cell_width = MulDiv(200, static_cast<int>(dpi), 96);
  b.cell_height = MulDiv(140, static_cast<int>(dpi), 96);
  b.bar = static_cast<int>(dpi * 20 / 96);
  return b;
}

// Puts PLYSCAN's window below the CAD's (or beside it when there is no room
// below), wide enough for as many columns as the screen holds and high enough
// for every row when it can be.
void PlaceWindow(HWND form, int layers) {
  const HWND grid = GetDlgItem(form, kBoard);
  const Board b = MeasureBoard(grid);
  RECT cad{0, 0, 0, 0};
  if (const HWND sim = FindWindowW(L"SimCadApplication", nullptr)) GetWindowRect(sim, &cad);
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  RECT window{}, client{};
  GetWindowRect(form, &window);
  GetClientRect(form, &client);
  const int frame_w = (window.right - window.left) - client.right;
  const int frame_h = (window.bottom - window.top) - client.bottom;
  POINT grid_origin{0, 0};
  MapWindowPoints(grid, form, &grid_origin, 1);
  const int toolbar = grid_origin.y;
  const int pitch_w = b.cell_width + 1, pitch_h = b.cell_height + 1;
  int left = 0, top = cad.bottom + 8;
  if (screen_h - top - frame_h < toolbar + 2 * pitch_h) left = cad.right + 8, top = 0;
  const int room_h = screen_h - top - frame_h;
  const int scroll = GetSystemMetricsForDpi(SM_CXVSCROLL, GetDpiForWindow(grid) ? GetDpiForWindow(grid) : 96);
  const auto columns = [&](int bar) { return std::max(1, std::min(layers, (screen_w - left - frame_w - bar + 1) / pitch_w)); };
  int cols = columns(0);
  int bar = 0;
  if (toolbar + (layers + cols - 1) / cols * pitch_h - 1 > room_h) cols = columns(bar = scroll);
  const int rows = (layers + cols - 1) / cols;
  const int client_h = std::min(room_h, toolbar + rows * pitch_h - 1);
  SetWindowPos(form, nullptr, left, top, cols * pitch_w - 1 + bar + frame_w, client_h + frame_h,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The screen's pixels in `rect` as a 24-bit bottom-up BMP file, and in memory.
struct Shot {
  RECT rect;
  std::vector<std::uint8_t> bgr;  // top-down, 3 bytes a pixel, rows padded to 4
  int Stride() const { return ((rect.right - rect.left) * 3 + 3) / 4 * 4; }
  COLORREF At(int x, int y) const {
    x -= rect.left;
    y -= rect.top;
    if (x < 0 || y < 0 || x >= rect.right - rect.left || y >= rect.bottom - rect.top) return CLR_INVALID;
    const std::uint8_t* p = bgr.data() + static_cast<std::size_t>(y) * Stride() + static_cast<std::size_t>(x) * 3;
    return RGB(p[2], p[1], p[0]);
  }
};

Shot TakeShot(const RECT& rect) {
  Shot shot{rect, {}};
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  shot.bgr.resize(static_cast<std::size_t>(shot.Stride()) * h);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const plyscan::win32::ScreenDc screen;
  const plyscan::win32::MemoryDc memory(screen.Get());
  void* bits = nullptr;
  const plyscan::win32::GdiBitmap bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) {
    const plyscan::win32::SelectIn select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::memcpy(shot.bgr.data(), bits, shot.bgr.size());
  }
  return shot;
}

// True once the window and every window inside it have nothing left to
// paint.
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

// Waits until the window has painted itself and the screen shows it: two
// pictures of its place alike, a tenth of a second apart.
bool WaitShown(HWND window) {
  if (!WaitFor([&] { return Painted(window); }, std::chrono::seconds(30))) return false;
  RECT rect{};
  GetWindowRect(window, &rect);
  Shot last = TakeShot(rect);
  return WaitFor(
      [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Shot now = TakeShot(rect);
        const bool alike = now.bgr == last.bgr;
        last = std::move(now);
        return alike;
      },
      std::chrono::seconds(30));
}

bool SaveBmp(const Shot& shot, const std::wstring& path) {
  const int w = shot.rect.right - shot.rect.left, h = shot.rect.bottom - shot.rect.top;
  BITMAPINFOHEADER header{sizeof header, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(shot.bgr.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  for (int y = h - 1; y >= 0; --y)  // a BMP keeps its rows bottom-up
    out.write(reinterpret_cast<const char*>(shot.bgr.data()) + static_cast<std::size_t>(y) * shot.Stride(), shot.Stride());
  return static_cast<bool>(out);
}

// Every cell in view that holds a record shows its bar and a picture, the
// cells after the last record are black; the records counted so.
int CheckBoard(const Shot& shot, const Board& b, int layers) {
  const int pitch_w = b.cell_width + 1, pitch_h = b.cell_height + 1;
  const int cols = std::max(1, static_cast<int>(b.client.cx + 1) / pitch_w);
  const int rows = std::max(1, static_cast<int>(b.client.cy + 1) / pitch_h);
  int records = 0;
  bool ended = false;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const int left = b.origin.x + c * pitch_w, top = b.origin.y + r * pitch_h;
      const COLORREF bar = shot.At(left + 3, top + 3);
      bool picture = false;
      for (int dy : {-10, 0, 10})
        for (int dx : {-20, 0, 20}) {
          const COLORREF p = shot.At(left + b.cell_width / 2 + dx, top + b.bar + (b.cell_height - b.bar) / 2 + dy);
          picture = picture || (p != RGB(0, 0, 0) && p != CLR_INVALID);
        }
      const bool painted = (bar == kBar || bar == kEmptyBar) && picture;  // the count decides the colour
      if (painted && ended)
        Fail(5, "a cell with a record follows an empty one at column " + std::to_string(c) + ", row " + std::to_string(r));
      if (!painted && !picture) ended = true;
      if (!painted && picture) Fail(5, "cell " + std::to_string(c) + "," + std::to_string(r) + " has no bar");
      if (painted) ++records;
    }
  if (records != layers)
    Fail(5, "the board shows " + std::to_string(records) + " records, the drawing has " + std::to_string(layers) +
                " layers");
  return records;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  const std::optional<Options> options = ParseArgs(argc, argv);
  if (!options.has_value()) {
    Fail(2, "usage: demo_driver.exe --log FILE --desktop FILE.bmp --window FILE.bmp --layers N [--check] [--keep]");
  }
  const plyscan::win32::OleApartment ole;

  HWND form = nullptr;
  if (!WaitFor([&] { return (form = VisibleWindow(plyscan::win32::Wide(plyscan::ui::kMainWindowClass))) != nullptr; },
               std::chrono::seconds(60)))
    Fail(3, "PLYSCAN did not start (no main window)");
  if (!WaitFor(
          [] {
            try {
              return VisibleWindow(L"SimCadApplication") && plyscan::win32::IsProgIdRunning(u"BricscadApp.AcadApplication");
            } catch (...) {
              return false;
            }
          },
          std::chrono::seconds(60)))
    Fail(3, "simcad did not start (not running under BricscadApp.AcadApplication)");

  PlaceWindow(form, options->layers);
  if (!WaitShown(form)) Fail(4, "PLYSCAN did not show itself where it was placed");
  const HWND button = GetDlgItem(form, kCaptureButton);
  RECT r{};
  GetWindowRect(button, &r);
  const int restores = LogLines(options->log, "layerstate-restore");
  const int saves = LogLines(options->log, "layerstate-save");
  std::printf("demo: pressing キャプチャ\n");
  std::fflush(stdout);
  // A first click on a desktop that has just come up may only activate it,
  // as a user's would: press again until the capture has begun.
  for (int tries = 0;; ++tries) {
    SetForegroundWindow(form);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    if (WaitFor([&] { return LogLines(options->log, "layerstate-save") > saves; }, std::chrono::seconds(5))) break;
    if (tries == 3) Fail(4, "the capture did not begin after four clicks on キャプチャ");
  }
  if (!WaitFor([&] { return LogLines(options->log, "layerstate-restore") > restores; },
               std::chrono::seconds(options->timeout_s)))
    Fail(4, "the capture did not end within " + std::to_string(options->timeout_s) + " s");
  // The epilogue follows the restore; at its end the window takes the
  // keyboard back from the CAD.
  if (!WaitFor([&] { return GetForegroundWindow() == form; }, std::chrono::seconds(60)))
    Fail(4, "PLYSCAN did not come back to the front after the capture");
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (!WaitShown(form)) Fail(4, "PLYSCAN did not paint its board after the capture");

  const RECT desktop{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const Shot shot = TakeShot(desktop);
  // The window's client area: the frame is Wine's to draw, and without a
  // window manager it draws none.
  RECT window{};
  GetClientRect(form, &window);
  MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&window), 2);
  if (!SaveBmp(shot, options->desktop_shot) || !SaveBmp(TakeShot(window), options->window_shot))
    Fail(5, "cannot write the screenshots");
  if (options->check) {
    const int records = CheckBoard(shot, MeasureBoard(GetDlgItem(form, kBoard)), options->layers);
    std::printf("demo: the board shows all %d layers, each with its bar and picture\n", records);
  }

  if (!options->keep) {
    const HWND sim = FindWindowW(L"SimCadApplication", nullptr);
    PostMessageW(form, WM_CLOSE, 0, 0);
    if (!WaitFor([] { return FindWindowW(plyscan::win32::Wide(plyscan::ui::kMainWindowClass), nullptr) == nullptr; },
                 std::chrono::seconds(20)))
      Fail(6, "PLYSCAN did not close");
    if (sim) PostMessageW(sim, WM_CLOSE, 0, 0);
    if (!WaitFor([] { return FindWindowW(L"SimCadApplication", nullptr) == nullptr; }, std::chrono::seconds(20)))
      Fail(6, "simcad did not close");
  }
  return 0;
}
