// "EXPERT" 5 and "CMDECHO" 0 around the layer texts: the command line then
// asks no question and echoes nothing. Afterwards both go back to 0 and 1
// (not to their earlier values), each on its own, so that a refused "EXPERT"
// still lets "CMDECHO" come back, and on every way out of the scope; once
// the server has gone, nothing more is asked of it.
#pragma once

#include <utility>

#include "cadlink/automation.h"
#include "cadlink/cad_calls.h"
#include "cadlink/guard.h"

namespace plyscan::cad {

class CommandVariables {
 public:
  // Sets "EXPERT" 5, then "CMDECHO" 0; from the first set on, both are put
  // back on the way out, also when the second set fails.
  CommandVariables(automation::Object& document, FailureTrace* trace);
  CommandVariables(const CommandVariables&) = delete;
  CommandVariables& operator=(const CommandVariables&) = delete;
  ~CommandVariables() { PutBack(); }

  // "EXPERT" 0 and "CMDECHO" 1 now, each under its own guard; nothing is
  // left for the way out.
  void PutBack() noexcept;
  // The same with each step run by `guard`, for a caller that knows when to
  // stop calling a server (it has gone).
  template <typename Guard>
  void PutBackWith(Guard&& guard) {
    if (!std::exchange(armed_, false)) return;
    guard([this] { SetVariable(*document_, u"EXPERT", 0); });
    guard([this] { SetVariable(*document_, u"CMDECHO", 1); });
  }
  // They were put back another way (a command text that sets both).
  void Dismiss() noexcept { armed_ = false; }

 private:
  automation::Object* document_;
  FailureTrace* trace_;
  bool armed_ = false;
};

}  // namespace plyscan::cad
