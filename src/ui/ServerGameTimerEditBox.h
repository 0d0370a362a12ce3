#pragma once
// The server sets the game's time limit in seconds.
#include "ui/EditBox.h"

class ServerGameTimerEditBox : public EditBox {
public:
    ServerGameTimerEditBox();
    void OnOpen() override;
    void Accept() override;
};

ServerGameTimerEditBox& GetServerGameTimerEditBox();
