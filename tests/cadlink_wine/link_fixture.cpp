#include "link_fixture.h"

#include <regex>

namespace cadlink_wine {

bool RecordingDesktop::IsIconic(WindowHandle window) {
  calls.emplace_back("IsIconic");
  windows.push_back(window);
  return real_.IsIconic(window);
}

void RecordingDesktop::OpenIcon(WindowHandle window) {
  calls.emplace_back("OpenIcon");
  windows.push_back(window);
  real_.OpenIcon(window);
}

void RecordingDesktop::Sleep(unsigned milliseconds) {
  calls.push_back("Sleep " + std::to_string(milliseconds));
  real_.Sleep(milliseconds);
}

void RecordingDesktop::SetForegroundWindow(WindowHandle window) {
  calls.emplace_back("SetForegroundWindow");
  windows.push_back(window);
  real_.SetForegroundWindow(window);
}

bool WatchedRuntime::IsTargetRunning(TextView progid) {
  const bool running = real_.IsTargetRunning(progid);
  if (after_running_test) after_running_test();
  return running;
}

plyscan::automation::ObjectRef WatchedRuntime::Attach(TextView progid) {
  ++attaches;
  return real_.Attach(progid);
}

void KeptTrace::Discarded(const Text& what) noexcept {
  try {
    failures.push_back(plyscan::ToUtf8(what));
  } catch (...) {
  }
}

long LiveObjects(plyscan::automation::Object& application) {
  const std::string state = plyscan::ToUtf8(application.Get(u"SimState").AsText());
  std::smatch m;
  if (!std::regex_search(state, m, std::regex("\"live_objects\":(\\d+)"))) return -1;
  return std::stol(m[1]);
}

HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }

}  // namespace cadlink_wine
