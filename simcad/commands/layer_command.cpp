#include "simcad/commands/layer_command.h"

#include "base/text.h"
#include "simcad/commands/wildcard.h"

namespace simcad {

namespace {

// The answer as a keyword: upper case, without the "_" that marks an
// untranslated keyword.
Text KeywordOf(TextView answer) {
  std::size_t i = 0;
  while (i < answer.size() && answer[i] == u'_') ++i;
  return plyscan::AsciiUpper(answer.substr(i));
}

// A keyword matches when the answer is a prefix of it at least as long as
// its abbreviation (ON needs "ON", OFF "OF", Freeze "F", LOck "LO" ...).
bool Abbreviates(TextView answer, TextView keyword, std::size_t shortest) {
  return answer.size() >= shortest && answer.size() <= keyword.size() && keyword.substr(0, answer.size()) == answer;
}

}  // namespace

bool LayerCommand::Begin() {
  s_.history.Add(u"Current layer:  \"" + CurrentName() + u"\"");
  return true;
}

Text LayerCommand::CurrentName() const {
  const Drawing& d = s_.drawing;
  return d.current < d.layers.size() ? d.layers[d.current].name : Text(u"0");
}

LayerCommand::Option LayerCommand::ParseOption(TextView answer) {
  const Text k = KeywordOf(answer);
  if (Abbreviates(k, u"ON", 2)) return Option::On;
  if (Abbreviates(k, u"OFF", 2)) return Option::Off;
  if (Abbreviates(k, u"FREEZE", 1)) return Option::Freeze;
  if (Abbreviates(k, u"THAW", 1)) return Option::Thaw;
  if (Abbreviates(k, u"LOCK", 2)) return Option::Lock;
  if (Abbreviates(k, u"UNLOCK", 1)) return Option::Unlock;
  return Option::None;
}

Text LayerCommand::Prompt() const {
  switch (step_) {
    case Step::Option:
      return u"Enter an option [?/Make/Set/New/Rename/ON/OFF/Color/Ltype/LWeight/TRansparency/MATerial/Plot/"
             u"Freeze/Thaw/LOck/Unlock/stAte/Description/rEconcile/Xref]:";
    case Step::ConfirmCurrentOff:
      return u"Really want layer " + CurrentName() + u" (the CURRENT layer) off? <N>";
    case Step::Names:
      switch (option_) {
        case Option::On: return u"Enter name list of layer(s) to turn On:";
        case Option::Off: return u"Enter name list of layer(s) to turn off or <select objects>:";
        case Option::Freeze: return u"Enter name list of layer(s) to freeze or <select objects>:";
        case Option::Thaw: return u"Enter name list of layer(s) to thaw:";
        case Option::Lock: return u"Enter name list of layer(s) to lock or <select objects>:";
        case Option::Unlock: return u"Enter name list of layer(s) to unlock or <select objects>:";
        case Option::None: break;
      }
  }
  return u"";
}

bool LayerCommand::Answer(TextView answer) {
  switch (step_) {
    case Step::Option: {
      if (answer.empty()) return false;  // Enter ends the command
      option_ = ParseOption(answer);
      if (option_ == Option::None) {
        s_.history.Add(u"Invalid option keyword.");
      } else {
        step_ = Step::Names;
      }
      return true;
    }
    case Step::Names:
      step_ = Step::Option;
      if (answer.empty()) {
        s_.history.Add(u"No objects selected.");  // object picking is not modelled
      } else {
        Apply(option_, answer);
      }
      return true;
    case Step::ConfirmCurrentOff: {
      const Text k = KeywordOf(answer);
      if (Abbreviates(k, u"YES", 1)) {
        if (s_.drawing.current < s_.drawing.layers.size()) s_.drawing.layers[s_.drawing.current].on = false;
      } else if (!k.empty() && !Abbreviates(k, u"NO", 1)) {
        s_.history.Add(u"Invalid option keyword.");
        return true;  // asks again
      }
      step_ = Step::Option;
      return true;
    }
  }
  return false;
}

void LayerCommand::Apply(Option option, TextView names) {
  Drawing& d = s_.drawing;
  bool matched = false;
  bool ask_current_off = false;
  const WildcardPattern pattern(names);
  for (std::size_t i = 0; i < d.layers.size(); ++i) {
    Layer& layer = d.layers[i];
    if (!pattern.Matches(layer.name)) continue;
    matched = true;
    const bool current = i == d.current;
    switch (option) {
      case Option::On: layer.on = true; break;
      case Option::Off:
        if (current && s_.variables.Integer(u"EXPERT") < 1)
          ask_current_off = layer.on;
        else
          layer.on = false;
        break;
      case Option::Freeze:
        if (current)
          s_.history.Add(u"Cannot freeze layer \"" + layer.name + u"\".  It is the CURRENT layer.");
        else
          layer.frozen = true;
        break;
      case Option::Thaw: layer.frozen = false; break;
      case Option::Lock: layer.locked = true; break;
      case Option::Unlock: layer.locked = false; break;
      case Option::None: break;
    }
  }
  if (!matched) s_.history.Add(u"No matching layer names found.");
  if (ask_current_off) step_ = Step::ConfirmCurrentOff;
}

}  // namespace simcad
