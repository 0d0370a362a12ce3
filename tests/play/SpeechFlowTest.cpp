// Spoken pages end in the running program as they do for a player: the sound device plays
// each frame's time, so a briefing's page gives way to the next once its clip is spoken,
// not before, and the winning window says its reward after the win's own words.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CampaignPlayer.h"
#include "CampaignProfiles.h"
#include "audio/SoundFile.h"
#include "engine/AssetPaths.h"
#include "platform/sys/Random.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::CampaignPlayer;
using play_test::PlayerHarness;

constexpr float kFrameSeconds = 0.02f;

// The length of a spoken clip of the data set, read from the clip itself.
double ClipSeconds(const char* clip) {
    std::unique_ptr<SoundFile> file = SoundFile::Make(SpeechPath(clip));
    if (!file->Open()) return 0.0;
    const double seconds = double(file->GetSize()) / file->Format()->BytesPerSecond();
    file->Close();
    return seconds;
}

// Frames until the text box holds the words.
int FramesUntilSaid(PlayerHarness& player, const std::string& words, int limit) {
    int frames = 0;
    player.FramesUntil(
        [&] {
            ++frames;
            return CampaignPlayer::Says(words);
        },
        limit, "\"" + words + "\" in the text box; it says: " + CampaignPlayer::Said());
    return frames - 1;
}

TEST(SpeechFlowTest, ABriefingsSecondPageFollowsItsSpokenFirstAndTheWinSaysItsReward) {
    play_test::HarnessSettings settings = play_test::WithPictures();
    settings.frameSeconds = kFrameSeconds;
    PlayerHarness player(settings);
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    campaign.SkipTheNextLesson();

    campaign.ClickRowButton("MissionMapWindow", "PlayNextMissionButton");
    player.FramesUntil([&] { return player.IsOpen("MissionBriefingWindow"); }, 300, "the briefing");
    FramesUntilSaid(player, "Three little Mites", 300);
    const double firstPage = ClipSeconds("FirstContactBrief1");
    ASSERT_GT(firstPage, 1.0) << "the first page's clip";
    const int spoken = FramesUntilSaid(player, "Your Vorns follow their patterns", 6000);
    EXPECT_GE(spoken * kFrameSeconds, firstPage) << "the second page came before the first was spoken";
    player.Frames(10);
    EXPECT_TRUE(player.ShowsTextRun(player.Picture(), "Your Vorns follow"));
    player.KeepPicture("speech_briefing_second_page");

    // How long the pages took to be spoken moved the game's random numbers on by a number of
    // frames that follows the machine's load: the battle is fought from one seed, as the
    // campaign's are.
    sys::SRand(play_test::kCampaignSeed);
    campaign.LaunchASquadOf(std::vector<std::string>(5, "Scout"), "speech_first_contact");
    campaign.WaitForTheResult("WinningWindow", "The meadow is clear", "speech_won");
    FramesUntilSaid(player, "Well done! You earned one boost", 6000);
    player.Frames(10);
    EXPECT_TRUE(player.ShowsTextRun(player.Picture(), "Well done!"));
    player.KeepPicture("speech_won_reward");
}

}  // namespace
