#pragma once
// The server sets how long the players choose their squads.
#include "ui/NumberEditBox.h"

class ServerLaunchDelayEditBox : public NumberEditBox {
public:
    ServerLaunchDelayEditBox();

protected:
    int32_t Value(const NetworkSettings& settings) const override;
    void SetValue(NetworkSettings& settings, int32_t value) const override;
};

ServerLaunchDelayEditBox& GetServerLaunchDelayEditBox();
