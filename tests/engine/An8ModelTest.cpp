// Reading ".an8" model files into actor sets: objects of meshes and primitives in
// groups, materials and textures, figures of bones with their meshes, and sequences as
// keyed tracks.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

#include "core/Image.h"
#include "engine/ActorSet.h"
#include "engine/An8Model.h"
#include "engine/KeyedPoseTrack.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "support/TempFolder.h"

namespace {

using platform_test::TempFolder;

constexpr float kDegrees = std::numbers::pi_v<float> / 180.0f;

ModelLoadSettings Exact() {
    ModelLoadSettings settings;
    settings.simplify = 0;
    return settings;
}

bool Load(ActorSet& set, const TempFolder& folder, const std::string& text,
          const ModelLoadSettings& settings = Exact()) {
    const std::string path = folder / "model.an8";
    std::ofstream(path) << text;
    set.name = path.c_str();
    return LoadAn8Model(set, 1.0f, settings);
}

bool HasPosition(const Mesh& mesh, const Vector3& p) {
    for (const Vector3& q : mesh.positions) {
        if ((q - p).Length() < 1e-4f) return true;
    }
    return false;
}

// The file's texture is named ".gif" with doubled backslashes; the reader loads the
// ".tga" of that name.
std::string FileNameAsWritten(const std::string& path) {
    std::string written;
    for (char c : path) written += c == '/' ? std::string("\\\\") : std::string(1, c);
    return written;
}

const char* const kModel = R"(
header { version { "0.9" } build { "test" } }
environment { framerate { 10 } framerate { 0 } }
texture { "skin" file { "SKIN_PATH" } }
material { "red" surface { rgb { 255 0 0 } ambiant { } diffuse { } phongsize { 33 } alpha { 128 } } }
material { "checked" surface { rgb { 0 0 255 } diffuse { texturename { "CHECKS" } textureparams { blendmode { decal } } } } }
object { "box"
  material { "skinned" surface { diffuse { rgb { 10 20 30 } texturename { "skin" } } } }
  group { name { "g" } base { origin { (10 0 0) } }
    mesh { name { "quad" } base { origin { (0 1 0) } } smoothangle { 30 }
      materiallist { materialname { "red" } materialname { "skinned" } materialname { "nothing" } }
      points { (0 0 0) (1 0 0) (1 1 0) (0 1 0) }
      texcoords { (0 0) (1 0) (1 1) (0 1) }
      edges { (0 2 -1) (1 3) }
      faces { 4 4 1 -1 ( (0 0) (1 1) (2 2) (3 3) ) 3 4 0 -1 ( (0) (2) (9) ) 3 4 2 -1 ( (0) (1) (2) ) }
    }
  }
  cube { name { "c" } scale { 2 2 2 } divisions { 0 1 1 } }
}
object { "ball"
  sphere { material { "red" } diameter { 2 } longlat { 8 4 } }
  cylinder { length { 3 } longlat { 6 0 } }
  cylinder { base { origin { (0 5 0) } } length { 2 } diameter { 1 } longlat { 6 2 } capstart { } capend { } }
}
figure { "walker"
  bone { "root" length { 2 }
    bone { "leg" orientation { (0 0 0 1) } length { 1 }
      namedobject { "box" name { "boxnode" } }
      sphere { name { "knee" } diameter { 0.5 } longlat { 6 3 } }
      bone { "foot" length { 1 } }
    }
  }
}
sequence { "walk" figure { "walker" } frames { 5 }
  jointangle { "leg" "X" track { floatkey { 0 10 "F" } floatkey { 0 20 "F" } floatkey { 10 90 "F" } } }
  jointangle { "foot" "Y" track { floatkey { 5 40 "F" } } }
}
)";

class An8ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Image skin(4, 4);
        skin.Fill(Color(0xFF808080u));
        ASSERT_TRUE(skin.SaveTGA(folder_ / "skin.tga"));
        text_ = kModel;
        text_.replace(text_.find("SKIN_PATH"), 9, FileNameAsWritten(folder_ / "skin.gif"));
    }

    TempFolder folder_;
    std::string text_;
};

TEST_F(An8ModelTest, ObjectsBecomeMeshesWithTheirMaterialsAndPlacements) {
    ActorSet set;
    ASSERT_TRUE(Load(set, folder_, text_.substr(0, text_.find("figure {"))));
    // No figure: one entry per object.
    ASSERT_EQ(set.entries.Count(), 2);
    ModelNode* boxNode = set.entries[0].root;
    ASSERT_NE(boxNode, nullptr);
    EXPECT_EQ(boxNode->name, "box");
    const Mesh& box = *boxNode->mesh;
    EXPECT_EQ(box.name, "box");

    // The quad's corner (0 0 0) moved by its base (0 1 0) and its group's (10 0 0), in
    // engine axes (z, x, y): (0, 10, 1).
    EXPECT_TRUE(HasPosition(box, {0, 10, 1}));
    EXPECT_TRUE(HasPosition(box, {0, 11, 2}));
    // The cube of side 2 with 0 divisions asked: one cell a side, 12 faces; the quad 2
    // faces; the face naming point 9 skipped; the face of an unknown material kept.
    EXPECT_EQ(box.faces.Count(), 2 + 1 + 12);
    EXPECT_TRUE(HasPosition(box, {1, 1, 1}));
    EXPECT_EQ(box.edges.Count(), 1);

    // The quad's faces wear the object's textured material with its coordinates
    // (u, 1 - v); the face of an unknown material has none.
    const Material* skinned = box.faces[0].material;
    ASSERT_NE(skinned, nullptr);
    EXPECT_EQ(skinned->name, "skinned");
    ASSERT_EQ(skinned->stages.Count(), 1);
    EXPECT_NE(skinned->stages[0].texture, nullptr);
    EXPECT_EQ(skinned->stages[0].colorOp, 2u);  // decal, as the blend mode last read
    EXPECT_EQ(skinned->stages[0].alphaArg1, 0u);
    EXPECT_FLOAT_EQ(skinned->diffuse.b, 30.0f / 255.0f);
    EXPECT_EQ(box.texCoordSetCount, 1);
    EXPECT_EQ(box.faces[2].material, nullptr);
    for (int f = 0; f < 2; ++f) {
        for (const MeshVertex* corner : box.faces[f].corners) {
            ASSERT_EQ(corner->texCoords.Count(), 1);
            const Vector3& p = *corner->position;
            // Points (x, y) of the quad carry the coordinates (x, 1 - y).
            EXPECT_FLOAT_EQ(corner->texCoords[0].x, p.y - 10.0f);
            EXPECT_FLOAT_EQ(corner->texCoords[0].y, 1.0f - (p.z - 1.0f));
        }
    }

    // The sphere (8 x 4: 48 faces) and the capped cylinder (6 x 2: 24 + 2 x 4 faces);
    // the cylinder without rings is skipped.
    const Mesh& ball = *set.entries[1].root->mesh;
    EXPECT_EQ(ball.faces.Count(), 48 + 32);
    EXPECT_EQ(ball.positions.Count(), 2 + 3 * 8 + 3 * 6);
    EXPECT_TRUE(HasPosition(ball, {0, 0, 1}));     // the sphere's top pole, file (0 1 0)
    EXPECT_TRUE(HasPosition(ball, {0, 0.5f, 7}));  // the cylinder's top ring, raised by 5
    const Material* red = ball.faces[0].material;
    ASSERT_NE(red, nullptr);
    EXPECT_FLOAT_EQ(red->diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(red->ambient.r, 1.0f);
    EXPECT_FLOAT_EQ(red->diffuse.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(red->power, 32.0f);
    EXPECT_TRUE(red->stages.IsEmpty());
    // Every face of a closed, outward-facing primitive points away from its centre.
    for (int f = 0; f < 48; ++f) {
        const MeshFace& face = ball.faces[f];
        const Vector3 centre =
            (*face.corners[0]->position + *face.corners[1]->position + *face.corners[2]->position) / 3.0f;
        EXPECT_GT(face.normal.Dot(centre), 0.0f);
    }
}

TEST_F(An8ModelTest, FiguresBecomeTreesWithKeyedTracks) {
    ActorSet set;
    ASSERT_TRUE(Load(set, folder_, text_));
    ASSERT_EQ(set.entries.Count(), 1);  // objects live on in the figure only
    ModelNode* root = set.entries[0].root;
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->name, "walker");
    ModelNode* leg = root->firstChild;
    ASSERT_NE(leg, nullptr);
    EXPECT_EQ(leg->name, "leg");
    EXPECT_EQ(leg->nextSibling, nullptr);
    ModelNode* boxNode = leg->firstChild;
    ASSERT_NE(boxNode, nullptr);
    EXPECT_EQ(boxNode->name, "boxnode");
    ASSERT_NE(boxNode->mesh, nullptr);
    EXPECT_EQ(boxNode->mesh->name, "box");
    ModelNode* knee = boxNode->nextSibling;
    ASSERT_NE(knee, nullptr);
    EXPECT_EQ(knee->name, "knee");
    ASSERT_NE(knee->mesh, nullptr);
    EXPECT_EQ(knee->mesh->faces.Count(), 6 + 12 + 6);
    ModelNode* foot = knee->nextSibling;
    ASSERT_NE(foot, nullptr);
    EXPECT_EQ(foot->name, "foot");
    // Below the first level a bone stands at the end of its parent: the leg's length 1
    // along file y is engine z.
    EXPECT_FLOAT_EQ(foot->local.GetTranslation().z, 1.0f);
    EXPECT_FALSE(root->bounds.IsEmpty());

    // The walk: 5 frames at 10 a second (the rate 0 was ignored) is 0.5 s, and keys after
    // that stay. The leg's two keys at frame 0 compose to 30 degrees; 90 at 1 s; the foot's
    // only key (40 at 0.5 s) stands at every time, and the leg gets 60 degrees at 0.5 s.
    ASSERT_EQ(set.entries[0].tracks.Count(), 1);
    const KeyedPoseTrack& walk = *set.entries[0].tracks[0];
    EXPECT_EQ(walk.name, "walk");
    EXPECT_EQ(walk.model, root);
    ASSERT_EQ(walk.keys.size(), 3u);
    const float times[3] = {0.0f, 0.5f, 1.0f};
    const float legDegrees[3] = {30.0f, 60.0f, 90.0f};
    for (int k = 0; k < 3; ++k) {
        const KeyedPose& key = walk.keys[size_t(k)];
        EXPECT_NEAR(key.time, times[k], 1e-5f);
        ASSERT_NE(key.pose, nullptr);
        const PoseTreeNode* legPose = key.pose->left.get();
        ASSERT_NE(legPose, nullptr);
        // File x is engine y.
        const Quaternion expected = Quaternion::FromAxisAngle({0, 1, 0}, legDegrees[k] * kDegrees);
        EXPECT_NEAR(std::fabs(legPose->rotation.Dot(expected)), 1.0f, 1e-4f) << "key " << k;
        const PoseTreeNode* footPose = legPose->left->right->right.get();
        ASSERT_NE(footPose, nullptr);
        const Quaternion footExpected = Quaternion::FromAxisAngle({0, 0, 1}, 40.0f * kDegrees);
        EXPECT_NEAR(std::fabs(footPose->rotation.Dot(footExpected)), 1.0f, 1e-4f) << "key " << k;
    }
}

TEST_F(An8ModelTest, AFigureReadBackFromItsCacheKeepsItsTreeAndTrack) {
    const std::string path = folder_ / "walker.an8";
    std::ofstream(path) << text_;
    // Older than the cache the first load writes, so the second load reads the cache.
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    Renderer& renderer = GetRenderer();
    Array<ActorSetEntry> source;
    ModelNode* loaded = renderer.LoadActorSet(path.c_str(), source, 1.0f, false, Exact(), true, false);
    Array<ActorSetEntry> cached;
    ModelNode* reread = renderer.LoadActorSet(path.c_str(), cached, 1.0f, false, Exact(), true, false);
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(reread, nullptr);
    ASSERT_TRUE(std::filesystem::exists(folder_ / "walker.sbm"));
    EXPECT_EQ(reread->name, "walker");
    ASSERT_NE(reread->firstChild, nullptr);
    ASSERT_NE(reread->firstChild->firstChild, nullptr);
    EXPECT_EQ(reread->firstChild->firstChild->mesh->faces.Count(), loaded->firstChild->firstChild->mesh->faces.Count());
    ASSERT_EQ(cached.Count(), 1);
    ASSERT_EQ(cached[0].tracks.Count(), 1);
    EXPECT_EQ(cached[0].tracks[0]->keys.size(), 3u);
}

TEST_F(An8ModelTest, LevelsAreBuiltWhenAsked) {
    ActorSet set;
    ASSERT_TRUE(
        Load(set, folder_, "object { \"ball\" sphere { diameter { 2 } longlat { 24 12 } } }", ModelLoadSettings()));
    ASSERT_EQ(set.entries.Count(), 1);
    const Mesh& ball = *set.entries[0].root->mesh;
    EXPECT_FALSE(ball.levels.IsEmpty());
    EXPECT_LE(ball.levels[0].mesh->faces.Count(), ball.faces.Count() / 2);
}

TEST_F(An8ModelTest, BadFilesFailAndLeaveNoEntries) {
    ActorSet set;
    EXPECT_FALSE(Load(set, folder_, "object { \"o\" mesh { points { (0 0 0) } } } material"));
    EXPECT_TRUE(set.entries.IsEmpty());
    set.name = (folder_ / "missing.an8").c_str();
    EXPECT_FALSE(LoadAn8Model(set, 1.0f, Exact()));

    // No header, an empty object, a texture file that is not there: all read.
    ASSERT_TRUE(Load(set, folder_, "texture { \"t\" file { \"nowhere.tga\" } } object { \"empty\" }"));
    ASSERT_EQ(set.entries.Count(), 1);
    EXPECT_TRUE(set.entries[0].root->mesh->faces.IsEmpty());
}

}  // namespace
