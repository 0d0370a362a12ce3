#pragma once
// The server sets the seconds between meteors.
#include "ui/EditBox.h"

class ServerMeteorDelayEditBox : public EditBox {
public:
    ServerMeteorDelayEditBox();
    void OnOpen() override;
    void Accept() override;
};

ServerMeteorDelayEditBox& GetServerMeteorDelayEditBox();
