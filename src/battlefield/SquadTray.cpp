// The tray of saved squad files.
#include "battlefield/SquadTray.h"

SquadTray& GetSquadTray() {
    static SquadTray squadTray;
    return squadTray;
}
