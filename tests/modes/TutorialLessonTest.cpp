// A lesson of the data set played through the real windows: the campaign map's tour,
// with its highlights, the text box's continue key advancing the stages, a refused
// command, and the record the lesson leaves; leaving a campaign lesson with Escape
// records nothing but leaves the saved-file trays showing everything (and no recent
// scenario of the lesson's or the player's), Ctrl+F in the first lesson, and a lesson
// that cannot be read never starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ModesTestSupport.h"
#include "battlefield/ArenaWindow.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/window/Keys.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/ScenarioListBox.h"
#include "ui/WindowManager.h"

namespace {

using modes_test::ModesTest;

class TutorialLessonTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        CopyData("Missions/English/MissionMap.txt");
        CopyData("Tutorials/English/MissionMap.TUT");
        modes = &CreateGameModes(shell);
    }
    bool IsOpen(const Window& window) const { return GetWindowManager().IsOpen(&window); }
    // The first mark's centre is on the point.
    bool MarksAt(const Point& point) const {
        const auto& marks = modes->tutorial.highlighter.marks;
        return !marks.IsEmpty() && std::lround(marks[0].centreX) == point.x && std::lround(marks[0].centreY) == point.y;
    }
};

TEST_F(TutorialLessonTest, MapTourRunsStageByStageAndIsRecordedOnce) {
    Player& ann = GetLocalPlayer();
    TutorialGame& tutorial = modes->tutorial;
    MissionMapWindow& map = modes->map;
    modes->mission.Begin();  // a new profile has not seen the tour
    ASSERT_EQ(shell.pushed.size(), 1u);
    ASSERT_EQ(shell.pushed[0], &tutorial);
    Enter(tutorial);

    EXPECT_TRUE(IsOpen(map));
    EXPECT_TRUE(IsOpen(modes->textBox));
    EXPECT_TRUE(modes->textBox.waitForContinue);
    EXPECT_EQ(tutorial.StepIndex(), 0);
    Step();
    EXPECT_TRUE(MarksAt(map.stars[0].body.centre));

    // The map's buttons are not part of the lesson.
    TakeSounds();
    ClickAt(map.ButtonRect(MissionMapWindow::kTrainingGrounds).GetCenter());
    EXPECT_EQ(shell.pushed.size(), 1u);
    const std::vector<std::string> sounds = TakeSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "SOUNDS\\ILLEGAL.OGG"), sounds.end());
    EXPECT_EQ(tutorial.StepIndex(), 0);

    Tap(win::kKeySpace);
    EXPECT_EQ(tutorial.StepIndex(), 1);
    Step();
    EXPECT_TRUE(MarksAt(map.missions[0].centre));  // the first planet not won

    Tap(win::kKeySpace);
    EXPECT_EQ(tutorial.StepIndex(), 2);
    Step();
    EXPECT_TRUE(MarksAt(map.ButtonRect(MissionMapWindow::kMapTutorial).GetCenter()));
    EXPECT_EQ(shell.pops, 0);

    Tap(win::kKeySpace);
    EXPECT_EQ(tutorial.CurrentStep(), nullptr);
    Step();
    EXPECT_EQ(shell.pops, 1);
    Step();
    EXPECT_EQ(shell.pops, 1);  // the end asks once

    EXPECT_FALSE(ann.missionMapTutorial);
    tutorial.End();
    EXPECT_TRUE(ann.missionMapTutorial);
    EXPECT_FALSE(IsOpen(map));
    EXPECT_TRUE(std::filesystem::exists("Players/Ann/Ann.DATA"));
}

TEST_F(TutorialLessonTest, EscapeLeavesACampaignLessonUnrecordedButTheTourRecorded) {
    Player& ann = GetLocalPlayer();
    TutorialGame& tutorial = modes->tutorial;
    modes->mission.SetMission(0);
    ASSERT_TRUE(tutorial.LoadScript("English", "MissionMap"));
    GetVornTray().nameFilter = kHideAllEntries;
    Tray& scenarios = GetScenarioListBox();
    scenarios.recent.Append(RecentEntry{"Mine", 1});
    Enter(tutorial);
    EXPECT_TRUE(GetVornTray().nameFilter.IsEmpty());
    EXPECT_TRUE(scenarios.recent.IsEmpty()) << "the player's recent scenario in a lesson";
    scenarios.recent.Append(RecentEntry{"Lab", 2});
    Tap(win::kKeyEscape);
    EXPECT_TRUE(IsOpen(GetConfirmEscapeMenu()));
    GetConfirmEscapeMenu().OnYes();
    Step();
    EXPECT_TRUE(tutorial.finished);
    EXPECT_EQ(shell.pops, 1);
    GetSquadTray().nameFilter = kHideAllEntries;
    tutorial.End();
    EXPECT_TRUE(scenarios.recent.IsEmpty()) << "the lesson's recent scenario after it";
    // The player's own units and squads stay listed after a lesson left early.
    EXPECT_TRUE(GetVornTray().nameFilter.IsEmpty());
    EXPECT_TRUE(GetSquadTray().nameFilter.IsEmpty());
    EXPECT_TRUE(std::all_of(ann.missionWins.begin(), ann.missionWins.end(), [](uint8_t won) { return won == 0; }));
    EXPECT_FALSE(ann.missionMapTutorial);

    modes->mission.SetMission(-1);
    ASSERT_TRUE(tutorial.LoadScript("English", "MissionMap"));
    Enter(tutorial);
    GetConfirmEscapeMenu().OnYes();
    Step();
    tutorial.End();
    EXPECT_TRUE(ann.missionMapTutorial);
}

// Ctrl+F shows and hides the frame rate in the first lesson as everywhere on the
// battlefield: the lesson lets it through whatever it waits for.
TEST_F(TutorialLessonTest, CtrlFShowsTheFrameRateInTheFirstLesson) {
    const ArenaWindow& field = GetArenaWindow();
    CopyData("Tutorials/English/Basics.TUT");
    ASSERT_TRUE(modes->tutorial.LoadScript("English", "Basics"));
    Enter(modes->tutorial);
    ASSERT_TRUE(IsOpen(field));
    const int32_t firstPage = modes->tutorial.StepIndex();
    for (const bool shown : {true, false}) {
        TakeSounds();
        scripted->PressKey(win::kKeyControl);
        Tap(win::kKeyF);
        scripted->ReleaseKey(win::kKeyControl);
        Step();
        EXPECT_EQ(field.frameMeterShown, shown);
        EXPECT_TRUE(TakeSounds().empty()) << "Ctrl+F refused";
    }
    EXPECT_EQ(modes->tutorial.StepIndex(), firstPage) << "the first page still waits for the space bar";
}

TEST_F(TutorialLessonTest, ALessonThatCannotBeReadStaysOnTheMapAndRecordsNothing) {
    modes->mission.SetMission(0);  // its lesson is not in this folder
    modes->mission.StartTutorial();
    EXPECT_TRUE(shell.pushed.empty());
    EXPECT_TRUE(IsOpen(modes->map));
    const Player& ann = GetLocalPlayer();
    EXPECT_TRUE(std::all_of(ann.missionWins.begin(), ann.missionWins.end(), [](uint8_t won) { return won == 0; }));
    EXPECT_FALSE(std::filesystem::exists("Players/Ann/Ann.DATA"));
}

}  // namespace
