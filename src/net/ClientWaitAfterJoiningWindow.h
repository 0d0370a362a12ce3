#pragma once
// The joined player waits while the server prepares the game.
#include "net/NetworkScreen.h"

class ClientWaitAfterJoiningWindow : public NetworkScreen {
public:
    ClientWaitAfterJoiningWindow();
    void HandleCommand(Event& event) override;

protected:
    void PlaceButtons() override;
    void DrawScreen() override;
    const char* HighlightName(int32_t) const override { return "Cancel"; }
};

ClientWaitAfterJoiningWindow& GetClientWaitAfterJoiningWindow();
