// What the trays and the placement need of a unit file.
#include "units/VornSummary.h"

bool VornSummary::Load(const String&) { return false; }
