#include "net/FigureRows.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "ui/UiServices.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"
#include "units/Vorn.h"

namespace {

constexpr float kNameScale = 0.75f;
constexpr float kLineScale = 0.5f;
constexpr int32_t kLinesUnderName = 2;
constexpr int32_t kRowGap = 8;
// The chat window and the buttons below the rows.
constexpr int32_t kBottomBand = 160;
constexpr int32_t kSmallestFigurePixels = 48;

}  // namespace

int32_t FigureRows::TextPixels() {
    return static_cast<int32_t>((kNameScale + kLinesUnderName * kLineScale) * FontLineHeight()) + kRowGap;
}

// Nine players make three rows: the figures shrink so that every row stays clear of the
// chat window along the bottom of the screen.
int32_t FigureRows::FigurePixels(int32_t count, int32_t firstRowY) {
    const int32_t rows = std::max(1, (count + kPerRow - 1) / kPerRow);
    const int32_t room = (UiScreenRect().bottom - kBottomBand - firstRowY) / rows - TextPixels();
    return std::clamp(room, kSmallestFigurePixels, kFigurePixels);
}

IntRect FigureRows::FigureBox(int32_t index, int32_t count, int32_t firstRowY) {
    const IntRect screen = UiScreenRect();
    const int32_t side = FigurePixels(count, firstRowY);
    const int32_t row = index / kPerRow;
    const int32_t inRow = std::min(kPerRow, count - row * kPerRow);
    const int32_t column =
        std::clamp((screen.right - screen.left + 1 - 2 * kSideMarginPixels) / kPerRow, side, kColumnPixels);
    const int32_t rowLeft = (screen.left + screen.right) / 2 - inRow * column / 2;
    const int32_t left = rowLeft + (index % kPerRow) * column + (column - side) / 2;
    const int32_t top = firstRowY + row * (side + TextPixels());
    return IntRect(left, top, left + side - 1, top + side - 1);
}

void FigureRows::Draw(const std::vector<FigureRowEntry>& entries, int32_t firstRowY, float frameTime) {
    const int32_t count = static_cast<int32_t>(entries.size());
    for (int32_t i = 0; i < count; ++i) {
        Player* player = entries[static_cast<size_t>(i)].player;
        if (player == nullptr) continue;
        PlayerFigure& figure = GetPlayerFigure(*player);
        figure.rect = FigureBox(i, count, firstRowY);
        figure.Draw(frameTime);
    }
    // Each figure wore its owner's colours (it paints itself with them); the shared meshes
    // go back to the local player's.
    Player& local = GetLocalPlayer();
    for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) ApplyOwnerColours(chassis, local);
    local.ApplyColors();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    const float lineHeight = FontLineHeight();
    for (int32_t i = 0; i < count; ++i) {
        const FigureRowEntry& entry = entries[static_cast<size_t>(i)];
        const IntRect box = FigureBox(i, count, firstRowY);
        const float x = 0.5f * static_cast<float>(box.left + box.right);
        float y = static_cast<float>(box.bottom) + 0.5f * kNameScale * lineHeight;
        DrawTextCentred(entry.name, Vector2(x, y), kNameScale);
        y += 0.5f * (kNameScale + kLineScale) * lineHeight;
        for (const String& line : entry.lines) {
            DrawTextCentred(line, Vector2(x, y), kLineScale);
            y += kLineScale * lineHeight;
        }
    }
    renderer.SetBlendOff();
}

Sprite* FigureRows::Star() {
    if (star_ == nullptr) star_ = CreateUiSprite(kStarPixels, kStarPixels, "Star.tga", Sprite::kAnchorCentre);
    return star_;
}

// The ring's lowest stars stop at the bottom of the figure's box: the name stands right
// under it and must stay readable while the ring turns.
Point FigureRows::StarCentre(const IntRect& box, int32_t star, float phase) {
    const float cx = 0.5f * static_cast<float>(box.left + box.right);
    const float cy = 0.5f * static_cast<float>(box.top + box.bottom);
    const float rx = 0.5f * static_cast<float>(box.right - box.left + 1);
    const float ry = 0.5f * static_cast<float>(box.bottom - box.top + 1 - kStarPixels);
    const float angle = phase + kTwoPi * static_cast<float>(star) / kStarCount;
    return Point(static_cast<int32_t>(std::lround(cx + rx * std::cos(angle))),
                 static_cast<int32_t>(std::lround(cy + ry * std::sin(angle))));
}

void FigureRows::DrawStars(const std::vector<FigureRowEntry>& entries, int32_t firstRowY, float frameTime) {
    if (std::isfinite(frameTime)) starPhase_ = std::fmod(starPhase_ + frameTime, kTwoPi);
    const bool anyWinner =
        std::any_of(entries.begin(), entries.end(), [](const FigureRowEntry& entry) { return entry.winner; });
    if (!anyWinner) return;
    Sprite& star = *Star();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    const int32_t count = static_cast<int32_t>(entries.size());
    for (int32_t i = 0; i < count; ++i) {
        if (!entries[static_cast<size_t>(i)].winner) continue;
        const IntRect box = FigureBox(i, count, firstRowY);
        for (int32_t k = 0; k < kStarCount; ++k) {
            const Point centre = StarCentre(box, k, starPhase_);
            star.x = centre.x;
            star.y = centre.y;
            renderer.DrawSprite(star);
        }
    }
    renderer.SetBlendOff();
}

FigureRows& GetFigureRows() {
    static FigureRows rows;
    return rows;
}
