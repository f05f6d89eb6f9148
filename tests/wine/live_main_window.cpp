#include "live_main_window.h"

#include <cstdio>
#include <fstream>

#include "base/platform.h"
#include "shell/layouts.h"

namespace plyscan::testing {

namespace {

std::vector<std::u16string> WithIdentity(std::vector<std::u16string> args, const std::u16string& progid,
                                         const std::filesystem::path& log) {
  args.insert(args.begin(), {u"--progid", progid, u"--log", log.u16string()});
  return args;
}

}  // namespace

void PrintedTrace::Discarded(const Text& what) noexcept {
  std::fprintf(stderr, "CAD command ended: %s\n", ToUtf8(what).c_str());
}

LiveMainWindow::LiveMainWindow(std::vector<std::u16string> simcad_args, win32::DispatchIds ids,
                               std::u16string_view progid_stem)
    : progid(simcad::testing::UniqueProgId(progid_stem)),
      log(dir.Root() / "calls.jsonl"),
      simcad(WithIdentity(std::move(simcad_args), progid, log)),
      runtime(ids, &stage_times),
      services{windows,           filter,         SystemProfileStore(),      SystemFiles(),
               SystemAnsiCodec(), UserCollator(), dir.PathOf("plyscan.exe"), cad,
               view_screen,       pictures},
      main(services) {
  services.stage_times = &stage_times;
}

LiveMainWindow::~LiveMainWindow() { windows.DestroyAll(); }

void LiveMainWindow::Open(const Rect& rect) {
  main.Create();
  pictures.SetOwner(Form());
  services.target_prog_id = progid;
  windows.ShowMainWindow(main.Window());
  main.Window().Peer().SetWindowRect(rect);
}

HWND LiveMainWindow::Form() const { return windows.WindowOf(main.Window())->Hwnd(); }

HWND LiveMainWindow::Control(ui::ControlId id) const { return GetDlgItem(Form(), id); }

automation::ObjectRef LiveMainWindow::Cad() const { return win32::AttachByProgId(progid); }

int LiveMainWindow::LogLines(const std::string& what) const {
  std::ifstream in(log);
  int n = 0;
  for (std::string line; std::getline(in, line);)
    if (line.find(what) != std::string::npos) ++n;
  return n;
}

}  // namespace plyscan::testing
