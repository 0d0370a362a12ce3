#include "core/Debugger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace {

using platform_test::ReadRaw;
using platform_test::TempFolder;

TEST(DebuggerTest, FlushSendsEachLineToTheFileAndTheCallback) {
    TempFolder folder;
    std::vector<std::string> lines;
    {
        Debugger log;
        log.SetDebuggerOutput(false);
        log.SetCallback([&](const char* text) { lines.emplace_back(text); });
        ASSERT_TRUE(log.OpenLogFile(folder / "debug.txt"));
        log << "first " << 1 << "\n";
        log.Flush();
        // Written live: the line is on disk before the log closes.
        EXPECT_EQ(ReadRaw(folder / "debug.txt"), "first 1\n");
        log << "second" << Endl;
        log.Line("third");
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first 1\n", "second\n", "third\n"}));
    EXPECT_EQ(ReadRaw(folder / "debug.txt"), "first 1\nsecond\nthird\n");
}

TEST(DebuggerTest, OpeningTheFileReplacesAnOldLog) {
    TempFolder folder;
    platform_test::WriteRaw(folder / "debug.txt", "old text that must go\n");
    Debugger log;
    log.SetDebuggerOutput(false);
    ASSERT_TRUE(log.OpenLogFile(folder / "debug.txt"));
    log.Line("new");
    EXPECT_EQ(ReadRaw(folder / "debug.txt"), "new\n");
}

TEST(DebuggerTest, AFileThatCannotBeOpenedIsReportedInTheLog) {
    TempFolder folder;
    Debugger log;
    log.SetDebuggerOutput(false);
    std::string seen;
    log.SetCallback([&](const char* text) { seen += text; });
    const std::string name = folder / "missing/debug.txt";
    EXPECT_FALSE(log.OpenLogFile(name));
    EXPECT_FALSE(log.IsLogFileOpen());
    EXPECT_EQ(seen, "Unable to open the file [" + name + "]\n");
}

TEST(DebuggerTest, AnOverlongLineIsCutAndTheNextLineIsWhole) {
    Debugger log;
    log.SetDebuggerOutput(false);
    std::vector<std::string> lines;
    log.SetCallback([&](const char* text) { lines.emplace_back(text); });
    const std::string longText(Debugger::kBufferSize + 100, 'x');
    log << longText.c_str();
    log.Flush();
    log.Line("after");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), static_cast<size_t>(Debugger::kBufferSize - 1));
    EXPECT_EQ(lines[1], "after\n");
    EXPECT_FALSE(log.HasError());
}

TEST(DebuggerTest, InstanceIsOneLog) {
    EXPECT_EQ(&Debugger::Instance(), &Debugger::Instance());
    EXPECT_TRUE(Debugger::Instance().DebuggerOutput());
}

}  // namespace
