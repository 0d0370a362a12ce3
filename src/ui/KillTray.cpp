// The tray of edited units that left the battlefield.
#include "ui/KillTray.h"

void KillTray::AddVorn(Vorn* vorn) {
    if (vorn != nullptr) vorns_.AddUnique(vorn);
}

KillTray& GetKillTray() {
    static KillTray tray;
    return tray;
}
