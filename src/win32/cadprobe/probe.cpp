#include "win32/cadprobe/probe.h"

#include <array>
#include <charconv>
#include <string>

#include "cadlink/cad_calls.h"

namespace plyscan::cadprobe {

namespace {

using automation::Object;

std::string Number(double value) {
  std::array<char, 32> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  return std::string(digits.data(), end);
}

std::string Number(std::int32_t value) { return std::to_string(value); }

std::string Point(const automation::Variant& point, TextView name) {
  return Number(point.ElementAsDouble(0, name)) + " " + Number(point.ElementAsDouble(1, name)) + " " +
         Number(point.ElementAsDouble(2, name));
}

void ReadDocument(Object& application, const LineSink& line) {
  const automation::ObjectRef document = ActiveDocument(application);
  const std::int32_t layers = document->Get(u"Layers").AsObject(u"Layers")->Get(u"Count").AsInt32(u"Count");
  line("layers: " + Number(layers));
  const automation::Variant screen = cad::GetVariable(*document, u"SCREENSIZE");
  line("screensize: " + Number(screen.ElementAsInt32(0, u"SCREENSIZE")) + " " +
       Number(screen.ElementAsInt32(1, u"SCREENSIZE")));
  line("extmin: " + Point(cad::GetVariable(*document, u"EXTMIN"), u"EXTMIN"));
  line("extmax: " + Point(cad::GetVariable(*document, u"EXTMAX"), u"EXTMAX"));
}

}  // namespace

bool ProbeTarget(AutomationRuntime& runtime, TextView progid, const LineSink& line, FailureTrace* trace) noexcept {
  bool running = false;
  // The running test raises exactly when the ProgID is not registered.
  const bool registered = RunGuarded(trace, [&] { running = runtime.IsTargetRunning(progid); });
  const bool lines_written = RunGuarded(trace, [&] {
    line(registered ? "registered: yes" : "registered: no");
    line(running ? "running: yes" : "running: no");
  });
  if (!lines_written || !running) return false;
  // The references are released when the body returns, on every way out.
  return RunGuarded(trace, [&] { ReadDocument(*runtime.Attach(progid), line); });
}

}  // namespace plyscan::cadprobe
