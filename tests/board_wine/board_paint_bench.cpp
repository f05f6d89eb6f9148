// Benchmark, not a test: the real board painting 1000 records under Wine at
// the prefix's resolution. Prints the time of a full repaint of the visible
// board, the time to scroll through every row with a repaint at each, and the
// process's GDI objects before the window, with the board filled, and after
// the paints (what the board itself holds).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "base/platform.h"
#include "shell/main_window.h"
#include "support/sim_target.h"
#include "win32/com_activation.h"
#include "win32/gdi.h"
#include "win32/ui/win32_shell_ports.h"
#include "win32/ui/win32_window_system.h"
#include "win32/wide_text.h"
#include "win32/win32_board_pictures.h"

namespace {

using namespace plyscan;
using Clock = std::chrono::steady_clock;

// The system's count where it keeps one (0 under Wine), and the program's own.
struct GdiCount {
  DWORD system;
  long ours;
};
GdiCount GdiObjects() { return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), win32::LiveGdiObjects()}; }

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The process's private bytes (Wine leaves PrivateUsage at 0 but keeps PagefileUsage).
std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

}  // namespace

int main() {
  win32::OleApartment ole;
  const GdiCount at_start = GdiObjects();
  win32::Win32WindowSystem windows;
  win32::Win32MessageFilterRegistry filter;
  testing::SimCadServices cad(nullptr);
  win32::Win32BoardPictures pictures;
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  ShellServices services{windows,           filter,         SystemProfileStore(), SystemFiles(),
                         SystemAnsiCodec(), UserCollator(), win32::FromWide(exe), cad.services,
                         cad.screen,        pictures};
  MainWindow main(services);
  main.Create();
  windows.ShowMainWindow(main.Window());
  const UINT dpi = GetDpiForSystem();
  main.Window().Peer().SetWindowRect(
      Rect::Sized(0, 0, static_cast<int>(1280 * dpi / 96), static_cast<int>(900 * dpi / 96)));
  const GdiCount with_window = GdiObjects();

  constexpr std::size_t kRecords = 1000;
  ResizeSnapshot(main.snapshot, kRecords);
  const int bar = static_cast<int>(main.display_scale * 20);
  for (std::size_t i = 0; i < kRecords; ++i) {
    LayerRecord& record = main.snapshot[i];
    record.name = u"Layer " + DecimalText(static_cast<std::int64_t>(i));
    record.object_count = static_cast<std::int32_t>(i % 7);
    record.thumbnail = std::make_unique<Bitmap>(SystemSurfaces());
    record.thumbnail->SetSize(main.grid.DefaultColWidth(), main.grid.DefaultRowHeight() - bar);
    for (int x = 0; x < record.thumbnail->Width(); x += 3)
      record.thumbnail->SetPixel(x, static_cast<int>(i % 50), 0x00FFFF);
  }
  main.LayOutBoard();
  main.grid.Repaint();
  const GdiCount filled = GdiObjects();

  constexpr int kRepaints = 50;
  const auto start = Clock::now();
  for (int i = 0; i < kRepaints; ++i) main.grid.Repaint();
  const double per_paint = Milliseconds(Clock::now() - start) / kRepaints;

  const auto scroll_start = Clock::now();
  const std::int32_t last = main.grid.MaxTopRow();
  for (std::int32_t top = 0; top <= last; ++top) {
    main.grid.SetTopRow(top);
    main.grid.Repaint();
  }
  const double scroll = Milliseconds(Clock::now() - scroll_start);
  const GdiCount after = GdiObjects();

  // The picture of the whole board, made and encoded as PNG; private memory
  // sampled meanwhile for its peak.
  const std::size_t before_sheet = PrivateBytes();
  std::atomic<bool> sampling{true};
  std::atomic<std::size_t> peak{before_sheet};
  std::thread sampler([&] {
    while (sampling) {
      peak = std::max(peak.load(), PrivateBytes());
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  const auto sheet_start = Clock::now();
  const Bitmap sheet = main.BoardPicture();
  const double built = Milliseconds(Clock::now() - sheet_start);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring png = std::wstring(temp) + L"plyscan-bench-sheet.png";
  const auto encode_start = Clock::now();
  const FileResult saved = pictures.SavePng(sheet, win32::FromWide(png));
  const double encoded = Milliseconds(Clock::now() - encode_start);
  sampling = false;
  sampler.join();
  WIN32_FILE_ATTRIBUTE_DATA file{};
  GetFileAttributesExW(png.c_str(), GetFileExInfoStandard, &file);
  DeleteFileW(png.c_str());

  std::printf("board of %zu records at %u dpi: %d x %d cells of %d x %d, %d x %d in view\n", kRecords, dpi,
              main.grid.ColCount(), main.grid.RowCount(), main.grid.DefaultColWidth(), main.grid.DefaultRowHeight(),
              main.grid.VisibleColCount(), main.grid.VisibleRowCount());
  std::printf("full repaint of the visible board: %.2f ms (mean of %d)\n", per_paint, kRepaints);
  std::printf("scrolling through all %d rows, a repaint at each: %.1f ms (%.2f ms a row)\n", last + 1, scroll,
              scroll / (last + 1));
  std::printf("sheet of all records: %d x %d pixels (%.1f MB of pixels), painted in %.0f ms, PNG encoded in %.0f ms "
              "(%.1f MB%s); private memory +%.1f MB at its peak\n",
              sheet.Width(), sheet.Height(), sheet.Stride() * static_cast<double>(sheet.Height()) / 1048576.0, built,
              encoded, file.nFileSizeLow / 1048576.0, saved.ok ? "" : ", FAILED",
              (peak.load() - before_sheet) / 1048576.0);
  for (const auto& [what, count] : {std::pair{"at start", at_start}, std::pair{"with the window", with_window},
                                    std::pair{"with the board filled", filled}, std::pair{"after the paints", after}})
    std::printf("GDI objects %s: %lu (system), %ld (the program's own)\n", what, count.system, count.ours);
  windows.DestroyAll();
  return 0;
}
