#pragma once
// The terrain painter's tray: the chosen tool and brush.
#include <cstdint>

#include "ui/Tray.h"

class PaintTray : public Tray {
public:
    PaintTray() : Tray("PaintTray") {}

    int32_t tool = 0;       // paint mode 0..11, "Grass" to "LowerSlow"
    int32_t shape = 0;      // 0 circle, otherwise rectangle
    int32_t sizeIndex = 0;  // into the brush radius table, 0 largest to 3 smallest
    bool flat = false;      // the height brush makes a plateau
};

PaintTray& GetPaintTray();
