// How a cache names a texture: relative to the folder it is written into, so that the
// reader finds the same file again from that folder.
#include <gtest/gtest.h>

#include <string>

#include "core/FileHelpers.h"
#include "engine/ModelCache.h"

namespace {

TEST(ModelCachePath, StoredNamesClimbOnlyAsFarAsThePathsDiffer) {
    struct Case {
        const char* path;
        const char* folder;
        const char* stored;
    };
    const Case cases[] = {
        {"/game/Models/Rock.tga", "/game/Models", "Rock.tga"},
        {"/game/Models/Rock.tga", "/game/Models/", "Rock.tga"},   // trailing slash
        {"/game//Models/Rock.tga", "//game/Models", "Rock.tga"},  // doubled slashes
        {"/game/Pictures/Sky/Rock.tga", "/game/Models/Cache", "../../Pictures/Sky/Rock.tga"},
        {"/game/Models/Sub/Rock.tga", "/game/Models", "Sub/Rock.tga"},
        {"/game/ModelsOld/Rock.tga", "/game/Models", "../ModelsOld/Rock.tga"},  // a prefix is no folder
        {"/other/Rock.tga", "/game/Models", "../../other/Rock.tga"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " from " + c.folder);
        const String stored = CacheRelativePath(c.path, c.folder);
        EXPECT_STREQ(stored.CStr(), c.stored);
        // and the reader comes back to the texture itself
        EXPECT_STREQ(CachedTexturePath(stored, c.folder).CStr(), GetFullPath(c.path).CStr());
    }
}

}  // namespace
