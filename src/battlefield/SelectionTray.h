#pragma once
// The tray of the objects selected on the battlefield.
#include "ui/Tray.h"

class SelectionTray : public Tray {
public:
    SelectionTray() : Tray("SelectionTray") {}
};

SelectionTray& GetSelectionTray();
