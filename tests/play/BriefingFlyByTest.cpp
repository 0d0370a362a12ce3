// A new player's first goal mission is briefed over its own battlefield: below the text
// box the fly-by camera shows the arena and moves along the mission's fly-by path.
#include <gtest/gtest.h>

#include "core/Image.h"
#include "core/IntRect.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;

// Pixels that differ between two pictures inside the rectangle.
int ChangedPixels(const Image& before, const Image& after, const IntRect& rect) {
    int changed = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) changed += before.At(x, y).argb != after.At(x, y).argb ? 1 : 0;
    }
    return changed;
}

// The campaign map after its tour, as a new profile first sees it.
void OpenTheCampaignMap(PlayerHarness& player) {
    player.ClickItem("GameMenu", "ContinueCampaign");
    player.FramesUntil([&] { return player.Mode() == "TutorialGame" && player.IsOpen("MissionMapWindow"); }, 300,
                       "the campaign map's tour");
    player.FramesUntil(
        [&] {
            player.TapKey(win::kKeySpace);
            return player.Mode() == "MissionGame" && player.IsOpen("MissionMapWindow");
        },
        300, "the map after the tour");
}

TEST(BriefingFlyByTest, TheFirstMissionIsBriefedOverItsMovingBattlefield) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    OpenTheCampaignMap(player);

    // The first entry is a lesson; a player who knows it skips it from its briefing.
    player.ClickItem("MissionMapWindow", "PlayNextMissionButton");
    player.WaitFor("MissionBriefingWindow", 300);
    player.ClickItem("MissionBriefingWindow", "SkipTutorialButton");
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 300, "the map after skipping the lesson");

    player.ClickItem("MissionMapWindow", "PlayNextMissionButton");
    player.WaitFor("MissionBriefingWindow", 300);
    player.Frames(10);
    const Image first = player.Picture();
    player.KeepPicture("briefing_flyby_first");
    player.Frames(40);
    const Image later = player.Picture();
    player.KeepPicture("briefing_flyby_later");
    if (first.IsEmpty()) return;
    // The fly-by camera's viewport: 32 pixels in from the sides, between the text box and
    // the buttons.
    const IntRect flyBy(32, 275, first.Width() - 31, first.Height() - 127);
    EXPECT_TRUE(PlayerHarness::ShowsAScreen(first, "the fly-by over the mission's arena", flyBy));
    EXPECT_GT(ChangedPixels(first, later, flyBy), (flyBy.right - flyBy.left) * (flyBy.bottom - flyBy.top) / 20)
        << "the camera flies along its path";
}

}  // namespace
