// How many new units of one chassis the battlefield places.
#include "battlefield/ChassisPlacingMenu.h"

#include "battlefield/ArenaWindow.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "world/Arena.h"

ChassisPlacingMenu::ChassisPlacingMenu() : ChassisCountMenu("ChassisCountMenu", nullptr) {}

void ChassisPlacingMenu::DrawContents() {
    if (GetMouse().IsKeyHeld(win::kKeyShift)) {
        title = GetLanguageText("PlaceAcrossArena");
    } else {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        title = GetLanguageText(row != nullptr ? row->name : String()) + GetLanguageText("ChassisCount");
    }
    PopUpMenu::DrawContents();
}

void ChassisPlacingMenu::OnChoice(int32_t index) {
    const int32_t count = CountOf(index);
    if (count > 0 && gArena != nullptr && ChassisTable::IsValid(chassis)) {
        PlayUiSound("Thud.ogg");
        if (GetMouse().IsKeyHeld(win::kKeyShift)) {
            gArena->PlaceChassisRandomly(chassis, count, ArenaWindow::PlacingPlayer());
        } else {
            gArena->PlaceChassisAround(chassis, count, ArenaWindow::PlacingPlayer(), placePoint);
        }
        ResetVornActionQueues();
    }
    GetWindowManager().CloseWindow(this);
}

ChassisPlacingMenu& GetChassisPlacingMenu() {
    static ChassisPlacingMenu menu;
    return menu;
}
