// The automation calls of the CAD commands, with exactly the argument kinds an
// AutoCAD-compatible server accepts. Each raises AutomationFailure on failure.
#pragma once

#include <vector>

#include "cadlink/automation.h"

namespace plyscan::cad {

// SetVariable with the value as a 16-bit integer: the system variables the
// program sets (EXPERT, CMDECHO, GRIDMODE, UCSICON, FILEDIA) are 16-bit, and
// such servers refuse any other integer type. A value outside the 16-bit
// range is a failure, never silently cut.
void SetVariable(automation::Object& document, TextView name, int value);

// GetVariable's result as the server gives it.
automation::Variant GetVariable(automation::Object& document, TextView name);

// SendCommand with the text by reference (the command line's texts) or by
// value (the image export).
void SendCommand(automation::Object& document, TextView text);
void SendCommandByValue(automation::Object& document, TextView text);

// Regen of the active viewport (the 32-bit integer 0).
void Regen(automation::Object& document);

// Application ZoomExtents; a GCAD target gets it a second time right after.
void ZoomExtents(automation::Object& application, TextView progid);

// Selection set Select with mode 1 (crossing window), the two corners by
// reference as GetVariable returned them, and both filter arguments omitted.
void SelectCrossing(automation::Object& selection, const automation::Variant& corner1,
                    const automation::Variant& corner2);

}  // namespace plyscan::cad
