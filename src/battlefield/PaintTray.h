#pragma once
// The terrain painter's tray: the chosen tool and brush, which the battlefield window
// hands to the arena with each stroke.
#include "ui/Tray.h"
#include "world/TerrainBrush.h"

class PaintTray : public Tray {
public:
    PaintTray() : Tray("PaintTray") {}

    TerrainBrush brush;
};

PaintTray& GetPaintTray();
