// Input for the command line as SendCommand delivers it. A text that starts
// with "(" is AutoLISP: it is read whole, and only when it reads completely
// are its expressions evaluated, in order. Any other text is typed input: it
// is split into answers at carriage returns, line feeds and blanks (a
// double-quoted answer keeps its blanks), each entered as with Enter; a last
// piece without Enter is typed but never entered. Whatever the text holds,
// nothing here fails: what is not understood is reported on the history.
#pragma once

#include "simcad/commands/command_line.h"
#include "simcad/commands/lisp_evaluator.h"

namespace simcad {

class CommandInput {
 public:
  // Longer texts are refused as a whole, as a command line's buffer would.
  static constexpr std::size_t kMaxText = 1 << 20;

  explicit CommandInput(CommandServices services)
      : services_(services), line_(services), evaluator_(services, line_) {}

  void Send(TextView text);

  CommandLine& Line() noexcept { return line_; }
  const CommandLine& Line() const noexcept { return line_; }

 private:
  void SendLisp(TextView text);
  void SendTyped(TextView text);

  CommandServices services_;
  CommandLine line_;
  lisp::Evaluator evaluator_;
};

}  // namespace simcad
