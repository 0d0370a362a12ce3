#pragma once
// The tray of saved squad files.
#include "ui/Tray.h"

class SquadTray : public Tray {
public:
    SquadTray() : Tray("SquadTray") {}
};

SquadTray& GetSquadTray();
