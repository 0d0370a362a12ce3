#pragma once
// The server sets how long the players choose their squads.
#include "ui/EditBox.h"

class ServerLaunchDelayEditBox : public EditBox {
public:
    ServerLaunchDelayEditBox();
    void OnOpen() override;
    void Accept() override;
};

ServerLaunchDelayEditBox& GetServerLaunchDelayEditBox();
