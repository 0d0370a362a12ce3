#pragma once
// Steps the input and editor flows share: reaching the training ground as a new player
// does, Escape on an open list, and comparing two pictures of the screen.
#include <cstdlib>
#include <functional>

#include "core/Image.h"
#include "modes/ButtonRowWindow.h"
#include "modes/MissionMapWindow.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace input_play {

// Escape on the list or menu `open` opens closes it and does not ask `question`.
inline void ExpectEscapeClosesOnly(play_test::PlayerHarness& player, const char* question,
                                   const std::function<void()>& open, const char* list) {
    open();
    player.WaitFor(list);
    player.TapKey(win::kKeyEscape);
    player.WaitUntilClosed(list);
    player.Frames(10);
    EXPECT_FALSE(player.IsOpen(question)) << "Escape on " << list << " asked " << question;
    if (player.IsOpen(question)) {
        player.TapKey(win::kKeyEscape);
        player.WaitUntilClosed(question);
    }
}

// A new player's game menu offers only the campaign; its map's tour, paged with Space,
// ends with the map's buttons, whose training button opens the training ground.
inline void EnterTrainingGround(play_test::PlayerHarness& player) {
    player.ClickItem("GameMenu", "ContinueCampaign");
    player.FramesUntil([&] { return player.IsOpen("MissionMapWindow"); }, 600, "the campaign map opens");
    auto& map = static_cast<ButtonRowWindow&>(player.OpenWindow("MissionMapWindow"));
    const int training = MissionMapWindow::kTrainingGrounds;
    for (int page = 0; page < 30 && (player.IsOpen("TextBox") || !map.IsButtonShown(training)); ++page) {
        player.TapKey(win::kKeySpace);
    }
    const IntRect button = map.ButtonRect(training);
    ASSERT_GT(button.right, button.left) << "the campaign map shows no training button";
    player.Click(button.GetCenter());
    player.FramesUntil([&] { return player.IsOpen("ArenaWindow") && player.Mode() == "TrainingGame"; }, 600,
                       "the training ground opens");
    player.Frames(5);
}

// More than a few pixels differ by more than a little: the picture moved.
inline bool Differs(const Image& a, const Image& b) {
    if (a.IsEmpty() || b.IsEmpty() || a.Width() != b.Width() || a.Height() != b.Height()) return true;
    int changed = 0;
    const int count = a.Width() * a.Height();
    for (int i = 0; i < count; ++i) {
        const Color p = a.Pixels()[i];
        const Color q = b.Pixels()[i];
        const int d = std::abs(p.Red() - q.Red()) + std::abs(p.Green() - q.Green()) + std::abs(p.Blue() - q.Blue());
        if (d > 24) ++changed;
    }
    return changed > 200;
}

}  // namespace input_play
