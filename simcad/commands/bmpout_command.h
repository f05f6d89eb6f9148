// _BMPOUT: writes the current view as a 24-bit BMP file. With FILEDIA 1 the
// CAD would open a file dialog; simcad has none, so the command ends there
// and writes nothing. With FILEDIA 0 it asks for the file name (".bmp" is
// added to a name without extension) and then for the objects, where Enter
// means all of them.
#pragma once

#include "simcad/commands/command_line.h"

namespace simcad {

class BmpOutCommand final : public Command {
 public:
  explicit BmpOutCommand(CommandServices services) : s_(services) {}

  Text Name() const override { return u"BMPOUT"; }
  bool Begin() override;
  Text Prompt() const override;
  bool Answer(TextView answer) override;

 private:
  CommandServices s_;
  Text file_;
};

}  // namespace simcad
