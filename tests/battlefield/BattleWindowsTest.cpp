// The battle's windows and trays as a player and a script drive them: the paint, object
// and selection trays, the launch countdown, the losing window's hints and scenes, and
// the scoreboard and results lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "battlefield/ArenaWindow.h"
#include "battlefield/BattlefieldViews.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/LosingWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectCountMenu.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/PaintTray.h"
#include "battlefield/ResultsWindow.h"
#include "battlefield/SelectionTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "modes/SquadWindow.h"
#include "platform/window/Keys.h"
#include "support/TestArena.h"
#include "ui/ErrorBox.h"
#include "ui/Scoreboard.h"
#include "ui/UiServices.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

using ui_test::UiTest;

void Offer(const char* key, bool offered) { GetLocalPlayer().SetUpgradeLevel(FindUpgradeItem(key), offered ? 0 : -1); }

class BattleWindowsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
        game.firstPlayer = &GetLocalPlayer();
        game.secondPlayer = &GetOpponentPlayer();
        views_.Attach(*arena_);
        TakeSounds();
    }
    void TearDown() override {
        GetWindowManager().CloseAllWindows();
        UiTest::TearDown();
        views_.Detach(*arena_);
        world_test::CloseArena(*arena_);
    }
    // A command as a script posts it, handed to the window.
    static void Send(Window& window, int32_t type, const char* text = "", int32_t value = 0) {
        Event event;
        event.type = type;
        event.text = text;
        event.value = value;
        window.HandleCommand(event);
    }
    bool Heard(const char* sound) {
        const std::vector<std::string> sounds = TakeSounds();
        return std::any_of(sounds.begin(), sounds.end(),
                           [&](const std::string& s) { return s.find(sound) != std::string::npos; });
    }

    std::unique_ptr<Arena> arena_;
    BattlefieldViews views_;
};

TEST_F(BattleWindowsTest, PaintTrayChoosesBrushesAndPutsTheOtherScreensAway) {
    PaintTray tray;
    // A fresh tray: medium brush, square, rounded edge, dirt.
    EXPECT_EQ(tray.brushSize, PaintTray::kMedium);
    EXPECT_FLOAT_EQ(tray.brush.radius, PaintTray::BrushRadius(PaintTray::kMedium));
    EXPECT_EQ(tray.brush.shape, 1);
    EXPECT_FALSE(tray.brush.flat);
    EXPECT_EQ(tray.brush.tool, 1);
    EXPECT_EQ(PaintTray::BrushRadius(-5), PaintTray::BrushRadius(PaintTray::kLarge));
    EXPECT_EQ(PaintTray::BrushRadius(99), PaintTray::BrushRadius(PaintTray::kTiny));
    EXPECT_GT(PaintTray::BrushRadius(PaintTray::kLarge), PaintTray::BrushRadius(PaintTray::kTiny));

    for (const char* tool : {"TinyBrush", "Circle", "Plateau", "Lava"}) Send(tray, kEventPickTrayEntry, tool);
    EXPECT_FLOAT_EQ(tray.brush.radius, PaintTray::BrushRadius(PaintTray::kTiny));
    EXPECT_EQ(tray.brush.shape, 0);
    EXPECT_TRUE(tray.brush.flat);
    EXPECT_EQ(tray.brush.tool, 7);
    const int32_t width = arena_->GetTerrain().Width();
    Send(tray, kEventPickTrayEntry, "Grow");
    EXPECT_EQ(arena_->GetTerrain().Width(), width + 2);
    Send(tray, kEventPickTrayEntry, "Shrink");
    EXPECT_EQ(arena_->GetTerrain().Width(), width);
    // Clearing with a height tool chosen lays grass.
    Send(tray, kEventPickTrayEntry, "RaiseFast");
    Send(tray, kEventClearMap);
    EXPECT_EQ(arena_->GetTerrainType(50.0f, 50.0f), kTerrainGrass);
    Send(tray, kEventPickTrayEntry, "Sand");
    Send(tray, kEventClearMap);
    EXPECT_EQ(arena_->GetTerrainType(50.0f, 50.0f), kTerrainSand);

    Offer("LavaPaint", false);
    Offer("GrassPaint", true);
    EXPECT_FALSE(tray.IsEntryShown(15));
    EXPECT_TRUE(tray.IsEntryShown(8));

    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&GetVornTray());
    manager.OpenWindow(&GetSquadTray());
    manager.OpenWindow(&GetMiniMap());
    manager.OpenWindow(&tray);
    EXPECT_FALSE(GetVornTray().open);
    EXPECT_FALSE(GetSquadTray().open);
    EXPECT_TRUE(GetMiniMap().open);
    EXPECT_FALSE(GetWindowTray().IsAllowed(&GetVornTray()));
    EXPECT_TRUE(GetWindowTray().IsAllowed(&GetMiniMap()));
    manager.CloseWindow(&tray);
    ASSERT_EQ(manager.OpenWindows().Count(), 3);
    EXPECT_TRUE(GetVornTray().open);
    EXPECT_TRUE(GetSquadTray().open);
    EXPECT_TRUE(GetWindowTray().IsAllowed(&GetVornTray()));
}

TEST_F(BattleWindowsTest, ObjectTrayOffersThePlacingTeamsThingsAndTheCountMenuPlaces) {
    ObjectTray& tray = GetObjectTray();
    for (const char* key : {"SmallVorn", "FriendGoalObject", "EnemyGoalObject", "TreeObject"}) Offer(key, true);
    arena_->placingPlayer = &GetLocalPlayer();
    EXPECT_TRUE(tray.IsEntryShown(3));
    EXPECT_FALSE(tray.IsEntryShown(6));
    EXPECT_TRUE(tray.IsEntryShown(10));
    EXPECT_FALSE(tray.IsEntryShown(11));
    arena_->placingPlayer = &GetOpponentPlayer();
    EXPECT_FALSE(tray.IsEntryShown(3));
    EXPECT_TRUE(tray.IsEntryShown(6));
    EXPECT_TRUE(tray.IsEntryShown(11));
    arena_->placingPlayer = nullptr;

    Send(tray, kEventGrabTrayEntry, "Tree");
    EXPECT_EQ(GetMouse().mode, ObjectTray::kCarryObject);
    EXPECT_EQ(tray.carriedKind, kKindTree);
    EXPECT_EQ(tray.carriedVariant, ObjectTray::kRandomVariant);
    GetMouse().ShowCursor();

    ObjectCountMenu& menu = GetObjectCountMenu();
    menu.kind = kKindRock;
    menu.variant = 0;
    menu.placePoint = Vector3(80.0f, 80.0f, 0.0f);
    GetTextTable().Set("Rock", "Rock");
    GetTextTable().Set("PlaceAcrossArena", "Everywhere");
    menu.UpdateTitle();
    EXPECT_EQ(menu.title.Find("Rock"), 0);
    scripted->PressKey(win::kKeyShift);
    Frame();
    menu.UpdateTitle();
    EXPECT_EQ(menu.title, String("Everywhere"));
    scripted->ReleaseKey(win::kKeyShift);
    Frame();
    const int32_t before = arena_->ObjectCount();
    GetWindowManager().OpenWindow(&menu);
    menu.OnChoice(0);  // the first button places exactly one
    EXPECT_EQ(arena_->ObjectCount(), before + 1);
    EXPECT_FALSE(menu.open);
}

TEST_F(BattleWindowsTest, SelectionTrayOffersUnitCommandsOnlyForUnits) {
    ArenaWindow& window = GetArenaWindow();
    WorldObject* rock = world_test::AddObjectOfKind(*arena_, kKindRock, 40.0f, 40.0f);
    window.Select(rock);
    SelectionTray& tray = GetSelectionTray();
    EXPECT_TRUE(tray.open);
    EXPECT_FALSE(tray.IsEntryShown(0));
    EXPECT_TRUE(tray.IsEntryShown(3));
    Vorn* unit = arena_->PlaceChassisAt(0, Vector3(80.0f, 80.0f, 0.0f), &GetLocalPlayer());
    ASSERT_NE(unit, nullptr);
    window.Select(unit);
    EXPECT_TRUE(tray.IsEntryShown(0));
    Send(tray, kEventToggleVIPStatusSelection);
    EXPECT_NE(unit->vip, 0);
    Send(tray, kEventDeleteSelection);
    EXPECT_TRUE(Heard("DELETE.OGG"));
    EXPECT_FALSE(tray.open);
    EXPECT_TRUE(window.Selection().IsEmpty());
    EXPECT_TRUE(rock->removed);
}

TEST_F(BattleWindowsTest, LaunchCountsDownOnceAndRefusesAnEmptyLaunch) {
    LaunchWindow& launch = GetLaunchWindow();
    game.modeName = "MissionGame";
    GetWindowManager().OpenWindow(&launch);
    Send(launch, kEventPickEntry, "Launch");
    EXPECT_TRUE(GetErrorBox().open);  // no unit in any squad
    EXPECT_TRUE(Heard("ILLEGAL.OGG"));
    EXPECT_FLOAT_EQ(launch.countdown, 0.0f);
    GetWindowManager().CloseWindow(&GetErrorBox());

    Vorn* unit = arena_->NewVorn(0);
    unit->chassisType = 0;
    GetLocalPlayer().squads[0].Add(unit);
    GetSquadWindow().ShowSquad(&GetLocalPlayer().squads[0]);
    Send(launch, kEventPickEntry, "Launch");
    EXPECT_FLOAT_EQ(launch.countdown, LaunchWindow::kCountdownSeconds);
    InputEvent tick;
    tick.kind = kInputFrameTick;
    game.frameTime = 0.5f;
    int launches = 0;
    for (int i = 0; i < 10; ++i) {
        game.posted.clear();
        launch.HandleMouse(tick);
        game.DispatchEvents();
        for (const ui_test::Posted& posted : game.posted) launches += posted.type == kEventLaunchMission ? 1 : 0;
        if (i == 0) {
            EXPECT_FLOAT_EQ(unit->launchFade, 0.5f);  // the shown squad fades in with the count
        }
    }
    EXPECT_FLOAT_EQ(unit->launchFade, 2.0f);
    EXPECT_TRUE(launch.launched);
    EXPECT_EQ(launches, 1);  // the window stays open, yet the squads go once
    GetLocalPlayer().squads[0].DestroyMembers();
}

// Editing a launch slot shows its squad in the squad window, where the player edits it.
TEST_F(BattleWindowsTest, ALaunchSlotChosenForEditingIsTheSquadWindowsSquad) {
    LaunchSquadTray& tray = GetLaunchSquadTray();
    tray.SetMaxSquadCount(3);
    GetSquadWindow().OnOpen();
    EXPECT_EQ(tray.ShownSquad(), 0);  // the ring is on the squad the window opens on
    Send(tray, kEventEditTrayEntry, tray.EntryName(1).CStr());
    EXPECT_EQ(GetSquadWindow().squad, &GetLocalPlayer().squads[1]);
    EXPECT_EQ(tray.ShownSquad(), 1);
    GetSquadWindow().OnOpen();  // the next selection starts on squad 0 again
    EXPECT_EQ(tray.ShownSquad(), 0);
    tray.SetMaxSquadCount(1);
}

TEST_F(BattleWindowsTest, LosingWindowPicksScenesByUpgradeAndStepsHints) {
    Offer("SmallVorn", true);
    GetLocalPlayer().SetUpgradeLevel(115, -1);
    GetLocalPlayer().SetUpgradeLevel(119, -1);
    EXPECT_STREQ(LosingWindow::ChooseLosingScene(16383), "SmallLose");
    EXPECT_STREQ(LosingWindow::ChooseLosingScene(16384), "SmallEnemyWin");
    EXPECT_STREQ(LosingWindow::ChooseLosingScene(32767), "SmallEnemyWin");
    GetLocalPlayer().SetUpgradeLevel(119, 0);
    EXPECT_STREQ(LosingWindow::ChooseLosingScene(32767), "LargeEnemyWin");
    GetLocalPlayer().SetUpgradeLevel(119, -1);

    LosingWindow& window = GetLosingWindow();
    LosingHint silent;
    silent.words.Append("quiet");
    window.ClearHints();
    window.AddHint(&silent);
    window.ShowNextHint();  // a hint without a spoken line is passed over
    EXPECT_EQ(window.currentHint, 1);
    window.ShowNextHint();
    EXPECT_EQ(window.currentHint, 1);  // all shown: it stays

    struct NoTexts : LosingWindowHost {
        int32_t LosingTextCount() const override { return texts; }
        bool CountsReplayTries() const override { return false; }
        void ShowLosingText() override { ++shown; }
        void RetryMission() override {}
        void OpenTraining() override {}
        int shown = 0;
        int32_t texts = 0;
    } host;
    window.host = &host;
    GetLocalPlayer().lastMissionTries = 3;
    Send(window, kEventWindowPrivate);
    EXPECT_EQ(GetLocalPlayer().lastMissionTries, 3);  // no texts: nothing to step to
    EXPECT_EQ(host.shown, 0);
    // "Another hint" is offered only when there is another text to show.
    for (int32_t texts : {0, 1, 2}) {
        host.texts = texts;
        window.OnOpen();
        EXPECT_EQ(window.buttons.IsVisible(LosingWindow::kNextHint), texts >= 2) << texts << " texts";
    }
    window.host = nullptr;
    StringArray words;
    words.Append("go");
    words.Append("on");
    EXPECT_EQ(JoinWithSpaces(words), String("go on "));
}

TEST_F(BattleWindowsTest, ScoreboardRowsAndResultLines) {
    Scoreboard& board = GetScoreboard();
    GetPlayerRoster().networkPlayers.Clear();
    board.Refresh();
    EXPECT_EQ(board.Height(), int32_t(FontLineHeight() * Scoreboard::kTextScale));  // the header alone

    Player red;
    red.name = "Red";
    GetPlayerRoster().networkPlayers.Append(&red);
    Vorn* unit = arena_->PlaceChassisAt(0, Vector3(80.0f, 80.0f, 0.0f), &red);
    ASSERT_NE(unit, nullptr);
    unit->vip = 1;
    world_test::AddObjectOfKind(*arena_, kKindRock, 40.0f, 40.0f);
    red.kills = 4;
    board.ResetStatistics();
    EXPECT_EQ(red.kills, 0);
    EXPECT_EQ(red.vornsAlive, 1);  // units only
    EXPECT_EQ(red.vipCount, 1);
    board.Refresh();
    EXPECT_EQ(board.Height(), 2 * int32_t(FontLineHeight() * Scoreboard::kTextScale));

    red.goalCount = 3;
    GetTextTable().Set("ResultsGoals", "goals");
    EXPECT_EQ(ResultsWindow::ResultLine(red, 3), String("3 goals"));
    EXPECT_TRUE(ResultsWindow::ResultLine(red, 9).IsEmpty());
    GetPlayerRoster().networkPlayers.Clear();
}

}  // namespace
