// The names the program asked to open and could not find, as a test collects them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "platform/sys/SafeFile.h"
#include "support/TempFolder.h"

namespace {

using platform_test::TempFolder;
using platform_test::WriteRaw;

TEST(MissingFilesRecord, KeepsOpenedNamesThatNameNothingButNotQuestionsOrFilesMadeLater) {
    TempFolder root;
    WriteRaw(root / "Textures/Tile.tga", "tile");
    const std::string folder = root.Path();
    sys::ResolvePath(folder + "/Textures\\Before.tga");  // before recording: not kept
    sys::RecordMissingFiles(true);
    sys::ResolvePath(folder + "/TEXTURES\\tile.TGA");  // found in another case
    sys::ResolvePath(folder + "/Textures\\Gone.tga");  // kept as spelled
    sys::ResolvePath(folder + "/Sounds/Gone.ogg");     // a missing folder too
    EXPECT_FALSE(sys::Exists(folder + "/Textures/Asked.tga"));
    EXPECT_TRUE(sys::ListDirectory(folder + "/Nowhere/*.*").empty());
    sys::ResolvePath(folder + "/Made/Later.txt");
    WriteRaw(root / "Made/Later.txt", "written after it was asked for");
    sys::InvalidateDirectoryCache(folder);
    EXPECT_EQ(sys::MissingFiles(),
              (std::vector<std::string>{folder + "/Sounds/Gone.ogg", folder + "/Textures\\Gone.tga"}));
    sys::RecordMissingFiles(false);
    sys::ResolvePath(folder + "/After.tga");
    EXPECT_TRUE(sys::MissingFiles().empty());
}

}  // namespace
