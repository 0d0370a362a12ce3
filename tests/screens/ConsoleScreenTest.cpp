// The console page: the lines that fit, and scrolling that never leaves a short page.
#include <gtest/gtest.h>

#include "ScreenTestSupport.h"
#include "game/Event.h"
#include "screens/ConsoleScreen.h"

namespace {

using screens_test::ScreenTest;

TEST_F(ScreenTest, TheConsolePageFitsWholeLinesAndScrollsWithinTheList) {
    ConsoleScreen console;
    // Lines of 16 x 0.75 = 12 pixels: the 201 pixels from 10 to 210 hold 16 of them, and
    // the bottom is cut to 10 + 192.
    EXPECT_EQ(console.VisibleLines(), 16);
    EXPECT_EQ(console.bottom, 202);

    for (int i = 0; i < 5; ++i) console.AddLine("short list");
    Post(console, kEventScrollDown);
    EXPECT_EQ(console.FirstLine(), 0);  // fewer lines than the page: no scrolling

    for (int i = 0; i < 20; ++i) console.AddLine("line");
    console.SetFirstLine(0);
    for (int i = 0; i < 30; ++i) Post(console, kEventScrollDown);
    EXPECT_EQ(console.FirstLine(), 25 - 16);
    for (int i = 0; i < 30; ++i) Post(console, kEventScrollUp);
    EXPECT_EQ(console.FirstLine(), 0);
}

}  // namespace
