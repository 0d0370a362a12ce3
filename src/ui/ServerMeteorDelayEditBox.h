#pragma once
// The server sets the seconds between meteors (0: none).
#include "ui/NumberEditBox.h"

class ServerMeteorDelayEditBox : public NumberEditBox {
public:
    ServerMeteorDelayEditBox();

protected:
    int32_t Value(const NetworkSettings& settings) const override;
    void SetValue(NetworkSettings& settings, int32_t value) const override;
};

ServerMeteorDelayEditBox& GetServerMeteorDelayEditBox();
