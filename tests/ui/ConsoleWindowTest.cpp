// The console stream hands each flushed line to the console window, which follows the
// newest line unless the player scrolled back.
#include <gtest/gtest.h>

#include <string>

#include "core/ConsoleStream.h"
#include "ui/ConsoleWindow.h"

namespace {

TEST(ConsoleStreamTest, FlushedLinesReachTheWindowWhichFollowsTheNewest) {
    ConsoleWindow window;
    window.SetVisibleLines(2);
    ConsoleStream& console = GetConsoleStream();
    ASSERT_EQ(console.Sink(), &window);
    for (int i = 0; i < 4; ++i) {
        console << "Rock at " << i;
        console.Flush();
    }
    console << "ends with" << Endl;
    ASSERT_EQ(window.Lines().Count(), 5);
    EXPECT_EQ(window.Lines()[0], "Rock at 0");
    EXPECT_EQ(window.Lines()[4], "ends with");
    EXPECT_EQ(window.FirstLine(), 3);

    // A view scrolled back stays where it is.
    window.SetFirstLine(0);
    console << "quiet";
    console.Flush();
    EXPECT_EQ(window.FirstLine(), 0);

    const std::string huge(5000, 'h');
    console << huge.c_str();
    console.Flush();
    EXPECT_TRUE(console.HasError());
    EXPECT_EQ(window.Lines()[6].CharCount(), kConsoleBufferSize - 1);
    console.ClearError();
}

TEST(ConsoleStreamTest, LinesWithoutAWindowAreDropped) {
    ConsoleStream& console = GetConsoleStream();
    { ConsoleWindow window; }
    EXPECT_EQ(console.Sink(), nullptr);
    console << "nobody listens";
    console.Flush();
    EXPECT_EQ(console.Position(), 0);
}

}  // namespace
