// The control tray: which buttons show, and what a click on each does.
#include <gtest/gtest.h>

#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "core/FileHelpers.h"
#include "game/Event.h"
#include "game/Player.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "ui/ConfirmRestoreLastPlayPointMenu.h"
#include "ui/ErrorBox.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/SaveFilePaths.h"

namespace {

using ui_test::UiTest;

class ControlTrayTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
        for (int32_t& level : player_.upgradeLevels) level = 0;
        game.firstPlayer = &player_;
        game.secondPlayer = &enemy_;
        arena_->placingPlayer = &player_;
    }
    void TearDown() override {
        UiTest::TearDown();
        world_test::CloseArena(*arena_);
    }
    void Pick(const char* entry) {
        Event event;
        event.type = kEventPickTrayEntry;
        event.text = entry;
        GetControlTray().HandleCommand(event);
        game.DispatchEvents();
    }
    std::unique_ptr<Arena> arena_;
    Player player_;
    Player enemy_;
};

TEST_F(ControlTrayTest, ButtonsShowTheStateAClickWouldChangeTo) {
    ControlTray& tray = GetControlTray();
    game.playerPaused = 1;
    EXPECT_TRUE(tray.IsEntryShown(0));   // Play
    EXPECT_FALSE(tray.IsEntryShown(1));  // Pause
    EXPECT_TRUE(tray.IsEntryShown(2));   // the friend places: the button offers the enemy
    EXPECT_FALSE(tray.IsEntryShown(3));
    player_.upgradeLevels[9] = -1;  // no Play upgrade: never shown
    EXPECT_FALSE(tray.IsEntryShown(0));
    player_.upgradeLevels[9] = 0;
    GetWindowManager().OpenWindow(&GetArenaWindow());
    Pick("Play");
    EXPECT_EQ(game.playerPaused, 0);
    EXPECT_TRUE(tray.IsEntryShown(1));
    Pick("TeamEnemy");
    EXPECT_EQ(arena_->placingPlayer, &enemy_);
    EXPECT_TRUE(tray.IsEntryShown(3));
}

TEST_F(ControlTrayTest, SignalsAndRefusalsAfterTheBattle) {
    Pick("SetSignal1");
    EXPECT_EQ(player_.signal1, 1);
    Pick("SetSignal2");
    Pick("ClearSignal1");
    EXPECT_EQ(player_.signal1, 0);
    EXPECT_EQ(player_.signal2, 1);
    Pick("NoSuchButton");
    game.battleOver = 1;
    TakeSounds();
    Pick("ClearSignal2");
    EXPECT_EQ(player_.signal2, 1);
    ASSERT_FALSE(TakeSounds().empty());
}

TEST_F(ControlTrayTest, RestoringAsksOnlyWhenAUnitWasEditedAndNeedsAPlayPoint) {
    platform_test::TempFolder folder;
    const String base((folder.Path() + "/").c_str());
    SetDataFolders(base, base, base);
    // A snapshot an earlier field left behind is no play point for the field a new
    // visit opens.
    arena_->SaveScenario("__Temp");
    GetWindowManager().CloseWindow(&GetArenaWindow());
    arena_->SaveScenario("__Temp");
    GetWindowManager().OpenWindow(&GetArenaWindow());
    Vorn* vorn = arena_->PlaceChassisAt(0, Vector3(40.0f, 40.0f, 0.0f), &player_);
    ASSERT_NE(vorn, nullptr);
    vorn->edited = 1;
    // The world never ran: nothing to go back to, so the field stays and the player is told.
    Pick("RestoreToLastPlayPoint");
    EXPECT_FALSE(GetConfirmRestoreLastPlayPointMenu().open);
    EXPECT_TRUE(GetErrorBox().open);
    EXPECT_EQ(arena_->CountObjectsOfKind(kKindVorn), 1);
    GetWindowManager().CloseWindow(&GetErrorBox());
    GetWindowManager().OpenWindow(&GetArenaWindow());
    Pick("Play");
    Pick("RestoreToLastPlayPoint");
    EXPECT_TRUE(GetConfirmRestoreLastPlayPointMenu().open);
    GetWindowManager().CloseWindow(&GetConfirmRestoreLastPlayPointMenu());
    vorn->edited = 0;
    ASSERT_TRUE(arena_->PlaceObjectAt(kKindRock, 0, Vector3(90.0f, 90.0f, 0.0f)));
    Pick("RestoreToLastPlayPoint");
    EXPECT_FALSE(GetConfirmRestoreLastPlayPointMenu().open);
    // The field as play found it: the unit, and not the rock placed after.
    EXPECT_EQ(arena_->CountObjectsOfKind(kKindVorn), 1);
    EXPECT_EQ(arena_->CountObjectsOfKind(kKindRock), 0);
    // Leaving the field takes its snapshot out of the player's folder.
    EXPECT_TRUE(FileExists(ScenarioFilePath("__Temp")));
    GetWindowManager().CloseWindow(&GetArenaWindow());
    EXPECT_FALSE(FileExists(ScenarioFilePath("__Temp")));
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

}  // namespace
