#pragma once
// How many goals a network game has.
#include "ui/ChassisCountMenu.h"

class SoccerGoalCountMenu : public ChassisCountMenu {
public:
    SoccerGoalCountMenu();
    void OnChoice(int32_t index) override;
};

SoccerGoalCountMenu& GetSoccerGoalCountMenu();
