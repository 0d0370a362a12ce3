// Keys a quick hand gives within one frame: the program takes in all of a frame's keys
// before its windows handle them, and still reads the modifier held with each.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;

bool ShowsFrameMeter(const PlayerHarness& player) {
    return std::ranges::any_of(player.TextsShown(),
                               [](const play_test::ShownText& run) { return run.text.starts_with("FPS"); });
}

TEST(KeyChordTest, CtrlAndFWithinOneFrameShowTheFrameMeter) {
    PlayerHarness player;
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    player.MoveTo(player.WindowPoint("ArenaWindow", 0.5f, 0.5f));
    ASSERT_FALSE(ShowsFrameMeter(player));
    player.Chord({win::kKeyControl, win::kKeyF});
    player.Frames(20);
    EXPECT_TRUE(ShowsFrameMeter(player));
    // Again hides it: the meter is the arena window's, which outlives a start-up in this
    // process, and later tests here expect a new program's screen.
    player.Chord({win::kKeyControl, win::kKeyF});
    player.Frames(20);
    EXPECT_FALSE(ShowsFrameMeter(player));
}

}  // namespace
