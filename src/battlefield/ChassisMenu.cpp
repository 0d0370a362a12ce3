// Chooses the chassis of the edited unit.
#include "battlefield/ChassisMenu.h"

#include "battlefield/VornWindow.h"
#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"

namespace {
constexpr const char* kChassisNames[kChassisCount] = {"RobotSmall", "RobotMedium", "RobotLarge",
                                                      "StalkSmall", "StalkMedium", "StalkLarge"};
constexpr const char* kSizeUpgrades[3] = {"SmallVorn", "MediumVorn", "LargeVorn"};

bool Unlocked(const char* key) {
    const int32_t item = FindUpgradeItem(key);
    return item >= 0 && GetLocalPlayer().GetUpgradeLevel(item) != -1;
}
}  // namespace

ChassisMenu::ChassisMenu() : PopUpMenu("ChassisMenu", 32, 56.0f) {
    title = GetLanguageText("PickChassis");
    Initialize();
    for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        AddItem(row != nullptr ? row->buttonImage : String(), kChassisNames[chassis]);
    }
}

void ChassisMenu::OnOpen() {
    PopUpMenu::OnOpen();
    // The menu may be made before the chassis table is read: its images come once they
    // are known.
    for (int32_t chassis = 0; chassis < items->Count(); ++chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        if (!imagesSet_ && row != nullptr && !row->buttonImage.IsEmpty())
            items->SetItemSprite(chassis, CreateUiSprite(itemSize, itemSize, row->buttonImage, Sprite::kAnchorCentre));
        items->SetItemVisible(chassis, false);
    }
    const ChassisDefinition* first = ChassisTable::Row(0);
    imagesSet_ = imagesSet_ || (first != nullptr && !first->buttonImage.IsEmpty());
    const Player& player = GetLocalPlayer();
    for (int32_t size = 0; size < 3; ++size) {
        const int32_t choice = player.GetChassisChoice(size);
        if (choice >= 0 && choice < items->Count() && Unlocked(kSizeUpgrades[size]))
            items->SetItemVisible(choice, true);
    }
    items->Layout(centre);
}

void ChassisMenu::FindLosses(const Vorn& unit, int32_t chassis, bool lost[ConfirmChangeVornChassisMenu::kLossCount]) {
    const int32_t size = ChassisTable::SizeClass(chassis);
    lost[ConfirmChangeVornChassisMenu::kLosesPatterns] =
        unit.CountEnabledPatterns() > VornWindow::PatternLimit(chassis);
    lost[ConfirmChangeVornChassisMenu::kLosesSecondWeaponActions] = size == 0 && unit.UsesWeapon2Actions();
    lost[ConfirmChangeVornChassisMenu::kLosesSecondWeaponConditionals] = size == 0 && unit.UsesWeapon2Conditionals();
    lost[ConfirmChangeVornChassisMenu::kLosesLaunchers] = size == 0 && unit.HasVornLauncher();
    lost[ConfirmChangeVornChassisMenu::kLosesMediumLauncherAmmo] = size == 1 && unit.HasVornLauncherOfSize1();
}

void ChassisMenu::OnChoice(int32_t index) {
    Vorn* edited = unit;
    unit = nullptr;
    GetWindowManager().CloseWindow(this);
    VornWindow& editor = GetVornWindow();
    // Only a shown chassis, and only for the unit the editor still shows.
    if (index < 0 || !items->IsValidIndex(index) || !items->IsShown(index) || edited == nullptr ||
        edited != editor.vorn) {
        if (index >= 0) PlayUiSound("Illegal.ogg");
        return;
    }
    bool lost[ConfirmChangeVornChassisMenu::kLossCount] = {};
    FindLosses(*edited, index, lost);
    bool any = false;
    for (bool loss : lost) any = any || loss;
    if (!any) {
        editor.ChangeVornChassis(edited, index);
        return;
    }
    ConfirmChangeVornChassisMenu& question = GetConfirmChangeVornChassisMenu();
    question.Ask(&editor, edited, index, lost);
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&question);
    windows.RaiseWindow(&question);
}

void ChassisMenu::GetToolTip() {
    if (items == nullptr || !items->IsValidIndex(items->hovered)) {
        Window::GetToolTip();
        return;
    }
    const ChassisDefinition* row = ChassisTable::Row(items->hovered);
    const String name = GetLanguageText(row != nullptr ? row->name : String(kChassisNames[items->hovered]));
    ::GetToolTip().SetForItem(name, *items, *items->sprites[items->hovered]);
}

ChassisMenu& GetChassisMenu() {
    static ChassisMenu menu;
    return menu;
}
