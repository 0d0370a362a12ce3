// Adds an action to a path point of the edited pattern.
#include "battlefield/ActionMenu.h"

#include "battlefield/PatternWindow.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Action.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"

namespace {
bool HasReleaseAction(int32_t weaponKind) {
    return weaponKind == kWeaponMissileLauncher || weaponKind == kWeaponVornLauncher;
}
}  // namespace

// With every action offered the ring of small items is nearly closed.
float ActionMenu::TitleWidth() const { return ClosedRingTitleWidth(); }

ActionMenu::ActionMenu() : PopUpMenu("ActionMenu", 32, 80.0f) {
    title = GetLanguageText("AddAction");
    Initialize();
    for (int32_t kind = 0; kind < kActionKindCount; ++kind) AddItem(ActionButtonNames[kind], ActionNames[kind]);
}

bool ActionMenu::IsOffered(int32_t kind, const Vorn* unit) {
    if (kind < 0 || kind >= kActionKindCount) return false;
    const int32_t item = FindUpgradeItem(String(ActionNames[kind]) + "Action");
    if (item < 0 || GetLocalPlayer().GetUpgradeLevel(item) == -1) return false;
    const bool small = unit != nullptr && ChassisTable::SizeClass(unit->chassisType) == 0;
    switch (kind) {
        case kActionFire2: return !small;
        case kActionFire1Up: return unit != nullptr && HasReleaseAction(unit->weapons[0].kind);
        case kActionFire2Up: return !small && unit != nullptr && HasReleaseAction(unit->weapons[1].kind);
        default: return true;
    }
}

void ActionMenu::Prepare(PatternWindow* editor, PathPoint* point, Vorn* unit, const Vector2& at) {
    window = editor;
    pathPoint = point;
    vorn = unit;
    clickPoint = at;
}

void ActionMenu::OnOpen() {
    PopUpMenu::OnOpen();
    for (int32_t kind = 0; kind < items->Count(); ++kind) items->SetItemVisible(kind, IsOffered(kind, vorn));
    items->Layout(centre);
}

void ActionMenu::OnChoice(int32_t index) {
    const bool chosen = index >= 0 && items->IsValidIndex(index) && items->IsShown(index);
    const Point at = chosen ? items->sprites[index]->GetScreenCenter() : centre;
    GetWindowManager().CloseWindow(this);
    if (!chosen || window == nullptr) {
        if (index >= 0) PlayUiSound("Illegal.ogg");
        return;
    }
    window->AddAction(pathPoint, index, clickPoint, at);
}

void ActionMenu::GetToolTip() {
    if (items == nullptr || !items->IsValidIndex(items->hovered)) {
        Window::GetToolTip();
        return;
    }
    ::GetToolTip().SetForItem(GetLanguageText(ActionNames[items->hovered]), *items, *items->sprites[items->hovered]);
}

ActionMenu& GetActionMenu() {
    static ActionMenu menu;
    return menu;
}
