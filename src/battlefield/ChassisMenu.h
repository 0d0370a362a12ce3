#pragma once
// Chooses the chassis of the edited unit among the owner's choices of each size class the
// player has unlocked. A change that would take something from the unit asks first.
#include <cstdint>

#include "ui/ConfirmChangeVornChassisMenu.h"
#include "ui/PopUpMenu.h"

class Vorn;

class ChassisMenu : public PopUpMenu {
public:
    ChassisMenu();

    void OnOpen() override;
    void OnChoice(int32_t index) override;
    void GetToolTip() override;

    // What changing the unit to the chassis would take from it.
    static void FindLosses(const Vorn& unit, int32_t chassis, bool lost[ConfirmChangeVornChassisMenu::kLossCount]);

    Vorn* unit = nullptr;  // not owned

private:
    bool imagesSet_ = false;
};

ChassisMenu& GetChassisMenu();
