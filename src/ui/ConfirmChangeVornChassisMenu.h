#pragma once
// Asks before a chassis change takes from the unit what the new chassis cannot hold:
// patterns beyond its limit, second-weapon actions and conditionals, launchers, or the
// launchers' medium ammunition. The question lists only what would be lost.
#include <cstdint>

#include "ui/ConfirmationMenu.h"

class Vorn;

// The unit editor, which applies the change on "Yes".
class VornChassisChanger {
public:
    virtual void ChangeVornChassis(Vorn* unit, int32_t chassis) = 0;

protected:
    ~VornChassisChanger() = default;
};

class ConfirmChangeVornChassisMenu : public ConfirmationMenu {
public:
    enum Loss : int32_t {
        kLosesPatterns = 0,
        kLosesSecondWeaponActions,
        kLosesSecondWeaponConditionals,
        kLosesLaunchers,
        kLosesMediumLauncherAmmo,
        kLossCount
    };

    ConfirmChangeVornChassisMenu();
    // The question is built anew for the losses given.
    void Ask(VornChassisChanger* applier, Vorn* edited, int32_t newChassis, const bool lost[kLossCount]);
    void OnYes() override;
    void OnNotYes(int32_t index) override;

    VornChassisChanger* changer = nullptr;  // not owned
    Vorn* unit = nullptr;                   // not owned
    int32_t chassis = -1;
    bool losses[kLossCount] = {};
};

ConfirmChangeVornChassisMenu& GetConfirmChangeVornChassisMenu();
