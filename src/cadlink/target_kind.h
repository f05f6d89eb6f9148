// Tests on the target's ProgID that switch behaviour for particular CAD
// products. Each is made afresh at the moment of use; only the ASCII letters
// are upper-cased, so full-width letters never match.
#pragma once

#include "base/text.h"

namespace plyscan {

// "GCAD" anywhere: each ZoomExtents is issued twice.
[[nodiscard]] bool IsGcadTarget(TextView prog_id);
// "AUTOCAD" anywhere: the cursor is not moved onto the view.
[[nodiscard]] bool IsAutocadTarget(TextView prog_id);
// "AUTOCAD" at the start: the view is grabbed by the bitmap export command.
[[nodiscard]] bool IsAutocadPrefixedTarget(TextView prog_id);

}  // namespace plyscan
