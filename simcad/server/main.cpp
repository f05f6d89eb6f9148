// simcad.exe: the simulated CAD as a COM local server. It loads a drawing,
// shows it in its window, registers each ProgID it is given (registry keys
// and the running object table) and answers late-bound automation calls on
// its thread, an OLE single-threaded apartment, until its window is closed.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "base/failure.h"
#include "base/text.h"
#include "simcad/drawing/drawing.h"
#include "simcad/drawing/render.h"
#include "simcad/objects/sim_objects.h"
#include "simcad/server/active_object.h"
#include "simcad/server/call_faults.h"
#include "simcad/server/call_filter.h"
#include "simcad/server/call_log.h"
#include "simcad/server/class_registration.h"
#include "simcad/server/dispatch_server.h"
#include "simcad/server/main_window.h"
#include "simcad/server/options.h"
#include "simcad/server/type_info.h"
#include "win32/com_activation.h"

namespace {

using namespace simcad::server;
using plyscan::Failure;
using plyscan::win32::ComPtr;

std::vector<Text> CommandLineArgs() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<Text> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  LocalFree(argv);
  return args;
}

std::filesystem::path PathOf(const Text& text) { return std::filesystem::path(std::wstring(text.begin(), text.end())); }

simcad::Drawing OpenDrawing(const ServerOptions& options) {
  if (options.demo) return simcad::DemoDrawing();
  if (options.drawing_file) return simcad::LoadDxfFile(PathOf(*options.drawing_file));
  simcad::Drawing empty;
  empty.layers.push_back(simcad::Layer{u"0"});
  return empty;
}

Text DrawingName(const ServerOptions& options) {
  if (options.demo) return u"demo";
  if (options.drawing_file) return PathOf(*options.drawing_file).filename().u16string();
  return u"Drawing1";
}

// What happens around every automation call: injected faults before it,
// the log and the repaint after it.
class ServerCalls final : public CallObserver {
 public:
  ServerCalls(CallFaults faults, CallLog* log) : faults_(std::move(faults)), log_(log) {}
  void SetWindows(SimWindows* windows) noexcept { windows_ = windows; }
  void ViewChanged() noexcept { view_changed_ = true; }

  void BeforeCall(const CallRecord& call) override { faults_.Before(call.member); }
  void LookedUp(std::u16string_view object_type, std::u16string_view name) noexcept override {
    if (log_) log_->WriteLookup(object_type, name);
  }
  void TypeAsked(std::u16string_view object_type, std::u16string_view question) noexcept override {
    if (log_) log_->WriteTypeQuestion(object_type, question);
  }
  // The repaint is part of the call, as a CAD's regen is: it counts in the
  // time the log gives the call.
  void AfterCall(const CallRecord& call) noexcept override {
    const auto start = std::chrono::steady_clock::now();
    if (view_changed_ && windows_) {
      view_changed_ = false;
      windows_->Refresh();
    }
    if (!log_) return;
    try {
      CallRecord logged = call;
      logged.busy_us +=
          std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
      log_->Write(logged);
    } catch (...) {
      log_->Write(call);
    }
  }

 private:
  CallFaults faults_;
  CallLog* log_;
  SimWindows* windows_ = nullptr;
  bool view_changed_ = false;
};

// Writes a start-up failure where a developer sees it: the console simcad
// was started from (Wine passes it on) and the log, if there is one.
void ReportStartFailure(const std::string& message, const ServerOptions* options) {
  std::fprintf(stderr, "simcad: %s\n", message.c_str());
  if (options && options->log_file) {
    std::FILE* f = _wfopen(PathOf(*options->log_file).c_str(), L"ab");
    if (f) {
      std::fprintf(f, "{\"startup_error\":\"%s\"}\n", message.c_str());
      std::fclose(f);
    }
  }
}

int Run(HINSTANCE instance) {
  ServerOptions options;
  try {
    options = ParseServerOptions(CommandLineArgs());
  } catch (const Failure& failure) {
    ReportStartFailure(failure.what(), nullptr);
    return 2;
  }

  std::shared_ptr<simcad::SimCad> cad;
  try {
    simcad::Drawing drawing = OpenDrawing(options);
    drawing.view.screen_width = options.screen_width;
    drawing.view.screen_height = options.screen_height;
    simcad::SimOptions sim_options;
    sim_options.lenient_types = options.lenient_types;
    sim_options.layerstate_overwrite = options.layerstate_overwrite;
    cad = std::make_shared<simcad::SimCad>(std::move(drawing), sim_options);
  } catch (const std::exception& e) {
    ReportStartFailure(std::string("cannot open the drawing: ") + e.what(), &options);
    return 3;
  }

  const plyscan::win32::OleApartment ole;
  if (!ole.Ok()) {
    ReportStartFailure("OleInitialize failed", &options);
    return 4;
  }

  std::optional<CallLog> log;
  if (options.log_file) log.emplace(PathOf(*options.log_file));
  ServerCalls calls(CallFaults(options.failures, options.delays), log ? &*log : nullptr);
  cad->SetViewChangedHandler([&calls] { calls.ViewChanged(); });

  WindowOptions window_options;
  window_options.title = u"simcad - " + DrawingName(options);
  window_options.screen_width = options.screen_width;
  window_options.screen_height = options.screen_height;
  window_options.minimized = options.minimized;
  window_options.popup_document = options.popup_document;
  SimWindows windows(instance, window_options, [&cad] { return simcad::RenderView(cad->GetDrawing()); });
  if (!windows.Ok()) {
    ReportStartFailure("cannot create the windows", &options);
    return 4;
  }
  calls.SetWindows(&windows);
  cad->SetWindowHandles(reinterpret_cast<std::uintptr_t>(windows.Application()),
                        reinterpret_cast<std::uintptr_t>(windows.Document()));

  std::optional<FilterRegistration> filter;
  if (options.reject_calls > 0)
    filter.emplace(RejectingFilter::Create(options.reject_calls, log ? &*log : nullptr).Get());

  TypeLibrary types(&calls);
  ComPtr<IDispatch> application =
      SimDispatch::Create(std::make_shared<simcad::Application>(cad), &calls, options.no_type_info ? nullptr : &types);
  std::vector<ClassRegistration> classes;
  std::vector<ActiveObjectRegistration> running;
  for (const Text& progid : options.progids) {
    const CLSID clsid = ClassIdForProgId(progid);
    classes.emplace_back(progid, clsid);
    if (!classes.back().Ok()) {
      ReportStartFailure("cannot register " + plyscan::ToUtf8(progid), &options);
      return 5;
    }
    running.emplace_back(application.Get(), clsid);
    if (FAILED(running.back().Result())) {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(running.back().Result()));
      ReportStartFailure("RegisterActiveObject failed for " + plyscan::ToUtf8(progid) + ": " + code, &options);
      return 5;
    }
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  // Leave the running object table and the registry first, then cut the
  // remaining clients off; the apartment's end releases what they held.
  running.clear();
  classes.clear();
  CoDisconnectObject(application.Get(), 0);
  calls.SetWindows(nullptr);
  cad->SetViewChangedHandler(nullptr);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    return Run(instance);
  } catch (const std::exception& e) {
    ReportStartFailure(e.what(), nullptr);
    return 1;
  }
}
