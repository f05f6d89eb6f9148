#include "cadlink/target_kind.h"

namespace plyscan {

bool ZoomsTwice(TextView prog_id) { return Pos(u"GCAD", AsciiUpper(prog_id)) > 0; }

bool ParksCursorOnView(TextView prog_id) { return Pos(u"AUTOCAD", AsciiUpper(prog_id)) == 0; }

bool ExportsView(TextView prog_id) { return Pos(u"AUTOCAD", AsciiUpper(prog_id)) == 1; }

}  // namespace plyscan
