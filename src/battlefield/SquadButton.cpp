// A squad drawn as a button of its members' markers.
#include "battlefield/SquadButton.h"

#include <cmath>

#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Squad.h"
#include "game/SquadSummary.h"
#include "units/ChassisTable.h"

void DrawSquadButton(const SquadSummary& squad, const IntRect& rect, Sprite* const (&markers)[6]) {
    const float width = float(rect.right - rect.left);
    const float height = float(rect.bottom - rect.top);
    const float half = (width + 1.0f) * 0.125f;
    for (const SquadEntry& member : squad.entries) {
        if (!ChassisTable::IsValid(member.chassisType) || markers[member.chassisType] == nullptr) continue;
        const float x = float(rect.left) + width * (member.position.x / Squad::kAreaRadius + 1.0f) * 0.5f;
        const float y = float(rect.bottom) - height * (member.position.y / Squad::kAreaRadius + 1.0f) * 0.5f;
        Sprite& marker = *markers[member.chassisType];
        marker.x = int32_t(std::lround(x - half));
        marker.y = int32_t(std::lround(y - half));
        marker.width = int32_t(std::lround(2.0f * half));
        marker.height = marker.width;
        GetRenderer().DrawSprite(marker);
    }
}
