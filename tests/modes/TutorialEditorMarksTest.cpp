// A lesson's highlight line of several words reaches the pattern editor whole: the
// script's words after the window's name, joined, name the part to mark.
#include <gtest/gtest.h>

#include <cmath>

#include "ModesTestSupport.h"
#include "battlefield/PatternWindow.h"
#include "support/TestArena.h"
#include "ui/WindowManager.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternLimits.h"

namespace {

using modes_test::ModesTest;

TEST_F(ModesTest, ALessonMarksThePlusIndicatorOfAPathPointInThePatternEditor) {
    WriteText("Tutorials/English/Marks.TUT",
              "Windows\nPatternWindow\nEnd\nStage\nHighlight PatternWindow PathPoint 1 "
              "PlusIndicator\nTextBox\nLook\nEnd\nEnd\n");
    modes = &CreateGameModes(shell);
    std::unique_ptr<Arena> arena = world_test::OpenArena(game);
    auto pattern = std::make_unique<Pattern>();
    PathPoint* point = pattern->AddPathPoint();
    ASSERT_NE(point, nullptr);
    point->position = Vector2(10.0f, 5.0f);
    point->facing = point->position;
    PatternWindow& editor = GetPatternWindow();
    editor.SetVornPattern(nullptr, pattern.get());

    TutorialGame& tutorial = modes->tutorial;
    ASSERT_TRUE(tutorial.LoadScript("English", "Marks"));
    Enter(tutorial);
    Step();
    Step();
    ASSERT_TRUE(GetWindowManager().IsOpen(&editor));
    const auto& marks = tutorial.highlighter.marks;
    ASSERT_EQ(marks.Count(), 1);
    const float d = kPatternHitRadius * std::sqrt(2.0f) / 2.0f + 0.5f;
    const Vector2 expected = editor.PatternToScreen(point->position + Vector2(-d, -d));
    EXPECT_NEAR(marks[0].centreX, expected.x, 0.5f);
    EXPECT_NEAR(marks[0].centreY, expected.y, 0.5f);
    EXPECT_NEAR(marks[0].radius, 0.75f * editor.PixelsPerUnit(), 0.01f);

    tutorial.End();
    editor.SetVornPattern(nullptr, nullptr);
    pattern.reset();
    world_test::CloseArena(*arena);
}

}  // namespace
