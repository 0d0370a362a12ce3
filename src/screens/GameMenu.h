#pragma once
// The game menu of the chosen player: the campaign, the training grounds, network play,
// customisation and the winning scene, the later ones only once the profile has earned
// them; and the way back to the title.
#include "screens/FrontEndMenu.h"
#include "screens/FrontEndShell.h"

class GameMenu : public FrontEndMenu {
public:
    enum Button : int32_t {
        kContinueCampaign,
        kTraining,
        kBack,
        kStartNetworkGame,
        kJoinNetworkGame,
        kCustomize,
        kShowWinningMovie,
    };

    GameMenu();

    void HandleCommand(Event& event) override;
    // The scene's units are the player's: they wear his colours, whoever's figure was
    // drawn last on another screen, a network game's or another profile's.
    void DrawContents() override;

protected:
    void SetButtonVisibility() override;
    void StartScene() override;

private:
    // Closes every window, this menu being where the mode returns to, and starts it.
    void Start(FrontEndTarget target, int32_t mission);
};

GameMenu& GetGameMenu();
