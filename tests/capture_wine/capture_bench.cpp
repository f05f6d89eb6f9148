// Benchmark, not a test: the capture through the real main window against
// simcad.exe under Wine. Each run prints, a layer: the wall time, the COM
// round trips counted by simcad's log (invokes, name look-ups, type
// questions), the server's busy time, and the program's own time (the wall
// less the server's busy time) split into the waits for COM calls less the
// server's busy time, the copy of the view, the shrink onto the thumbnail,
// the board's relayout and repaint, the message pump, and the rest.
//   regen      200 layers with a regen of 50 ms on each SendCommand and 20 ms
//              on each ZoomExtents (simcad --delay): the screen route with
//              DISPIDs resolved at each call and cached (also against a
//              server without type information), the export route cached.
//   sweep      200 and 1000 layers without delays (the screen route).
//   layers=N   N layers without delays, with the peak of GDI objects and
//              private memory against the thumbnails' pixel bytes.
//   fit        the shared floorplan.dxf captured with and without "フィット",
//              alternately, on a view of 1600 x 1000: the wall time of each run.
// Without an argument: regen, sweep, layers=5000, then fit.
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
  long type_calls = 0;  // GetTypeInfo and ITypeInfo::GetTypeAttr
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
    if (line.find("\"typeinfo\":") != std::string::npos) {
      ++f.type_calls;
      continue;
    }
    ++f.invokes;
    std::smatch m;
    if (std::regex_search(line, m, busy)) f.busy_ms += std::stod(m[1]) / 1000.0;
  }
  return f;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// One capture of the open window, its figures printed under `label`.
void CaptureAndReport(LiveMainWindow& live, const std::string& label) {
  PumpFor(std::chrono::milliseconds(300));
  const LogFigures before = ReadLog(live.log);
  live.stage_times.Reset();
  const auto start = Clock::now();
  live.main.Capture();
  const double wall = Ms(Clock::now() - start);
  LogFigures log = ReadLog(live.log);
  log.invokes -= before.invokes;
  log.lookups -= before.lookups;
  log.type_calls -= before.type_calls;
  log.busy_ms -= before.busy_ms;
  const double n = static_cast<double>(live.main.snapshot.size());
  const StageTimes& t = live.stage_times;
  const double own = wall - log.busy_ms;
  const double com = t.Milliseconds(Stage::kCadCalls) - log.busy_ms;
  const double copy = t.Milliseconds(Stage::kViewCopy), shrink = t.Milliseconds(Stage::kShrink);
  const double board = t.Milliseconds(Stage::kBoard), pump = t.Milliseconds(Stage::kMessages);
  const double rest = own - com - copy - shrink - board - pump;
  std::printf(
      "%s: %.0f layers, %.2f ms a layer; %.2f round trips a layer (%.2f invokes, %.2f look-ups, %.2f type "
      "questions); server busy %.2f ms a layer\n",
      label.c_str(), n, wall / n, (log.invokes + log.lookups + log.type_calls) / n, log.invokes / n, log.lookups / n,
      log.type_calls / n, log.busy_ms / n);
  std::printf(
      "  own %.2f ms a layer (%.1f %% of the wall): COM wait %.2f, view copy %.2f, shrink %.2f, "
      "board %.2f, messages %.2f, rest %.2f\n",
      own / n, 100.0 * own / wall, com / n, copy / n, shrink / n, board / n, pump / n, rest / n);
  std::fflush(stdout);
}

void RegenBenchmark(const TempDir& dir) {
  const std::filesystem::path drawing = WriteDrawing(dir, 200);
  struct Run {
    win32::DispatchIds ids;
    std::u16string_view progid_stem;
    bool typed;  // simcad gives type information (else --no-type-info)
    const char* label;
  };
  // A ProgID that begins with "AUTOCAD" takes the export route.
  const Run runs[] = {
      {win32::DispatchIds::kResolveEachCall, u"LiveWindow.Sim", true,
       "200 layers, regen delays, screen copy, DISPIDs at each call"},
      {win32::DispatchIds::kCache, u"LiveWindow.Sim", true, "200 layers, regen delays, screen copy, DISPIDs cached"},
      {win32::DispatchIds::kCache, u"LiveWindow.Sim", false,
       "200 layers, regen delays, screen copy, DISPIDs cached, server without type information"},
      {win32::DispatchIds::kCache, u"AutoCAD.LiveWindowSim", true,
       "200 layers, regen delays, bitmap export, DISPIDs cached"},
  };
  for (const Run& run : runs) {
    std::vector<std::u16string> args{u"--drawing", drawing.u16string(), u"--screen", u"800x600",
                                     u"--delay",   u"SendCommand=50",   u"--delay",  u"ZoomExtents=20"};
    if (!run.typed) args.push_back(u"--no-type-info");
    LiveMainWindow live(std::move(args), run.ids, run.progid_stem);
    if (!live.simcad.Running()) {
      std::printf("simcad.exe did not start: %s\n", live.simcad.Problem().c_str());
      return;
    }
    live.Open(Rect::Sized(20, 20, 700, 400));
    CaptureAndReport(live, run.label);
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

// `count` layers without delays; with `resources`, the GDI objects and the
// memory too.
void LayersBenchmark(const TempDir& dir, int count, bool resources) {
  const std::filesystem::path drawing = WriteDrawing(dir, count);
  LiveMainWindow live({u"--drawing", drawing.u16string(), u"--screen", u"400x300"});
  if (!live.simcad.Running()) {
    std::printf("simcad.exe did not start: %s\n", live.simcad.Problem().c_str());
    return;
  }
  live.Open(Rect::Sized(20, 20, 700, 400));
  const std::size_t before = ProcessBytes();
  std::atomic<bool> running{true};
  std::atomic<long> peak_ours{win32::LiveGdiObjects()};
  std::atomic<DWORD> peak_system{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)};
  std::atomic<std::size_t> peak_bytes{before};
  const DWORD process = GetCurrentProcessId();
  std::thread sampler;
  if (resources)
    sampler = std::thread([&] {
      const HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process);
      while (running) {
        peak_ours = std::max(peak_ours.load(), win32::LiveGdiObjects());
        peak_system = std::max(peak_system.load(), GetGuiResources(self, GR_GDIOBJECTS));
        peak_bytes = std::max(peak_bytes.load(), ProcessBytes());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      CloseHandle(self);
    });
  CaptureAndReport(live, std::to_string(count) + " layers, no delays, screen copy, DISPIDs cached");
  running = false;
  if (!resources) return;
  sampler.join();
  std::size_t pictures = 0, pixel_bytes = 0;
  for (const LayerRecord& record : live.main.snapshot)
    if (record.thumbnail) {
      ++pictures;
      pixel_bytes += record.thumbnail->Stride() * static_cast<std::size_t>(record.thumbnail->Height());
    }
  const std::size_t after = ProcessBytes();
  std::printf("  %zu records, %zu thumbnails\n", live.main.snapshot.size(), pictures);
  std::printf("  peak GDI objects during the run: %ld (the program's own), %lu (system; 0 under Wine)\n",
              peak_ours.load(), peak_system.load());
  std::printf(
      "  private memory: %.1f MB before, peak %.1f MB, %.1f MB after (+%.1f MB) for %.1f MB of thumbnail "
      "pixels\n",
      before / 1048576.0, peak_bytes.load() / 1048576.0, after / 1048576.0, (after - before) / 1048576.0,
      pixel_bytes / 1048576.0);
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
  if (only.empty() || only == "sweep")
    for (const int count : {200, 1000}) LayersBenchmark(dir, count, false);
  if (only.empty() || only.rfind("layers", 0) == 0)
    LayersBenchmark(dir, only.size() > 7 ? std::stoi(only.substr(7)) : 5000, true);  // "layers=N"
  if (only.empty() || only == "fit") FitBenchmark();
  return 0;
}
