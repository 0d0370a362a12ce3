// An OBJ model's cache is current only while the model's bitmap twin (the painted
// texture's source) is there and older than the cache; the data set ships every twin.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Image.h"
#include "core/Tga.h"
#include "engine/Renderer.h"
#include "platform/gfx/BitmapFile.h"
#include "support/RuntimeCopy.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

void WriteAged(const fs::path& path, const std::string& text, int hoursAgo) {
    std::ofstream(path, std::ios::binary) << text;
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(hoursAgo));
}

TEST(ModelCacheTwinTest, AnObjCacheIsCurrentOnlyWithABitmapTwinOlderThanIt) {
    platform_test::TempFolder folder;
    const fs::path root(folder.Path());
    WriteAged(root / "Box_c_painted.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", 3);
    WriteAged(root / "Box.sbm", "cache", 1);
    const String source((root / "Box_c_painted.obj").c_str());
    const String cache((root / "Box.sbm").c_str());
    Renderer& renderer = GetRenderer();
    EXPECT_FALSE(renderer.IsCacheCurrent(source, cache)) << "no twin: read from the source";
    WriteAged(root / "Box_c_painted.bmp", "BM", 2);
    EXPECT_TRUE(renderer.IsCacheCurrent(source, cache));
    WriteAged(root / "Box_c_painted.bmp", "BM", 0);
    EXPECT_FALSE(renderer.IsCacheCurrent(source, cache)) << "a twin newer than the cache";
}

// Each twin holds the picture its TGA holds and is older than it, so a fresh data set is
// drawn as written and never converted at start-up.
TEST(ModelCacheTwinTest, EveryModelOfTheDataSetHasItsTwinOlderThanItsTextureWithTheSamePicture) {
    const fs::path game = runtime_test::BuiltRuntimeFolder();
    if (!fs::is_directory(game / "Actors")) GTEST_SKIP() << "no built data set";
    int models = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(game)) {
        const fs::path obj = entry.path();
        if (obj.extension() != ".obj") continue;
        ++models;
        fs::path bmp = obj, tga = obj;
        bmp.replace_extension(".bmp");
        tga.replace_extension(".tga");
        ASSERT_TRUE(fs::exists(bmp)) << obj;
        EXPECT_LT(fs::last_write_time(bmp), fs::last_write_time(tga)) << bmp;
        Image fromBitmap, fromTga;
        ASSERT_EQ(gfx::ReadBitmapFile(bmp.string(), fromBitmap), gfx::Result::Ok) << bmp;
        ASSERT_EQ(ReadTgaFile(tga.string(), fromTga), TgaReadResult::kOk) << tga;
        ASSERT_EQ(fromBitmap.Width(), fromTga.Width()) << bmp;
        ASSERT_EQ(fromBitmap.Height(), fromTga.Height()) << bmp;
        int differing = 0;
        for (int y = 0; y < fromTga.Height(); ++y) {
            for (int x = 0; x < fromTga.Width(); ++x) differing += fromBitmap.At(x, y).argb != fromTga.At(x, y).argb;
        }
        EXPECT_EQ(differing, 0) << bmp;
    }
    EXPECT_GT(models, 100);
}

}  // namespace
