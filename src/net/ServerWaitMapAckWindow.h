#pragma once
// The server waits while the clients load the scenario it sent.
#include "net/NetworkScreen.h"

class ServerWaitMapAckWindow : public NetworkScreen {
public:
    ServerWaitMapAckWindow();

protected:
    void PlaceButtons() override;
    void DrawScreen() override;
};

ServerWaitMapAckWindow& GetServerWaitMapAckWindow();
