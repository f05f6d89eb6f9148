#include "cadlink/target_kind.h"

namespace plyscan {

bool IsGcadTarget(TextView prog_id) { return Pos(u"GCAD", AsciiUpper(prog_id)) > 0; }

bool IsAutocadTarget(TextView prog_id) { return Pos(u"AUTOCAD", AsciiUpper(prog_id)) != 0; }

bool IsAutocadPrefixedTarget(TextView prog_id) { return Pos(u"AUTOCAD", AsciiUpper(prog_id)) == 1; }

}  // namespace plyscan
