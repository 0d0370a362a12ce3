// The saved-unit and squad trays over real files: what they list, the cascades of a
// deleted unit through its launchers and squads, the start-up re-save that never writes
// a damaged file back, and the launch budget that crosses entries out.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "battlefield/BattleServices.h"
#include "battlefield/BattlefieldViews.h"
#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "support/LogLines.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "support/WorkingFolder.h"
#include "ui/KillTray.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornSummary.h"
#include "units/WeaponTable.h"
#include "world/SaveFilePaths.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SavedFileTraysTest : public ui_test::UiTest {
protected:
    static void SetUpTestSuite() {
        units_test::LoadChassisTableWithTextures();
        LoadWeaponDefinitions();
    }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }

    void SetUp() override {
        UiTest::SetUp();
        fs::create_directories(folder_.Path() + "/Vorns");
        fs::create_directories(folder_.Path() + "/Squads");
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
        GetTextTable().Set("NoName", "Nameless");
        GetTextTable().Set("CopyName", "Copied");
        GetVornTray().listed = false;
        GetSquadTray().listed = false;
    }
    void TearDown() override {
        GetWindowManager().CloseAllWindows();
        GetVornTray().summaries.Clear();
        GetSquadTray().summaries.Clear();
        UiTest::TearDown();
        world_test::CloseArena(*arena_);
        working_.reset();
    }
    // A unit of the chassis saved under the name; a launcher fires the named unit.
    Vorn* SaveUnit(const char* name, int chassis, const char* ammo = nullptr) {
        Vorn* unit = arena_->NewVorn(0);
        unit->SetPlayer(&GetLocalPlayer());
        unit->BuildBody(chassis);
        if (ammo != nullptr) {
            unit->weapons[0].SetKind(kWeaponVornLauncher);
            unit->weapons[0].SetAmmo(ammo);
        }
        unit->name = name;
        unit->ComputeCost();
        EXPECT_TRUE(unit->SaveFile(name));
        return unit;
    }
    void SaveSquad(const char* name, std::initializer_list<Vorn*> members) {
        Squad squad;
        float x = -10.0f;
        for (Vorn* member : members) {
            member->position = Vector3(x, 0.0f, 0.0f);  // a squad keeps offsets from its centre
            x += 10.0f;
            squad.Add(member);
        }
        EXPECT_TRUE(squad.Save(name));
        squad.Clear();
    }
    bool Exists(const std::string& relative) const { return fs::exists(folder_.Path() + "/" + relative); }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<Arena> arena_;
    BattleServices services_{nullptr};
};

TEST_F(SavedFileTraysTest, ListingSkipsTheCopyNamelessAndSnapshotFiles) {
    Vorn* bug = SaveUnit("Bug", 0);
    SaveUnit("Copied", 0);
    SaveUnit("Nameless", 0);
    SaveUnit("Ant", 0);
    SaveSquad("__Temp", {bug});
    SaveSquad("Pair", {bug});
    GetVornTray().Reload();
    GetSquadTray().Reload();
    ASSERT_EQ(GetVornTray().EntryCount(), 2);
    EXPECT_EQ(GetVornTray().EntryName(0), String("Ant"));  // sorted by name
    EXPECT_EQ(GetVornTray().EntryName(1), String("Bug"));
    ASSERT_EQ(GetSquadTray().EntryCount(), 1);
    EXPECT_EQ(GetSquadTray().EntryName(0), String("Pair"));
}

TEST_F(SavedFileTraysTest, TheNoneFilterHidesTheGridButNotTheRecentRow) {
    Vorn* bug = SaveUnit("Bug", 0);
    SaveUnit("Ant", 0);
    SaveSquad("Pair", {bug});
    VornTray& units = GetVornTray();
    SquadTray& squads = GetSquadTray();
    units.Reload();
    squads.Reload();
    units.MarkMostRecentlyUsed("Bug");
    squads.MarkMostRecentlyUsed("Pair");
    units.nameFilter = kHideAllEntries;
    squads.nameFilter = kHideAllEntries;
    units.Refresh();
    squads.Refresh();
    EXPECT_EQ(units.shownCount, 0);
    EXPECT_EQ(squads.shownCount, 0);
    EXPECT_EQ(units.recent.Count(), 1);
    EXPECT_EQ(squads.recent.Count(), 1);
    units.nameFilter.Clear();
    squads.nameFilter.Clear();
    units.Refresh();
    squads.Refresh();
    EXPECT_EQ(units.shownCount, 2);
    EXPECT_EQ(squads.shownCount, 1);
}

TEST_F(SavedFileTraysTest, DeletingAUnitResavesItsLaunchersAndEmptiesItsSquads) {
    Vorn* bug = SaveUnit("Bug", 0);
    Vorn* carrier = SaveUnit("Carrier", 1, "Bug");
    SaveUnit("Mother", 2, "Carrier");
    SaveSquad("Alone", {bug});
    SaveSquad("Mixed", {bug, carrier});
    GetVornTray().Reload();
    GetSquadTray().Reload();
    Array<String> launchers;
    GetVornTray().FindLaunchersOf("bug", launchers);  // names compare without regard to case
    ASSERT_EQ(launchers.Count(), 2);
    EXPECT_EQ(launchers[0], String("Carrier"));
    EXPECT_EQ(launchers[1], String("Mother"));
    const int32_t carrierCost = GetVornTray().summaries[GetVornTray().FindSummary("Carrier")].cost;

    fs::remove(folder_.Path() + "/Vorns/Bug.VRN");
    services_.OnVornDeleted("Bug");

    EXPECT_LT(GetVornTray().FindSummary("Bug"), 0);
    VornSummary resaved;
    ASSERT_TRUE(resaved.Load("Carrier"));
    EXPECT_LT(resaved.cost, carrierCost);  // its ammunition is gone
    EXPECT_FALSE(Exists("Squads/Alone.SQD"));
    EXPECT_LT(GetSquadTray().FindSummary("Alone"), 0);
    const int32_t mixed = GetSquadTray().FindSummary("Mixed");
    ASSERT_GE(mixed, 0);
    ASSERT_EQ(GetSquadTray().summaries[mixed].entries.Count(), 1);
    EXPECT_EQ(GetSquadTray().summaries[mixed].entries[0].name, String("Carrier"));
}

TEST_F(SavedFileTraysTest, UnitsOfADeletedFileMoveToTheKillTrayWhereEditedUnitsAreKept) {
    class KeepingGame : public ui_test::RecordingGame {
    public:
        bool SendsEditedVornsToKillTray() const override { return true; }
    } keeping;
    SetCurrentGame(&keeping);
    BattlefieldViews views;
    views.Attach(*arena_);
    SaveUnit("Bug", 0);
    Vorn* placed = arena_->PlaceVornAt("Bug", Vector3(40.0f, 40.0f, 0.0f), &GetLocalPlayer());
    ASSERT_NE(placed, nullptr);
    GetVornTray().Reload();
    fs::remove(folder_.Path() + "/Vorns/Bug.VRN");
    services_.OnVornDeleted("Bug");
    EXPECT_LT(arena_->FindObjectIndex(placed), 0);
    EXPECT_TRUE(placed->edited);  // its file is gone: it can only be saved anew
    ASSERT_EQ(GetKillTray().VornCount(), 1);
    EXPECT_EQ(GetKillTray().GetVorn(0), placed);
    GetKillTray().RemoveVorn(placed);
    views.Detach(*arena_);
    SetCurrentGame(&game);
}

TEST_F(SavedFileTraysTest, StartUpResaveLeavesDamagedFilesAndShortenedSquadsAlone) {
    Vorn* bug = SaveUnit("Bug", 0);
    Vorn* ant = SaveUnit("Ant", 0);
    SaveSquad("Pair", {bug, ant});
    SaveSquad("Solo", {bug});
    // A squad formed on the battlefield stands on the rim of the squad's disc, where a
    // member may read back a hair outside; its costs are current, so nothing is wrong.
    Squad rim;
    for (float angle : {0.3f, 1.9f, 4.0f}) {
        Vorn* member = SaveUnit("Rim", 0);
        member->position = Vector3(Squad::kAreaRadius * std::cos(angle), Squad::kAreaRadius * std::sin(angle), 0.0f);
        rim.Add(member);
    }
    EXPECT_TRUE(rim.Save("Rim"));
    rim.Clear();
    // Both squads list a stale member cost, which the pass would put right.
    for (const char* squad : {"/Squads/Pair.SQD", "/Squads/Solo.SQD"}) {
        std::string text = ReadAll(folder_.Path() + squad);
        const std::string cost = "Cost " + std::to_string(bug->cost) + "\n";
        text.replace(text.find(cost), cost.size(), "Cost 1\n");
        std::ofstream(folder_.Path() + squad) << text;
    }
    const std::string damaged = "Type Vorn\nChassisType RobotSmall\nCost 12\nWeapons 2 Laser";
    std::ofstream(folder_.Path() + "/Vorns/Broken.VRN") << damaged;
    // A unit file missing for a moment must not cost the squad its member for good.
    fs::rename(folder_.Path() + "/Vorns/Ant.VRN", folder_.Path() + "/Vorns/Ant.bak");
    const std::string squadBefore = ReadAll(folder_.Path() + "/Squads/Pair.SQD");

    platform_test::LogLines log;
    ResaveSavedFiles();

    // Only the squad whose stale costs could not be put right is named in the log.
    EXPECT_NE(log.Text().find("squad Pair keeps its old costs: 1 of its 2 members"), std::string::npos) << log.Text();
    EXPECT_EQ(log.Text().find("Solo"), std::string::npos) << log.Text();
    EXPECT_EQ(log.Text().find("Rim"), std::string::npos) << log.Text();
    EXPECT_EQ(ReadAll(folder_.Path() + "/Vorns/Broken.VRN"), damaged);
    EXPECT_EQ(ReadAll(folder_.Path() + "/Squads/Pair.SQD"), squadBefore);
    SquadSummary solo;
    ASSERT_TRUE(solo.Load("Solo"));
    EXPECT_EQ(solo.TotalCost(), bug->cost);
    // Read back for placing, the squad formed onto the disc's edge keeps every member.
    ASSERT_TRUE(rim.Load("Rim", -1));
    EXPECT_EQ(rim.members.Count(), 3);
    rim.Clear();
}

TEST_F(SavedFileTraysTest, TheLaunchBudgetCrossesOutWhatNoLongerFits) {
    SaveUnit("Bug", 0);
    GetVornTray().Reload();
    const int32_t cost = GetVornTray().summaries[0].cost;
    ASSERT_GT(cost, 0);
    game.modeName = "MissionGame";
    LaunchWindow& launch = GetLaunchWindow();
    launch.budget = cost;
    EXPECT_TRUE(GetVornTray().IsWithinBudget(0));
    launch.budget = cost - 1;
    EXPECT_FALSE(GetVornTray().IsWithinBudget(0));
    Event grab;
    grab.type = kEventGrabTrayEntry;
    grab.text = "Bug";
    GetVornTray().HandleCommand(grab);
    EXPECT_NE(GetMouse().mode, VornTray::kCarryVorn);  // over the budget: no drag
    game.modeName = "TrainingGame";                    // the training grounds have no budget
    GetVornTray().HandleCommand(grab);
    EXPECT_EQ(GetMouse().mode, VornTray::kCarryVorn);
    EXPECT_EQ(GetMouse().dragText, String("Bug"));
    GetMouse().ShowCursor();
}

TEST_F(SavedFileTraysTest, LaunchSlotsKeepTheBudgetAndLoadOnlyWhatFits) {
    Vorn* bug = SaveUnit("Bug", 0);
    SaveSquad("One", {bug});
    LaunchSquadTray& tray = GetLaunchSquadTray();
    tray.SetMaxSquadCount(2);
    Player& player = GetLocalPlayer();
    player.squads[0].totalCost = 400;
    player.squads[1].totalCost = 500;
    GetLaunchWindow().budget = 1000;
    // 200 - 400 + 900 = 700 on slot 0; 600 - 500 + 900 = 1000 on slot 1, 601 is one too many.
    EXPECT_TRUE(tray.Fits(200, 0));
    EXPECT_TRUE(tray.Fits(600, 1));
    EXPECT_FALSE(tray.Fits(601, 1));
    player.squads[0].totalCost = 0;
    player.squads[1].totalCost = 0;

    Event load;
    load.type = kEventLoadSquadTray;
    load.text = "One";
    load.value = 5;  // a script's slot beyond the launched squads is refused
    tray.HandleCommand(load);
    EXPECT_NE(TakeSounds().back().find("ILLEGAL.OGG"), std::string::npos);
    GetLaunchWindow().budget = bug->cost - 1;  // not even one member fits
    load.value = 1;
    tray.HandleCommand(load);
    EXPECT_EQ(player.squads[1].Count(), 0);
    GetLaunchWindow().budget = bug->cost;
    tray.HandleCommand(load);
    EXPECT_EQ(player.squads[1].Count(), 1);
    EXPECT_EQ(tray.TotalVornCount(), 1);
    player.squads[1].DestroyMembers();
    tray.SetMaxSquadCount(1);
}

}  // namespace
