// The tray of saved unit files.
#include "battlefield/VornTray.h"

VornTray& GetVornTray() {
    static VornTray vornTray;
    return vornTray;
}
