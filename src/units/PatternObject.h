#pragma once
// One thing placed in a pattern around the unit: its kind, place, facing and properties.
#include <cstdint>

#include "core/Vector2.h"

class WorldObject;

class PatternObject {
public:
    static constexpr int kPropertyCount = 8;

    // Kind 0 at the origin facing +x, no properties, no linked object.
    void Clear();

    int32_t kind = 0;  // 0..11
    Vector2 position;
    Vector2 facing{1.0f, 0.0f};  // the tip of the facing handle
    uint8_t properties[kPropertyCount] = {};
    WorldObject* linkedObject = nullptr;  // set by the pattern matcher
};
