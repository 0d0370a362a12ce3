// The squad tray as a player meets it after saving a squad in the squad choice: the saved
// squad shows as its button, in the tray's grid and in its row of recent squads alike.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "core/Color.h"
#include "core/Image.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/Tray.h"

namespace {

using play_test::CampaignPlayer;
using play_test::OnAScriptedClock;
using play_test::PlayerHarness;

// The share of the rectangle's pixels that differ from the tray's own background.
double CoveredShare(const Image& picture, const IntRect& rect, Color background) {
    int covered = 0;
    int all = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const Color pixel = picture.At(x, y);
            const int difference = std::abs(pixel.Red() - background.Red()) +
                                   std::abs(pixel.Green() - background.Green()) +
                                   std::abs(pixel.Blue() - background.Blue());
            covered += difference > 40 ? 1 : 0;
            ++all;
        }
    }
    return all > 0 ? double(covered) / all : 0.0;
}

TEST(LooseSquadTrayTest, ASavedSquadShowsAsItsButtonInTheGridAndAmongTheRecentSquads) {
    PlayerHarness player(OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    CampaignPlayer campaign(player);
    campaign.OpenTheMapAfterItsTour();
    campaign.SkipTheNextLesson();
    campaign.BriefTheNextEntry("loose_squad_tray_briefing");
    campaign.ClickRowButton("MissionBriefingWindow", "PlayButton");
    player.WaitFor("SquadWindow");
    const Point middle = player.WindowPoint("SquadWindow");
    for (int i = 0; i < 3; ++i) {
        player.Drag(campaign.TrayEntryPoint("VornTray", "Scout"), Point(middle.x - 60 + 60 * i, middle.y));
        player.Frames(5);
    }
    player.Click(player.ItemPoint("SquadWindow", "Save"));
    player.WaitFor("SquadNameEditBox");
    player.Type("Trio");
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("SquadNameEditBox");
    // Away from the tray, so that no entry is drawn enlarged under the pointer.
    player.MoveTo(middle);
    player.Frames(10);
    const Image frame = player.Picture();
    player.KeepPicture("loose_squad_tray_saved");

    const auto& tray = dynamic_cast<Tray&>(player.OpenWindow("SquadTray"));
    ASSERT_EQ(tray.recent.Count(), 1) << "the saved squad is the recent one";
    ASSERT_EQ(tray.recentRects.Count(), 1);
    const Point cell = campaign.TrayEntryPoint("SquadTray", "Trio");
    const IntRect& last = tray.cellRects[tray.cellRects.Count() - 1];
    const Color background = frame.At(last.GetCenter().x, last.GetCenter().y);
    const IntRect recent = tray.recentRects[0];
    for (const IntRect& rect : {IntRect(cell.x - 12, cell.y - 12, cell.x + 12, cell.y + 12), recent}) {
        EXPECT_GT(CoveredShare(frame, rect, background), 0.5)
            << "the squad's button fills its cell at " << rect.left << "," << rect.top;
    }
}

}  // namespace
