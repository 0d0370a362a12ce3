// A lesson's briefing has no fly-by: a figure of the idle scene stands on the stage while
// the guide reads the text box, and it stands below the box, where the player sees it.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Image.h"
#include "core/IntRect.h"
#include "support/PlayerHarness.h"
#include "support/StageFigurePixels.h"
#include "ui/TextBox.h"

namespace {

using play_test::PlayerHarness;

int FigurePixelsIn(const Image& picture, const IntRect& rect) {
    int count = 0;
    for (int y = std::max(rect.top, 0); y <= std::min(rect.bottom, picture.Height() - 1); ++y) {
        for (int x = std::max(rect.left, 0); x <= std::min(rect.right, picture.Width() - 1); ++x) {
            count += stage_pixels::IsFigure(picture.At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

TEST(BriefingIdleSceneTest, TheFirstLessonsFigureStandsBelowTheTextBox) {
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.TakeTheCampaignMapTour();
    player.Open("GameMenu", "ContinueCampaign", "MissionMapWindow");
    // The first entry of the map is the first lesson.
    player.ClickItem("MissionMapWindow", "PlayNextMissionButton");
    player.WaitFor("MissionBriefingWindow", 300);
    const IntRect box = player.OpenWindow("TextBox").Rect();
    const IntRect play = player.ItemRect("MissionBriefingWindow", "PlayButton");
    // The rows just past the box's frame, and the stage from there to the row of buttons.
    const int belowFrame = box.bottom + 16;
    const IntRect underTheBox(0, belowFrame, 1023, belowFrame + 30);
    const IntRect stage(0, belowFrame, 1023, play.top - 1);
    // While the figure looks about and steps from side to side.
    for (int shot = 0; shot < 4; ++shot) {
        player.Frames(40);
        const Image picture = player.Picture();
        if (shot == 0) player.KeepPicture("briefing_idle_scene");
        if (picture.IsEmpty()) return;
        EXPECT_EQ(FigurePixelsIn(picture, underTheBox), 0) << "the figure runs on under the box in picture " << shot;
        EXPECT_GT(FigurePixelsIn(picture, stage), 4000) << "the figure is seen in picture " << shot;
    }
}

}  // namespace
