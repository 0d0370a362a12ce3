// The winning window as a player meets it after the first mission: the celebration plays
// under the professor's text box, and its figures stand wholly below that box.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "core/Color.h"
#include "core/Image.h"
#include "platform/sys/Random.h"
#include "support/PlayerHarness.h"
#include "support/StageFigurePixels.h"
#include "ui/TextBox.h"

namespace {

using play_test::CampaignPlayer;
using play_test::OnAScriptedClock;
using play_test::PlayerHarness;

using stage_pixels::IsFigure;

int FiguresIn(const Image& picture, int top, int bottom) {
    int count = 0;
    for (int y = std::max(top, 0); y <= std::min(bottom, picture.Height() - 1); ++y) {
        for (int x = 0; x < picture.Width(); ++x) count += IsFigure(picture.At(x, y)) ? 1 : 0;
    }
    return count;
}

// The first row below the text box's blue frame, found down its left side.
int BelowTheFrame(const Image& picture, const IntRect& box) {
    const int x = box.left + 30;
    int below = box.bottom + 1;
    for (int y = box.top; y < std::min(box.bottom + 40, picture.Height()); ++y) {
        const Color edge = picture.At(x, y);
        if (edge.Blue() > 120 && edge.Blue() > edge.Red() + 40) below = y + 1;
    }
    return below;
}

TEST(LooseWinningWindowTest, TheCelebrationsFiguresStandWhollyBelowTheTextBox) {
    PlayerHarness player(OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    sys::SRand(20261208);
    CampaignPlayer campaign(player);
    campaign.WinTheFirstContact("loose_winning");
    campaign.WaitForTheResult("WinningWindow", "The meadow is clear", "loose_winning_window");
    const IntRect box = player.OpenWindow("TextBox").Rect();
    const IntRect buttons = player.ItemRect("WinningWindow", "PlayButton");
    // Through the whole celebration, its cheering and jumping included.
    for (int shot = 0; shot < 8; ++shot) {
        const Image frame = player.Picture();
        const int below = BelowTheFrame(frame, box);
        EXPECT_EQ(FiguresIn(frame, below, below + 2), 0)
            << "a figure runs on under the text box at row " << below << " in picture " << shot;
        EXPECT_GT(FiguresIn(frame, below, buttons.top), 2000) << "the figures are seen in picture " << shot;
        if (shot == 7) player.KeepPicture("loose_winning_window_late");
        player.Frames(40);
    }
}

}  // namespace
