#include "platform/sys/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/sys/FileSystem.h"
#include "platform/sys/SafeFile.h"
#include "support/TempFolder.h"

namespace {

using platform_test::TempFolder;
using platform_test::WriteRaw;

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override { WriteRaw(root / "Players/Bob/unit.VRN", "unit"); }

    TempFolder root;
};

// Switches the working folder for one test and restores it.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& path) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~WorkingFolder() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

TEST(NormalizeSeparators, TurnsBackslashesIntoSlashesAndCollapsesRuns) {
    EXPECT_EQ(sys::NormalizeSeparators("Textures\\\\Ground\\Tile.tga"), "Textures/Ground/Tile.tga");
    EXPECT_EQ(sys::NormalizeSeparators("Maps//Mission\\/Map.scn"), "Maps/Mission/Map.scn");
    EXPECT_EQ(sys::NormalizeSeparators("\\\\abs"), "/abs");
    EXPECT_EQ(sys::NormalizeSeparators(""), "");
}

TEST_F(PathsTest, ResolvesEachComponentWithoutRegardToCase) {
    EXPECT_EQ(sys::ResolvePath(root.Path() + "\\PLAYERS\\bob\\UNIT.vrn"), root / "Players/Bob/unit.VRN");
    EXPECT_EQ(sys::ResolvePath(root.Path() + "//players\\\\BOB//unit.vrn"), root / "Players/Bob/unit.VRN");
    EXPECT_EQ(sys::ResolvePath(root.Path() + "/players/bob/"), root / "Players/Bob/");
}

TEST_F(PathsTest, MissingComponentsKeepTheCaseGiven) {
    EXPECT_EQ(sys::ResolvePath(root.Path() + "\\PLAYERS\\Alice\\New.Vrn"), root / "Players/Alice/New.Vrn");
    EXPECT_EQ(sys::ResolvePath(root.Path() + "/players/BOB/Squads/A.sqd"), root / "Players/Bob/Squads/A.sqd");
}

TEST_F(PathsTest, AnExactMatchWinsOverOtherCases) {
    WriteRaw(root / "Players/Bob/UNIT.VRN", "upper");
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/UNIT.VRN"), root / "Players/Bob/UNIT.VRN");
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/unit.VRN"), root / "Players/Bob/unit.VRN");
    // Neither spelling exact: the choice must not depend on the listing order.
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/Unit.vrn"), root / "Players/Bob/UNIT.VRN");
}

TEST_F(PathsTest, DotAndDotDotApplyByName) {
    EXPECT_EQ(sys::ResolvePath(root / "players/./Nobody/../BOB/unit.vrn"), root / "Players/Bob/unit.VRN");
    EXPECT_EQ(sys::ResolvePath("/.."), "/");
    EXPECT_EQ(sys::ResolvePath("a/.."), ".");
    EXPECT_EQ(sys::ResolvePath("../x/../y"), "../y");
}

TEST_F(PathsTest, RelativePathsResolveAgainstTheWorkingFolder) {
    WorkingFolder inside(root.Path() + "/Players");
    EXPECT_EQ(sys::ResolvePath("bob\\UNIT.vrn"), "Bob/unit.VRN");
    EXPECT_EQ(sys::ResolvePath("..\\PLAYERS\\bob"), "../Players/Bob");
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(sys::FullPath("BOB\\..\\bob\\unit.vrn"), here + "/Bob/unit.VRN");
    EXPECT_EQ(sys::FullPath("."), here);
}

TEST_F(PathsTest, FullPathIsAbsoluteNormalisedAndUnbounded) {
    EXPECT_EQ(sys::FullPath(""), "");
    EXPECT_EQ(sys::FullPath("/a/./b/../c/"), "/a/c");
    EXPECT_EQ(sys::FullPath(root / "PLAYERS/BOB"), root / "Players/Bob");
    std::string deep = root.Path();
    for (int i = 0; i < 40; ++i) deep += "/folder" + std::to_string(i);
    EXPECT_GT(deep.size(), 260u);
    EXPECT_EQ(sys::FullPath(deep), deep);
}

TEST_F(PathsTest, WritesOfTheLayerShowInTheNextResolution) {
    const std::string spelled = root / "Players/Bob/fresh.dat";
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/fresh.dat"), spelled);  // listing now cached
    ASSERT_TRUE(sys::SaveFileAtomically(root / "players/bob/Fresh.DAT", "x"));
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/FRESH.dat"), root / "Players/Bob/Fresh.DAT");

    ASSERT_TRUE(sys::DeleteFile(root / "players/bob/fresh.dat"));
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/fresh.dat"), spelled);

    ASSERT_TRUE(sys::MakeDirectory(root / "players/Bob/SQUADS"));
    EXPECT_EQ(sys::ResolvePath(root / "PLAYERS/BOB/squads"), root / "Players/Bob/SQUADS");
}

TEST_F(PathsTest, ExplicitInvalidationPicksUpOtherWriters) {
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/other.txt"), root / "Players/Bob/other.txt");
    WriteRaw(root / "Players/Bob/Other.TXT", "y");
    sys::InvalidateContainingDirectory(root / "players/bob/other.txt");
    EXPECT_EQ(sys::ResolvePath(root / "players/bob/other.txt"), root / "Players/Bob/Other.TXT");
}

TEST(IsSafeName, AcceptsPlainNames) {
    for (const char* name : {"Bob", "unit_2", "Mega-Vorn.v2", "\xC3\x89lan", "__Temp"}) {
        EXPECT_TRUE(sys::IsSafeName(name)) << name;
    }
    EXPECT_TRUE(sys::IsSafeName(std::string(64, 'a')));
}

TEST(IsSafeName, RefusesWhatCouldLeaveTheFolderOrConfuseIt) {
    for (const char* name : {"", ".", "..", ".hidden", "a/b", "a\\b", "C:", "*", "a?", "\"q\"", "<a", "a>", "a|b",
                             "two words", "tab\there", "line\n", "\x01", "del\x7F"}) {
        EXPECT_FALSE(sys::IsSafeName(name)) << name;
    }
    EXPECT_FALSE(sys::IsSafeName(std::string(65, 'a')));
    EXPECT_FALSE(sys::IsSafeName(std::string("nul\0byte", 8)));
}

}  // namespace
