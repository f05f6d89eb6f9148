// Benchmark, not a test: the real board painting 1000 records under Wine at
// the prefix's resolution. Prints the time of a full repaint of the visible
// board, the time to scroll through every row with a repaint at each, and the
// process's GDI objects before the window, with the board filled, and after
// the paints (what the board itself holds).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <utility>

#include "base/platform.h"
#include "shell/plyscan_unit.h"
#include "support/sim_target.h"
#include "win32/com_activation.h"
#include "win32/gdi.h"
#include "win32/ui/win32_shell_ports.h"
#include "win32/ui/win32_window_system.h"

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

}  // namespace

int main() {
  win32::OleApartment ole;
  const GdiCount at_start = GdiObjects();
  win32::Win32WindowSystem windows;
  win32::Win32MessageFilterRegistry filter;
  testing::SimCadServices cad(nullptr);
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  ShellServices services{windows,           filter,         SystemProfileStore(),
                         SystemFiles(),     SystemAnsiCodec(), UserCollator(),
                         Text(reinterpret_cast<const char16_t*>(exe)), cad.services, cad.devices};
  TForm60 main(services);
  main.Create();
  windows.ShowMainWindow(main.Window());
  const UINT dpi = GetDpiForSystem();
  main.Window().Peer().SetWindowRect({0, 0, static_cast<int>(1280 * dpi / 96), static_cast<int>(900 * dpi / 96)});
  const GdiCount with_window = GdiObjects();

  constexpr std::size_t kRecords = 1000;
  ResizeMdiBmp(main.MdiBmp, kRecords);
  const int bar = static_cast<int>(main.dispScale * 20);
  for (std::size_t i = 0; i < kRecords; ++i) {
    TMdibmp& record = main.MdiBmp[i];
    record.Name = u"Layer " + DecimalText(static_cast<std::int64_t>(i));
    record.cnt = static_cast<std::int32_t>(i % 7);
    record.bmp = std::make_unique<Bitmap>(SystemSurfaces());
    record.bmp->SetSize(main.Grid.DefaultColWidth(), main.Grid.DefaultRowHeight() - bar);
    for (int x = 0; x < record.bmp->Width(); x += 3) record.bmp->SetPixel(x, static_cast<int>(i % 50), 0x00FFFF);
  }
  main.FormResize();
  main.Grid.Repaint();
  const GdiCount filled = GdiObjects();

  constexpr int kRepaints = 50;
  const auto start = Clock::now();
  for (int i = 0; i < kRepaints; ++i) main.Grid.Repaint();
  const double per_paint = Milliseconds(Clock::now() - start) / kRepaints;

  const auto scroll_start = Clock::now();
  const std::int32_t last = main.Grid.MaxTopRow();
  for (std::int32_t top = 0; top <= last; ++top) {
    main.Grid.SetTopRow(top);
    main.Grid.Repaint();
  }
  const double scroll = Milliseconds(Clock::now() - scroll_start);
  const GdiCount after = GdiObjects();

  std::printf("board of %zu records at %u dpi: %d x %d cells of %d x %d, %d x %d in view\n", kRecords, dpi,
              main.Grid.ColCount(), main.Grid.RowCount(), main.Grid.DefaultColWidth(), main.Grid.DefaultRowHeight(),
              main.Grid.VisibleColCount(), main.Grid.VisibleRowCount());
  std::printf("full repaint of the visible board: %.2f ms (mean of %d)\n", per_paint, kRepaints);
  std::printf("scrolling through all %d rows, a repaint at each: %.1f ms (%.2f ms a row)\n", last + 1, scroll,
              scroll / (last + 1));
  for (const auto& [what, count] : {std::pair{"at start", at_start}, std::pair{"with the window", with_window},
                                    std::pair{"with the board filled", filled}, std::pair{"after the paints", after}})
    std::printf("GDI objects %s: %lu (system), %ld (the program's own)\n", what, count.system, count.ours);
  windows.DestroyAll();
  return 0;
}
