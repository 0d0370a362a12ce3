#include "world/TerrainType.h"

namespace {

constexpr TerrainTypeInfo kTypes[kTerrainTypeCount] = {
    {"Grass", 'G', 8, false, false, false, true, 4}, {"Dirt", 'D', 8, false, false, false, true, 5},
    {"Stone", 't', 8, false, false, false, true, 6}, {"Swamp", 'w', 1, true, false, false, false, 2},
    {"Water", 'W', 1, false, false, true, false, 1}, {"Sand", 'a', 8, true, false, false, true, 3},
    {"Snow", 'n', 8, true, false, false, true, 7},   {"Lava", 'L', 1, false, true, false, true, 0},
};

// Below every real priority, so a damaged corner never becomes a cell's base tile.
constexpr TerrainTypeInfo kUnknownType = {"None", 'G', 1, false, false, false, false, -1};

}  // namespace

bool IsValidTerrainType(TerrainType type) { return type >= 0 && type < kTerrainTypeCount; }

const TerrainTypeInfo& GetTerrainTypeInfo(TerrainType type) {
    return IsValidTerrainType(type) ? kTypes[type] : kUnknownType;
}

TerrainType TerrainTypeFromLetter(char letter) {
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        if (kTerrainTypeLetters[type] == letter) {
            return type;
        }
    }
    return -1;
}
