// Squad buttons.
#include "game/SquadButton.h"

#include "engine/AssetPaths.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Player.h"
#include "game/SquadSummary.h"
#include "units/ChassisTable.h"

namespace {

constexpr float kSquadAreaHalf = 20.0f;

struct SquadButtonSprites {
    Sprite* button = nullptr;
    Sprite* icons[kChassisCount] = {};
};

SquadButtonSprites gSprites;

void MakeSprites() {
    if (gSprites.button != nullptr) return;
    gSprites.button = LoadTexture(1, "SquadButton.tga");
    for (int chassis = 0; chassis < kChassisCount; ++chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        if (row != nullptr && !row->buttonImage.IsEmpty()) gSprites.icons[chassis] = LoadTexture(1, row->buttonImage);
    }
}

void DrawInRect(Sprite* sprite, const IntRect& rect) {
    if (sprite == nullptr) return;
    sprite->SetRect(rect);
    GetRenderer().DrawSprite(*sprite);
}

}  // namespace

IntRect SquadMemberIconRect(const IntRect& button, const Vector2& position) {
    const float width = float(button.right - button.left + 1);
    const float height = float(button.bottom - button.top + 1);
    const float half = width * 0.125f;
    const float x = float(button.left) + width * ((position.x / kSquadAreaHalf + 1.0f) * 0.5f);
    const float y = float(button.bottom) - height * ((position.y / kSquadAreaHalf + 1.0f) * 0.5f);
    return IntRect(int32_t(x - half), int32_t(y - half), int32_t(x + half), int32_t(y + half));
}

void DrawSquadButton(const Player& owner, const SquadSummary& squad, const IntRect& rect) {
    MakeSprites();
    DrawInRect(gSprites.button, rect);
    for (const SquadEntry& entry : squad.entries) {
        const int32_t chassis = owner.GetChassisChoice(ChassisTable::SizeClass(entry.chassisType));
        if (!ChassisTable::IsValid(chassis)) continue;
        DrawInRect(gSprites.icons[chassis], SquadMemberIconRect(rect, entry.position));
    }
}

void ForgetSquadButtonSprites() { gSprites = SquadButtonSprites(); }
