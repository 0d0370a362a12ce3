#pragma once
// The server sets the game's time limit in seconds.
#include "ui/NumberEditBox.h"

class ServerGameTimerEditBox : public NumberEditBox {
public:
    ServerGameTimerEditBox();

protected:
    int32_t Value(const NetworkSettings& settings) const override;
    void SetValue(NetworkSettings& settings, int32_t value) const override;
};

ServerGameTimerEditBox& GetServerGameTimerEditBox();
