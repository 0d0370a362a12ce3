// Model files: the OBJ reader, actor and scene definitions, the ".sbm" cache beside a
// model (current, stale, damaged) and actor sets with their cache.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/FileStream.h"
#include "core/Image.h"
#include "engine/ActFile.h"
#include "engine/ActorSet.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelCache.h"
#include "engine/ModelNode.h"
#include "engine/ObjReader.h"
#include "engine/Renderer.h"
#include "platform/gfx/DeviceTexture.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform_test::TempFolder;

void ExpectNear(const Vector3& actual, const Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

ModelNode* ChildNamed(ModelNode* node, const char* name) {
    for (ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        if (child->name == name) return child;
    }
    return nullptr;
}

int ChildCount(const ModelNode* node) {
    int count = 0;
    for (const ModelNode* child = node->firstChild; child != nullptr; child = child->nextSibling) ++count;
    return count;
}

class ModelFilesTest : public ::testing::Test {
protected:
    // Files are written an hour in the past, so a cache written now is newer.
    String Write(const std::string& name, const std::string& text, int hoursAgo = 1) {
        const std::string path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        SetAge(path, hoursAgo);
        return String(path.c_str());
    }
    static void SetAge(const std::string& path, int hoursAgo) {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(hoursAgo));
    }
    // A painted triangle of the given size and its texture.
    void WritePainted(const std::string& name, float size) {
        const std::string s = std::to_string(size);
        Write(name + "_c_painted.obj", "v 0 0 0\nv 0 " + s + " 0\nv 0 0 " + s + "\nf 1 2 3\n");
        Write(name + "_c_painted.bmp", "BM");
        Image(2, 2).SaveTGA(folder_ / (name + "_c_painted.tga"));
    }
    String Path(const std::string& name) const { return String((folder_ / name).c_str()); }

    ModelNode* LoadObj(const std::string& name, const std::string& text) {
        return LoadObjModel(Write(name, text), 1.0f, 0.0f, settings_, false);
    }

    TempFolder folder_;
    ModelLoadSettings settings_;
};

// --- OBJ

TEST_F(ModelFilesTest, ObjPositionsNormalsTexCoordsAndEveryCornerForm) {
    ModelNode* model = LoadObj("Shape.obj",
                               "# a comment\nv 1 2 3\nv 4 5 6\nv 7 8 9.5\nv 0 0 1e1\nvn 0 0 1\nvt 0.25 0.25\n"
                               "f 1 2 3\nf 1/1 2/1 4/1 f 1 // 1 3//1 4//1\nf 2/1/1 3/1/1 4/1/1\n");
    ASSERT_NE(model, nullptr);
    const Mesh& mesh = *model->mesh;
    ASSERT_EQ(mesh.positions.Count(), 4);
    // Ordinary files store (x, -y, z).
    ExpectNear(mesh.positions[0], {1, -2, 3});
    ExpectNear(mesh.positions[3], {0, 0, 10});
    EXPECT_EQ(mesh.faces.Count(), 4);
    EXPECT_TRUE(mesh.hasNormals);
    EXPECT_EQ(mesh.texCoordSetCount, 1);
    bool sawTexCoord = false;
    for (const MeshVertex& vertex : mesh.vertices) {
        if (vertex.texCoords.Count() == 1) {
            EXPECT_EQ(vertex.texCoords[0], Vector2(0.25f, 0.75f));  // v becomes 1 - v
            sawTexCoord = true;
        }
    }
    EXPECT_TRUE(sawTexCoord);
    EXPECT_EQ(mesh.faces[0].material, nullptr);
}

TEST_F(ModelFilesTest, PaintedObjFilesStoreZXYAndTakeTheirTexture) {
    Write("Thing_c_painted.obj", "v 1 2 3\nv 0 0 0\nv 0 1 0\nf 1 2 3\n");
    Image(2, 2).SaveTGA(folder_ / "Thing_c_painted.tga");
    ModelNode* model = LoadObjModel(Path("Thing_c_painted.obj"), 1.0f, 0.0f, settings_, true);
    ASSERT_NE(model, nullptr);
    ExpectNear(model->mesh->positions[0], {3, 1, 2});
    const Material* material = model->mesh->faces[0].material;
    ASSERT_NE(material, nullptr);
    ASSERT_EQ(material->stages.Count(), 1);
    EXPECT_NE(material->stages[0].texture, nullptr);
    EXPECT_EQ(material->stages[0].addressU, 3u);
    EXPECT_EQ(material->power, 100.0f);
    EXPECT_NE(model->mesh->deviceMesh, nullptr);
}

TEST_F(ModelFilesTest, ObjStatementsOfTheWrongShapeAreSyntaxErrors) {
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";
    EXPECT_EQ(LoadObj("Quad.obj", triangle + "f 1 2 3 4\n"), nullptr);
    EXPECT_EQ(LoadObj("Four.obj", "v 1 2 3 4\n"), nullptr);
    EXPECT_EQ(LoadObj("Tex.obj", "vt 1 2 3\n"), nullptr);
    EXPECT_EQ(LoadObj("Smooth.obj", triangle + "s 1\n"), nullptr);
    EXPECT_EQ(LoadObj("Slash.obj", triangle + "f 1/ 2 3\n"), nullptr);
    EXPECT_EQ(LoadObj("Slashes.obj", triangle + "vt 0 0\nvn 0 0 1\nf 1/1//1 2 3\n"), nullptr);
    // Letters of other statements are reported and skipped; Windows line ends load.
    ModelNode* model = LoadObj("Group.obj", "g group\r\n" + triangle + "f 1 2 3\r\n");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->mesh->faces.Count(), 1);
    ModelNode* empty = LoadObj("Empty.obj", "");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->mesh->faces.IsEmpty());
}

TEST_F(ModelFilesTest, FacesNamingWhatWasNotReadAreSkippedAndNaNReadsAsZero) {
    ModelNode* model = LoadObj("Bad.obj",
                               "v NaN 2 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1 2 3\nf 0 1 2\nf 1 2 4\nf -1 2 3\n"
                               "f 1/2 2/1 3/1\nf 1/0 2/1 3/1\nf 1//1 2 3\n");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->mesh->faces.Count(), 1);
    ExpectNear(model->mesh->positions[0], {0, -2, 0});
}

TEST_F(ModelFilesTest, ObjCommentsAreEchoedAndALineStartingWithASemicolonContinuesThem) {
    testing::internal::CaptureStdout();
    ModelNode* model = LoadObj("Noted.obj", "# made by hand\n;v 9 9 9\nv 0 0 0 # origin\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " made by handv 9 9 9 origin");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->mesh->positions.Count(), 3);
}

// --- actor and scene definitions

class ActFilesTest : public ModelFilesTest {
protected:
    void SetUp() override {
        WritePainted("Body", 1.0f);
        WritePainted("Arm", 1.0f);
        WritePainted("Tyre", 0.5f);
        Write("Robot.act",
              "// mesh Ignored { }\n/* actor Ignored { } */ /*whole*/\ncamera 1 2 3 4 background Stage\n"
              "mesh Body { scale 2 translate 1 0 0 }\n"
              "mesh Arm { rename Limb rotate 0 0 1 90 }\n"
              "actor Hand { mesh Limb translate 0 0 1 }\n"
              "actor Arm { mesh Limb child Hand }\n"
              "actor Wheel { }\n"
              "actor * { mesh Body child Arm, Wheel poseset Walk, Step }\n");
        Write("Wheel.act", "mesh Tyre { }\nactor * { mesh Tyre }\n");
        Write("RobotWalk.key", "balls 2 models 4\n" + Key(0) + Key(1));
        std::ofstream ppp(folder_ / "RobotWalkStep.ppp", std::ios::binary);
        const char step[] = {5, 0, 0, 0, 'S', 't', 'e', 'p', 0, 1, 0, 0, 0,          0,   0,
                             0, 0, 0, 0, 0,   0,   0,   0,   0, 0, 0, 0, (char)0x80, 0x3F};
        ppp.write(step, sizeof step);
        ppp.close();
        SetAge(folder_ / "RobotWalkStep.ppp", 1);
    }

    static std::string Key(int x) {
        std::string text = std::to_string(x) + " 0 0\n";
        for (int m = 0; m < 4; ++m) text += "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1\n";
        return text;
    }

    ModelNode* LoadRobot(float scale = 1.0f, bool writeCache = true) {
        return GetRenderer().LoadModel(Path("Robot.act"), scale, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, writeCache, false, -1,
                                       -1, false);
    }
};

TEST_F(ActFilesTest, ActorsBuildTheTreeWithMeshesChildrenNestedFilesAndPoseSets) {
    ModelNode* robot = LoadSceneFile(Path("Robot.act"), 1.0f, 0.0f, settings_, false, nullptr);
    ASSERT_NE(robot, nullptr);
    EXPECT_EQ(robot->name, "Robot");
    ASSERT_NE(robot->mesh, nullptr);
    // Baked: scaled by 2, then moved by 1 along x; painted (0, 1, 0) is stored (0, 0, 1).
    ExpectNear(robot->mesh->positions[1], {1, 0, 2});
    EXPECT_EQ(ChildCount(robot), 2);
    ModelNode* arm = ChildNamed(robot, "Arm");
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(arm->mesh->name, "Limb");
    ModelNode* hand = ChildNamed(arm, "Hand");
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->mesh, arm->mesh);
    ExpectNear(hand->local.GetTranslation(), {0, 0, 1});
    ModelNode* wheel = ChildNamed(robot, "Wheel");
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(wheel->mesh->name, "Tyre");
    ASSERT_EQ(robot->animations.Count(), 1);
    EXPECT_EQ(robot->animations[0].keys.Count(), 2);
    ASSERT_EQ(robot->animations[0].tracks.Count(), 1);
    EXPECT_EQ(robot->animations[0].tracks[0].name, "Step");
    EXPECT_EQ(robot->FindAnimation("walk"), 0);
    EXPECT_EQ(robot->FindAnimation("RobotWalk"), 0);
}

TEST_F(ActFilesTest, ListingNamesTheFilesADefinitionNeedsAndLoadsNothing) {
    ActFileLists lists;
    EXPECT_EQ(LoadSceneFile(Path("Robot.act"), 1.0f, 0.0f, settings_, false, &lists), nullptr);
    ASSERT_EQ(lists.meshes.Count(), 2);
    EXPECT_TRUE(lists.meshes[1].EndsWithNoCase("Arm_c_painted.obj"));
    ASSERT_EQ(lists.actFiles.Count(), 1);
    EXPECT_TRUE(lists.actFiles[0].EndsWithNoCase("Wheel.act"));
    ASSERT_EQ(lists.keyFiles.Count(), 1);
    EXPECT_TRUE(lists.keyFiles[0].EndsWithNoCase("RobotWalk.key"));
    ASSERT_EQ(lists.poseFiles.Count(), 1);
    EXPECT_TRUE(lists.poseFiles[0].EndsWithNoCase("RobotWalkStep.ppp"));
}

TEST_F(ActFilesTest, NamesListsLinkEachNodeOnceAndMissingFilesAreSkipped) {
    Write("Links.act",
          "mesh Body { }\nactor a { mesh Body }\nactor b { mesh Body }\nactor b, { mesh Body }\n"
          "actor p { child a, b,c }\nactor q { child a }\nactor r { child Nothing }\n"
          "mesh Missing { }\nactor Absent { }\nactor * { child p, q, r, Absent poseset Gone, Pose }\n");
    ModelNode* root = LoadSceneFile(Path("Links.act"), 1.0f, 0.0f, settings_, false, nullptr);
    ASSERT_NE(root, nullptr);
    ModelNode* p = ChildNamed(root, "p");
    ASSERT_NE(p, nullptr);
    // "b,c" names "b," (a word with a comma loses its last character).
    EXPECT_NE(ChildNamed(p, "a"), nullptr);
    EXPECT_NE(ChildNamed(p, "b,"), nullptr);
    EXPECT_EQ(ChildCount(p), 2);
    EXPECT_EQ(ChildCount(ChildNamed(root, "q")), 0);
    EXPECT_EQ(ChildCount(root), 3);
    EXPECT_TRUE(root->animations.IsEmpty());
}

TEST_F(ActFilesTest, DefinitionsThatNestInALoopAreReadOnce) {
    Write("A.act", "actor B { }\nactor * { child B }\n");
    Write("B.act", "actor A { }\nactor * { child A }\n");
    ModelNode* a = LoadSceneFile(Path("A.act"), 1.0f, 0.0f, settings_, false, nullptr);
    ASSERT_NE(a, nullptr);
    ModelNode* b = ChildNamed(a, "B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->firstChild, nullptr);
    EXPECT_FALSE(GetRenderer().IsCacheCurrent(Path("A.act"), Path("A.sbm")));
}

// --- the model cache

void ExpectSameTree(const ModelNode& a, const ModelNode& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.local, b.local);
    EXPECT_EQ(a.bounds.radius, b.bounds.radius);
    ASSERT_EQ(a.mesh == nullptr, b.mesh == nullptr);
    if (a.mesh != nullptr) {
        EXPECT_EQ(a.mesh->name, b.mesh->name);
        ASSERT_EQ(a.mesh->positions.Count(), b.mesh->positions.Count());
        for (int i = 0; i < a.mesh->positions.Count(); ++i) EXPECT_EQ(a.mesh->positions[i], b.mesh->positions[i]);
        ASSERT_EQ(a.mesh->faces.Count(), b.mesh->faces.Count());
        EXPECT_EQ(a.mesh->levels.Count(), b.mesh->levels.Count());
        const Material* ma = a.mesh->GetMaterial();
        const Material* mb = b.mesh->GetMaterial();
        ASSERT_NE(mb, nullptr);
        EXPECT_EQ(ma->diffuse, mb->diffuse);
        EXPECT_EQ(ma->power, mb->power);
        ASSERT_EQ(ma->stages.Count(), mb->stages.Count());
        EXPECT_EQ(ma->stages[0], mb->stages[0]);  // the same texture record too
    }
    ASSERT_EQ(a.animations.Count(), b.animations.Count());
    for (int i = 0; i < a.animations.Count(); ++i) {
        EXPECT_EQ(a.animations[i].name, b.animations[i].name);
        EXPECT_EQ(a.animations[i].keys.Count(), b.animations[i].keys.Count());
        EXPECT_EQ(a.animations[i].tracks.Count(), b.animations[i].tracks.Count());
    }
    ASSERT_EQ(ChildCount(&a), ChildCount(&b));
    const ModelNode* other = b.firstChild;
    for (const ModelNode* child = a.firstChild; child != nullptr; child = child->nextSibling) {
        ExpectSameTree(*child, *other);
        other = other->nextSibling;
    }
}

TEST_F(ActFilesTest, ACurrentCacheGivesTheTreeTheSourceGave) {
    ModelNode* fromSource = LoadRobot();
    ASSERT_NE(fromSource, nullptr);
    ASSERT_TRUE(fs::exists(folder_ / "Robot.sbm"));
    // A changed mesh file that keeps its time does not make the cache stale.
    Write("Body_c_painted.obj", "v 0 0 0\nv 0 3 0\nv 0 0 3\nf 1 2 3\n");
    ModelNode* fromCache = LoadRobot();
    ASSERT_NE(fromCache, nullptr);
    ExpectSameTree(*fromSource, *fromCache);
    EXPECT_EQ(fromCache->FindAnimation("Walk"), 0);

    // Touching a mesh named inside the definition makes the cache stale.
    SetAge(folder_ / "Arm_c_painted.obj", -1);
    ModelNode* reloaded = LoadRobot();
    ASSERT_NE(reloaded, nullptr);
    ExpectNear(reloaded->mesh->positions[1], {1, 0, 6});
}

TEST_F(ActFilesTest, ScaleIsAppliedOnBothPathsNotStoredInTheCache) {
    ModelNode* fromSource = LoadRobot(2.0f);
    ModelNode* fromCache = LoadRobot(2.0f);
    ASSERT_NE(fromCache, nullptr);
    ExpectSameTree(*fromSource, *fromCache);
    ExpectNear(fromCache->mesh->positions[1], {2, 0, 4});
    ExpectNear(ChildNamed(ChildNamed(fromCache, "Arm"), "Hand")->local.GetTranslation(), {0, 0, 2});
}

TEST_F(ActFilesTest, ATruncatedOrDamagedCacheIsDiscardedForTheSource) {
    ModelNode* fromSource = LoadRobot();
    const std::string cache = folder_ / "Robot.sbm";
    const auto size = fs::file_size(cache);
    fs::resize_file(cache, size / 2);
    ModelNode* afterTruncation = LoadRobot();
    ASSERT_NE(afterTruncation, nullptr);
    ExpectSameTree(*fromSource, *afterTruncation);
    EXPECT_EQ(fs::file_size(cache), size);  // written again from the source

    // The root's mesh number (after its name and matrix) names no mesh of the file.
    {
        std::fstream file(cache, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4 + 6 + 64);
        const char bogus[4] = {0x77, 0x77, 0, 0};
        file.write(bogus, 4);
    }
    ModelNode root;
    ModelCacheObjects objects;
    FileStream in(cache, "rb");
    EXPECT_FALSE(ReadModelCache(in, root, objects));
    ModelNode* afterDamage = LoadRobot();
    ASSERT_NE(afterDamage, nullptr);
    ExpectSameTree(*fromSource, *afterDamage);
}

TEST_F(ModelFilesTest, WithoutItsSourceAModelLoadsFromItsCacheOnlyWhenCachesAreOn) {
    WritePainted("Rock", 1.0f);
    Renderer& renderer = GetRenderer();
    const String rock = Path("Rock_c_painted.obj");
    ASSERT_NE(renderer.LoadModel(rock, 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, false), nullptr);
    fs::remove(folder_ / "Rock_c_painted.obj");
    EXPECT_EQ(renderer.LoadModel(rock, 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, false, false), nullptr);
    ModelNode* cached = renderer.LoadModel(rock, 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, false);
    ASSERT_NE(cached, nullptr);
    ASSERT_NE(cached->mesh, nullptr);
    EXPECT_EQ(cached->mesh->faces.Count(), 1);
    EXPECT_NE(cached->mesh->deviceMesh, nullptr);
    // Remembered by full path: another spelling of it reads no file at all.
    fs::remove(folder_ / "Rock_c_painted.sbm");
    const String spelled = (folder_.Path() + "/./Rock_c_painted.obj").c_str();
    ModelNode* again = renderer.LoadModel(spelled, 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, true);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->source, renderer.LoadModel(rock, 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, true)->source);
}

TEST_F(ModelFilesTest, ACacheNamingAFileThatIsNoTextureIsRefused) {
    Write("Plain.obj", "v 0 0 0\nv 2 0 0\nv 0 2 0\nf 1 2 3\n");
    const String notTexture = Write("Notes.txt", "not a picture");
    Texture texture;
    texture.name = notTexture;
    Material material;
    material.stages.Append(TextureStageSettings(&texture));
    Mesh mesh;
    for (const Vector3& p : {Vector3(0, 0, 0), Vector3(5, 0, 0), Vector3(0, 5, 0)}) mesh.AddPosition(p);
    for (Vector3& p : mesh.positions) mesh.AddVertex(MeshVertex{&p, {}, {}, {}});
    mesh.AddFace(MeshFace{{}, &material, {&mesh.vertices[0], &mesh.vertices[1], &mesh.vertices[2]}, {}});
    ModelNode root(String("Plain"));
    root.mesh = &mesh;
    {
        FileStream out(folder_ / "Plain.sbm", "wb");
        WriteModelCache(out, root, String(folder_.Path().c_str()));
        ASSERT_TRUE(out.Commit());
    }
    ModelNode* model = GetRenderer().LoadModel(Path("Plain.obj"), 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, false);
    ASSERT_NE(model, nullptr);
    ExpectNear(model->mesh->positions[1], {2, 0, 0});  // from the source
}

// The game writes its caches inside its runtime folder; a copy of that folder (moved, or
// laid out afresh for a run) must draw with its own pictures, which are the ones the
// chassis look up to paint in their owners' colours.
TEST_F(ModelFilesTest, ACacheCopiedWithItsFolderNamesTheCopysTextures) {
    WritePainted("Rock", 1.0f);
    Renderer& renderer = GetRenderer();
    ASSERT_NE(renderer.LoadModel(Path("Rock_c_painted.obj"), 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, false), nullptr);
    TempFolder copy;
    for (const char* name : {"Rock_c_painted.sbm", "Rock_c_painted.tga"}) {
        fs::copy_file(folder_ / name, fs::path(copy.Path()) / name);
    }
    const String copied((fs::path(copy.Path()) / "Rock_c_painted.obj").c_str());
    ModelNode* model = renderer.LoadModel(copied, 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, false);
    ASSERT_NE(model, nullptr);
    const TextureHandle own =
        renderer.CreateTextureFromFile(String((fs::path(copy.Path()) / "Rock_c_painted.tga").c_str()));
    EXPECT_EQ(model->mesh->GetMaterial()->stages[0].texture, own);
    // Caches written before named their textures by full path: never taken.
    EXPECT_TRUE(CachedTexturePath(own->name, String(copy.Path().c_str())).IsEmpty());
}

// Hand-made damage: a vertex whose position reference falls between two stored positions,
// and a face corner one past the stored vertices. Either refuses the file, so a model
// without its source beside the cache is no model.
TEST_F(ModelFilesTest, ACacheWhoseReferencesNameNoStoredRecordIsRefused) {
    Mesh mesh;
    for (const Vector3& p : {Vector3(0, 0, 0), Vector3(5, 0, 0), Vector3(0, 5, 0)}) mesh.AddPosition(p);
    for (Vector3& p : mesh.positions) mesh.AddVertex(MeshVertex{&p, {}, {}, {}});
    mesh.AddFace(MeshFace{{}, nullptr, {&mesh.vertices[0], &mesh.vertices[1], &mesh.vertices[2]}, {}});
    ModelNode root(String("Plain"));
    root.mesh = &mesh;
    const std::string cache = folder_ / "Plain.sbm";
    {
        FileStream out(cache, "wb");
        WriteModelCache(out, root, String(folder_.Path().c_str()));
        ASSERT_TRUE(out.Commit());
    }
    const std::string whole = platform_test::ReadRaw(cache);
    // Records are stored from 0x10000 on: positions 12 bytes apart, vertices 32.
    const uint32_t secondPosition = 0x1000C;
    const uint32_t thirdVertex = 0x10040;
    for (const auto& [stored, damaged] : {std::pair{secondPosition, 0x1000Du}, std::pair{thirdVertex, 0x10060u}}) {
        std::string bytes = whole;
        const std::string from(reinterpret_cast<const char*>(&stored), 4);
        const size_t at = bytes.find(from);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, 4, reinterpret_cast<const char*>(&damaged), 4);
        platform_test::WriteRaw(cache, bytes);

        ModelNode read;
        ModelCacheObjects objects;
        FileStream in(cache, "rb");
        EXPECT_FALSE(ReadModelCache(in, read, objects)) << std::hex << damaged;
        EXPECT_EQ(GetRenderer().LoadModel(Path("Plain.obj"), 1.0f, 0.0f, 0, 0, 0, 0.0f, 0.5f, 1, true, false), nullptr);
    }
}

// --- actor sets

TEST_F(ModelFilesTest, ActorSetsRoundTripThroughTheirCacheWithKeyedTracks) {
    WritePainted("Crate", 1.0f);
    Renderer& renderer = GetRenderer();
    Array<ActorSetEntry> entries;
    const String crate = Path("Crate_c_painted.obj");
    ModelNode* first = renderer.LoadActorSet(crate, entries, 2.0f, true, settings_, true, false);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(fs::exists(folder_ / "Crate_c_painted.sbm"));
    Array<ActorSetEntry> again;
    ModelNode* second = renderer.LoadActorSet(crate, again, 2.0f, true, settings_, true, false);
    ASSERT_NE(second, nullptr);
    ExpectSameTree(*first->source, *second->source);
    // Scaled by 2 on both paths: the painted (0, 0, 1) corner is stored (1, 0, 0).
    ExpectNear(second->mesh->positions[2], {2, 0, 0});

    KeyedPoseTrack* track = renderer.CreateKeyTrack();
    track->name = "Spin";
    track->InsertKey(0, std::make_unique<PoseTreeNode>(), 0.5f);
    ActorSet set(crate);
    set.AddEntry({const_cast<ModelNode*>(first->source), {}});
    set.entries[0].tracks.Append(track);
    const std::string path = folder_ / "Set.sbm";
    {
        FileStream out(path, "wb");
        set.WriteBinary(out, String(folder_.Path().c_str()));
        ASSERT_TRUE(out.Commit());
    }
    ActorSet read;
    ActorSetObjects objects;
    FileStream in(path, "rb");
    ASSERT_TRUE(read.ReadBinary(in, objects));
    ASSERT_EQ(read.entries.Count(), 1);
    ASSERT_EQ(read.entries[0].tracks.Count(), 1);
    EXPECT_EQ(read.entries[0].tracks[0]->name, "Spin");
    EXPECT_EQ(read.entries[0].tracks[0]->model, read.entries[0].root);
    EXPECT_EQ(read.entries[0].root->mesh->positions.Count(), 3);
}

}  // namespace
