#include "core/FileHelpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform_test::TempFolder;
using platform_test::WriteRaw;

String S(const std::string& text) { return String(text.c_str()); }

std::string Names(const StringArray& names) {
    std::string joined;
    for (const String& name : names) joined += std::string(name.CStr()) + ";";
    return joined;
}

TEST(FileHelpersTest, FileExistsForFilesFoldersAndPatterns) {
    TempFolder folder;
    WriteRaw(folder / "Players/Bob/profile.txt", "x");
    EXPECT_TRUE(FileExists(S(folder / "Players")));
    EXPECT_TRUE(FileExists(S(folder / "players\\BOB")));
    EXPECT_TRUE(FileExists(S(folder / "Players/Bob/PROFILE.TXT")));
    EXPECT_TRUE(FileExists(S(folder / "Players/Bob/*.txt")));
    EXPECT_FALSE(FileExists(S(folder / "Players/Bob/*.vrn")));
    EXPECT_FALSE(FileExists(S(folder / "Players/Alice")));
    EXPECT_FALSE(FileExists(""));
}

TEST(FileHelpersTest, ListFilesIsSortedWithoutRegardToCase) {
    TempFolder folder;
    WriteRaw(folder / "b.VRN", "");
    WriteRaw(folder / "A.vrn", "");
    WriteRaw(folder / "c.vrn", "");
    WriteRaw(folder / "notes.txt", "");
    EXPECT_EQ(Names(ListFiles(S(folder / "*.vrn"))), "A.vrn;b.VRN;c.vrn;");
    EXPECT_EQ(ListFiles(S(folder / "*.scn")).Count(), 0);
    EXPECT_EQ(ListFiles(S(folder / "nowhere/*")).Count(), 0);
}

TEST(FileHelpersTest, CompareFileTimesOrdersByLastWrite) {
    TempFolder folder;
    WriteRaw(folder / "old", "");
    WriteRaw(folder / "new", "");
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(folder / "old", now - std::chrono::hours(1));
    fs::last_write_time(folder / "new", now);
    int result = 42;
    ASSERT_TRUE(CompareFileTimes(S(folder / "old"), S(folder / "new"), result));
    EXPECT_EQ(result, -1);
    ASSERT_TRUE(CompareFileTimes(S(folder / "NEW"), S(folder / "old"), result));
    EXPECT_EQ(result, 1);
    ASSERT_TRUE(CompareFileTimes(S(folder / "new"), S(folder / "new"), result));
    EXPECT_EQ(result, 0);
}

TEST(FileHelpersTest, CompareFileTimesLeavesTheResultAloneWhenAFileIsMissing) {
    TempFolder folder;
    WriteRaw(folder / "here", "");
    int result = 42;
    EXPECT_FALSE(CompareFileTimes(S(folder / "here"), S(folder / "gone"), result));
    EXPECT_FALSE(CompareFileTimes(S(folder / "gone"), S(folder / "here"), result));
    EXPECT_FALSE(CompareFileTimes(S(folder.Path()), S(folder / "here"), result));
    EXPECT_EQ(result, 42);
}

class DeleteFileOrFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousRoot_ = GetDataRoot();
        WriteRaw(folder_ / "game/Players/Bob/profile.txt", "x");
        WriteRaw(folder_ / "game/Players/Bob/Units/a.vrn", "x");
        WriteRaw(folder_ / "outside/keep.txt", "x");
        SetDataRoot(S(folder_ / "game"));
    }
    void TearDown() override { SetDataRoot(previousRoot_); }

    TempFolder folder_;
    String previousRoot_;
};

TEST_F(DeleteFileOrFolderTest, DeletesAFolderTreeInsideTheDataRoot) {
    EXPECT_TRUE(DeleteFileOrFolder("players\\BOB"));
    EXPECT_FALSE(fs::exists(folder_ / "game/Players/Bob"));
    EXPECT_TRUE(fs::exists(folder_ / "game/Players"));
    EXPECT_FALSE(DeleteFileOrFolder("Players\\Bob"));  // already gone
}

TEST_F(DeleteFileOrFolderTest, RefusesPathsThatCouldLeaveTheDataRoot) {
    EXPECT_FALSE(DeleteFileOrFolder(""));
    EXPECT_FALSE(DeleteFileOrFolder("."));
    EXPECT_FALSE(DeleteFileOrFolder(".."));
    EXPECT_FALSE(DeleteFileOrFolder("..\\outside"));
    EXPECT_FALSE(DeleteFileOrFolder("Players/../../outside"));
    EXPECT_FALSE(DeleteFileOrFolder(S(folder_ / "outside")));
    EXPECT_FALSE(DeleteFileOrFolder(S(folder_ / "game/Players/Bob")));  // absolute
    EXPECT_TRUE(fs::exists(folder_ / "outside/keep.txt"));
    EXPECT_TRUE(fs::exists(folder_ / "game/Players/Bob/profile.txt"));
}

TEST_F(DeleteFileOrFolderTest, RemovesASymbolicLinkWithoutFollowingIt) {
    fs::create_directory_symlink(folder_ / "outside", folder_ / "game/Players/Link");
    EXPECT_TRUE(DeleteFileOrFolder("Players/Link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder_ / "game/Players/Link")));
    EXPECT_TRUE(fs::exists(folder_ / "outside/keep.txt"));
    EXPECT_FALSE(DeleteFileOrFolder("Players/Link/keep.txt"));
}

TEST(FileHelpersTest, GetFullPathIsAbsoluteAndEmptyForNothing) {
    TempFolder folder;
    WriteRaw(folder / "Data/File.txt", "");
    const String full = GetFullPath(S(folder / "data/sub/../FILE.TXT"));
    const std::string text = full.CStr();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text[0], '/');
    EXPECT_TRUE(text.ends_with("/Data/File.txt")) << text;
    EXPECT_TRUE(fs::equivalent(text, folder / "Data/File.txt"));
    EXPECT_TRUE(GetFullPath("").IsEmpty());
    EXPECT_EQ(GetFullPath("relative.txt")[0], '/');
}

TEST(FileHelpersTest, RunAndWaitRunsWithoutAShell) {
    if (!fs::exists("/usr/bin/touch")) GTEST_SKIP() << "no touch program";
    TempFolder folder;
    const std::string target = folder / "a b;c";
    EXPECT_TRUE(RunAndWait(S("/usr/bin/touch \"" + target + "\""), true));
    EXPECT_TRUE(fs::exists(target));  // the ';' reached the program unchanged
    EXPECT_FALSE(RunAndWait(S(folder / "no-such-program"), true));
    EXPECT_FALSE(RunAndWait("", true));
}

}  // namespace
