// The small map of the whole arena.
#include "battlefield/MiniMap.h"

void MiniMap::UpdateTerrainImage() { ++terrainImageUpdates; }

MiniMap& GetMiniMap() {
    static MiniMap miniMap;
    return miniMap;
}
