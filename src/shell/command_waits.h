// How the main window's CAD commands wait before a refused call is asked
// again: the windows are painted meanwhile, and a close of the window (or
// Esc, during a capture) ends the wait at once. The call then fails as
// refused, and the command puts back what it had changed. Those put-back
// calls wait too, without being cut short again, but all of them together
// for at most kPutBackPatience.
#pragma once

#include <cstdint>

#include "cadlink/patient_calls.h"
#include "shell/window_system.h"

namespace plyscan::ui {

inline constexpr unsigned kPutBackPatience = 10000;  // milliseconds

class CommandWaits final : public RetryWaits {
 public:
  // `asked` gathers the stop requests taken from the queue, for the window
  // to act on once the command is over.
  CommandWaits(WindowSystem& windows, const Form& form, QueuedStop& asked) noexcept
      : windows_(&windows), form_(&form), asked_(&asked) {}

  // A command begins: Esc ends a wait only when `escape_stops`.
  void Begin(bool escape_stops) noexcept;
  // The CAD's window, brought forward by the command: Esc pressed there counts.
  void SetCadWindow(std::uint64_t window) noexcept { cad_window_ = window; }

  bool Wait(unsigned milliseconds) override;

 private:
  WindowSystem* windows_;
  const Form* form_;
  QueuedStop* asked_;
  bool escape_stops_ = false;
  std::uint64_t cad_window_ = 0;
  bool stopped_ = false;
  unsigned put_back_left_ = kPutBackPatience;
};

}  // namespace plyscan::ui
