// A unit's looks over a stand-in body whose pose sets are timed by hand: the walk cycle,
// the aiming arm, the idle, victory and defeat animations, the carried ball's bounce and
// the roll of a ball-shaped body.
#include <cmath>

#include "core/Quaternion.h"
#include "engine/ModelNode.h"
#include "engine/PoseAnimation.h"
#include "engine/Renderer.h"
#include "support/VornTestWorld.h"

namespace {

constexpr float kPi = 3.14159265f;

Matrix3 TurnAboutZ(float angle) {
    Matrix3 r;
    r.m[0] = std::cos(angle), r.m[1] = std::sin(angle);
    r.m[3] = -std::sin(angle), r.m[4] = std::cos(angle);
    return r;
}

// Nodes depth first: root, BallActor, Torso, RightArm, RightWeaponActor, LeftArm.
constexpr int kNodes = 6;
constexpr int kRightArm = 3;

PoseKey Key(const Vector3& point, int turnedNode = -1, float angle = 0.0f) {
    PoseKey key;
    key.position = point;
    for (int i = 0; i < kNodes; ++i) key.rotations.Append(TurnAboutZ(i == turnedNode ? angle : 0.0f));
    return key;
}

// A pose set along x with one track of 1 s per key after the first.
PoseAnimation TimeLine(const char* name, const char* track, int keys) {
    PoseAnimation animation;
    animation.name = name;
    PoseTrack line;
    line.name = track;
    for (int k = 0; k < keys; ++k) {
        animation.keys.Append(Key(Vector3(float(k), 0, 0)));
        line.keys.Append({k == 0 ? 0.0f : 1.0f, Vector3(float(k), 0, 0)});
    }
    animation.Build();
    animation.tracks.Append(line);
    return animation;
}

class VornLooksTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        row = ChassisTable::Row(kRobotSmall);
        saved = row->bodyModel;
        savedIdle = row->idleAnimations;
        savedVictory = row->victoryAnimations;
        savedDefeat = row->defeatAnimations;
        savedWalk = row->walkAnimations;
        row->bodyModel = StandInBody();
        row->idleAnimations.Clear();
        row->idleAnimations.Append("Headbob");
        row->victoryAnimations.Clear();
        row->victoryAnimations.Append("Cheer");
        row->defeatAnimations.Clear();
        row->defeatAnimations.Append("Droop");
        row->walkAnimations.Clear();
        row->walkAnimations.Append("Walk");
        unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
        unit->animationSpeed = 1.0f;
    }
    void TearDown() override {
        row->bodyModel = saved;
        row->idleAnimations = savedIdle;
        row->victoryAnimations = savedVictory;
        row->defeatAnimations = savedDefeat;
        row->walkAnimations = savedWalk;
        VornTestWorld::TearDown();
    }

    static ModelNode* StandInBody() {
        auto* root = new ModelNode(String("Body"));
        auto* ball = new ModelNode(String("BallActor"));
        ball->bounds = Sphere(Vector3(), 0.5f);
        auto* torso = new ModelNode(String("Torso"));
        auto* right = new ModelNode(String("RightArm"));
        auto* weapon = new ModelNode(String("RightWeaponActor"));
        auto* left = new ModelNode(String("LeftArm"));
        root->LinkChild(ball);
        root->LinkChild(torso);
        torso->LinkChild(right);
        right->LinkChild(weapon);
        torso->LinkChild(left);
        root->animations.Append(TimeLine("Idle", "Idle", 2));
        root->animations.Append(TimeLine("Walk", "Walk", 3));
        root->animations.Append(TimeLine("Headbob", "Idle", 3));
        root->animations.Append(TimeLine("Cheer", "Victory", 2));
        root->animations.Append(TimeLine("Droop", "Defeat", 2));
        // Aiming ahead leaves the arm as it is; aiming to the left turns it a quarter.
        PoseAnimation aim;
        aim.name = "Aim";
        aim.keys.Append(Key(Vector3(2, 0, 0)));
        aim.keys.Append(Key(Vector3(0, 2, 0), kRightArm, kPi / 2));
        aim.Build();
        root->animations.Append(aim);
        GetRenderer().RegisterModelNodes(root);
        return root;
    }

    // The frame's looks without the behaviour: the animation states and the body.
    void Looks(float seconds) {
        game.frameTime = seconds;
        unit->UpdateAnimation();
        unit->UpdateBodyAndBall();
    }

    const char* PlayingName() const {
        const PoseTrack* track = unit->bodyAnimation.Track();
        if (track == nullptr) return "";
        return unit->bodyModel->Animations()[unit->bodyAnimation.animationIndex].name.CStr();
    }

    ChassisDefinition* row = nullptr;
    ModelNode* saved = nullptr;
    Array<const char*> savedIdle, savedVictory, savedDefeat, savedWalk;
    Vorn* unit = nullptr;
};

TEST_F(VornLooksTest, TheBodyIsTheUnitsOwnCopyAndWalksItsCycle) {
    ASSERT_NE(unit->bodyModel, nullptr);
    EXPECT_NE(unit->bodyModel, row->bodyModel);
    EXPECT_EQ(unit->bodyModel->source, row->bodyModel);
    EXPECT_EQ(unit->ballNode, unit->bodyModel->FindByName("BallActor"));
    EXPECT_FLOAT_EQ(unit->rollRadius, 0.5f);

    unit->SetAnimationState(Vorn::kAnimWalk);
    EXPECT_STREQ(PlayingName(), "Walk");
    EXPECT_TRUE(unit->bodyAnimation.looping);
    // A cycle of 2 s: after 2.5 s the walk is half way to its second key again; at
    // speed factor 0.5 the next second moves it only half a key.
    for (int i = 0; i < 5; ++i) Looks(0.5f);
    EXPECT_NEAR(unit->bodyAnimation.position.x, 0.5f, 1e-4f);
    unit->speedFactor = 0.5f;
    Looks(1.0f);
    EXPECT_NEAR(unit->bodyAnimation.position.x, 1.0f, 1e-4f);
}

TEST_F(VornLooksTest, IdleWaitsItsDelayPlaysOnceAndWaitsAgain) {
    unit->SetAnimationState(Vorn::kAnimIdle);
    EXPECT_STREQ(PlayingName(), "Idle");
    unit->idleAnimationDelay = 0.5f;
    Looks(0.4f);
    EXPECT_EQ(unit->animationState, Vorn::kAnimIdle);
    Looks(0.2f);
    ASSERT_EQ(unit->animationState, Vorn::kAnimIdlePlaying);
    EXPECT_STREQ(PlayingName(), "Headbob");
    EXPECT_FALSE(unit->bodyAnimation.looping);
    // Two seconds of track; the state goes back to waiting on the frame after it ends.
    Looks(1.0f);
    Looks(1.0f);
    Looks(0.1f);
    EXPECT_EQ(unit->animationState, Vorn::kAnimIdle);
    EXPECT_STREQ(PlayingName(), "Idle");
    EXPECT_GE(unit->idleAnimationDelay, 3.0f);
    EXPECT_LE(unit->idleAnimationDelay, 12.0f);
}

TEST_F(VornLooksTest, EndPosesAlternateTheIdleLoopWithTheirOwnAnimations) {
    for (auto [waiting, name] : {std::pair{Vorn::kAnimVictoryWaiting, "Cheer"}, {Vorn::kAnimDefeatWaiting, "Droop"}}) {
        unit->SetAnimationState(waiting);
        unit->PickIdleDelay();
        EXPECT_GE(unit->idleAnimationDelay, 1.0f);
        EXPECT_LE(unit->idleAnimationDelay, 4.0f);
        EXPECT_STREQ(PlayingName(), "Idle");
        unit->idleAnimationDelay = 0.05f;
        Looks(0.1f);
        EXPECT_EQ(unit->animationState, waiting + 1);
        EXPECT_STREQ(PlayingName(), name);
        Looks(1.0f);
        Looks(0.1f);
        EXPECT_EQ(unit->animationState, waiting);
    }
    // A chassis without idle animations stays waiting and only draws a new delay.
    row->idleAnimations.Clear();
    unit->SetAnimationState(Vorn::kAnimIdle);
    unit->idleAnimationDelay = 0.1f;
    Looks(0.2f);
    EXPECT_EQ(unit->animationState, Vorn::kAnimIdle);
    EXPECT_GE(unit->idleAnimationDelay, 3.0f);
}

TEST_F(VornLooksTest, TheArmAimsAtThePointTurnedIntoTheUnitsFrame) {
    ModelNode* arm = unit->bodyModel->FindByName("RightArm");
    auto armTurn = [arm] { return std::atan2(arm->local.m[1], arm->local.m[0]); };
    // Facing +x, a target to the left (+y) is the quarter-turned key.
    unit->AimWeaponPlace(unit->weapons[0], false, unit->position + Vector3(0, 10, 0));
    EXPECT_NEAR(armTurn(), kPi / 2, 1e-3f);
    // Turned to face +y, the same target is straight ahead.
    unit->heading = kPi / 2;
    unit->AimWeaponPlace(unit->weapons[0], false, unit->position + Vector3(0, 10, 0));
    EXPECT_NEAR(armTurn(), 0.0f, 1e-3f);
    // The other arm is not touched.
    EXPECT_NEAR(unit->bodyModel->FindByName("LeftArm")->local.m[1], 0.0f, 1e-6f);
}

TEST_F(VornLooksTest, TheCarriedBallFallsAndBouncesOffTheHead) {
    unit->GiveBall();
    unit->ballHeight = unit->GetRadius() + 1.0f;
    unit->ballBounceSpeed = 0.0f;
    // 0.1 s of fall: 9.8 x 0.01 = 0.098 down.
    Looks(0.1f);
    EXPECT_NEAR(unit->ballHeight, unit->GetRadius() + 1.0f - 0.098f, 1e-4f);
    // Falling through the head's top + 0.375 bounces from there; a fall far below it
    // (a long frame) still bounces, with no speed taken from a negative height.
    unit->ballBounceSpeed = -100.0f;
    Looks(0.1f);
    EXPECT_NEAR(unit->ballHeight, unit->GetRadius() + 0.375f, 1e-4f);
    EXPECT_FLOAT_EQ(unit->ballBounceSpeed, 0.0f);
    EXPECT_LE(std::fabs(unit->ballDrift.x), 0.375f);
    unit->ballHeight = unit->GetRadius() + 0.38f;
    unit->ballBounceSpeed = -0.5f;
    Looks(0.01f);  // to 0.38 - 0.005 - 0.00098: 0.374 over the head
    EXPECT_NEAR(unit->ballBounceSpeed, 2.0f * std::sqrt(0.38f - 0.005f - 0.00098f) * 9.8f, 1e-2f);
}

TEST_F(VornLooksTest, ABallShapedBodyRollsByDistanceOverRadius) {
    // Rolling pi x r along +x turns half a turn about +y.
    const Quaternion half = Vorn::RollQuaternion(Vector3(kPi * 0.5f, 0, 0), 0.5f);
    EXPECT_NEAR(std::fabs(half.y), 1.0f, 1e-5f);
    EXPECT_NEAR(half.w, 0.0f, 1e-5f);
    const Vector3 top = half.RotateVector(Vector3(0, 0, 1));
    EXPECT_NEAR(top.z, -1.0f, 1e-5f);
    // Rolling along +y a quarter turn carries the top toward +y.
    const Vector3 rolled = Vorn::RollQuaternion(Vector3(0, kPi * 0.25f, 0), 0.5f).RotateVector(Vector3(0, 0, 1));
    EXPECT_NEAR(rolled.y, 1.0f, 1e-5f);
    EXPECT_EQ(Vorn::RollQuaternion(Vector3(0, 0, 3), 0.5f), Quaternion());
}

}  // namespace
