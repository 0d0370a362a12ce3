#pragma once
// How many VIPs each side of a network game has.
#include "ui/ChassisCountMenu.h"

class VIPCountMenu : public ChassisCountMenu {
public:
    VIPCountMenu();
    void OnChoice(int32_t index) override;
};

VIPCountMenu& GetVIPCountMenu();
