// What the target's ProgID switches, for the CAD applications that need it.
// Each is asked afresh at the moment of use; only the ASCII letters are
// upper-cased, so full-width letters never match.
#pragma once

#include "base/text.h"

namespace plyscan {

// Each ZoomExtents is issued twice: "GCAD" anywhere.
[[nodiscard]] bool ZoomsTwice(TextView prog_id);
// The capture parks the cursor on the view's corner, so that no hover
// highlight or cursor shape is in the picture: unless "AUTOCAD" is anywhere.
[[nodiscard]] bool ParksCursorOnView(TextView prog_id);
// The view is grabbed by the CAD's bitmap export command instead of a copy
// of the screen: "AUTOCAD" at the start.
[[nodiscard]] bool ExportsView(TextView prog_id);

}  // namespace plyscan
