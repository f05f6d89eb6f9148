#include "cadlink/command_variables.h"

#include "base/failure.h"

namespace plyscan::cad {

CommandVariables::CommandVariables(automation::Object& document, FailureTrace* trace)
    : document_(&document), trace_(trace) {
  SetVariable(document, u"EXPERT", 5);
  armed_ = true;
  try {
    SetVariable(document, u"CMDECHO", 0);
  } catch (const AutomationFailure& failure) {
    // The destructor does not run for a constructor that throws.
    if (hr::ServerGone(failure.HResult()))
      Dismiss();
    else
      PutBack();
    throw;
  } catch (...) {
    PutBack();
    throw;
  }
}

void CommandVariables::PutBack() noexcept {
  GuardedSteps steps(trace_);
  PutBackWith([&](auto&& step) { steps.Run(step); });
}

}  // namespace plyscan::cad
