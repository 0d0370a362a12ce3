#pragma once
// The tray of game controls; it shows the pause state and the signals.
#include "ui/Tray.h"

class ControlTray : public Tray {
public:
    ControlTray() : Tray("ControlTray") {}
};

ControlTray& GetControlTray();
