#pragma once
// The player has sent its squads and waits for the others'.
#include "net/NetworkScreen.h"

class WaitAfterSendingSquadsWindow : public NetworkScreen {
public:
    WaitAfterSendingSquadsWindow();
    void HandleCommand(Event& event) override;

protected:
    void PlaceButtons() override;
    void DrawScreen() override;
    const char* HighlightName(int32_t) const override { return "Cancel"; }
};

WaitAfterSendingSquadsWindow& GetWaitAfterSendingSquadsWindow();
