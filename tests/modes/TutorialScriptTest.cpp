// Tutorial scripts written by hand: windows, copies, steps with their pages, highlights
// and expected events; unknown windows and short lines dropped with the file named.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/StringStream.h"
#include "game/Game.h"
#include "modes/TutorialScript.h"
#include "support/LogLines.h"
#include "ui/Window.h"

namespace {

class TutorialScriptTest : public ::testing::Test {
protected:
    TutorialScriptTest() : arena("ArenaWindow"), miniMap("MiniMap"), textBox("TextBox"), upgrades("UpgradeWindow") {}

    void Read(const char* text) {
        StringStream stream(text);
        script.Read(stream, "Lesson.TUT");
    }
    Window* Find(const String& name) {
        for (Window* window : {&arena, &miniMap, &textBox, &upgrades}) {
            if (String::EqualsNoCaseString(window->name, name)) return window;
        }
        return nullptr;
    }

    Game game;
    Window arena, miniMap, textBox, upgrades;
    TutorialScript script{game, [this](const String& name) { return Find(name); }};
};

TEST_F(TutorialScriptTest, HandWrittenLessonLoadsItsSteps) {
    Read(
        "#BeginComment\nanything\n#EndComment\nWindows\nArenaWindow\nminimap\nEnd\nMaxSquadCount 2\n"
        "Vorns\nScout\nEnd\nSquads\nPair\nEnd\nScenario Field\nBudget 300\nMeteors 15\n"
        "Stage\nHighlight ArenaWindow Button 3\nTextBox\nWelcome <BR>\n<S> Hello1\nLook here\nEnd\n"
        "Events\nRequire ArenaWindow Pause\nOrRequire MoveCameraNoFollow\nTextBox ContinueTextBox\nEnd\nEnd Wait 2.5\n"
        "Stage\nTextBox NoBreak\nQuiet\nEnd\nEnd WaitWithHighlight 1\n"
        "Pause\nUnpause\nGoal KillAll 30\nGoal\nSetCameraLookAt 10 20\nResetCamera 1 2\nResetCameraAngle\n"
        "SetAmmoCount 5\nSetBudget 50\nCloseWindow TextBox\nShowKillTray\n"
        "TimeUp\nTextBox\nToo quiet\nEnd\nEnd Wait 3\n"
        "Refused\nEvents\nArenaWindow Pause\nEnd\nTextBox\nNot now\nEnd\nEnd\n");
    EXPECT_EQ(script.windows.Count(), 2);
    EXPECT_TRUE(script.useBasicUpgrades);
    EXPECT_EQ(script.maxSquadCount, 2);
    EXPECT_EQ(script.unitCopies[0], "Scout");
    EXPECT_EQ(script.squadCopies[0], "Pair");
    EXPECT_TRUE(game.meteorsEnabled);
    ASSERT_EQ(script.steps.size(), 17u);
    EXPECT_EQ(script.steps[0]->kind, TutorialStepKind::kScenario);
    EXPECT_EQ(script.steps[0]->arguments[0], "Field");
    EXPECT_EQ(script.steps[1]->number, 300);
    const TutorialStep& stage = *script.steps[2];
    EXPECT_EQ(stage.window, &arena);
    EXPECT_EQ(stage.arguments.Count(), 2);
    EXPECT_TRUE(stage.waitsForContinue);
    ASSERT_EQ(stage.pages.Count(), 2);
    EXPECT_EQ(stage.pages[1].speech, "Hello1");
    // One required pause, eight camera alternatives (six on the arena, two on the map)
    // and one event that is only let through.
    ASSERT_EQ(stage.expected.Count(), 10);
    EXPECT_EQ(stage.expected[0]->state, Requirement::kRequired);
    EXPECT_EQ(stage.expected[1]->state, Requirement::kAlternative);
    EXPECT_EQ(stage.expected[8]->target, &miniMap);
    EXPECT_EQ(stage.expected[9]->state, Requirement::kSatisfied);
    EXPECT_EQ(script.steps[3]->kind, TutorialStepKind::kWait);
    EXPECT_FLOAT_EQ(script.steps[3]->seconds, 2.5f);
    EXPECT_FALSE(script.steps[4]->waitsForContinue);
    EXPECT_EQ(script.steps[5]->kind, TutorialStepKind::kWaitWithHighlight);
    EXPECT_EQ(script.steps[6]->expected[0]->type, kEventPause);
    EXPECT_EQ(script.steps[8]->goalMode, TutorialGoalMode::kKillAll);
    EXPECT_FLOAT_EQ(script.steps[8]->seconds, 30.0f);
    EXPECT_EQ(script.steps[9]->goalMode, TutorialGoalMode::kNone);
    EXPECT_EQ(script.steps[10]->point, Vector3(10, 20, 0));
    EXPECT_EQ(script.steps[15]->kind, TutorialStepKind::kCloseWindow);
    EXPECT_EQ(script.steps[15]->window, &textBox);
    // The time-up text and the refusal note are said when they apply, no steps of their
    // own: the wait after one is no step either.
    ASSERT_NE(script.timeUpStage, nullptr);
    EXPECT_EQ(script.timeUpStage->pages.Count(), 1);
    ASSERT_EQ(script.refusalNotes.size(), 1u);
    ASSERT_EQ(script.refusalNotes[0]->expected.Count(), 1);
    EXPECT_EQ(script.refusalNotes[0]->expected[0]->type, kEventPause);
    EXPECT_EQ(script.refusalNotes[0]->pages.Count(), 1);
}

TEST_F(TutorialScriptTest, UnknownWindowsAndShortLinesAreDropped) {
    platform_test::LogLines log;
    Read(
        "Windows\nNoSuchWindow\nUpgradeWindow\nEnd\nCloseWindow Ghost\nCloseWindow\nSetCameraLookAt 5\n"
        "Stage\nHighlight Phantom 1 2\nEvents\nRequire Phantom Pause\nRequire\nArenaWindow\nEnd\nEnd\nFrobnicate\n");
    EXPECT_EQ(script.windows.Count(), 1);
    EXPECT_FALSE(script.useBasicUpgrades);  // the lesson shows the player's own upgrades
    ASSERT_EQ(script.steps.size(), 1u);
    EXPECT_EQ(script.steps[0]->window, nullptr);
    EXPECT_TRUE(script.steps[0]->expected.IsEmpty());
    for (const char* what : {"NoSuchWindow", "Ghost", "CloseWindow", "SetCameraLookAt", "Phantom", "Frobnicate"}) {
        EXPECT_TRUE(log.HasLineWith({"Lesson.TUT", what})) << what;
    }
}

TEST_F(TutorialScriptTest, MissingOrEmptyScriptsAreRefused) {
    platform_test::LogLines log;
    EXPECT_FALSE(script.Load("English", "NoSuchLesson"));
    EXPECT_FALSE(script.Load("English", "../Escape"));
    EXPECT_TRUE(log.HasLineWith({"NoSuchLesson.TUT"}));
}

}  // namespace
