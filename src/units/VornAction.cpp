// One queued action of a unit.
#include "units/VornAction.h"

void VornAction::ClearStateFlags() {
    received = 0;
    sent = 0;
}
