// A condition of a pattern on one terrain cell, its kind table and its text form.
#include "units/MapConditional.h"

#include <cstring>

#include "core/Stream.h"
#include "core/String.h"
#include "units/PatternIcons.h"

const char* const MapConditionNames[kMapConditionKindCount] = {
    "DirtGrassStone", "SandSnowSwamp", "Lava", "Water", "Higher", "Lower",
};

const char* const MapConditionIconNames[kMapConditionKindCount] = {
    "MapDirtGrassStoneButton.tga",
    "MapSandSnowSwampButton.tga",
    "MapLavaButton.tga",
    "MapWaterButton.tga",
    "MapUpButton.tga",
    "MapDownButton.tga",
};

MapConditional::MapConditional() { LoadMapConditionIcons(); }

MapConditional& MapConditional::operator=(const MapConditional& other) {
    kind = other.kind;
    position = other.position;
    return *this;
}

void MapConditional::Clear() {
    kind = kMapDirtGrassStone;
    position = Vector2();
}

void MapConditional::Draw(float zoom, uint32_t colour) const {
    if (kind < 0 || kind >= kMapConditionKindCount) {
        return;
    }
    DrawPatternSprite(GetPatternIcons().mapConditions[kind], position, 2.8f * zoom / 32.0f, 0.0f, colour);
}

void MapConditional::Save(Stream& stream, const MapConditional& condition) {
    const int32_t kind = condition.kind >= 0 && condition.kind < kMapConditionKindCount ? condition.kind : 0;
    stream << MapConditionNames[kind] << " ";
    condition.position.WriteText(stream);
    stream << " ";
}

bool MapConditional::Load(Stream& stream, MapConditional& condition) {
    condition.kind = kMapDirtGrassStone;
    String word;
    String::ReadToken(stream, word);
    for (int32_t i = 0; i < kMapConditionKindCount; ++i) {
        if (std::strcmp(word.CStr(), MapConditionNames[i]) == 0) {
            condition.kind = i;
            break;
        }
    }
    condition.position.ReadText(stream);
    return !word.IsEmpty() && !stream.HasError();
}
