// What cadprobe finds out about a CAD application's automation server, over
// the CAD link's ports only: whether the ProgID is registered, whether an
// instance runs, and a few values of its active document. It never brings the
// CAD's window forward (the connection prologue would), so it can be run
// beside a CAD someone is working in.
#pragma once

#include <functional>
#include <string_view>

#include "cadlink/connection.h"
#include "cadlink/guard.h"

namespace plyscan::cadprobe {

using LineSink = std::function<void(std::string_view line)>;

// Writes, one per call of `line`:
//   registered: yes|no
//   running: yes|no
// and, of the active document when an instance runs:
//   layers: N
//   screensize: W H
//   extmin: X Y Z
//   extmax: X Y Z
// A line is written as soon as its value has been read, so a failure part way
// leaves what was found. Every failure goes to `trace` and ends the probe.
// Returns true when the document's values were all read.
bool ProbeTarget(AutomationRuntime& runtime, TextView progid, const LineSink& line, FailureTrace* trace) noexcept;

}  // namespace plyscan::cadprobe
