#pragma once
// The serving player chooses the boosts every player gets for the match (0 to 5).
#include "ui/PopUpMenu.h"

class ServerBoostCountMenu : public PopUpMenu {
public:
    ServerBoostCountMenu();
    void OnChoice(int32_t index) override;
};

ServerBoostCountMenu& GetServerBoostCountMenu();
