// The boxes that name saved files and set the server's numbers: names usable as file
// names, a taken name asks first (a squad's whenever its file may hold other members), a
// failed save says so, numbers saturate and a number
// outside its range is refused with the range named.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

#include "UiTestSupport.h"
#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Game.h"
#include "platform/window/Keys.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/WorkingFolder.h"
#include "ui/ConfirmOverwriteScenarioMenu.h"
#include "ui/ConfirmOverwriteSquadMenu.h"
#include "ui/ConfirmOverwriteVornMenu.h"
#include "ui/ErrorBox.h"
#include "ui/NetworkSettings.h"
#include "ui/SavedFileTrays.h"
#include "ui/ScenarioNameEditBox.h"
#include "ui/ServerBudgetEditBox.h"
#include "ui/ServerGameTimerEditBox.h"
#include "ui/SquadNameEditBox.h"
#include "ui/TimerEditBox.h"
#include "ui/VornNameEditBox.h"
#include "ui/WindowManager.h"
#include "units/Action.h"
#include "units/Vorn.h"
#include "world/SaveFilePaths.h"

namespace {

using ui_test::UiTest;

class NameBoxTest : public UiTest {};

TEST_F(NameBoxTest, TypedNumbersSaturateAndStopAtTheFirstOtherCharacter) {
    EXPECT_EQ(EditBox::ReadNumber("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(EditBox::ReadNumber("2147483647"), INT32_MAX);
    EXPECT_EQ(EditBox::ReadNumber("12.5"), 12);
    EXPECT_EQ(EditBox::ReadNumber(""), 0);
}

class RecordingSettings : public NetworkSettings {
public:
    int32_t TotalBudget() const override { return 1000; }
    int32_t PlayerCount() const override { return 2; }
    int32_t BudgetPerPlayer() const override { return 500; }
    int32_t Budget() const override { return budget; }
    int32_t GameTimer() const override { return timer; }
    int32_t LaunchDelay() const override { return 0; }
    int32_t MeteorDelay() const override { return 0; }
    void SetBudget(int32_t value) override {
        budget = value;
        ++budgetsSet;
    }
    void SetGameTimer(int32_t value) override { timer = value; }
    void SetLaunchDelay(int32_t) override {}
    void SetMeteorDelay(int32_t) override {}
    int32_t budget = -1;
    int32_t budgetsSet = 0;
    int32_t timer = 60;
};

std::string Said(const EditBox& box) {
    std::string said;
    for (const String& line : box.Complaint()) said += std::string(said.empty() ? "" : " ") + line.CStr();
    return said;
}

// Each number box opens on the value now set, selected, so the first digit typed starts
// a new number; a number outside the range keeps the box open, says the range, sets
// nothing and is selected in turn. A figure typed is taken even when it is the one shown;
// only a box left as it opened sets nothing.
TEST_F(NameBoxTest, NumberBoxesReplaceTheirValueAndRefuseOneOutsideTheirRangeByName) {
    GetTextTable().Set("BudgetLimits", "Between ");
    GetTextTable().Set("SecondsLimits", "Between ");
    GetTextTable().Set("LimitsAnd", " and ");
    GetTextTable().Set("BudgetLimits2", " credits");
    GetTextTable().Set("SecondsLimits2", " seconds");
    RecordingSettings settings;
    settings.budget = 300;
    SetNetworkSettings(&settings);
    ServerBudgetEditBox& box = GetServerBudgetEditBox();
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    EXPECT_EQ(box.text, "300") << "the box starts from the budget now set, not the largest";
    MovePointer(box.left + 10, box.top + 5);
    Type("450");
    TapKey(win::kKeyReturn);
    EXPECT_EQ(settings.budget, 450);
    EXPECT_FALSE(box.open);
    for (const char* refused : {"501", "10", "99999999999"}) {
        GetWindowManager().OpenWindow(&box);
        Type(refused);
        TapKey(win::kKeyReturn);
        EXPECT_TRUE(box.open) << refused;
        EXPECT_EQ(Said(box), "Between 25 and 500 credits") << refused;  // the total over 2 players
        EXPECT_EQ(settings.budget, 450) << refused;
        Type("42");
        EXPECT_STREQ(box.text.CStr(), "42") << "typed after " << refused;
        TapKey(win::kKeyEscape);
    }
    const int32_t setBefore = settings.budgetsSet;
    GetWindowManager().OpenWindow(&box);
    TapKey(win::kKeyReturn);
    EXPECT_EQ(settings.budgetsSet, setBefore) << "a box left as it opened sets nothing";
    GetWindowManager().OpenWindow(&box);
    Type("450");
    TapKey(win::kKeyReturn);
    EXPECT_EQ(settings.budgetsSet, setBefore + 1) << "the figure shown, typed, is taken";
    EXPECT_FALSE(GetErrorBox().open);

    ServerGameTimerEditBox& timer = GetServerGameTimerEditBox();
    GetWindowManager().OpenWindow(&timer);
    GetWindowManager().BringToFront(&timer);
    Type("86401");
    TapKey(win::kKeyReturn);
    EXPECT_EQ(Said(timer), "Between 0 and 86400 seconds");
    TapKey(win::kKeyEnd);
    TapKey(win::kKeyBackspace);
    TapKey(win::kKeyReturn);
    EXPECT_EQ(settings.timer, 8640);
    SetNetworkSettings(nullptr);
}

TEST_F(NameBoxTest, ATimerTakesOnePointAndTellsTheEditorOfAChangeOrOfANewTimerGivenUp) {
    struct Listener : PatternChangeListener {
        void ApplyChanges() override { ++changes; }
        void DropAction(Action* action) override { dropped = action; }
        int changes = 0;
        Action* dropped = nullptr;
    } listener;
    Action action;
    action.seconds = 2.0f;
    TimerEditBox& box = GetTimerEditBox();
    box.action = &action;
    box.listener = &listener;
    box.newAction = true;
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    EXPECT_EQ(box.text, "2.0");
    MovePointer(box.left + 10, box.top + 5);
    TakeSounds();
    Type("5..5");  // the second point is refused
    EXPECT_EQ(box.text, "5.5");
    EXPECT_EQ(TakeSounds().size(), 1u);
    TapKey(win::kKeyReturn);
    EXPECT_FLOAT_EQ(action.seconds, 5.5f);
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(listener.dropped, nullptr);
    // Escape on a new action's box gives the action up; on an old one's it keeps the timer.
    GetWindowManager().OpenWindow(&box);
    TapKey(win::kKeyEscape);
    EXPECT_EQ(listener.dropped, &action);
    listener.dropped = nullptr;
    box.action = &action;
    box.newAction = false;
    GetWindowManager().OpenWindow(&box);
    TapKey(win::kKeyEscape);
    EXPECT_EQ(listener.dropped, nullptr);
    EXPECT_FLOAT_EQ(action.seconds, 5.5f);
    box.action = nullptr;
    box.listener = nullptr;
}

class ScenarioNameTest : public NameBoxTest {
protected:
    void SetUp() override {
        NameBoxTest::SetUp();
        std::filesystem::create_directories(folder_ / "Scenarios");
        std::ofstream(folder_ / "Scenarios/Taken.SCN") << "x";
        std::filesystem::create_directories(folder_ / "Vorns");
        std::ofstream(folder_ / "Vorns/Other.VRN") << "x";
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
    }
    void TearDown() override {
        working_.reset();
        NameBoxTest::TearDown();
    }
    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

TEST_F(ScenarioNameTest, NamesLongerThanAFileNameMayBeAreRefused) {
    Font& font = GetFont();
    for (int c = 'a'; c <= 'z'; ++c) font.widths[c] = 2;  // room for far more than 64 letters
    ScenarioNameEditBox& box = GetScenarioNameEditBox();
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    EXPECT_EQ(game.playerPaused, 1);  // the game waits while the name is typed
    for (int i = 0; i < 70; ++i) Type("a");
    EXPECT_EQ(box.Count(), 64);
    ui_test::UseMeasuringFont();
}

TEST_F(ScenarioNameTest, ATakenNameAsksFirstAndAFailedSaveSaysSo) {
    game.playerPaused = 0;
    ScenarioNameEditBox& box = GetScenarioNameEditBox();
    GetWindowManager().OpenWindow(&box);
    GetWindowManager().BringToFront(&box);
    MovePointer(box.left + 10, box.top + 5);
    Type("taken");
    TapKey(win::kKeyReturn);
    EXPECT_FALSE(box.open);
    ConfirmOverwriteScenarioMenu& menu = GetConfirmOverwriteScenarioMenu();
    ASSERT_TRUE(menu.open);
    EXPECT_EQ(menu.name, "taken");
    const Point yes = menu.items->sprites[0]->GetScreenCenter();
    Click(yes.x, yes.y);
    // No battlefield to save: the save fails, and the player is told.
    EXPECT_TRUE(GetErrorBox().open);
    EXPECT_EQ(game.playerPaused, 0);  // the pause from before the box
}

class SavedRecorder : public SavedFileTrays {
public:
    bool ListsVorn(const String&) const override { return true; }
    bool ListsSquad(const String&) const override { return false; }
    void OnVornDeleted(const String&) override {}
    void OnSquadDeleted(const String&) override {}
    void RefreshFromDisk() override {}
    void OnVornSaved(const String& name, bool) override { saved.push_back(name.CStr()); }
    std::vector<std::string> saved;
};

TEST_F(ScenarioNameTest, ANameAnotherUnitHasAsksFirstButTheUnitsOwnNameDoesNot) {
    std::unique_ptr<Arena> arena = world_test::OpenArena(game);
    SavedRecorder trays;
    SetSavedFileTrays(&trays);
    Vorn* unit = arena->NewVorn(0);
    unit->name = "Mine";
    VornNameEditBox& box = GetVornNameEditBox();
    box.unit = unit;
    box.text = "OTHER";  // another unit's file, in another letter case
    box.Accept();
    EXPECT_TRUE(GetConfirmOverwriteVornMenu().open);
    EXPECT_TRUE(trays.saved.empty());
    GetWindowManager().CloseAllWindows();
    box.text = "mine";
    box.Accept();
    EXPECT_FALSE(GetConfirmOverwriteVornMenu().open);
    EXPECT_EQ(box.lastSavedName, "mine");
    EXPECT_EQ(trays.saved, std::vector<std::string>{"mine"});
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Vorns/mine.VRN"));
    box.unit = nullptr;
    SetSavedFileTrays(nullptr);
    world_test::CloseArena(*arena);
    SetCurrentGame(&game);
}

TEST_F(ScenarioNameTest, ASquadFileThatCannotBeReadAsksFirstUnderTheSquadsOwnName) {
    std::unique_ptr<Arena> arena = world_test::OpenArena(game);
    std::filesystem::create_directories(folder_ / "Squads");
    std::ofstream(folder_ / "Squads/Crowd.SQD") << "x";
    arena->SetSquadName("Crowd");
    SquadNameEditBox& box = GetSquadNameEditBox();
    box.members.Append(arena->NewVorn(0));
    box.text = "Crowd";
    box.Accept();
    EXPECT_TRUE(GetConfirmOverwriteSquadMenu().open);
    EXPECT_EQ(std::filesystem::file_size(folder_ / "Squads/Crowd.SQD"), 1u);
    GetWindowManager().CloseAllWindows();
    box.members.Clear();
    world_test::CloseArena(*arena);
    SetCurrentGame(&game);
}

}  // namespace
