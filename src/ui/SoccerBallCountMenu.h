#pragma once
// How many balls a network game has.
#include "ui/ChassisCountMenu.h"

class SoccerBallCountMenu : public ChassisCountMenu {
public:
    SoccerBallCountMenu();
    void OnChoice(int32_t index) override;
};

SoccerBallCountMenu& GetSoccerBallCountMenu();
