#include "platform/sys/SafeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sys/Debug.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform_test::ReadRaw;
using platform_test::TempFolder;
using platform_test::WriteRaw;
using Names = std::vector<std::string>;

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override { WriteRaw(root / "Players/Bob/unit.VRN", "old contents\n"); }

    // The debug lines written while `action` runs.
    template <typename Action>
    static std::string DebugLinesOf(Action action) {
        const bool wasEnabled = sys::IsDebugOutputEnabled();
        sys::SetDebugOutputEnabled(true);
        ::testing::internal::CaptureStderr();
        action();
        std::string lines = ::testing::internal::GetCapturedStderr();
        sys::SetDebugOutputEnabled(wasEnabled);
        return lines;
    }

    TempFolder root;
};

TEST_F(SafeFileTest, CommitReplacesTheFileUnderItsOwnSpelling) {
    sys::SafeFile file(root.Path() + "\\PLAYERS\\bob\\UNIT.vrn", "w");
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.TargetPath(), root / "Players/Bob/unit.VRN");
    std::fputs("new contents\r\n", file.Handle());
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadRaw(root / "Players/Bob/unit.VRN"), "new contents\r\n");
    EXPECT_EQ(sys::ListDirectory(root / "Players/Bob/*"), Names{"unit.VRN"});
}

TEST_F(SafeFileTest, AnInterruptedSaveLeavesTheOldFileWhole) {
    {
        sys::SafeFile file(root / "Players/Bob/unit.VRN");
        ASSERT_TRUE(file.IsOpen());
        std::fputs("half of the new", file.Handle());
        std::fflush(file.Handle());
        // Until the rename, the target still holds the old file.
        EXPECT_EQ(ReadRaw(root / "Players/Bob/unit.VRN"), "old contents\n");
    }
    EXPECT_EQ(ReadRaw(root / "Players/Bob/unit.VRN"), "old contents\n");
    EXPECT_EQ(sys::ListDirectory(root / "Players/Bob/*"), Names{"unit.VRN"});
}

TEST_F(SafeFileTest, AFailedWriteKeepsTheOldFileAndSaysSoOnce) {
    std::string lines = DebugLinesOf([&] {
        sys::SafeFile file(root / "Players/Bob/unit.VRN");
        ASSERT_TRUE(file.IsOpen());
        std::fputs("new", file.Handle());
        std::fgetc(file.Handle());  // reading a write-only stream sets its error flag
        EXPECT_FALSE(file.Commit());
    });
    EXPECT_EQ(ReadRaw(root / "Players/Bob/unit.VRN"), "old contents\n");
    EXPECT_EQ(sys::ListDirectory(root / "Players/Bob/*"), Names{"unit.VRN"});
    EXPECT_NE(lines.find("unit.VRN"), std::string::npos) << lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
}

TEST_F(SafeFileTest, AMissingFolderFailsWithOneLine) {
    std::string lines = DebugLinesOf([&] {
        sys::SafeFile file(root / "Missing/unit.vrn");
        EXPECT_FALSE(file.IsOpen());
        EXPECT_FALSE(file.Commit());
        EXPECT_FALSE(sys::SaveFileAtomically(root / "Missing/unit.vrn", "x"));
    });
    EXPECT_FALSE(fs::exists(root / "Missing"));
    EXPECT_NE(lines.find("Missing/unit.vrn"), std::string::npos) << lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;  // one per save
}

TEST_F(SafeFileTest, NewFilesTakeTheSpelledNameAndShowAtOnce) {
    EXPECT_EQ(sys::ListDirectory(root / "players/bob/*.sqd"), Names{});
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/alpha.sqd"), root / "Players/Bob/alpha.sqd");
    ASSERT_TRUE(sys::SaveFileAtomically(root / "players/bob/Alpha.SQD", ""));
    EXPECT_EQ(sys::ListDirectory(root / "players/bob/*.sqd"), Names{"Alpha.SQD"});
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/alpha.sqd"), root / "Players/Bob/Alpha.SQD");
    EXPECT_EQ(ReadRaw(root / "Players/Bob/Alpha.SQD"), "");
}

}  // namespace
