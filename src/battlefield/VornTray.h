#pragma once
// The tray of saved unit files.
#include "ui/Tray.h"

class VornTray : public Tray {
public:
    VornTray() : Tray("VornTray") {}
};

VornTray& GetVornTray();
