#pragma once
// A condition of a pattern on the ground type or height of one terrain cell. Pooled in the
// arena's "MapConditional" pool.
#include <cstdint>

#include "core/Vector2.h"

class Stream;

enum MapConditionKind : int32_t {
    kMapDirtGrassStone = 0,
    kMapSandSnowSwamp,
    kMapLava,
    kMapWater,
    kMapHigher,
    kMapLower,
};
constexpr int kMapConditionKindCount = 6;

extern const char* const MapConditionNames[kMapConditionKindCount];
extern const char* const MapConditionIconNames[kMapConditionKindCount];

class MapConditional {
public:
    // Loads the kinds' icons once for the run.
    MapConditional();
    MapConditional(const MapConditional&) = default;
    // Kind and position.
    MapConditional& operator=(const MapConditional& other);

    // Kind 0 at the origin.
    void Clear();
    void Reset() { Clear(); }

    // The kind's icon at the position, 2.8 x zoom / 32 wide.
    void Draw(float zoom, uint32_t colour) const;

    // Kind word and position, each followed by a blank.
    static void Save(Stream& stream, const MapConditional& condition);
    // A word that is no kind's (exact case) gives kind 0. False when the text stops short.
    static bool Load(Stream& stream, MapConditional& condition);

    int32_t kind = kMapDirtGrassStone;
    Vector2 position;  // the tested cell in pattern coordinates
    int32_t flag = 1;
};
