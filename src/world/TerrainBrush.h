#pragma once
// What one stroke of the terrain painter does: the tool and the brush it is applied with.
#include <cstdint>

struct TerrainBrush {
    int32_t tool = 0;      // paint mode 0..11, "Grass" to "LowerSlow"
    int32_t shape = 0;     // 0 circle, otherwise rectangle
    float radius = 30.0f;  // half the side of a square brush; the paint tray chooses it
    bool flat = false;     // the height brush makes a plateau
};
