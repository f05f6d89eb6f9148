// Reads AutoLISP source text into values: atoms, strings with their escapes,
// lists, quoted forms and comments. Input that is not complete (unbalanced
// parentheses, an open string) or nests too deeply is reported, never
// half-read, so a caller evaluates all of a text or none of it.
#pragma once

#include <vector>

#include "simcad/commands/lisp_value.h"

namespace simcad::lisp {

// Deep enough for any real expression, shallow enough that reading and
// evaluating stay well inside the stack.
inline constexpr int kMaxNesting = 64;

struct ReadResult {
  std::vector<Value> forms;  // empty when `error` is set
  Text error;                // the command line's message, empty on success
  bool Ok() const noexcept { return error.empty(); }
};

[[nodiscard]] ReadResult ReadForms(TextView source);

}  // namespace simcad::lisp
