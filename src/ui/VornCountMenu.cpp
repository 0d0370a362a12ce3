// How many copies of a saved unit the battlefield places.
#include "ui/VornCountMenu.h"

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/TextFitting.h"
#include "platform/window/Keys.h"
#include "ui/CountMenuHost.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"

namespace {
constexpr float kNameWidth = 136.0f;
}

VornCountMenu::VornCountMenu() : ChassisCountMenu("VornCountMenu", nullptr) {}

void VornCountMenu::DrawContents() {
    const bool acrossArena = GetMouse().IsKeyHeld(win::kKeyShift);
    const String subject =
        acrossArena ? GetLanguageText("PlaceAcrossArena") : WrapText(unitName, GetFont(), kTitleScale, kNameWidth);
    title = subject + GetLanguageText("EOLCount");
    PopUpMenu::DrawContents();
}

void VornCountMenu::OnChoice(int32_t index) {
    PlayUiSound("Thud.ogg");
    CountMenuHost* host = GetCountMenuHost();
    const int32_t count = CountOf(index);
    if (count > 0 && gArena != nullptr) {
        Player* team = host != nullptr ? host->PlacingPlayer() : nullptr;
        if (GetMouse().IsKeyHeld(win::kKeyShift)) {
            gArena->PlaceVornsRandomly(unitName, count, team);
        } else {
            gArena->PlaceVornsAround(unitName, count, team, placePoint);
        }
    }
    if (host != nullptr) {
        host->MarkVornUsed(unitName);
        host->ResetVornActionQueues();
    }
    GetWindowManager().CloseWindow(this);
}

VornCountMenu& GetVornCountMenu() {
    static VornCountMenu menu;
    return menu;
}
