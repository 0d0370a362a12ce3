// Layout and input rules the screens share.
#include <gtest/gtest.h>

#include "engine/Mouse.h"
#include "engine/ScreenLayout.h"
#include "platform/window/Keys.h"

namespace {

TEST(ScreenLayoutTest, ScaledRectanglesGrowByTheWidthOnEverySide) {
    EXPECT_EQ(ScaleRect(IntRect(0, 0, 99, 49), 1.2f), IntRect(-10, -10, 109, 59));
    EXPECT_EQ(ScaleRect(IntRect(0, 0, 99, 49), 1.0f), IntRect(0, 0, 99, 49));
    EXPECT_EQ(RectSize(IntRect(10, 20, 19, 20)), Point(10, 1));
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
