// The whole campaign as one new player plays it: the first star's missions won, the second
// star's missions won and its lesson on squads followed, the third star's lesson on
// upgrades followed and its missions won, the last lesson followed, the kick-off won and
// the free play it opens briefed. Each star's steps are written beside its own helpers;
// this test chains them, so every star starts where the earlier ones left the profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignLastStars.h"
#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "CampaignSecondStar.h"
#include "CampaignThirdStar.h"
#include "modes/GameModes.h"
#include "platform/sys/Random.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::CampaignPlayer;
using play_test::PlayerHarness;

// The entry the map offers last, by its file's name.
std::string TheNextEntry(CampaignPlayer& campaign) {
    const std::vector<int> reached = campaign.ReachedEntries();
    if (reached.empty()) return std::string();
    return GetGameModes()->mission.campaign.entryNames[reached.back()].CStr();
}

TEST(CampaignWholeTest, ANewProfileWinsEveryStarsMissionsAndFollowsTheirLessons) {
    PlayerHarness player(play_test::OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    // Started from one seed, every run fights the same battles.
    sys::SRand(20261208);
    CampaignPlayer campaign(player);
    campaign.WinTheFirstStarsMissions();
    play_test::PlayTheSecondStar(player, campaign);
    ASSERT_EQ(TheNextEntry(campaign), "UpgradesTutorial");
    play_test::PlayTheUpgradesLessonAndFirstMissions(player, campaign);
    ASSERT_EQ(TheNextEntry(campaign), "Summit");
    play_test::PlayFromTheSummitToTheNetworkLesson(player, campaign);
    play_test::WinTheKickOffAndBriefTheFreePlay(campaign);
}

}  // namespace
