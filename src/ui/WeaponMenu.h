#pragma once
// Which weapon goes into a weapon place of the unit being edited; only the kinds the
// player has unlocked are offered.
#include <cstdint>

#include "ui/PopUpMenu.h"

class Vorn;

// The unit editor that opened the menu: it answers which unit it still shows and
// redraws after the choice.
class WeaponMenuOpener {
public:
    virtual Vorn* EditedVorn() = 0;
    virtual void RefreshVornEditor() = 0;

protected:
    ~WeaponMenuOpener() = default;
};

class WeaponMenu : public PopUpMenu {
public:
    WeaponMenu();
    void OnOpen() override;
    void OnChoice(int32_t index) override;
    void GetToolTip() override;
    // With every weapon offered the ring is nearly closed.
    float TitleWidth() const override;

    Vorn* unit = nullptr;  // not owned
    int32_t weaponPlace = -1;
    // Set by the opener; without one the count menus' host answers for the editor.
    WeaponMenuOpener* opener = nullptr;
};

WeaponMenu& GetWeaponMenu();
