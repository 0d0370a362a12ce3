#pragma once
// The serving player chooses how many squads each player brings; one is offered.
#include "ui/PopUpMenu.h"

class ServerSquadCountMenu : public PopUpMenu {
public:
    ServerSquadCountMenu();
    void OnOpen() override;
    void OnChoice(int32_t index) override;
};

ServerSquadCountMenu& GetServerSquadCountMenu();
