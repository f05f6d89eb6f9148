#include "simcad_process.h"

#include <atomic>

#include "support/top_level_windows.h"
#include "win32/com_activation.h"
#include "win32/wide_text.h"

namespace simcad::testing {

namespace {

std::wstring Quoted(const std::u16string& text) { return L"\"" + std::wstring(plyscan::win32::WideView(text)) + L"\""; }

}  // namespace

std::u16string UniqueProgId(std::u16string_view stem) {
  static std::atomic<int> counter{0};
  const std::string suffix = ".P" + std::to_string(GetCurrentProcessId()) + "N" + std::to_string(++counter);
  return std::u16string(stem) + std::u16string(suffix.begin(), suffix.end());
}

SimcadProcess::SimcadProcess(const std::vector<std::u16string>& args, DWORD timeout_ms) {
  std::u16string progid;
  std::wstring command = L"\"" + std::wstring(SIMCAD_EXE) + L"\"";
  for (std::size_t i = 0; i < args.size(); ++i) {
    command += L" " + Quoted(args[i]);
    if (args[i] == u"--progid" && i + 1 < args.size() && progid.empty()) progid = args[i + 1];
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    problem_ = "CreateProcessW failed: " + std::to_string(GetLastError());
    return;
  }
  process_.Reset(started.hProcess);
  thread_.Reset(started.hThread);
  process_id_ = started.dwProcessId;
  for (DWORD waited = 0; waited < timeout_ms; waited += 100) {
    if (WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process_.Get(), &exit_code_);
      problem_ = "simcad.exe ended at start with code " + std::to_string(exit_code_);
      stopped_ = true;
      return;
    }
    try {
      if (plyscan::win32::IsProgIdRunning(progid)) {
        running_ = true;
        return;
      }
    } catch (...) {
      // Not registered yet.
    }
    Sleep(100);
  }
  problem_ = "simcad.exe did not register its ProgID in time";
}

SimcadProcess::~SimcadProcess() { Stop(); }

HWND SimcadProcess::MainWindow() const {
  const std::vector<HWND> found = plyscan::testing::TopLevelWindows(process_id_, L"SimCadApplication", false);
  return found.empty() ? nullptr : found.front();
}

void SimcadProcess::Kill() {
  if (stopped_ || !process_) return;
  stopped_ = true;
  TerminateProcess(process_.Get(), 137);
  WaitForSingleObject(process_.Get(), 5000);
  GetExitCodeProcess(process_.Get(), &exit_code_);
}

DWORD SimcadProcess::Stop(DWORD timeout_ms) {
  if (stopped_ || !process_) return exit_code_;
  stopped_ = true;
  if (HWND main = MainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.Get(), timeout_ms) != WAIT_OBJECT_0) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 5000);
  }
  GetExitCodeProcess(process_.Get(), &exit_code_);
  return exit_code_;
}

}  // namespace simcad::testing
