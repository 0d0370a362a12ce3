// The stalk bodies look out of one round eye: the brows and the mouth the game puts on their
// face nodes sit on its front rather than hang in the air in front of a thin stalk.
#include <gtest/gtest.h>

#include <string>

#include "ModelReaders.h"

namespace {

const std::string kActors = std::string(VORNS_GAME_DIR) + "/Actors/";

TEST(StalkEyeTest, TheFaceOfEachStalkSitsOnItsEye) {
    for (const char* title : {"StalkSmall", "StalkMedium", "StalkLarge"}) {
        content_test::ActFile act;
        ASSERT_TRUE(content_test::ReadAct(kActors + title + ".act", act)) << title;
        ASSERT_TRUE(act.actors.count("Eye")) << title;
        const content_test::ActNode& eye = act.actors["Eye"];
        content_test::ObjModel model;
        ASSERT_TRUE(content_test::ReadObj(kActors + eye.mesh + "_c_painted.obj", model)) << title << ": " << eye.mesh;
        assetgen::V3 low, high;
        model.mesh.Bounds(low, high);
        // The face nodes stand 0.18 in front of the eye's centre; the eye reaches them.
        for (const char* part : {"LeftEyebrowActor", "MouthActor"}) {
            ASSERT_TRUE(act.actors.count(part)) << title << ": " << part;
            EXPECT_GE(high.x, act.actors[part].offset.x - 0.02f) << title << ": " << part << " stands off the eye";
            EXPECT_LE(low.z, act.actors[part].offset.z) << title << ": " << part << " is below the eye";
        }
    }
}

}  // namespace
