#pragma once
// The small map of the whole arena.
#include <cstdint>

#include "ui/Window.h"

class MiniMap : public Window {
public:
    MiniMap() : Window("MiniMap") {}

    // Redraws the terrain image after terrain changes and loads.
    void UpdateTerrainImage();
    int32_t terrainImageUpdates = 0;
};

MiniMap& GetMiniMap();
