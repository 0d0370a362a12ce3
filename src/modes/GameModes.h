#pragma once
// The game modes and the campaign's windows, made once at start-up: the training,
// mission and tutorial games, the text box the professor talks in, the campaign map,
// the briefing, the winning window and the winning screen. The menu game belongs to the
// shell, which runs it under the front-end screens.
#include <cstdint>

#include "modes/MissionBriefingWindow.h"
#include "modes/MissionGame.h"
#include "modes/MissionLosingHost.h"
#include "modes/MissionMapWindow.h"
#include "modes/MissionScreens.h"
#include "modes/TrainingGame.h"
#include "modes/TutorialGame.h"
#include "modes/WinningScreen.h"
#include "modes/WinningWindow.h"
#include "screens/FrontEndShell.h"
#include "ui/TextBox.h"

class ModeShell;

// Shows the campaign's windows for the mission game.
class CampaignWindows final : public MissionScreens {
public:
    CampaignWindows(MissionGame& mission, MissionMapWindow& map, MissionBriefingWindow& briefing,
                    WinningWindow& winning, TextBox& textBox);

    void ShowCampaignMap() override;
    void ShowBriefing(const MissionSettings& settings) override;
    void ShowSquadSelection(int32_t budget, int32_t squadCount) override;
    void ShowResult(bool won, int32_t rewardBoosts) override;

    // The text box along the top of the screen showing the pages.
    void ShowPages(const Array<TextPage>& pages);

private:
    MissionGame& mission_;
    MissionMapWindow& map_;
    MissionBriefingWindow& briefing_;
    WinningWindow& winning_;
    TextBox& textBox_;
};

struct GameModes {
    GameModes(Player& local, Player& computer);

    TextBox textBox;
    TrainingGame training;
    MissionGame mission;
    TutorialGame tutorial;
    MissionMapWindow map;
    MissionBriefingWindow briefing;
    WinningWindow winning;
    WinningScreen winningScreen;
    CampaignWindows campaignWindows;
    MissionLosingHost losingHost;
};

// Makes the modes and windows for the local and computer players, with the campaign of
// the current language; the shell calls it once.
GameModes& CreateGameModes(ModeShell& shell);
// The modes, or none before start-up made them.
GameModes* GetGameModes();
void DestroyGameModes();
// What the game menu starts; false for a target this program does not have yet.
bool StartFrontEndTarget(FrontEndTarget target, int32_t mission);
