// The second star from a new profile: the first star won, the second star's lessons on
// patterns skipped, its missions won as their briefings tell and its lesson on squads
// followed, until the map offers the third star's first lesson.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "CampaignSecondStar.h"
#include "modes/GameModes.h"
#include "platform/sys/Random.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::CampaignPlayer;
using play_test::PlayerHarness;

TEST(CampaignSecondStarTest, ANewProfileWinsTheSecondStarAndReachesTheLessonOnUpgrades) {
    play_test::HarnessSettings settings = play_test::WithPictures();
    // Each frame a fiftieth of a second of game time: the battles are the same on a busy
    // machine as on an idle one, and one seed makes every run fight the same battles.
    settings.frameSeconds = 0.02f;
    PlayerHarness player(settings);
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    sys::SRand(20261208);
    CampaignPlayer campaign(player);
    campaign.WinTheFirstStarsMissions();

    play_test::PlayTheSecondStar(player, campaign);

    const std::vector<int> reached = campaign.ReachedEntries();
    ASSERT_FALSE(reached.empty());
    const int next = reached.back();
    EXPECT_EQ(std::string(GetGameModes()->mission.campaign.entryNames[next].CStr()), "UpgradesTutorial");
    campaign.BriefTheNextEntry("upgrades_briefing");
    EXPECT_EQ(GetGameModes()->mission.missionIndex, next) << "the map's next mission is the lesson on upgrades";
}

}  // namespace
