// Evaluates AutoLISP forms against the drawing: (command ...) feeding the
// command line, setvar/getvar, layerstate-save/-restore/-has/-delete, if,
// progn, quote and princ. An error ends the evaluation with the message
// AutoLISP would print; the caller reports it and cancels any command left
// running, as AutoLISP's error handler does.
#pragma once

#include <stdexcept>

#include "simcad/commands/command_line.h"
#include "simcad/commands/lisp_value.h"

namespace simcad::lisp {

class LispError : public std::runtime_error {
 public:
  explicit LispError(Text message) : std::runtime_error("AutoLISP error"), message_(std::move(message)) {}
  const Text& Message() const noexcept { return message_; }

 private:
  Text message_;
};

class Evaluator {
 public:
  Evaluator(CommandServices services, CommandLine& command_line) : s_(services), command_line_(command_line) {}

  // Throws LispError.
  Value Evaluate(const Value& form) { return Eval(form, 0); }

 private:
  Value Eval(const Value& form, int depth);
  Value Call(const Text& function, const std::vector<Value>& items, int depth);
  std::vector<Value> EvalArgs(const std::vector<Value>& items, int depth);

  CommandServices s_;
  CommandLine& command_line_;
};

// The silent value (princ) returns: it echoes as nothing.
bool IsSilent(const Value& value);

}  // namespace simcad::lisp
