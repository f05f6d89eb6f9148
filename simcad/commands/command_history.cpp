#include "simcad/commands/command_history.h"

namespace simcad {

void CommandHistory::Add(TextView line) {
  Text kept(line.substr(0, kMaxLineLength));
  if (line.size() > kMaxLineLength) kept += u"...";
  lines_.push_back(std::move(kept));
  while (lines_.size() > kMaxLines) lines_.pop_front();
}

bool CommandHistory::Contains(TextView part) const {
  for (const auto& line : lines_)
    if (line.find(part) != Text::npos) return true;
  return false;
}

}  // namespace simcad
