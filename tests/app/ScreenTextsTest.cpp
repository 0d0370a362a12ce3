// Placing screen texts, the key-help lines and the profiler overlay's pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ScreenTexts.h"
#include "engine/Renderer.h"
#include "game/Player.h"

namespace {

TEST(ScreenTextsTest, TextsStayOnTheScreen) {
    GetRenderer().GetDevice();  // the headless device: a screen of 1024 x 768
    ScreenTexts texts;
    const Vector2 size(100.0f, 20.0f);
    EXPECT_EQ(texts.ClampToScreen(Vector2(-50.0f, -50.0f), size), Vector2(0.0f, 0.0f));
    EXPECT_EQ(texts.ClampToScreen(Vector2(2000.0f, 2000.0f), size), Vector2(925.0f, 749.0f));
    // Above a rectangle at the top there is no room: the text goes below it.
    EXPECT_EQ(ScreenTexts::PositionInRect(IntRect(100, 5, 200, 25), TextAlignment::kAboveCentre, size),
              Vector2(100.0f, 25.0f));
    EXPECT_EQ(ScreenTexts::PositionInRect(IntRect(100, 50, 200, 70), TextAlignment::kAboveCentre, size),
              Vector2(100.0f, 30.0f));
    EXPECT_EQ(ScreenTexts::PositionInRect(IntRect(100, 50, 200, 70), TextAlignment::kLeftMiddle, size),
              Vector2(100.0f, 50.0f));
}

TEST(ScreenTextsTest, TheProfilerOverlayStepsThroughItsPagesThenHides) {
    ScreenTexts texts;
    texts.CycleProfilerDisplay();
    EXPECT_TRUE(texts.profilerShown);
    EXPECT_EQ(texts.sortPage, 0);
    for (int page = 1; page <= 3; ++page) {
        texts.CycleProfilerDisplay();
        EXPECT_EQ(texts.sortPage, page);
    }
    texts.CycleProfilerDisplay();
    EXPECT_FALSE(texts.profilerShown);
    EXPECT_EQ(texts.sortPage, 0);
}

TEST(ScreenTextsTest, KeyHelpWithoutUpgradesShowsOnlyTheGeneralKeys) {
    Player player;
    std::fill(std::begin(player.upgradeLevels), std::end(player.upgradeLevels), -1);
    StringArray left, right;
    ScreenTexts::KeyHelpColumns(player, false, left, right);
    const auto joined = [](const StringArray& keys) {
        String all;
        for (const String& key : keys) all += key + ",";
        return all;
    };
    EXPECT_EQ(joined(left),
              "VornObjectCommands,HelpDelete,,CameraCommands,HelpC,HelpE,HelpQ,HelpUpArrowW,HelpDownArrowS,"
              "HelpLeftArrowA,HelpRightArrowD,,");
    EXPECT_EQ(joined(right), "GeneralCommands,Help-,Help+,HelpF1,HelpCtrlX,HelpM,HelpEsc,,");
    ScreenTexts::KeyHelpColumns(player, true, left, right);
    EXPECT_EQ(left[1], "");  // the mission game has no Delete

    std::fill(std::begin(player.upgradeLevels), std::end(player.upgradeLevels), 0);
    ScreenTexts::KeyHelpColumns(player, false, left, right);
    EXPECT_EQ(left[6], "HelpFSoccerBall");
    EXPECT_EQ(right[right.Count() - 2], "HelpCtrlShiftY");
}

}  // namespace
