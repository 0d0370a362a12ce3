// How many objects of one kind the battlefield places.
#include "battlefield/ObjectCountMenu.h"

#include "battlefield/ArenaWindow.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

ObjectCountMenu::ObjectCountMenu() : ChassisCountMenu("ObjectCountMenu", nullptr) {}

void ObjectCountMenu::UpdateTitle() {
    if (GetMouse().IsKeyHeld(win::kKeyShift)) {
        title = GetLanguageText("PlaceAcrossArena");
        return;
    }
    const String kindName = kind >= 0 && kind < kObjectKindCount ? String(ObjectKindNames[kind]) : String();
    title = GetLanguageText(kindName) + GetLanguageText("EOLCount");
}

void ObjectCountMenu::DrawContents() {
    UpdateTitle();
    PopUpMenu::DrawContents();
}

void ObjectCountMenu::OnChoice(int32_t index) {
    const int32_t count = CountOf(index);
    if (count > 0 && gArena != nullptr) {
        PlayUiSound("Thud.ogg");
        if (GetMouse().IsKeyHeld(win::kKeyShift)) {
            gArena->PlaceObjectsRandomly(kind, variant, count);
        } else {
            gArena->PlaceObjectsAround(kind, variant, count, placePoint);
        }
        ResetVornActionQueues();
    }
    GetWindowManager().CloseWindow(this);
}

ObjectCountMenu& GetObjectCountMenu() {
    static ObjectCountMenu menu;
    return menu;
}
