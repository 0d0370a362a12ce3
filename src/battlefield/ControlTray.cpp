// The tray of game controls; it shows the pause state and the signals.
#include "battlefield/ControlTray.h"

ControlTray& GetControlTray() {
    static ControlTray controlTray;
    return controlTray;
}
