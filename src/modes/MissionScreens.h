#pragma once
// The windows a mission leads through: the campaign map, the briefing and the result
// screens. The window set registers itself; with none (headless runs) the mission game
// keeps its state and shows nothing.
#include <cstdint>

struct MissionSettings;

class MissionScreens {
public:
    virtual void ShowCampaignMap() = 0;
    virtual void ShowBriefing(const MissionSettings& settings) = 0;
    // The launch screens: the squads the player takes into the battle.
    virtual void ShowSquadSelection(int32_t budget, int32_t squadCount) = 0;
    // The battle is decided and its result delay has passed; a won battle's screen pays
    // the reward.
    virtual void ShowResult(bool won, int32_t rewardBoosts) = 0;

protected:
    ~MissionScreens() = default;
};
