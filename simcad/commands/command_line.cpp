#include "simcad/commands/command_line.h"

#include "base/text.h"
#include "simcad/commands/bmpout_command.h"
#include "simcad/commands/layer_command.h"

namespace simcad {

Text CommandName(TextView typed) {
  std::size_t i = 0;
  while (i < typed.size() && (typed[i] == u'_' || typed[i] == u'.')) ++i;
  return plyscan::AsciiUpper(typed.substr(i));
}

std::unique_ptr<Command> CommandLine::Start(TextView typed) {
  const Text name = CommandName(typed);
  if (name == u"-LAYER" || name == u"-LA") return std::make_unique<LayerCommand>(services_);
  if (name == u"BMPOUT") return std::make_unique<BmpOutCommand>(services_);
  return nullptr;
}

void CommandLine::Enter(TextView input) {
  if (!active_) {
    services_.history.Add(u"Command: " + Text(input));
    if (input.empty()) return;
    active_ = Start(input);
    if (!active_) {
      services_.history.Add(u"Unknown command \"" + CommandName(input) + u"\".  Press F1 for help.");
    } else if (!active_->Begin()) {
      active_.reset();
    }
    return;
  }
  services_.history.Add(active_->Prompt() + u" " + Text(input));
  if (!active_->Answer(input)) active_.reset();
}

void CommandLine::Cancel() {
  if (!active_) return;
  services_.history.Add(u"*Cancel*");
  active_.reset();
}

}  // namespace simcad
