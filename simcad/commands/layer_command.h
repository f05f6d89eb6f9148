// The command-line layer command, -LAYER: the options ON, OFF, Freeze, Thaw,
// LOck and Unlock, each followed by a name list (wild-card patterns separated
// by commas). An empty answer at the option prompt ends the command. Turning
// the current layer off asks for confirmation unless EXPERT is 1 or more;
// freezing the current layer is refused.
#pragma once

#include "simcad/commands/command_line.h"

namespace simcad {

class LayerCommand final : public Command {
 public:
  explicit LayerCommand(CommandServices services) : s_(services) {}

  Text Name() const override { return u"-LAYER"; }
  bool Begin() override;
  Text Prompt() const override;
  bool Answer(TextView answer) override;

 private:
  enum class Option { None, On, Off, Freeze, Thaw, Lock, Unlock };
  enum class Step { Option, Names, ConfirmCurrentOff };

  static Option ParseOption(TextView answer);
  void Apply(Option option, TextView names);
  Text CurrentName() const;

  CommandServices s_;
  Step step_ = Step::Option;
  Option option_ = Option::None;
};

}  // namespace simcad
