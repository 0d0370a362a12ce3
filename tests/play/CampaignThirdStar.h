#pragma once
// The third star's first half as a player plays it: the lesson on upgrades followed to its
// end, the captive freed and the hunt won. Each stage starts and ends on the campaign map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "support/PlayerHarness.h"

namespace play_test {

// The lesson on upgrades: it reads out the upgrade window, and the player buys the small
// chassis' speed and accepts.
inline std::vector<LessonStep> UpgradesSteps(PlayerHarness& player) {
    const auto clickTheMark = [&player] {
        player.Click(CampaignPlayer::Pointed());
        player.Frames(10);
    };
    const auto readOn = [] {};
    return {{"Every mission you win earns boosts", readOn},
            {"Each column is one chassis size", readOn},
            {"These buttons improve the weapons", readOn},
            {"click the speed button", clickTheMark},
            {"The number shows the level", readOn},
            {"The sliders paint your Vorns", readOn},
            {"Press Accept.", clickTheMark}};
}

inline void PlayTheUpgradesLesson(PlayerHarness& player, CampaignPlayer& campaign) {
    campaign.StartTheLesson("upgrades");
    campaign.FollowLesson("upgrades", UpgradesSteps(player));
    campaign.WaitForTheMap("the map after the lesson on upgrades");
}

}  // namespace play_test
