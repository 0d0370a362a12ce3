#pragma once
// The serving player waits for players to join: from here the game is listed on the web
// lobby, the server is named, the set-up screen follows, or the network mode is left.
#include "net/NetworkScreen.h"

class ServerWaitWindow : public NetworkScreen {
public:
    enum Item : int32_t { kSetupGame, kBack, kRegister, kServerName };
    ServerWaitWindow();
    void HandleCommand(Event& event) override;

protected:
    void PlaceButtons() override;
    void DrawScreen() override;
    const char* HighlightName(int32_t index) const override;
};

ServerWaitWindow& GetServerWaitWindow();
