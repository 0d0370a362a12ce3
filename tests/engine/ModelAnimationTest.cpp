// Model trees: track playback, blending into a pose, animation lookup, scaling, random
// surface points, and keyed pose tracks with their stored form.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/FileStream.h"
#include "core/MathUtil.h"
#include "engine/AnimationController.h"
#include "engine/KeyedPoseTrack.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "platform/sys/Random.h"
#include "support/TempFolder.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

Matrix3 TurnAboutZ(float angle) {
    Matrix3 r;
    r.m[0] = std::cos(angle), r.m[1] = std::sin(angle);
    r.m[3] = -std::sin(angle), r.m[4] = std::cos(angle);
    return r;
}

// A source model with one animation "RobotWalk": a single key turning the root by a
// quarter about z, and the track "Step" of the given keys.
class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        source_.name = "Robot";
        PoseAnimation animation;
        animation.name = "RobotWalk";
        PoseKey key;
        key.rotations.Append(TurnAboutZ(kPi / 2));
        animation.keys.Append(key);
        animation.Build();
        PoseTrack track;
        track.name = "Step";
        track.keys.Append({1.0f, Vector3(0, 0, 0)});
        track.keys.Append({1.0f, Vector3(2, 0, 0)});
        animation.tracks.Append(track);
        source_.animations.Append(animation);
        instance_.source = &source_;
    }

    void Play(bool loop, float blend = 0.0f) { controller_.Play(&instance_, "walk", "STEP", loop, blend, 0.0f, true); }

    ModelNode source_;
    ModelNode instance_;
    AnimationController controller_;
};

TEST_F(PlaybackTest, KeysAreReachedInTurnAndTheEndStopsOrLoops) {
    Play(false);
    ASSERT_TRUE(controller_.IsPlaying());
    ExpectNear(controller_.position, {0, 0, 0});
    // 1.5 s: key 1 reached after its 1 s, then half of key 2's second.
    controller_.Advance(1.5f);
    ExpectNear(controller_.position, {1, 0, 0});
    controller_.Advance(1.0f);
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(controller_.model, nullptr);

    Play(true);
    // 2.5 s: the whole track (2 s), then the 0.5 s left over carries into segment 1.
    controller_.Advance(2.5f);
    EXPECT_TRUE(controller_.IsPlaying());
    ExpectNear(controller_.position, {1, 0, 0});
    EXPECT_EQ(controller_.segmentIndex, 1);
}

TEST_F(PlaybackTest, ALoopingTrackThatTakesNoTimeHoldsItsFirstKey) {
    PoseTrack& track = source_.animations[0].tracks[0];
    track.keys[0].duration = 0.0f;
    track.keys[1].duration = 0.0f;
    Play(true);
    controller_.Advance(0.5f);
    EXPECT_TRUE(controller_.IsPlaying());
    ExpectNear(controller_.position, {0, 0, 0});
}

TEST_F(PlaybackTest, MissingAnimationOrTrackStopsTheController) {
    Play(false);
    controller_.Play(&instance_, "Swim", "Step", false, 0.0f, 0.0f, true);
    EXPECT_FALSE(controller_.IsPlaying());
    controller_.Play(&instance_, "RobotWalk", "Run", false, 0.0f, 0.0f, true);
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(instance_.FindAnimation("robotwalk"), 0);
}

// A body is an instance of its chassis' instance of the loaded model: it plays the
// loaded model's animations all the same.
TEST_F(PlaybackTest, AnInstanceOfAnInstancePlaysTheLoadedModelsAnimations) {
    ModelNode body;
    body.source = &instance_;
    controller_.Play(&body, "Walk", "Step", false, 0.0f, 0.0f, true);
    ASSERT_TRUE(controller_.IsPlaying());
    controller_.Advance(0.5f);
    EXPECT_NEAR(body.local.m[1], 1.0f, 1e-5f);
}

TEST_F(PlaybackTest, TheNewPoseIsBlendedInOverTheBlendTime) {
    Play(false, 0.5f);
    // Halfway through the blend the rows are the mean of identity and the quarter turn,
    // made orthonormal again: an eighth of a turn.
    controller_.Advance(0.25f);
    const Matrix3 half = TurnAboutZ(kPi / 4);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(instance_.local.m[4 * i + j], half.m[3 * i + j], 0.02f);
    }
    controller_.Advance(0.25f);
    EXPECT_EQ(instance_.blendTime, 0.0f);
    EXPECT_NEAR(instance_.local.m[1], 1.0f, 1e-5f);
}

// A root with a child at (10, 0, 0) that holds a mesh; both share the mesh.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        mesh_.AddPosition(Vector3(1, 0, 0));
        mesh_.AddPosition(Vector3(0, 2, 0));
        child_ = root_.AddChild(std::make_unique<ModelNode>("Arm"));
        child_->local.SetTranslation(Vector3(10, 0, 0));
        child_->mesh = &mesh_;
        root_.mesh = &mesh_;
    }

    Mesh mesh_;
    ModelNode root_{String("Body")};
    ModelNode* child_ = nullptr;
};

TEST_F(TreeTest, ScalingMovesChildrenAndScalesASharedMeshOnce) {
    root_.Scale(2.0f);
    ExpectNear(child_->local.GetTranslation(), {20, 0, 0});
    ExpectNear(mesh_.positions[0], {2, 0, 0});
    root_.FitToSize(11.0f);  // the box runs from x 0 to 22: half the size
    ExpectNear(child_->local.GetTranslation(), {10, 0, 0});
    ExpectNear(mesh_.positions[1], {0, 2, 0});
}

TEST_F(TreeTest, RandomPointsLieOnTheMeshesThroughTheirNodes) {
    sys::SRand(7);
    for (int i = 0; i < 20; ++i) {
        const Vector3 p = root_.GetRandomPoint();
        const bool onRoot = p == Vector3(1, 0, 0) || p == Vector3(0, 2, 0);
        const bool onChild = p == Vector3(11, 0, 0) || p == Vector3(10, 2, 0);
        EXPECT_TRUE(onRoot || onChild);
    }
    EXPECT_EQ(root_.CountPositions(), 4);
    ExpectNear(root_.GetWorldMatrix(child_, true).GetTranslation(), {10, 0, 0});
    ExpectNear(root_.GetWorldMatrix(child_, false).GetTranslation(), {0, 0, 0});
}

TEST_F(TreeTest, FlatteningGivesChildrenBeforeParentsWithAccumulatedMatrices) {
    root_.local.SetTranslation(Vector3(0, 0, 5));
    Array<ModelNode*> flat;
    root_.Flatten(Matrix4(), flat);
    ASSERT_EQ(flat.Count(), 2);
    EXPECT_EQ(flat[0], child_);
    ExpectNear(child_->local.GetTranslation(), {10, 0, 5});
    EXPECT_EQ(root_.firstChild, nullptr);
}

// --- keyed tracks

TEST(KeyedPoseTrackTest, KeysAreFoundWithinTheToleranceAndInsertedInOrder) {
    KeyedPoseTrack track;
    track.InsertKey(0, nullptr, 1.0f);
    track.InsertKey(1, nullptr, 3.0f);
    bool found = false;
    EXPECT_EQ(track.FindKey(1.000005f, found), 0);
    EXPECT_TRUE(found);
    EXPECT_EQ(track.FindKey(2.0f, found), 1);
    EXPECT_FALSE(found);
    track.TruncateAfter(2.0f);
    EXPECT_EQ(track.keys.size(), 1u);
    EXPECT_EQ(track.endTime, 2.0f);
}

TEST(KeyedPoseTrackTest, ChannelsMultiplyIntoPoseTreesShapedLikeTheModel) {
    ModelNode root(String("Hip"));
    root.AddChild(std::make_unique<ModelNode>("Knee"));
    KeyedPoseTrack track;
    track.model = &root;
    Array<RotationChannel> channels;
    RotationChannel knee;
    knee.boneName = "Knee";
    knee.axis = 2;
    const Quaternion bend = Quaternion::FromAxisAngle(Vector3(0, 0, 1), 0.5f);
    knee.keys.Append({bend, 0.5f});
    channels.Append(knee);
    track.AddChannels(channels);
    ASSERT_EQ(track.keys.size(), 1u);
    const PoseTreeNode& hip = *track.keys[0].pose;
    EXPECT_EQ(hip.rotation, Quaternion());
    ASSERT_NE(hip.left, nullptr);
    EXPECT_EQ(hip.left->rotation, bend);
    EXPECT_EQ(hip.right, nullptr);
}

TEST(KeyedPoseTrackTest, StoredPoseTreesKeepTheirShape) {
    platform_test::TempFolder folder;
    KeyedPoseTrack track;
    track.name = "Wave";
    auto pose = std::make_unique<PoseTreeNode>();
    pose->left = std::make_unique<PoseTreeNode>();
    pose->left->rotation = Quaternion(0, 0, 1, 0);
    track.InsertKey(0, std::move(pose), 0.25f);
    track.InsertKey(1, nullptr, 0.5f);
    const std::string path = folder / "track.bin";
    {
        FileStream out(path, "wb");
        track.WriteBinary(out, 9);
        ASSERT_TRUE(out.Commit());
    }
    // Name (4 + 5 bytes), model, end time, count; then marker, root rotation, left
    // marker, child rotation, its two links, the root's right link, time; then the
    // second key's 0 marker and time.
    EXPECT_EQ(std::filesystem::file_size(path), 9u + 12u + (4 + 16 + 4 + 16 + 8 + 4 + 4) + 8u);
    KeyedPoseTrack read;
    FileStream in(path, "rb");
    read.ReadBinary(in);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(read.name, "Wave");
    ASSERT_EQ(read.keys.size(), 2u);
    ASSERT_NE(read.keys[0].pose->left, nullptr);
    EXPECT_EQ(read.keys[0].pose->left->rotation, Quaternion(0, 0, 1, 0));
    EXPECT_EQ(read.keys[1].pose, nullptr);
    EXPECT_EQ(read.keys[1].time, 0.5f);
}

}  // namespace
