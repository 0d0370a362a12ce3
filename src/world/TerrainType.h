#pragma once
// The eight ground types of the terrain, in the order of their text letters "GDtwWanL",
// with the flags the ground tests and the height rules read.
#include <cstdint>

using TerrainType = int32_t;

constexpr TerrainType kTerrainGrass = 0;
constexpr TerrainType kTerrainDirt = 1;
constexpr TerrainType kTerrainStone = 2;
constexpr TerrainType kTerrainSwamp = 3;
constexpr TerrainType kTerrainWater = 4;
constexpr TerrainType kTerrainSand = 5;
constexpr TerrainType kTerrainSnow = 6;
constexpr TerrainType kTerrainLava = 7;
constexpr int32_t kTerrainTypeCount = 8;

// The letters of the text form, indexed by type; case matters ("w" swamp, "W" water).
inline constexpr char kTerrainTypeLetters[] = "GDtwWanL";

struct TerrainTypeInfo {
    const char* name;
    char letter;
    int32_t variants;  // tile variants (liquids have one, animated instead)
    bool slow;
    bool lava;
    bool water;
    bool firm;             // firm ground keeps slopes; the others spread flat
    int32_t tilePriority;  // the higher type forms a cell's base tile
};

bool IsValidTerrainType(TerrainType type);
// The row of a type. A value outside 0..7 (from a damaged file or peer) gets a row with
// no flags, one variant and the lowest priority, so it never indexes past the table.
const TerrainTypeInfo& GetTerrainTypeInfo(TerrainType type);
// The type of a text letter, or -1 when the letter names none.
TerrainType TerrainTypeFromLetter(char letter);

inline bool IsSlowTerrain(TerrainType type) { return GetTerrainTypeInfo(type).slow; }
inline bool IsLavaTerrain(TerrainType type) { return GetTerrainTypeInfo(type).lava; }
inline bool IsWaterTerrain(TerrainType type) { return GetTerrainTypeInfo(type).water; }
inline bool IsFirmTerrain(TerrainType type) { return GetTerrainTypeInfo(type).firm; }
