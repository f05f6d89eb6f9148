// The drawing's system variables as the CAD exposes them: the 16-bit switches
// PLYSCAN sets (GRIDMODE, UCSICON, EXPERT, CMDECHO, FILEDIA), the current
// layer (CLAYER), and the read-only ones derived from the view and the
// drawing (SCREENSIZE, VIEWSIZE, VIEWCTR, EXTMIN, EXTMAX).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cadlink/automation.h"
#include "simcad/drawing/drawing.h"

namespace simcad {

enum class VariableError { None, Unknown, ReadOnly, WrongType, OutOfRange };

class SystemVariables {
 public:
  explicit SystemVariables(Drawing& drawing);

  // The value with the type a CAD's GetVariable gives it (16-bit integers,
  // doubles, arrays of doubles, text); nothing for an unknown name. Names
  // match without regard to case.
  [[nodiscard]] std::optional<plyscan::automation::Variant> Get(TextView name) const;

  // As the automation SetVariable takes it: a 16-bit variable accepts a 16-bit
  // integer only, or with `lenient` any integer in range.
  [[nodiscard]] VariableError Set(TextView name, const plyscan::automation::Variant& value, bool lenient);
  // As AutoLISP's setvar takes it: an integer or a text for CLAYER.
  [[nodiscard]] VariableError SetInteger(TextView name, std::int64_t value);
  [[nodiscard]] VariableError SetText(TextView name, TextView value);

  // The current value of a 16-bit variable (0 for any other name).
  int Integer(TextView name) const;

  // Every name, in a fixed order, for the state report.
  static std::vector<Text> Names();

 private:
  struct Switch {
    const char16_t* name;
    std::int16_t value;
    std::int16_t min;
    std::int16_t max;
  };
  Switch* FindSwitch(TextView name);
  const Switch* FindSwitch(TextView name) const;

  Drawing& drawing_;
  std::vector<Switch> switches_;
};

}  // namespace simcad
