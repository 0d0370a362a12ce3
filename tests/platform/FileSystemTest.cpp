#include "platform/sys/FileSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sys/SafeFile.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform_test::ReadRaw;
using platform_test::TempFolder;
using platform_test::WriteRaw;
using Names = std::vector<std::string>;

class FileSystemTest : public ::testing::Test {
protected:
    TempFolder root;
};

TEST(WildcardMatch, MatchesWithoutRegardToCase) {
    EXPECT_TRUE(sys::WildcardMatch("*.vrn", "X.VRN"));
    EXPECT_TRUE(sys::WildcardMatch("?.txt", "a.TXT"));
    EXPECT_FALSE(sys::WildcardMatch("?.txt", "ab.txt"));
    EXPECT_TRUE(sys::WildcardMatch("a*b*c", "aXXbYYbc"));
    EXPECT_FALSE(sys::WildcardMatch("a*b*c", "aXXbYYbd"));
    EXPECT_TRUE(sys::WildcardMatch("*", ""));
    EXPECT_FALSE(sys::WildcardMatch("", "a"));
}

TEST(WildcardMatch, KeepsTheClassicExtensionRules) {
    EXPECT_TRUE(sys::WildcardMatch("*.*", "Bob"));
    EXPECT_TRUE(sys::WildcardMatch("*.*", "Bob.DATA"));
    EXPECT_TRUE(sys::WildcardMatch("*.", "Bob"));
    EXPECT_FALSE(sys::WildcardMatch("*.", "Bob.DATA"));
    EXPECT_TRUE(sys::WildcardMatch("unit.*", "UNIT"));
}

TEST_F(FileSystemTest, ListsMatchesSortedWithoutRegardToCase) {
    for (const char* name : {"b.vrn", "A.VRN", "c.Vrn", "notes.txt", "_x.vrn", "X.vrn", "x.vrn"}) {
        WriteRaw(root / (std::string("Players/Bob/") + name), "");
    }
    // Letters fold to lower case, so '_' sorts before them; equal names order by byte.
    EXPECT_EQ(sys::ListDirectory(root.Path() + "\\PLAYERS\\bob\\*.VRN"),
              (Names{"_x.vrn", "A.VRN", "b.vrn", "c.Vrn", "X.vrn", "x.vrn"}));
    EXPECT_EQ(sys::ListDirectory(root / "players/bob/?.txt"), Names{});
    EXPECT_EQ(sys::ListDirectory(root / "players/bob/NOTES.txt"), Names{"notes.txt"});
}

TEST_F(FileSystemTest, ListsFoldersAndHiddenNamesButNeverDots) {
    WriteRaw(root / "Players/Bob/unit.vrn", "");
    WriteRaw(root / "Players/Bob.DATA", "");
    WriteRaw(root / "Players/.cache", "");
    EXPECT_EQ(sys::ListDirectory(root / "players/*"), (Names{".cache", "Bob", "Bob.DATA"}));
    EXPECT_EQ(sys::ListDirectory(root / "players/*."), Names{"Bob"});
    EXPECT_TRUE(sys::IsHidden(root / "Players/.cache"));
    EXPECT_FALSE(sys::IsHidden(root / "Players/Bob.DATA"));
}

TEST_F(FileSystemTest, EmptyPatternsAndMissingFoldersListNothing) {
    WriteRaw(root / "a.txt", "");
    EXPECT_EQ(sys::ListDirectory(""), Names{});
    EXPECT_EQ(sys::ListDirectory(root / ""), Names{});
    EXPECT_EQ(sys::ListDirectory(root / "Missing/*"), Names{});
    EXPECT_FALSE(sys::Exists(root / "Missing"));
    EXPECT_TRUE(sys::Exists(root / "A.TXT"));
    EXPECT_TRUE(sys::IsDirectory(root.Path()));
    EXPECT_FALSE(sys::IsDirectory(root / "a.txt"));
}

TEST_F(FileSystemTest, ReadOnlyFilesAreNeitherOverwrittenNorDeleted) {
    WriteRaw(root / "Options.txt", "old");
    EXPECT_FALSE(sys::IsReadOnly(root / "options.TXT"));
    ASSERT_TRUE(sys::SetReadOnly(root / "options.TXT", true));
    EXPECT_TRUE(sys::IsReadOnly(root / "Options.txt"));
    EXPECT_FALSE(sys::SaveFileAtomically(root / "Options.txt", "new"));
    EXPECT_FALSE(sys::DeleteFile(root / "Options.txt"));
    EXPECT_EQ(ReadRaw(root / "Options.txt"), "old");

    ASSERT_TRUE(sys::SetReadOnly(root / "Options.txt", false));
    EXPECT_FALSE(sys::IsReadOnly(root / "Options.txt"));
    EXPECT_TRUE(sys::SaveFileAtomically(root / "Options.txt", "new"));
    EXPECT_FALSE(sys::IsReadOnly(root / "Missing.txt"));
}

TEST_F(FileSystemTest, LastWriteTimesCompareInNanoseconds) {
    WriteRaw(root / "Old.txt", "");
    WriteRaw(root / "New.txt", "");
    const auto base = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(root / "Old.txt", base);
    fs::last_write_time(root / "New.txt", base + std::chrono::milliseconds(1500));
    auto older = sys::LastWriteTime(root / "old.TXT");
    auto newer = sys::LastWriteTime(root / "NEW.txt");
    ASSERT_TRUE(older && newer);
    EXPECT_EQ(*newer - *older, 1'500'000'000);
    EXPECT_FALSE(sys::LastWriteTime(root / "Missing.txt").has_value());
}

TEST_F(FileSystemTest, MakesFoldersWithParentsInTheCaseGiven) {
    WriteRaw(root / "Players/Bob/unit.vrn", "");
    EXPECT_TRUE(sys::MakeDirectory(root.Path() + "\\PLAYERS\\bob\\Squads\\Deep"));
    EXPECT_TRUE(fs::is_directory(root / "Players/Bob/Squads/Deep"));
    EXPECT_TRUE(sys::MakeDirectory(root / "players/BOB"));
    EXPECT_FALSE(sys::MakeDirectory(root / "Players/Bob/unit.vrn/Sub"));
}

TEST_F(FileSystemTest, CopiesWithAndWithoutOverwrite) {
    WriteRaw(root / "Source.vrn", "source");
    WriteRaw(root / "Players/Bob/unit.VRN", "old");
    EXPECT_FALSE(sys::CopyFile(root / "source.VRN", root / "players/bob/UNIT.vrn", false));
    EXPECT_EQ(ReadRaw(root / "Players/Bob/unit.VRN"), "old");
    EXPECT_TRUE(sys::CopyFile(root / "source.VRN", root / "players/bob/UNIT.vrn", true));
    EXPECT_EQ(ReadRaw(root / "Players/Bob/unit.VRN"), "source");
    EXPECT_EQ(sys::ListDirectory(root / "Players/Bob/*"), Names{"unit.VRN"});

    EXPECT_TRUE(sys::CopyFile(root / "Source.vrn", root / "Players/Copy.vrn", false));
    EXPECT_EQ(ReadRaw(root / "Players/Copy.vrn"), "source");
    EXPECT_FALSE(sys::CopyFile(root / "Missing.vrn", root / "Players/Other.vrn", true));
    EXPECT_FALSE(sys::CopyFile(root / "Source.vrn", root / "SOURCE.vrn", true));
    EXPECT_EQ(ReadRaw(root / "Source.vrn"), "source");
}

TEST_F(FileSystemTest, CopiesOfReadOnlyDataCanBeSavedAgain) {
    WriteRaw(root / "Tutorials/Scout.vrn", "scout");
    ASSERT_TRUE(sys::SetReadOnly(root / "Tutorials/Scout.vrn", true));
    ASSERT_TRUE(sys::CopyFile(root / "tutorials/scout.vrn", root / "Scout.vrn", false));
    EXPECT_FALSE(sys::IsReadOnly(root / "Scout.vrn"));
    EXPECT_FALSE(sys::CopyFile(root / "Scout.vrn", root / "Tutorials/Scout.vrn", true));
    EXPECT_EQ(ReadRaw(root / "Tutorials/Scout.vrn"), "scout");
}

TEST_F(FileSystemTest, DeletesFilesOnly) {
    WriteRaw(root / "Players/Bob/unit.VRN", "");
    EXPECT_TRUE(sys::DeleteFile(root / "PLAYERS/BOB/UNIT.vrn"));
    EXPECT_FALSE(fs::exists(root / "Players/Bob/unit.VRN"));
    EXPECT_FALSE(sys::DeleteFile(root / "Players/Bob/unit.VRN"));
    EXPECT_FALSE(sys::DeleteFile(root / "Players/Bob"));
    EXPECT_TRUE(fs::is_directory(root / "Players/Bob"));
}

TEST_F(FileSystemTest, RenamesWithoutReplacingAnotherFile) {
    WriteRaw(root / "a.txt", "a");
    WriteRaw(root / "B.txt", "b");
    EXPECT_TRUE(sys::RenameFile(root / "A.TXT", root / "C.txt"));
    EXPECT_EQ(ReadRaw(root / "C.txt"), "a");
    EXPECT_FALSE(sys::RenameFile(root / "c.txt", root / "b.TXT"));
    EXPECT_EQ(ReadRaw(root / "B.txt"), "b");
    EXPECT_TRUE(sys::RenameFile(root / "c.txt", root / "c.TXT"));
    EXPECT_EQ(sys::ListDirectory(root / "*"), (Names{"B.txt", "c.TXT"}));
    EXPECT_FALSE(sys::RenameFile(root / "Missing", root / "Other"));
}

class RemoveTreeTest : public FileSystemTest {
protected:
    void SetUp() override {
        WriteRaw(data + "/Players/Bob/unit.vrn", "unit");
        WriteRaw(data + "/Players/Bob/Squads/a.sqd", "squad");
        WriteRaw(outside + "/keep.txt", "keep");
    }
    std::string data = root / "Data";
    std::string outside = root / "Outside";
};

TEST_F(RemoveTreeTest, RemovesAFolderTreeInsideRoot) {
    EXPECT_TRUE(sys::RemoveTree(data, "players\\BOB"));
    EXPECT_FALSE(fs::exists(data + "/Players/Bob"));
    EXPECT_TRUE(fs::exists(data + "/Players"));
    EXPECT_FALSE(sys::RemoveTree(data, "Players/Bob"));
    EXPECT_FALSE(sys::Exists(data + "/players/bob/unit.vrn"));
}

TEST_F(RemoveTreeTest, RelativeRootRemovesNamesDirectlyInsideIt) {
    const fs::path previous = fs::current_path();
    fs::current_path(data);
    const bool removed = sys::RemoveTree(".", "players");
    const bool refused = sys::RemoveTree(".", "../Outside");
    fs::current_path(previous);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(fs::exists(data + "/Players"));
    EXPECT_FALSE(refused);
    EXPECT_TRUE(fs::exists(outside + "/keep.txt"));
}

TEST_F(RemoveTreeTest, RefusesPathsThatCouldLeaveRoot) {
    for (const char* path : {"", ".", "./", "..", "../Outside", "Players/../../Outside", "/Outside", "\\Outside"}) {
        EXPECT_FALSE(sys::RemoveTree(data, path)) << path;
    }
    EXPECT_FALSE(sys::RemoveTree(data, outside));
    EXPECT_FALSE(sys::RemoveTree("", "Players"));
    EXPECT_TRUE(fs::exists(outside + "/keep.txt"));
    EXPECT_TRUE(fs::exists(data + "/Players/Bob/unit.vrn"));
}

TEST_F(RemoveTreeTest, RemovesLinksWithoutFollowingThem) {
    fs::create_directory_symlink(outside, data + "/Players/Link");
    EXPECT_FALSE(sys::RemoveTree(data, "Players/Link/keep.txt"));
    EXPECT_TRUE(sys::RemoveTree(data, "players/link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(data + "/Players/Link")));
    EXPECT_EQ(ReadRaw(outside + "/keep.txt"), "keep");

    fs::create_directory_symlink(outside, data + "/Players/Bob/Squads/Inner");
    EXPECT_TRUE(sys::RemoveTree(data, "Players/Bob"));
    EXPECT_EQ(ReadRaw(outside + "/keep.txt"), "keep");
}

}  // namespace
