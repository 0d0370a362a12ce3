// Layout and input rules the screens share.
#include <gtest/gtest.h>

#include "engine/Mouse.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "platform/window/Keys.h"

namespace {

TEST(ScreenLayoutTest, ScaledRectanglesGrowByTheWidthOnEverySide) {
    EXPECT_EQ(ScaleRect(IntRect(0, 0, 99, 49), 1.2f), IntRect(-10, -10, 109, 59));
    EXPECT_EQ(ScaleRect(IntRect(0, 0, 99, 49), 1.0f), IntRect(0, 0, 99, 49));
    EXPECT_EQ(RectSize(IntRect(10, 20, 19, 20)), Point(10, 1));
}

TEST(ScreenLayoutTest, AButtonRowSpreadsTheVisibleItemsAlongTheBottom) {
    SpriteGrid grid;
    Sprite sprites[4];
    for (Sprite& sprite : sprites) grid.AddItem(&sprite, "Button", true);
    grid.SetItemVisible(1, false);
    sprites[1].x = 7;
    const IntRect screen(0, 0, 799, 599);
    LayOutButtonRow(grid, screen, false);
    EXPECT_EQ(sprites[0].x, 200);
    EXPECT_EQ(sprites[2].x, 400);
    EXPECT_EQ(sprites[3].x, 600);
    EXPECT_EQ(sprites[3].y, 599 - 71);
    EXPECT_EQ(sprites[1].x, 7);           // hidden: left where it was
    LayOutButtonRow(grid, screen, true);  // five slots: a step of 133
    EXPECT_EQ(sprites[0].x, 2 * 133);
    EXPECT_EQ(sprites[3].x, 4 * 133);
}

TEST(ScreenLayoutTest, BottomButtonsFlankTheChatWindow) {
    // Screen 0..1023 x 0..767, chat window 312..711: a = (-399 + 1023) / 2 = 312,
    // b = 1023 - 312 + 1 = 712.
    Point positions[4];
    GetBottomButtonPositions(IntRect(0, 0, 1023, 767), IntRect(312, 600, 711, 767), positions);
    EXPECT_EQ(positions[0], Point(156, 696));
    EXPECT_EQ(positions[1], Point((1023 + 712 + 1) / 2, 696));
    EXPECT_EQ(positions[2], Point((1023 - 712 + 1) / 3 + 712, 696));
    EXPECT_EQ(positions[3], Point(((1023 - 712) * 2 + 2) / 3 + 712, 696));
}

TEST(ScreenLayoutTest, TheLaunchSquadTrayMovesBelowTheTutorialsTextBox) {
    EXPECT_EQ(LaunchSquadTrayPosition(1024, 200, -1), Point(668, 128));
    EXPECT_EQ(LaunchSquadTrayPosition(1024, 200, 115), Point(668, 247));
}

TEST(ScreenLayoutTest, CameraKeysDependOnControl) {
    Mouse mouse;
    InputEvent input;
    input.Set(kInputDown, win::kKeyC, Point());
    EXPECT_FALSE(IsCameraInput(input, mouse));
    input.Set(kInputDown, win::kKeyF, Point());
    EXPECT_TRUE(IsCameraInput(input, mouse));
    mouse.heldKeys[win::kKeyControl] = 1;
    EXPECT_FALSE(IsCameraInput(input, mouse));
    input.Set(kInputDown, win::kKeyC, Point());
    EXPECT_TRUE(IsCameraInput(input, mouse));
    input.Set(kInputWheel, 120, Point());
    EXPECT_TRUE(IsCameraInput(input, mouse));
    input.Set(kInputUp, win::kKeyR, Point());
    EXPECT_FALSE(IsCameraInput(input, mouse));
}

}  // namespace
