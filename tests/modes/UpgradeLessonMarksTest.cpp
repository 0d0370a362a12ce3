// The marks a lesson draws on the customise screen cover the buttons its words name and
// no others, so a player is not pointed at the chassis when told about the weapons; the
// lesson's page on colours lets its sliders move.
#include <gtest/gtest.h>

#include "ModesTestSupport.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/UpgradeWindow.h"
#include "platform/window/Keys.h"
#include "ui/Slider.h"
#include "ui/WindowManager.h"

namespace {

using modes_test::ModesTest;

bool Inside(const HighlightMark& mark, const Point& point) {
    return mark.kind == HighlightMark::kRect && point.x >= mark.left && point.x <= mark.right && point.y >= mark.top &&
           point.y <= mark.bottom;
}

TEST_F(ModesTest, TheWeaponUpgradesMarkCoversTheWeaponButtonsAndNotTheChassisOrBottomButtons) {
    WriteText("Tutorials/English/Weapons.TUT",
              "Windows\nUpgradeWindow\nEnd\nStage\nHighlight UpgradeWindow WeaponUpgrades\nTextBox\nLook\nEnd\nEnd\n");
    modes = &CreateGameModes(shell);
    UpgradeWindow& window = GetUpgradeWindow();
    TutorialGame& tutorial = modes->tutorial;
    ASSERT_TRUE(tutorial.LoadScript("English", "Weapons"));
    Enter(tutorial);
    Step();
    Step();
    ASSERT_TRUE(GetWindowManager().IsOpen(&window));
    const auto& marks = tutorial.highlighter.marks;
    ASSERT_EQ(marks.Count(), 1);
    const SpriteGrid& upgrades = *window.upgrades;
    int weapons = 0;
    for (int32_t i = UpgradeWindow::kChassisButtonCount; i < UpgradeWindow::kUpgradeButtonCount; ++i) {
        if (!upgrades.IsShown(i)) continue;
        ++weapons;
        EXPECT_TRUE(Inside(marks[0], upgrades.sprites[i]->GetScreenCenter())) << "weapon button " << i;
    }
    EXPECT_GT(weapons, 0);
    for (int32_t i = 0; i < UpgradeWindow::kChassisButtonCount; ++i) {
        if (upgrades.IsShown(i)) {
            EXPECT_FALSE(Inside(marks[0], upgrades.sprites[i]->GetScreenCenter())) << i;
        }
    }
    const SpriteGrid& bottom = *window.bottomButtons;
    for (int32_t i = 0; i < bottom.Count(); ++i) {
        if (bottom.IsShown(i)) {
            EXPECT_FALSE(Inside(marks[0], bottom.sprites[i]->GetScreenCenter())) << i;
        }
    }
    tutorial.End();
}

TEST_F(ModesTest, TheUpgradeLessonsPageOnColoursLetsItsSlidersMove) {
    CopyData("Tutorials/English/Upgrades.TUT");
    modes = &CreateGameModes(shell);
    Slider& red = *GetUpgradeWindow().sliders[UpgradeWindow::kPrimaryRed];
    TutorialGame& tutorial = modes->tutorial;
    ASSERT_TRUE(tutorial.LoadScript("English", "Upgrades"));
    Enter(tutorial);
    Step();
    for (int page = 0; page < 5; ++page) Tap(win::kKeySpace);
    ASSERT_EQ(tutorial.StepIndex(), 5) << "the page on colours";
    const float before = red.value;
    const IntRect bar = red.Rect();
    ClickAt(Point(bar.left + 2, (bar.top + bar.bottom) / 2));
    EXPECT_LT(red.value, before) << "a click near the slider's left end";
    tutorial.End();
}

}  // namespace
