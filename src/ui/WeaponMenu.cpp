// Which weapon goes into a weapon place of the unit being edited.
#include "ui/WeaponMenu.h"

#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "ui/CountMenuHost.h"
#include "ui/ToolTip.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"

namespace {
// The upgrade kinds 99 to 110 unlock the twelve weapon kinds.
constexpr int32_t kFirstWeaponUpgrade = 99;

// Only a chassis with something smaller to carry takes a unit launcher.
bool TakesLauncher(const Vorn* unit) { return unit != nullptr && ChassisTable::SizeClass(unit->chassisType) > 0; }
}  // namespace

WeaponMenu::WeaponMenu() : PopUpMenu("WeaponMenu", 48, 96.0f) {
    title = GetLanguageText("PickWeapon");
    Initialize();
    for (int32_t kind = 0; kind < kWeaponKindCount; ++kind) AddItem(WeaponButtonImage(kind), WeaponKindName(kind));
}

void WeaponMenu::OnOpen() {
    PopUpMenu::OnOpen();
    const Player* owner = unit != nullptr ? unit->owner : nullptr;
    for (int32_t kind = 0; kind < kWeaponKindCount && kind < items->Count(); ++kind) {
        const bool unlocked = owner == nullptr || owner->HasUpgradeLevel(kFirstWeaponUpgrade + kind, 0);
        items->SetItemVisible(kind, unlocked && (kind != kWeaponVornLauncher || TakesLauncher(unit)));
    }
    items->Layout(centre);
}

float WeaponMenu::TitleWidth() const { return ClosedRingTitleWidth(); }

void WeaponMenu::OnChoice(int32_t index) {
    CountMenuHost* host = GetCountMenuHost();
    Vorn* edited = opener != nullptr ? opener->EditedVorn() : host != nullptr ? host->EditedVorn() : nullptr;
    // The unit may have left the editor (and its pool slot been reused) since the menu
    // opened: only the editor's own unit is changed.
    const bool stillEdited = unit != nullptr && edited == unit;
    const bool validPlace = weaponPlace >= 0 && weaponPlace < Vorn::kWeaponPlaces;
    if (index >= 0 && WeaponTable::IsValidKind(index) && stillEdited && validPlace) {
        unit->SetWeaponKind(weaponPlace, index);
        unit->weapons[weaponPlace].Rearm(unit);
    }
    unit = nullptr;
    weaponPlace = -1;
    GetWindowManager().CloseWindow(this);
    if (opener != nullptr) {
        opener->RefreshVornEditor();
    } else if (host != nullptr) {
        host->RefreshVornEditor();
    }
}

void WeaponMenu::GetToolTip() {
    if (items == nullptr || !WeaponTable::IsValidKind(items->hovered)) {
        Window::GetToolTip();
        return;
    }
    const WeaponDefinition* row = WeaponTable::Row(items->hovered);
    const String text = GetLanguageText(WeaponKindName(items->hovered)) + " " + GetLanguageText("LeftParen") +
                        GetLanguageText("Dollar") + String::FromInt(row != nullptr ? row->cost : 0) +
                        GetLanguageText("RightParen");
    ::GetToolTip().SetForItem(text, *items, *items->sprites[items->hovered]);
}

WeaponMenu& GetWeaponMenu() {
    static WeaponMenu menu;
    return menu;
}
