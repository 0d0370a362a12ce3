// The squad editor as a player reaches it, in the squad choice of a hosted network game:
// a ring of small units laid out with the count menu, a large unit dropped next to one of
// them (marked and refused where its own body would overlap, taken where it fits), the
// squad saved under a name and its file read back: every member kept, none overlapping.
// Its save button shows the owner's whole portrait.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Image.h"
#include "engine/Mouse.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "modes/SquadWindow.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"
#include "support/ScopedEnv.h"
#include "units/Vorn.h"

namespace {

namespace fs = std::filesystem;
using play_test::PlayerHarness;

// The unit files a player brought: a new profile has none, nor may it build a large body.
void BringUnits(PlayerHarness& player, const std::string& profile) {
    const fs::path vorns = player.Folder() / "Players" / profile / "Vorns";
    for (const char* unit : {"Scout.VRN", "Guard.VRN"}) fs::copy_file(player.Folder() / "Vorns" / unit, vorns / unit);
}

// The squad editor looks straight down on the squad's centre from 50 high, its view
// pi / 4 high: a ground point's place on screen.
Point OnScreen(PlayerHarness& player, float x, float y) {
    const Window& window = player.OpenWindow("SquadWindow");
    const float perUnit = float(window.Height()) * 0.5f / (50.0f * std::tan(0.3926991f));
    const Point centre = player.WindowPoint("SquadWindow");
    return Point(centre.x + int(std::lround(x * perUnit)), centre.y - int(std::lround(y * perUnit)));
}

const Squad& EditedSquad() { return *GetSquadWindow().squad; }

// Every pair of members stands apart by more than their two radii.
::testing::AssertionResult NoneOverlap(const Squad& squad) {
    for (int32_t i = 0; i < squad.Count(); ++i) {
        for (int32_t j = i + 1; j < squad.Count(); ++j) {
            const Vorn& a = *squad.members[i];
            const Vorn& b = *squad.members[j];
            const float apart = std::hypot(a.position.x - b.position.x, a.position.y - b.position.y);
            if (apart < a.GetRadius() + b.GetRadius()) {
                return ::testing::AssertionFailure()
                       << a.name.CStr() << " and " << b.name.CStr() << " overlap: " << apart << " apart";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int CountNamed(const Squad& squad, const char* name) {
    int count = 0;
    for (const Vorn* member : squad.members) count += member->name == name ? 1 : 0;
    return count;
}

// The pixels of the area in about the owner's primary colour: the figure of a portrait
// painted for that owner. Empty when there are none.
IntRect OwnerColouredBounds(const Image& frame, const IntRect& area) {
    const Color owner = GetLocalPlayer().primaryColor;
    IntRect bounds(area.right, area.bottom, area.left - 1, area.top - 1);
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            const Color pixel = frame.At(x, y);
            const int apart = std::abs(pixel.Red() - owner.Red()) + std::abs(pixel.Green() - owner.Green()) +
                              std::abs(pixel.Blue() - owner.Blue());
            if (apart >= 90) continue;
            bounds = IntRect(std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
                             std::max(bounds.bottom, y));
        }
    }
    return bounds;
}

// From the game menu, hosting alone, to the squad choice.
void ReachTheSquadChoice(PlayerHarness& player) {
    player.TakeTheCampaignMapTour();
    player.ClickItem("GameMenu", "StartNetworkGame");
    player.WaitFor("ServerWaitWindow");
    player.ClickItem("ServerWaitWindow", "SetupGame");
    player.WaitFor("NetworkGameSetupWindow");
    player.ClickItem("NetworkGameSetupWindow", "SelectSquads");
    player.WaitFor("NetworkLaunchWindow");
    player.Frames(10);
}

TEST(SquadEditorTest, ARingOfSmallUnitsAndALargeOneNextToItAreSavedAndReadBackWithoutOverlap) {
    platform_test::ScopedEnv anyPort("VORNS_GAME_PORT", "0");
    PlayerHarness player(play_test::WithPictures());
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    BringUnits(player, "Tester");
    ReachTheSquadChoice(player);

    // The save button shows its owner's whole portrait in its middle, not the corner of
    // one (or of several) that landed on it.
    const Image chosen = player.Picture();
    const IntRect save = player.ItemRect("SquadWindow", "Save");
    const IntRect figure = OwnerColouredBounds(chosen, save);
    ASSERT_LE(figure.left, figure.right) << "no portrait on the save button";
    EXPECT_NEAR(figure.left + figure.right, save.left + save.right, 4);
    EXPECT_NEAR(figure.top + figure.bottom, save.top + save.bottom, 6);

    // Three Scouts on a circle of radius 8 through (8, 0), laid out by the count menu.
    ASSERT_EQ(GetSquadWindow().layout, SquadWindow::kCircle) << "a fresh editor lays out in a circle";
    player.Drag(player.EntryPoint("VornTray", "Scout"), OnScreen(player, 8, 0), win::MouseButton::Left,
                play_test::kCtrl);
    player.WaitFor("SquadCountMenu");
    player.ClickItem("SquadCountMenu", "3");
    player.WaitUntilClosed("SquadCountMenu");
    player.Click(OnScreen(player, 8, 0));
    ASSERT_EQ(EditedSquad().Count(), 3);

    // A Guard 4 from the Scout at (8, 0) would overlap it: marked while carried, refused
    // when dropped. 6 away it fits.
    player.Press(player.EntryPoint("VornTray", "Guard"));
    player.MoveTo(OnScreen(player, 12, -4));
    player.MoveTo(OnScreen(player, 12, 0));
    EXPECT_EQ(GetMouse().drawMarkers, 1) << "no refusal mark over the Scout";
    player.KeepPicture("squad_editor_refused_drag");
    player.Release(OnScreen(player, 12, 0));
    EXPECT_EQ(EditedSquad().Count(), 3) << "a Guard overlapping a Scout was taken";
    player.Drag(player.EntryPoint("VornTray", "Guard"), OnScreen(player, 14, 0));
    ASSERT_EQ(EditedSquad().Count(), 4);
    EXPECT_TRUE(NoneOverlap(EditedSquad()));
    // The members come alive on the disc: an idle wait runs down or an idle animation plays.
    const Vorn& first = *EditedSquad().members[0];
    const float idleWait = first.idleAnimationDelay;
    const int32_t state = first.animationState;
    player.Frames(30);
    EXPECT_TRUE(first.idleAnimationDelay < idleWait || first.animationState != state) << "state " << state;
    const Image placed = player.Picture();
    player.KeepPicture("squad_editor_ring_and_guard");
    EXPECT_TRUE(PlayerHarness::ShowsAScreen(placed, "the squad's disc", player.OpenWindow("SquadWindow").Rect()));

    player.ClickItem("SquadWindow", "Save");
    player.WaitFor("SquadNameEditBox");
    player.Type("Ring");
    player.TapKey(win::kKeyReturn);
    player.WaitUntilClosed("SquadNameEditBox");
    // The saved file read back as dragging it from the squad tray reads it, which moves
    // any member pressed against another.
    Squad saved;
    ASSERT_TRUE(saved.Load("Ring", -1));
    EXPECT_EQ(saved.Count(), 4);
    EXPECT_EQ(CountNamed(saved, "Scout"), 3);
    EXPECT_EQ(CountNamed(saved, "Guard"), 1);
    EXPECT_TRUE(NoneOverlap(saved));
    saved.DestroyMembers();
}

// The players outlive the program; once it has ended none of their squads may still name
// units of its arena, which a later program of the process would hand back to a freed pool.
TEST(SquadEditorTest, AnEndedProgramLeavesNoSquadNamingItsUnits) {
    platform_test::ScopedEnv anyPort("VORNS_GAME_PORT", "0");
    {
        PlayerHarness player;
        BringUnits(player, "Tester");
        ReachTheSquadChoice(player);
        player.Drag(player.EntryPoint("VornTray", "Scout"), OnScreen(player, 0, 0));
        ASSERT_EQ(EditedSquad().Count(), 1);
    }
    for (const Squad& squad : GetLocalPlayer().squads) EXPECT_EQ(squad.Count(), 0);
}

TEST(SquadEditorTest, AfterAClickOnALayoutTheUnitTrayStillGivesItsUnits) {
    platform_test::ScopedEnv anyPort("VORNS_GAME_PORT", "0");
    PlayerHarness player;
    BringUnits(player, "Tester");
    ReachTheSquadChoice(player);
    player.ClickItem("SquadWindow", "Line");
    player.Drag(player.EntryPoint("VornTray", "Scout"), OnScreen(player, 0, 0));
    EXPECT_EQ(EditedSquad().Count(), 1);
}

}  // namespace
