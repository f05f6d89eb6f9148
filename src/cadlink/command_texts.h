// The texts the program sends to the CAD's command line. A layer name goes
// into an AutoLISP string escaped, so that no name can end the string or add
// an expression of its own, and into a -LAYER name list with its wild-card
// characters quoted, so that it names exactly that layer. A name without such
// characters is inserted as it is.
#pragma once

#include "base/text.h"

namespace plyscan::cad {

// `\` as `\\` and `"` as `\"`: the text as the inside of an AutoLISP string.
[[nodiscard]] Text LispStringContent(TextView text);

// A reverse quote before each of # @ . * ? ~ [ ] , and the reverse quote
// itself: the name as a -LAYER name list that matches only that name.
[[nodiscard]] Text LayerNameList(TextView name);

// Every layer off, then layer `name` on, thawed and unlocked.
[[nodiscard]] Text IsolateLayerCommand(TextView name);
// Layer `name` on, thawed and unlocked; the other layers as they are.
[[nodiscard]] Text ShowLayerCommand(TextView name);
// Every layer off, thawed and unlocked, then layer `name` on.
[[nodiscard]] Text CaptureLayerCommand(TextView name);

// "EXPERT" 0 and "CMDECHO" 1 again after the layer commands.
inline constexpr char16_t kResetVariablesCommand[] = u"(setvar \"EXPERT\" 0)(setvar \"CMDECHO\" 1)(princ)\r";
// Saves the layer state "PLYSCAN", replacing one of that name: a server that
// keeps an existing state on save would otherwise restore the first capture's
// layers after every later one.
inline constexpr char16_t kSaveLayerStateCommand[] =
    u"(if (layerstate-has \"PLYSCAN\")(layerstate-delete \"PLYSCAN\"))(layerstate-save \"PLYSCAN\" 255 nil)(princ)\r";
inline constexpr char16_t kRestoreLayerStateCommand[] = u"(layerstate-restore \"PLYSCAN\" nil)(princ)\r";
inline constexpr char16_t kDeleteLayerStateCommand[] =
    u"(if (layerstate-has \"PLYSCAN\")(layerstate-delete \"PLYSCAN\"))(princ)\r";

// The bitmap export of the view to `path`: the command, the path (in double
// quotes when it holds a blank, which would otherwise end the answer) and
// two Enters.
[[nodiscard]] Text BmpOutCommand(TextView path);

}  // namespace plyscan::cad
