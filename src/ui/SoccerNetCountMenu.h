#pragma once
// How many nets a network game has.
#include "ui/ChassisCountMenu.h"

class SoccerNetCountMenu : public ChassisCountMenu {
public:
    SoccerNetCountMenu();
    void OnChoice(int32_t index) override;
};

SoccerNetCountMenu& GetSoccerNetCountMenu();
