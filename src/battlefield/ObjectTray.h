#pragma once
// The tray of placeable objects.
#include "ui/Tray.h"

class ObjectTray : public Tray {
public:
    ObjectTray() : Tray("ObjectTray") {}
};

ObjectTray& GetObjectTray();
