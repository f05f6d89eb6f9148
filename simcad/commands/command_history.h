// The command line's history: each input line and each message, as the CAD's
// text window shows them. Bounded, so that hostile input cannot grow it
// without end: long lines are cut and the oldest lines dropped.
#pragma once

#include <deque>

#include "simcad/drawing/drawing.h"

namespace simcad {

class CommandHistory {
 public:
  static constexpr std::size_t kMaxLines = 2000;
  static constexpr std::size_t kMaxLineLength = 400;

  void Add(TextView line);
  const std::deque<Text>& Lines() const noexcept { return lines_; }
  // Whether any line holds `part` (for tests and diagnostics).
  bool Contains(TextView part) const;

 private:
  std::deque<Text> lines_;
};

}  // namespace simcad
