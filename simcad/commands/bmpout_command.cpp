#include "simcad/commands/bmpout_command.h"

#include "base/text.h"
#include "simcad/commands/view_image.h"

namespace simcad {

namespace {

Text WithBmpExtension(TextView file) {
  const auto separator = file.find_last_of(u"\\/");
  const auto dot = file.find_last_of(u'.');
  if (dot != TextView::npos && (separator == TextView::npos || dot > separator)) return Text(file);
  return Text(file) + u".bmp";
}

}  // namespace

bool BmpOutCommand::Begin() {
  if (s_.variables.Integer(u"FILEDIA") != 0) {
    s_.history.Add(u"BMPOUT: FILEDIA is 1, so a file dialog would open; nothing is written.");
    return false;
  }
  return true;
}

Text BmpOutCommand::Prompt() const {
  return file_.empty() ? Text(u"Enter file name <Drawing1.bmp>:")
                       : Text(u"Select objects or <all objects and viewports>:");
}

bool BmpOutCommand::Answer(TextView answer) {
  if (file_.empty()) {
    if (answer.empty()) {
      s_.history.Add(u"No file name given.");
      return false;
    }
    file_ = WithBmpExtension(answer);
    return true;
  }
  if (!answer.empty() && plyscan::AsciiUpper(answer) != u"ALL" && plyscan::AsciiUpper(answer) != u"_ALL") {
    s_.history.Add(u"*Invalid selection*");  // picking single objects is not modelled
    return true;
  }
  if (!s_.files.Write(file_, ViewAsBmp(s_.drawing)))
    s_.history.Add(u"Unable to write file \"" + file_ + u"\".");
  return false;
}

}  // namespace simcad
