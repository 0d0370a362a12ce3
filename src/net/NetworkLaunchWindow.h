#pragma once
// The launch window of a network game: the squads chosen within the set-up's budget go to
// the server (which keeps its own) instead of launching here, and the serving player may
// go back to the set-up screen.
#include "battlefield/LaunchWindow.h"

class NetworkLaunchWindow : public LaunchWindow {
public:
    NetworkLaunchWindow();
    ~NetworkLaunchWindow() override = default;

    void DrawContents() override;
    void HandleCommand(Event& event) override;

private:
    void SendSquads();
    void BackToSetUp();
    void AskDisconnect();
};

NetworkLaunchWindow& GetNetworkLaunchWindow();
