// The CAD's command line: at the "Command:" prompt an input names a command;
// while a command runs, each input answers its current prompt. Input arrives
// one answer at a time, each as if typed and ended with Enter, from plain
// command texts and from AutoLISP's (command ...). A command left waiting for
// an answer stays active until more input comes or it is cancelled.
#pragma once

#include <memory>

#include "simcad/commands/command_history.h"
#include "simcad/commands/file_writer.h"
#include "simcad/commands/sim_options.h"
#include "simcad/commands/system_variables.h"
#include "simcad/drawing/drawing.h"

namespace simcad {

// What the commands work on; owned by the session.
struct CommandServices {
  Drawing& drawing;
  SystemVariables& variables;
  FileWriter& files;
  const SimOptions& options;
  CommandHistory& history;
};

class Command {
 public:
  virtual ~Command() = default;
  virtual Text Name() const = 0;
  // Runs when the command starts; false when it has ended already.
  virtual bool Begin() { return true; }
  // The prompt the next answer responds to.
  virtual Text Prompt() const = 0;
  // Takes one answer; false when the command has ended with it.
  virtual bool Answer(TextView answer) = 0;
};

class CommandLine {
 public:
  explicit CommandLine(CommandServices services) : services_(services) {}

  // One input, ended with Enter.
  void Enter(TextView input);
  // Ends the running command, as Esc does.
  void Cancel();

  bool Active() const noexcept { return active_ != nullptr; }
  // The running command's name, empty at the "Command:" prompt.
  Text ActiveName() const { return active_ ? active_->Name() : Text(); }

 private:
  std::unique_ptr<Command> Start(TextView name);

  CommandServices services_;
  std::unique_ptr<Command> active_;
};

// A command name as typed, without the "_" (international) and "." (built-in)
// prefixes, in upper case.
Text CommandName(TextView typed);

}  // namespace simcad
