// The table of a network battle's scores.
#include "ui/Scoreboard.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

const char* const kHeaders[Scoreboard::kColumnCount] = {"Name",  "Alive",     "Kills",    "Deaths",
                                                        "Goals", "MaxHeight", "VIPsAlive"};
const char* const kSamples[Scoreboard::kColumnCount] = {"", "999", "999", "999", "999", "99.99", "999"};

const Array<Player*>& Players() { return GetPlayerRoster().networkPlayers; }

float TextWidth(const String& text) { return MeasureText(text, Scoreboard::kTextScale).x; }

int32_t RowHeight() { return int32_t(FontLineHeight() * Scoreboard::kTextScale); }

}  // namespace

Scoreboard::Scoreboard() : Window("Scoreboard") {
    movable = true;
    closeButton = true;
    resizable = false;
    backgroundShown = true;
    Initialize();
}

void Scoreboard::CreateResources() {
    Window::CreateResources();
    clearSprite_ = CreateUiSprite(24, 24, "NoButton.tga", Sprite::kAnchorCentre);
    if (controls != nullptr) controls->AddItem(clearSprite_, "Clear", true);
}

void Scoreboard::ReleaseResources() {
    clearSprite_ = nullptr;
    Window::ReleaseResources();
}

void Scoreboard::ResetStatistics() {
    for (Player* player : Players()) {
        player->greatestHeight = 0.0f;
        player->kills = 0;
        player->losses = 0;
        player->goalCount = 0;
        player->vornsAlive = 0;
        player->vipCount = 0;
        if (gArena == nullptr) continue;
        for (const WorldObject* object : gArena->Objects()) {
            if (object->kind != kKindVorn) continue;
            const Vorn* vorn = static_cast<const Vorn*>(object);
            if (vorn->owner != player) continue;
            ++player->vornsAlive;
            if (vorn->vip != 0) ++player->vipCount;
        }
    }
}

String Scoreboard::ColumnValue(const Player& player, int32_t column) {
    switch (column) {
        case 0: return player.ShownName();
        case 1: return String::FromInt(player.vornsAlive);
        case 2: return String::FromInt(player.kills);
        case 3: return String::FromInt(player.losses);
        case 4: return String::FromInt(player.goalCount);
        case 5: return String::FromFloat(player.greatestHeight, 2);
        case 6: return String::FromInt(player.vipCount);
        default: return String();
    }
}

void Scoreboard::Refresh() {
    ++refreshCount;
    float nameWidth = TextWidth(GetLanguageText(kHeaders[0])) + float(kColumnGap);
    for (const Player* player : Players()) nameWidth = std::max(nameWidth, TextWidth(player->ShownName()));
    int32_t x = 0;
    for (int32_t column = 0; column < kColumnCount; ++column) {
        if (!columnShown[column]) continue;
        columnX[column] = x;
        const float width = column == 0
                                ? nameWidth
                                : std::max(TextWidth(kSamples[column]), TextWidth(GetLanguageText(kHeaders[column])));
        x += int32_t(width) + kColumnGap;
    }
    SetRectValues(left, top, left + x, top + (Players().Count() + 1) * RowHeight());
    // A row more or a longer name must not push the table off the screen.
    const Point place = OnScreenPlace(Point(left, top));
    SetRectValues(place.x, place.y, place.x + Width(), place.y + Height());
    for (int32_t& columnLeft : columnX) columnLeft += left;
    // On the frame's bottom-right corner, clear of the columns.
    if (clearSprite_ != nullptr) {
        clearSprite_->x = right;
        clearSprite_->y = bottom;
    }
}

void Scoreboard::DrawContents() {
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    float y = float(top);
    for (int32_t column = 0; column < kColumnCount; ++column) {
        if (columnShown[column]) {
            DrawUiText(GetLanguageText(kHeaders[column]), float(columnX[column]), y, Color(0xFFFFFFFF), kTextScale);
        }
    }
    for (const Player* player : Players()) {
        y += FontLineHeight() * kTextScale;
        const Color colour = ReadableTextColour(player->primaryColor, kBackgroundColour);
        for (int32_t column = 0; column < kColumnCount; ++column) {
            if (columnShown[column]) {
                DrawUiText(ColumnValue(*player, column), float(columnX[column]), y, colour, kTextScale);
            }
        }
    }
    renderer.SetBlendOff();
}

bool Scoreboard::HandleMouse(const InputEvent& input) {
    if (Window::HandleMouse(input)) return true;
    if (input.IsKeyUp(kInputButtonLeft)) {
        GetMouse().ShowCursor();
        return true;
    }
    return IsCameraInput(input, GetMouse());
}

void Scoreboard::HandleCommand(Event& event) {
    if (event.type == kEventPickEntry) {
        GetMouse().ShowCursor();
        return;
    }
    Window::HandleCommand(event);
}

void Scoreboard::GetToolTip() {
    if (clearSprite_ != nullptr && clearSprite_->Contains(GetMouse().position)) {
        ::GetToolTip().Set(GetLanguageText("ClearScoreboard"), clearSprite_->GetScreenRect());
        return;
    }
    Window::GetToolTip();
}

Scoreboard& GetScoreboard() {
    static Scoreboard scoreboard;
    return scoreboard;
}
