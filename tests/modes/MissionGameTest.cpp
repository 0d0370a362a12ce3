// The campaign mode headless: a mission briefed from its files, launched, won and lost by
// its goal, the result shown once after its delay; a missing mission file stays on the map;
// the battle's songs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "audio/Music.h"
#include "data/DataFolder.h"
#include "engine/Mouse.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "modes/MissionGame.h"
#include "modes/MissionScreens.h"
#include "support/LogLines.h"
#include "support/TempFolder.h"
#include "support/VornTestWorld.h"
#include "support/WorkingFolder.h"
#include "ui/ErrorBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Beacon.h"
#include "world/LaunchPoint.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"

namespace {

class RecordingScreens : public MissionScreens {
public:
    void ShowCampaignMap() override { ++maps; }
    void ShowBriefing(const MissionSettings&) override { ++briefings; }
    void ShowSquadSelection(int32_t, int32_t) override {}
    void ShowResult(bool won, int32_t reward) override {
        ++results;
        lastWon = won;
        lastReward = reward;
    }
    int maps = 0, briefings = 0, results = 0, lastReward = -1;
    bool lastWon = false;
};

// Songs noted as 'W' (war) or 'S' (sneak) instead of played.
class SongNotingMission final : public MissionGame {
public:
    using MissionGame::MissionGame;
    ~SongNotingMission() override { StopMusic(); }
    StreamSound* PlaySong() override {
        songs += warMusic ? 'W' : 'S';
        return reinterpret_cast<StreamSound*>(&songs);
    }
    void StopSong() override { ++stops; }
    void ReleaseSong() override { ++releases; }

    std::string songs;
    int stops = 0;
    int releases = 0;
};

class MissionGameTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        platform_test::WriteRaw(folder / "Missions/English/MissionMap.txt",
                                "Star Home\nFirst \"The First\"\nGone Missing\n");
        platform_test::WriteRaw(folder / "Missions/English/First.MIS",
                                "Goal DestroyAllEnemies 60\nMaxSquadCount 9\nRewardBoosts 3\n"
                                "LosingText\nA\nEnd\nLosingText\nB\nEnd\nLosingText\nC\nEnd\n");
        inside = std::make_unique<app_test::WorkingFolder>(folder.Path());
        mission.LoadCampaign("English");
        mission.SetScreens(&screens);
        red.Init();
        red.SetName("Tester");
        std::filesystem::create_directories("Players/Tester");
    }
    void TearDown() override {
        GetMouse().active = 1;
        SetMusicOff(false);
        // The battlefield window clears the arena when it closes, so it goes while the arena is there.
        GetWindowManager().CloseAllWindows();
        // The briefing took the computer player into the roster; it goes with this test.
        GetPlayerRoster().RemovePlayer(&blue);
        inside.reset();
        VornTestWorld::TearDown();
    }
    // Frames of a tenth of a second.
    void Run(float seconds) {
        mission.frameTime = 0.1f;
        for (float t = 0.0f; t < seconds; t += 0.1f) mission.Update();
    }
    Vorn* LaunchOne() {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(kRobotSmall);
        unit->SetPlayer(&red);
        red.squads[0].Add(unit);
        mission.Launch();
        return unit;
    }

    // Frame ticks of half a second through the input step's first look.
    void Tick(int frames) {
        mission.frameTime = 0.5f;
        InputEvent tick;
        tick.Set(kInputFrameTick, 0, Point());
        for (int i = 0; i < frames; ++i) mission.PreviewInputEvent(tick);
    }
    void Brief(const char* missionText) {
        platform_test::WriteRaw(folder / "Missions/English/First.MIS", missionText);
        mission.SetMission(0);
        ASSERT_TRUE(mission.StartBriefing());
    }

    platform_test::TempFolder folder;
    std::unique_ptr<app_test::WorkingFolder> inside;
    RecordingScreens screens;
    SongNotingMission mission{red, blue};
};

TEST_F(MissionGameTest, WonMissionShowsItsResultOnceAfterTheDelay) {
    mission.SetMission(0);
    ASSERT_TRUE(mission.StartBriefing());
    EXPECT_EQ(screens.briefings, 1);
    EXPECT_EQ(mission.LaunchSquadCount(), 4);
    EXPECT_EQ(red.lastMission, 0);
    Vorn* enemy = AddUnit(&blue, kRobotSmall, 100, 100, 0);
    LaunchOne();
    Run(1.0f);
    EXPECT_TRUE(mission.battleRunning);
    enemy->removed = true;
    Run(0.1f);
    EXPECT_FALSE(mission.battleRunning);
    EXPECT_TRUE(mission.won);
    Run(3.5f);
    EXPECT_EQ(screens.results, 0);
    Run(1.0f);
    Run(10.0f);
    EXPECT_EQ(screens.results, 1);
    EXPECT_TRUE(screens.lastWon);
    EXPECT_EQ(screens.lastReward, 3);
    mission.PayReward();
    mission.PayReward();  // both buttons, or one pressed twice: paid once
    EXPECT_EQ(red.boosts, 3);
    EXPECT_EQ(red.missionWins[0], 1);
    EXPECT_EQ(mission.missionIndex, 1);
    ASSERT_TRUE(std::filesystem::exists("Players/Tester/Tester.DATA"));
    mission.SetMission(0);
    ASSERT_TRUE(mission.StartBriefing());  // replaying a won mission pays nothing
    mission.rewardPaid = false;
    mission.PayReward();
    EXPECT_EQ(red.boosts, 3);
}

TEST_F(MissionGameTest, LostMissionAndItsLosingText) {
    mission.SetMission(0);
    ASSERT_TRUE(mission.StartBriefing());
    AddUnit(&blue, kRobotSmall, 100, 100, 0);
    Vorn* mine = LaunchOne();
    mine->removed = true;  // the only launched unit is gone
    Run(0.1f);
    EXPECT_FALSE(mission.won);
    Run(8.5f);
    EXPECT_EQ(screens.results, 1);
    EXPECT_FALSE(screens.lastWon);
    red.lastMissionTries = 4;
    EXPECT_EQ(mission.LosingTextIndex(), 1);
}

// A launch onto an island of one point in a lava field: the box names to the player the
// members the island has no room for, as a drop's does.
TEST_F(MissionGameTest, ALaunchNamesTheMembersTheFieldHasNoRoomFor) {
    mission.SetMission(0);
    ASSERT_TRUE(mission.StartBriefing());
    Terrain& terrain = arena->GetTerrain();
    for (int i = 0; i < terrain.Width(); ++i) {
        for (int j = 0; j < terrain.Height(); ++j)
            terrain.CellAt(i, j).type = i == 8 && j == 8 ? kTerrainGrass : kTerrainLava;
    }
    LaunchPoint* point = arena->NewLaunchPoint();
    point->SetPoint(Vector2(80.0f, 80.0f));
    arena->launchPoints.Append(point);
    constexpr int kMembers = 8;
    for (int i = 0; i < kMembers; ++i) {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(kRobotSmall);
        unit->SetPlayer(&red);
        unit->name = "Scout";
        unit->position = Vector3(float(i % 3) * 4.0f, float(i / 3) * 4.0f, 0.0f);
        red.squads[0].Add(unit);
    }
    mission.Launch();
    const int placed = arena->CountObjectsOfKind(kKindVorn);
    ASSERT_LT(placed, kMembers);
    ASSERT_TRUE(GetWindowManager().IsOpen(&GetErrorBox()));
    ASSERT_EQ(GetErrorBox().message.Count(), 1);
    StringArray named;
    for (int i = placed; i < kMembers; ++i) named.Append("Scout");
    EXPECT_STREQ(GetErrorBox().message[0].CStr(), Squad::LeftOutText(named, "SquadMembersNoRoom").CStr());
    // The camera looks at the members placed, in the screen's middle: the box stands above.
    const IntRect screen = UiScreenRect();
    EXPECT_LT(GetErrorBox().bottom, (screen.top + screen.bottom) / 2);
}

TEST_F(MissionGameTest, MissingMissionStaysOnTheMapAndBadIndicesSelectNone) {
    mission.SetMission(1);
    EXPECT_FALSE(mission.StartBriefing());
    EXPECT_EQ(screens.maps, 1);
    EXPECT_EQ(screens.briefings, 0);
    mission.SetMission(-5);
    EXPECT_EQ(mission.missionIndex, -1);
    mission.SetMission(2);
    EXPECT_EQ(mission.missionIndex, -1);
    mission.SetMission(0);
    mission.EndBattle(false, true);  // given up before launching: back to the briefing
    EXPECT_EQ(screens.briefings, 1);
    EXPECT_EQ(screens.results, 0);
}

// The briefing lists the computer player, so the scenario's "#AI" units are its own and a
// battle against them is not won before it is fought.
TEST_F(MissionGameTest, ScenarioEnemiesBelongToTheComputerAndTheBattleIsFought) {
    blue.name = "#AI";
    mission.SetMission(0);
    ASSERT_TRUE(mission.StartBriefing());
    EXPECT_GE(GetPlayerRoster().networkPlayers.Find(&blue), 0);
    const std::string scenarios = (data_test::DataRoot() / "Scenarios").string() + "/";
    SetDataFolders("Vorns\\", "Squads\\", scenarios.c_str());
    ASSERT_TRUE(arena->LoadScenario("Meadow"));
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
    int computerUnits = 0;
    for (WorldObject* object : arena->Objects()) {
        if (object->kind != kKindVorn) continue;
        EXPECT_EQ(static_cast<Vorn*>(object)->owner, &blue);
        ++computerUnits;
    }
    EXPECT_GT(computerUnits, 0);
    LaunchOne();
    Run(1.0f);
    EXPECT_TRUE(mission.battleRunning);
    mission.End();
    EXPECT_LT(GetPlayerRoster().networkPlayers.Find(&blue), 0);
}

// A lesson without a briefing file of its own goes straight to its script.
TEST_F(MissionGameTest, ALessonWithoutItsOwnBriefingStartsItsScript) {
    platform_test::WriteRaw(folder / "Missions/English/MissionMap.txt", "Star Home\nBasicsTutorial \"Lesson\"\n");
    mission.LoadCampaign("English");
    mission.SetMission(0);
    EXPECT_TRUE(mission.StartBriefing());
    EXPECT_EQ(screens.briefings, 0);
    // No tutorial game is attached here, so the unread lesson leaves the player on the map.
    EXPECT_EQ(screens.maps, 1);
}

TEST_F(MissionGameTest, TheBattleSongFollowsTheFocusAndTheSwitchAndStopsWithTheBattle) {
    mission.SetMission(0);
    ASSERT_TRUE(mission.StartBriefing());
    AddUnit(&blue, kRobotSmall, 100, 100, 0);
    LaunchOne();
    EXPECT_EQ(mission.songs, "W");  // destroying enemies is a war
    GetMouse().active = 0;
    Tick(3);
    EXPECT_EQ(mission.song, nullptr);
    EXPECT_EQ(mission.releases, 1);
    GetMouse().active = 1;
    Tick(1);
    EXPECT_EQ(mission.songs, "W");
    Tick(1);
    EXPECT_EQ(mission.songs, "WW");  // a second after the focus came back

    SetCurrentGame(&mission);
    ToggleMusic();
    EXPECT_EQ(mission.song, nullptr);
    ToggleMusic();
    EXPECT_EQ(mission.songs, "WWW");
    SetCurrentGame(&game);

    mission.EndBattle(false, false);
    EXPECT_EQ(mission.stops, 1);
    GetMouse().active = 0;
    Tick(1);
    GetMouse().active = 1;
    Tick(4);
    EXPECT_EQ(mission.songs, "WWW");  // no song after the battle
}

TEST_F(MissionGameTest, TheMissionFileCanNameTheKindOfSong) {
    const auto launchedSong = [this](const char* missionText) {
        Brief(missionText);
        mission.songs.clear();
        LaunchOne();
        return mission.songs;
    };
    EXPECT_EQ(launchedSong("Goal ReachBeacon\n"), "S");
    EXPECT_EQ(launchedSong("Goal ReachBeacon\nMusic War\n"), "W");
    EXPECT_EQ(launchedSong("Goal SaveVIP 60\nMusic Sneak\n"), "S");
    EXPECT_EQ(mission.releases, 2);  // each launch releases the last battle's song
    SetMusicOff(true);
    EXPECT_EQ(launchedSong("Goal SaveVIP 60\n"), "");
}

// Every briefing clears the field, beacons and all, before it places the mission's beacons:
// those of the briefing before are gone by then and must not be released twice.
TEST_F(MissionGameTest, ABeaconClearedWithTheFieldIsNotReleasedAgain) {
    platform_test::LogLines log;
    Brief("Goal ReachBeacon\n");
    mission.PlaceBeacons();
    ASSERT_NE(mission.localBeacon, nullptr);
    arena->ClearBattlefield(false);
    EXPECT_EQ(mission.localBeacon, nullptr);
    mission.PlaceBeacons();
    ASSERT_NE(mission.localBeacon, nullptr);
    EXPECT_GE(arena->FindObjectIndex(mission.localBeacon), 0);
    EXPECT_EQ(log.Text().find("ignored the release"), std::string::npos) << log.Text();
}

}  // namespace
