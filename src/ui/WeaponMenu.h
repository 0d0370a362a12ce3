#pragma once
// Which weapon goes into a weapon place of the unit being edited; only the kinds the
// player has unlocked are offered.
#include <cstdint>

#include "ui/PopUpMenu.h"

class Vorn;

class WeaponMenu : public PopUpMenu {
public:
    WeaponMenu();
    void OnOpen() override;
    void OnChoice(int32_t index) override;
    void GetToolTip() override;

    Vorn* unit = nullptr;  // not owned
    int32_t weaponPlace = -1;
};

WeaponMenu& GetWeaponMenu();
