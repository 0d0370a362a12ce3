// The tutorial's step machine on a script written for the test: alternatives satisfied
// by one match, a goal met at once on an empty field, a pause step that waits for its
// own event, refused commands (one explained by the script), and a camera drag refused
// with a sound at most every 4 s.
#include <gtest/gtest.h>

#include <algorithm>

#include "ModesTestSupport.h"
#include "audio/EffectSounds.h"
#include "battlefield/ArenaWindow.h"
#include "game/Event.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/SpeechVoice.h"
#include "ui/TextBox.h"

namespace {

using modes_test::ModesTest;

class TutorialStepsTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        GetArenaWindow();
        WriteText("Tutorials/English/Steps.TUT",
                  "Stage\nEvents\nOrRequire ArenaWindow ZoomCamera\nOrRequire ArenaWindow SetCameraView\n"
                  "ArenaWindow SetCameraTargetPosition\nEnd\nEnd\nGoal KillOne\nPause\nStage\nEnd\n"
                  "Refused\nEvents\nArenaWindow DeleteObject\nEnd\nTextBox NoBreak\nNot in this lesson\nEnd\nEnd\n");
        modes = &CreateGameModes(shell);
        ASSERT_TRUE(modes->tutorial.LoadScript("English", "Steps"));
        Enter(modes->tutorial);
        modes->tutorial.frameTime = 0.5f;
    }
    void Post(int32_t type, int32_t value = 0) {
        Event* event = GetArenaWindow().PostEvent(type);
        event->value = value;
        modes->tutorial.DispatchEvents();
    }
    int Refusals() const {
        const auto& requests = GetEffectSoundRequests();
        return int(std::count_if(requests.begin(), requests.end(),
                                 [](const EffectSoundRequest& r) { return r.name == "SOUNDS\\ILLEGAL.OGG"; }));
    }
};

TEST_F(TutorialStepsTest, OneAlternativeMeetsTheStageAndThePauseStepWaitsForItsEvent) {
    TutorialGame& tutorial = modes->tutorial;
    EXPECT_EQ(tutorial.StepIndex(), 0);
    Post(kEventSetCameraTargetPosition);  // allowed, required by nothing
    EXPECT_EQ(tutorial.StepIndex(), 0);
    EXPECT_EQ(Refusals(), 0);
    Post(kEventSetCameraView);
    EXPECT_EQ(tutorial.StepIndex(), 1);  // the goal, met on an empty field at the next frame
    Step();
    // The pause step posted its event, which came back in the same frame.
    EXPECT_EQ(tutorial.StepIndex(), 3);
    Step();
    EXPECT_EQ(tutorial.CurrentStep(), nullptr);
    EXPECT_EQ(shell.pops, 1);
}

// A refused command the script explains has its words shown, once however often it is
// tried, until they have stood a while; others are only refused.
TEST_F(TutorialStepsTest, RefusedCommandsSoundButADragOnlyEveryFourSeconds) {
    const TextBox& box = *TextBox::Instance();
    ASSERT_FALSE(box.open);
    Post(kEventDeleteObject);
    EXPECT_EQ(Refusals(), 1);
    EXPECT_TRUE(box.open);
    ASSERT_EQ(box.paragraphs.Count(), 1);
    EXPECT_EQ(box.paragraphs[0], "Not in this lesson");
    Post(kEventDeleteObject);
    EXPECT_EQ(box.paragraphs.Count(), 1);
    for (int frame = 0; frame < 9; ++frame) Step();
    EXPECT_FALSE(box.open);
    Post(kEventSetCameraTargetPositionDirect, 1);  // a jump: silent
    EXPECT_EQ(Refusals(), 2);
    for (int frame = 0; frame < 8; ++frame) Post(kEventSetCameraTargetPositionDirect, 2);  // 4 s of drag
    EXPECT_EQ(Refusals(), 2);
    Post(kEventSetCameraTargetPositionDirect, 2);
    EXPECT_EQ(Refusals(), 3);
    EXPECT_EQ(modes->tutorial.StepIndex(), 0);
}

class RecordingVoice final : public SpeechVoice {
public:
    void Say(const std::string&, bool pointWhileTalking) override {
        ++says;
        pointing = pointWhileTalking;
    }
    bool IsTalking() const override { return false; }
    void Stop() override { ++stops; }
    void PointAtCircle(float, float, float) override { ++circles; }
    void PointAtRect(const IntRect& target) override { rect = target; }
    void StopPointing() override { ++rests; }

    int says = 0, stops = 0, circles = 0, rests = 0;
    bool pointing = false;
    IntRect rect;
};

class ProfessorLessonTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        GetArenaWindow();
        WriteText("Tutorials/English/Point.TUT",
                  "Stage\nHighlight TextBox #InnerOutline\nTextBox NoBreak\n<S> Hello\nHello there\nEnd\n"
                  "Events\nRequire ArenaWindow ZoomCamera\nEnd\nEnd\n"
                  "Stage\nHighlight TextBox\nEvents\nRequire ArenaWindow ZoomCamera\nEnd\nEnd\n");
        modes = &CreateGameModes(shell);
        TextBox::SetVoice(&voice);
        ASSERT_TRUE(modes->tutorial.LoadScript("English", "Point"));
    }
    void TearDown() override {
        TextBox::SetVoice(nullptr);
        ModesTest::TearDown();
    }
    RecordingVoice voice;
};

TEST_F(ProfessorLessonTest, HePointsAtTheFirstMarkAndFallsSilentBetweenStagesAndOnEscape) {
    Enter(modes->tutorial);
    EXPECT_EQ(voice.stops, 1);
    EXPECT_EQ(voice.says, 1);
    EXPECT_TRUE(voice.pointing);
    Step();
    const TextBox& box = *TextBox::Instance();
    EXPECT_EQ(voice.rect, IntRect(box.left, box.top, box.right, box.bottom));
    EXPECT_EQ(voice.circles, 0);

    GetArenaWindow().PostEvent(kEventZoomCamera);
    modes->tutorial.DispatchEvents();
    EXPECT_EQ(modes->tutorial.StepIndex(), 1);
    Step();
    const int stopsBefore = voice.stops;
    EXPECT_GE(stopsBefore, 2);
    EXPECT_GE(voice.rests, 1);
    EXPECT_TRUE(modes->tutorial.highlighter.marks.IsEmpty()) << "a window named with nothing in it";

    GetConfirmEscapeMenu().OnYes();
    Step();
    EXPECT_GT(voice.stops, stopsBefore);
}

}  // namespace
