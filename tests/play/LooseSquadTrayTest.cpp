// The squad tray as a player meets it after saving a squad in the squad choice: the saved
// squad shows as its button, in the tray's grid and in its row of recent squads alike.
// Eighteen units lassoed on the training ground, wider than the squad's circle, are saved
// as a squad that reads back whole, every member apart; saved again they are not asked
// about, but a few of them saved under the name offered ask first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "CampaignLessons.h"
#include "CampaignPlayer.h"
#include "battlefield/ArenaWindow.h"
#include "core/Color.h"
#include "core/Image.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "ui/EditBox.h"
#include "ui/Tray.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

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

std::vector<const Vorn*> OwnUnits() {
    std::vector<const Vorn*> units;
    for (const WorldObject* object : gArena->Objects()) {
        if (object->kind == kKindVorn && !object->removed && static_cast<const Vorn*>(object)->owner == &GetLocalPlayer())
            units.push_back(static_cast<const Vorn*>(object));
    }
    return units;
}

// Every two units stand apart by their radii at least.
::testing::AssertionResult StandApart(const std::vector<const Vorn*>& units) {
    for (size_t i = 0; i < units.size(); ++i) {
        for (size_t j = i + 1; j < units.size(); ++j) {
            const Vector3 between = gArena->NearestImage(units[i]->position, units[j]->position) - units[i]->position;
            if (std::hypot(between.x, between.y) < units[i]->GetRadius() + units[j]->GetRadius())
                return ::testing::AssertionFailure() << "units " << i << " and " << j << " overlap";
        }
    }
    return ::testing::AssertionSuccess();
}

// "Save squad" on the selection, accepting the name the box offers.
void SaveTheSelectionAsOffered(PlayerHarness& player, const char* offered) {
    player.ClickEntry("SelectionTray", "SaveSquad");
    player.WaitFor("SquadNameEditBox");
    EXPECT_STREQ(dynamic_cast<EditBox&>(player.OpenWindow("SquadNameEditBox")).text.CStr(), offered);
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("SquadNameEditBox");
    player.Frames(5);
}

int32_t MembersIn(const char* squadName) {
    Squad saved;
    saved.Load(squadName, -1);
    const int32_t count = saved.Count();
    saved.DestroyMembers();
    return count;
}

TEST(LooseSquadTrayTest, EighteenUnitsLassoedWiderThanTheSquadsCircleAreSavedWhole) {
    PlayerHarness player(OnAScriptedClock());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    player.EnterTheTrainingGrounds();
    // Two groups of nine, far apart: the lasso takes more than the squad's circle holds,
    // and forming the squad presses them together. Each unit is dropped where the test
    // decides, so the layout is the same on every run.
    for (const float across : {0.3f, 0.7f}) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const size_t before = OwnUnits().size();
                player.Drag(player.EntryPoint("ObjectTray", "SmallFriendVorn"),
                            player.WindowPoint("ArenaWindow", across + 0.04f * float(column - 1), 0.35f + 0.1f * float(row)));
                player.FramesUntil([&] { return OwnUnits().size() == before + 1; }, 60, "the unit on the field");
            }
        }
    }
    float widest = 0.0f;
    for (const Vorn* a : OwnUnits()) {
        for (const Vorn* b : OwnUnits())
            widest = std::max(widest, (gArena->NearestImage(a->position, b->position) - a->position).Length());
    }
    ASSERT_GT(widest, 2.0f * Squad::kAreaRadius) << "the groups fit the squad's circle";
    // The lasso is the circle on the ground whose diameter the drag draws: drawn past the
    // units seen furthest left and right.
    Point left(10000, 0), right(-10000, 0);
    for (const Vorn* unit : OwnUnits()) {
        IntRect rect;
        ASSERT_TRUE(GetArenaWindow().UnitScreenRect(*unit, rect));
        const Point at = rect.GetCenter();
        if (at.x < left.x) left = at;
        if (at.x > right.x) right = at;
    }
    const Point past((right.x - left.x) / 5, (right.y - left.y) / 5);
    const Point lassoFrom(left.x - past.x, left.y - past.y);
    player.MoveTo(lassoFrom);
    player.Drag(lassoFrom, Point(right.x + past.x, right.y + past.y), win::MouseButton::Left, play_test::kShift);
    player.WaitFor("SelectionTray");
    player.Frames(5);
    ASSERT_EQ(GetArenaWindow().Selection().Count(), 18);
    player.ClickEntry("SelectionTray", "SaveSquad");
    player.WaitFor("SquadNameEditBox");
    player.Type("Edge");
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("SquadNameEditBox");
    EXPECT_FALSE(player.IsOpen("ErrorBox")) << "a member was left out";
    player.KeepPicture("loose_squad_tray_edge_saved");
    // Read back as the squad editors and launch screens read it: every member, apart.
    Squad saved;
    ASSERT_TRUE(saved.Load("Edge", -1));
    EXPECT_EQ(saved.Count(), 18);
    EXPECT_TRUE(saved.leftOut.IsEmpty());
    EXPECT_TRUE(StandApart(std::vector<const Vorn*>(saved.members.begin(), saved.members.end())));
    saved.DestroyMembers();

    SaveTheSelectionAsOffered(player, "Edge");
    EXPECT_FALSE(player.IsOpen("ConfirmOverwriteSquadMenu")) << "asked before saving the same members again";
    EXPECT_EQ(MembersIn("Edge"), 18);

    // Three of them saved under the name offered, the squad's own: the file holds others.
    ArenaWindow& field = GetArenaWindow();
    for (int tries = 0; tries < 40 && field.Selection().Count() > 3; ++tries) {
        IntRect rect;
        ASSERT_TRUE(field.UnitScreenRect(*static_cast<const Vorn*>(field.Selection()[0]), rect));
        player.PressKey(win::kKeyShift);
        player.Click(rect.GetCenter());
        player.ReleaseKey(win::kKeyShift);
        player.Frames(2);
    }
    ASSERT_EQ(field.Selection().Count(), 3);
    SaveTheSelectionAsOffered(player, "Edge");
    ASSERT_TRUE(player.IsOpen("ConfirmOverwriteSquadMenu")) << "three saved over the eighteen without a question";
    player.KeepPicture("loose_squad_tray_edge_overwrite_asked");
    EXPECT_EQ(MembersIn("Edge"), 18) << "written before the answer";
    player.ClickItem("ConfirmOverwriteSquadMenu", "Yes");
    player.WaitUntilClosed("ConfirmOverwriteSquadMenu");
    EXPECT_EQ(MembersIn("Edge"), 3);
}

}  // namespace
