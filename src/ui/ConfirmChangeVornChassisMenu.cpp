// Asks before a chassis change takes from the unit what the new chassis cannot hold.
#include "ui/ConfirmChangeVornChassisMenu.h"

#include "core/TextTable.h"

namespace {
constexpr float kWideRing = 192.0f;
constexpr const char* kLossKeys[ConfirmChangeVornChassisMenu::kLossCount] = {
    "RemoveOneOrMorePatterns", "RemoveFireSecondWeaponActions", "RemoveSecondWeaponConditionals",
    "ReplaceVornLaunchersWithLasers", "RemoveMediumAmmoFromVornLaunchers"};
}  // namespace

ConfirmChangeVornChassisMenu::ConfirmChangeVornChassisMenu()
    : ConfirmationMenu("ConfirmChangeVornChassisMenu", "ChangeChassisSize?", kWideRing) {}

void ConfirmChangeVornChassisMenu::Ask(VornChassisChanger* applier, Vorn* edited, int32_t newChassis,
                                       const bool lost[kLossCount]) {
    changer = applier;
    unit = edited;
    chassis = newChassis;
    title = GetLanguageText("ChangeChassisSize?");
    for (int i = 0; i < kLossCount; ++i) {
        losses[i] = lost[i];
        if (lost[i]) title += "\n" + GetLanguageText(kLossKeys[i]);
    }
    title += "\n" + GetLanguageText("Continue?");
}

void ConfirmChangeVornChassisMenu::OnYes() {
    if (changer != nullptr && unit != nullptr) changer->ChangeVornChassis(unit, chassis);
    OnNotYes(kYes);
}

void ConfirmChangeVornChassisMenu::OnNotYes(int32_t) {
    changer = nullptr;
    unit = nullptr;
    chassis = -1;
}

ConfirmChangeVornChassisMenu& GetConfirmChangeVornChassisMenu() {
    static ConfirmChangeVornChassisMenu menu;
    return menu;
}
