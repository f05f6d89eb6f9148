#include "cadlink/command_texts.h"

namespace plyscan::cad {

namespace {

constexpr TextView kWildcardCharacters = u"#@.*?~[],`";

// The name as it goes between the double quotes of a -LAYER name argument.
Text NameArgument(TextView name) { return LispStringContent(LayerNameList(name)); }

}  // namespace

Text LispStringContent(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
  return out;
}

Text LayerNameList(TextView name) {
  Text out;
  out.reserve(name.size());
  for (char16_t c : name) {
    if (kWildcardCharacters.find(c) != TextView::npos) out.push_back(u'`');
    out.push_back(c);
  }
  return out;
}

Text IsolateLayerCommand(TextView name) {
  const Text n = NameArgument(name);
  return u"(command \"-LAYER\" \"OF\" \"*\" \"ON\" \"" + n + u"\" \"T\" \"" + n + u"\" \"U\" \"" + n +
         u"\" \"\")(princ)\r";
}

Text ShowLayerCommand(TextView name) {
  const Text n = NameArgument(name);
  return u"(command \"-LAYER\" \"ON\" \"" + n + u"\" \"T\" \"" + n + u"\" \"U\" \"" + n + u"\" \"\")(princ)\r";
}

Text CaptureLayerCommand(TextView name) {
  return u"(command \"-LAYER\" \"OF\" \"*\" \"T\" \"*\" \"U\" \"*\" \"ON\" \"" + NameArgument(name) +
         u"\" \"\")(princ)\r";
}

Text BmpOutCommand(TextView path) {
  const bool quoted = path.find(u' ') != TextView::npos;
  Text text = u"_BMPOUT\r";
  if (quoted) text += u'"';
  text += path;
  if (quoted) text += u'"';
  return text + u"\r\r";
}

}  // namespace plyscan::cad
