// Runs simcad.exe for a test: starts it with the given arguments, waits
// until the running object table has it under its first ProgID, and stops it
// as a user would (closing its window), killing it only when it hangs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/scoped_handles.h"

namespace simcad::testing {

// A ProgID no other test process uses, so that instances never meet.
std::u16string UniqueProgId(std::u16string_view stem);

class SimcadProcess {
 public:
  // `args` are simcad.exe's options; the first --progid is the one waited for.
  explicit SimcadProcess(const std::vector<std::u16string>& args, DWORD timeout_ms = 60000);
  SimcadProcess(const SimcadProcess&) = delete;
  SimcadProcess& operator=(const SimcadProcess&) = delete;
  ~SimcadProcess();

  // True once GetActiveObject has found the instance.
  [[nodiscard]] bool Running() const noexcept { return running_; }
  [[nodiscard]] const std::string& Problem() const noexcept { return problem_; }
  DWORD ProcessId() const noexcept { return process_id_; }
  // The top-level application window of the process, or null.
  HWND MainWindow() const;

  // Posts WM_CLOSE to the main window and waits for the exit; kills the
  // process after `timeout_ms`. Returns the exit code (or a failure code).
  DWORD Stop(DWORD timeout_ms = 20000);
  // Ends the process from outside at once, as a crash or the task manager does.
  void Kill();

 private:
  plyscan::win32::UniqueKernelHandle process_;
  plyscan::win32::UniqueKernelHandle thread_;
  DWORD process_id_ = 0;
  bool running_ = false;
  bool stopped_ = false;
  DWORD exit_code_ = STILL_ACTIVE;
  std::string problem_;
};

}  // namespace simcad::testing
