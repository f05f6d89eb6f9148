// Benchmark, not a test: the capture through the real main window against
// simcad.exe under Wine.
//   1. A generated drawing of 200 layers with a regen of 50 ms on each
//      SendCommand and 20 ms on each ZoomExtents (simcad --delay): wall time
//      per layer, COM round trips per layer (invokes and name look-ups from
//      simcad's log), the server's busy time, and the program's own share of
//      the wall time; with DISPIDs resolved at each call and cached.
//   2. A drawing of 5000 layers: whether it completes, the peak of GDI
//      objects during the run, and memory after it against the thumbnails'
//      pixel bytes.
//   3. The shared floorplan.dxf captured with and without "フィット",
//      alternately, on a view of 1600 x 1000: the wall time of each run.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "dxf_text.h"
#include "live_main_window.h"
#include "real_input.h"
#include "support/shared_files.h"
#include "win32/gdi.h"

namespace {

using namespace plyscan;
using namespace plyscan::testing;
using Clock = std::chrono::steady_clock;

std::filesystem::path WriteDrawing(const TempDir& dir, int layers) {
  simcad::testing::DxfFile file;
  for (int i = 0; i < layers; ++i) {
    const std::string name = "LAYER-" + std::to_string(10000 + i);
    const auto append = [](simcad::testing::Pairs& to, const simcad::testing::Pairs& more) {
      to.insert(to.end(), more.begin(), more.end());
    };
    append(file.layers, simcad::testing::LayerEntry(name, 1 + i % 250));
    const double x = (i % 70) * 10.0, y = (i / 70) * 10.0;
    append(file.entities, simcad::testing::LineRecord(name, x, y, x + 8, y + 8));
    append(file.entities, simcad::testing::LineRecord(name, x, y + 8, x + 8, y));
  }
  const std::filesystem::path path = dir.Root() / ("generated-" + std::to_string(layers) + ".dxf");
  std::ofstream(path, std::ios::binary) << file.Text();
  return path;
}

struct LogFigures {
  long invokes = 0;
  long lookups = 0;
  double busy_ms = 0;
};

LogFigures ReadLog(const std::filesystem::path& log) {
  LogFigures f;
  std::ifstream in(log);
  const std::regex busy("\"busy_us\":(\\d+)");
  for (std::string line; std::getline(in, line);) {
    if (line.find("\"lookup\":") != std::string::npos) {
      ++f.lookups;
      continue;
    }
    ++f.invokes;
    std::smatch m;
    if (std::regex_search(line, m, busy)) f.busy_ms += std::stod(m[1]) / 1000.0;
  }
  return f;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void RegenBenchmark(const TempDir& dir) {
  const std::filesystem::path drawing = WriteDrawing(dir, 200);
  for (const auto ids : {win32::DispatchIds::kResolveEachCall, win32::DispatchIds::kCache}) {
    LiveMainWindow live({u"--drawing", drawing.u16string(), u"--screen", u"800x600", u"--delay", u"SendCommand=50",
                         u"--delay", u"ZoomExtents=20"},
                        ids);
    if (!live.simcad.Running()) {
      std::printf("simcad.exe did not start: %s\n", live.simcad.Problem().c_str());
      return;
    }
    live.Open(Rect::Sized(20, 20, 700, 400));
    PumpFor(std::chrono::milliseconds(300));
    const auto start = Clock::now();
    live.main.Capture();
    const double wall = Ms(Clock::now() - start);
    const LogFigures log = ReadLog(live.log);
    const double layers = static_cast<double>(live.main.snapshot.size());
    std::printf("200 layers, %s: %.1f ms a layer, %.1f round trips a layer (%.1f invokes, %.1f look-ups), "
                "server busy %.0f of %.0f ms, own share %.1f %%\n",
                ids == win32::DispatchIds::kCache ? "DISPIDs cached per object" : "DISPIDs looked up at each call",
                wall / layers, (log.invokes + log.lookups) / layers, log.invokes / layers, log.lookups / layers,
                log.busy_ms, wall, 100.0 * (wall - log.busy_ms) / wall);
  }
}

// The process's private bytes (its commit charge: Wine leaves PrivateUsage
// at 0 but keeps PagefileUsage, which Windows makes the same).
std::size_t ProcessBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

void ManyLayersBenchmark(const TempDir& dir, int count) {
  const std::filesystem::path drawing = WriteDrawing(dir, count);
  LiveMainWindow live({u"--drawing", drawing.u16string(), u"--screen", u"400x300"});
  if (!live.simcad.Running()) {
    std::printf("simcad.exe did not start: %s\n", live.simcad.Problem().c_str());
    return;
  }
  live.Open(Rect::Sized(20, 20, 700, 400));
  PumpFor(std::chrono::milliseconds(300));
  const std::size_t before = ProcessBytes();
  std::atomic<bool> running{true};
  std::atomic<long> peak_ours{win32::LiveGdiObjects()};
  std::atomic<DWORD> peak_system{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)};
  const DWORD process = GetCurrentProcessId();
  std::thread sampler([&] {
    const HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process);
    while (running) {
      peak_ours = std::max(peak_ours.load(), win32::LiveGdiObjects());
      peak_system = std::max(peak_system.load(), GetGuiResources(self, GR_GDIOBJECTS));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    CloseHandle(self);
  });
  const auto start = Clock::now();
  live.main.Capture();
  const double wall = Ms(Clock::now() - start);
  running = false;
  sampler.join();
  std::size_t pictures = 0, pixel_bytes = 0;
  for (const LayerRecord& record : live.main.snapshot)
    if (record.thumbnail) {
      ++pictures;
      pixel_bytes += record.thumbnail->Stride() * static_cast<std::size_t>(record.thumbnail->Height());
    }
  const std::size_t after = ProcessBytes();
  std::printf("%d layers: %zu records, %zu thumbnails, %.1f s (%.1f ms a layer)\n", count, live.main.snapshot.size(),
              pictures, wall / 1000, wall / count);
  std::printf("  peak GDI objects during the run: %ld (the program's own), %lu (system; 0 under Wine)\n",
              peak_ours.load(), peak_system.load());
  std::printf("  private memory: %.1f MB before, %.1f MB after (+%.1f MB) for %.1f MB of thumbnail pixels\n",
              before / 1048576.0, after / 1048576.0, (after - before) / 1048576.0, pixel_bytes / 1048576.0);
}

void FitBenchmark() {
  std::string why;
  const auto folder = SharedDrawings(why);
  if (!folder) {
    std::printf("fit: %s\n", why.c_str());
    return;
  }
  const std::filesystem::path drawing = *folder / "floorplan.dxf";
  LiveMainWindow live({u"--drawing", drawing.u16string(), u"--screen", u"1600x1000"});
  if (!live.simcad.Running()) {
    std::printf("simcad.exe did not start: %s\n", live.simcad.Problem().c_str());
    return;
  }
  live.Open(Rect::Sized(20, 20, 700, 400));
  PumpFor(std::chrono::milliseconds(300));
  std::vector<double> times[2];
  std::size_t fitted = 0;
  for (int run = 0; run < 10; ++run) {
    const bool fit = run % 2 == 1;
    live.main.fit_layer_box.SetChecked(fit);
    const auto start = Clock::now();
    live.main.Capture();
    times[fit].push_back(Ms(Clock::now() - start));
    fitted = 0;
    for (const LayerRecord& record : live.main.snapshot) fitted += record.fit_scale > 0 ? 1 : 0;
  }
  std::printf("floorplan.dxf: %zu of %zu pictures fitted in the last ticked run\n", fitted, live.main.snapshot.size());
  for (const bool fit : {false, true}) {
    std::vector<double>& t = times[fit];
    std::sort(t.begin(), t.end());
    std::printf(
        "floorplan.dxf (%zu layers), view 1600 x 1000, \"フィット\" %s: median %.0f ms, fastest %.0f, slowest %.0f "
        "(%zu runs)\n",
        live.main.snapshot.size(), fit ? "ticked  " : "unticked", t[t.size() / 2], t.front(), t.back(), t.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  win32::OleApartment ole;
  TempDir dir;
  const std::string only = argc > 1 ? argv[1] : "";
  if (only.empty() || only == "regen") RegenBenchmark(dir);
  if (only.empty() || only.rfind("layers", 0) == 0)
    ManyLayersBenchmark(dir, only.size() > 7 ? std::stoi(only.substr(7)) : 5000);  // "layers=N"
  if (only.empty() || only == "fit") FitBenchmark();
  return 0;
}
