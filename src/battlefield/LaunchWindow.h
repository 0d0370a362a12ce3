#pragma once
// The full-screen step before a battle: the heading, the Launch, Exit and Disconnect
// buttons, and the two-second countdown after which the current game launches the
// squads of the launch tray.
#include <cstdint>

#include "battlefield/WindowButtons.h"
#include "ui/Window.h"

class LaunchWindow : public Window {
public:
    enum Button : int32_t { kLaunch = 0, kExit = 1, kDisconnect = 2 };
    static constexpr float kCountdownSeconds = 2.0f;

    LaunchWindow();

    void OnOpen() override;
    void OnClose() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    void GetToolTip() override;

    int32_t budget = 0;
    float countdown = 0.0f;
    bool launched = false;
    // The launch was asked of the game in this countdown; it is asked once.
    bool launchPosted = false;
    String missionName;
    WindowButtons buttons;

protected:
    // A launch window of a game that launches differently, under its own name.
    explicit LaunchWindow(const char* windowName);

private:
    void PlaceButtons();
    void SetTraysMovable(bool movable);
    // The members of the squad shown in the squad window fade in as the countdown runs.
    void FadeShownSquad() const;
};

LaunchWindow& GetLaunchWindow();
// Whether the launch budget limits the unit and squad trays now: in the mission and
// network games, and in the tutorial while the launch window is open.
bool LaunchBudgetApplies();
// The launch window's budget less what the launch tray takes already: its total for
// units, its total without its largest squad for squads.
int32_t RemainingLaunchBudget(bool forSquads);
