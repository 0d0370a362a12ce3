// The scene player and its actors on the headless renderer: every script of the data
// set plays to its end, steps end by time and by arrival, links that never reach a step
// go dark, and debris flies, rolls and explodes.
#include <cmath>
#include <set>
#include <tuple>

#include "SceneFixture.h"
#include "audio/Sounder.h"
#include "engine/ModelNode.h"
#include "platform/sound/NullSoundDevice.h"
#include "scenes/Speaker.h"

namespace {

using scenes_test::RuntimeFolder;
using scenes_test::SceneFixture;

bool IsFinite(const Quaternion& q) {
    return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w);
}

TEST_F(SceneFixture, EveryDataScriptPlaysToItsEndWithEveryKindBuilt) {
    std::set<SceneActorKind> kinds;
    std::set<std::string> missingModels;
    int scripts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RuntimeFolder() / "Scenes" / "English")) {
        const std::string name = entry.path().stem().string();
        scene_->Load(name);
        ASSERT_FALSE(scene_->Script().stages.empty()) << name;
        for (const auto& actor : scene_->Actors()) {
            kinds.insert(actor->kind);
            const bool needsModel = actor->kind != SceneActorKind::Professor &&
                                    actor->kind != SceneActorKind::WormHole &&
                                    actor->kind != SceneActorKind::LaserBeam && actor->kind != SceneActorKind::Debris &&
                                    actor->kind != SceneActorKind::Explosion;
            if (needsModel && actor->Model() == nullptr) missingModels.insert(SceneActor::KindName(actor->kind));
        }
        scene_->Restart();
        // Drawn now and then, so that every kind's drawing runs too.
        float played = 0.0f;
        for (int frame = 0; played < 300.0f && scene_->State() == SceneState::Playing; ++frame) {
            scene_->Update(1.0f / 30.0f);
            played += 1.0f / 30.0f;
            if (frame % 15 == 0) DrawFrame();
        }
        EXPECT_EQ(scene_->State(), SceneState::Dark) << name << " still plays after " << played << " s";
        EXPECT_TRUE(scene_->IsFinished()) << name;
        ++scripts;
    }
    EXPECT_EQ(scripts, 30);
    EXPECT_EQ(kinds.size(), size_t(SceneActor::kKindCount));
    EXPECT_TRUE(missingModels.empty()) << *missingModels.begin();
    EXPECT_TRUE(scene_->Guide().GetSpeaker()->HasModel());
    EXPECT_TRUE(scene_->Guide().GetSpeaker()->CanPoint());
}

TEST_F(SceneFixture, StepsEndByArrivalOrByTimeAndTheCameraFollows) {
    WriteScript("Walk",
                "Background Stage\nActor RobotSmallVorn Walker\n"
                "Stage\nCamera\nLookAtActor walker\nEnd\nWalker\nFrom 0 0 0\nTo 4 0 0\nEnd\nEnd\n"
                "Stage\nTime 2\nWalker\nTo 4 4 0\nSpeed 0\nEnd\nEnd\n");
    EXPECT_EQ(scene_->Background(), BackgroundKind::Space);  // before any script names one
    DrawFrame();
    scene_->Load("Walk");
    scene_->Restart();
    SceneActor* walker = scene_->FindActor("WALKER");
    ASSERT_NE(walker, nullptr);
    ASSERT_NE(walker->Model(), nullptr);
    // A small body runs 8 units a second: 4 units take half a second.
    Play(0.4f);
    EXPECT_EQ(scene_->CurrentStep(), 0);
    EXPECT_GT(walker->position.x, 2.5f);
    EXPECT_NE(walker->tilt[0], 0.0f);  // the body leans while it runs
    const Vector3 view = scene_->CurrentCamera().direction;
    EXPECT_NEAR(std::atan2(view.y, view.x),
                std::atan2(-scene_->CurrentCamera().eye.y, walker->position.x - scene_->CurrentCamera().eye.x), 0.05f);
    Play(0.2f);
    EXPECT_EQ(scene_->CurrentStep(), 1);
    EXPECT_NEAR(walker->position.x, 4.0f, 1e-4f);
    // Speed 0 never arrives; the step's time ends it.
    EXPECT_NEAR(Play(10.0f), 2.0f, 0.1f);
    EXPECT_EQ(walker->position.y, 0.0f);
    EXPECT_EQ(scene_->State(), SceneState::Dark);
}

TEST_F(SceneFixture, ASpokenLineHoldsItsStepUnlessMarkedNotTo) {
    WriteScript("Talk", "Stage\nText\n<SS> IntroLine1\nHello.\nEnd\nEnd\nStage\nText\n<SSNB> IntroLine2\nEnd\nEnd\n");
    scene_->Load("Talk");
    EXPECT_EQ(scene_->Script().stages[0]->lines.size(), 1u);
    scene_->Restart();
    // Without a sound manager he talks only through his start delay.
    int frames = 0;
    while (scene_->CurrentStep() == 0 && frames < 100) {
        scene_->Update(1.0f / 30.0f);
        ++frames;
    }
    EXPECT_EQ(frames, Speaker::kStartDelayFrames);
    scene_->Update(1.0f / 30.0f);
    EXPECT_TRUE(scene_->IsFinished());
}

TEST_F(SceneFixture, LinksThatNeverReachAStepGoDark) {
    WriteScript("LoopA", "LinkScene LoopB\n");
    WriteScript("LoopB", "LinkScene LoopA\n");
    scene_->Load("LoopA");
    scene_->Restart();
    EXPECT_EQ(scene_->State(), SceneState::Dark);
    EXPECT_TRUE(scene_->IsFinished());
    // A chain of step-less scripts that reaches one with a step plays it.
    WriteScript("Hop1", "LinkScene Hop2\n");
    WriteScript("Hop2", "LinkScene Landing\n");
    WriteScript("Landing", "Stage\nTime 1\nEnd\nLinkScene Missing\n");
    scene_->Load("Hop1");
    scene_->Restart();
    EXPECT_EQ(scene_->State(), SceneState::Playing);
    EXPECT_EQ(scene_->Name(), "Landing");
    // A missing script gives a scene without steps.
    Play(2.0f);
    EXPECT_EQ(scene_->Name(), "Missing");
    EXPECT_EQ(scene_->State(), SceneState::Dark);
    // A name that is no plain file name is refused.
    scene_->Load("../Scenes/English/Landing");
    EXPECT_TRUE(scene_->Script().stages.empty());
}

TEST_F(SceneFixture, DebrisFliesWithinAQuarterTurnThenExplodes) {
    WriteScript("Break",
                "Background Stage\nActor RobotMediumVorn Victim\n"
                "Stage\nTime 3\nVictim\nDebris 0 0 0\nEnd\nEnd\n");
    scene_->Load("Break");
    scene_->Restart();
    std::vector<SceneActor*> pieces;
    for (const auto& actor : scene_->Actors()) {
        if (actor->kind == SceneActorKind::Debris) pieces.push_back(actor.get());
    }
    ASSERT_GT(pieces.size(), 1u);
    EXPECT_FALSE(scene_->FindActor("Victim")->active);
    for (SceneActor* piece : pieces) {
        EXPECT_TRUE(piece->active);
        const float angle = std::atan2(piece->velocity.y, piece->velocity.x);
        EXPECT_LE(std::fabs(angle), 0.25f * 3.1416f);
        EXPECT_GE(piece->velocity.Length(), 2.0f);
    }
    Play(0.5f);
    for (SceneActor* piece : pieces) {
        EXPECT_GE(piece->position.z, piece->debrisRadius - 1e-4f);
        EXPECT_TRUE(IsFinite(piece->debrisOrientation));
    }
    Play(0.7f);
    for (SceneActor* piece : pieces) {
        EXPECT_EQ(piece->kind, SceneActorKind::Explosion) << piece->name;
        EXPECT_EQ(piece->name.rfind("Explosion", 0), 0u);
    }
    DrawFrame();
}

TEST_F(SceneFixture, APieceWithoutSizeDoesNotRoll) {
    SceneActor piece;
    piece.kind = SceneActorKind::Debris;
    piece.velocity = Vector3(3.0f, 1.0f, 0.0f);
    piece.debrisRadius = 0.0f;
    for (int frame = 0; frame < 10; ++frame) piece.Update(*scene_, 1.0f / 30.0f);
    EXPECT_TRUE(IsFinite(piece.debrisOrientation));
    EXPECT_EQ(piece.debrisOrientation, Quaternion());
    EXPECT_TRUE(std::isfinite(piece.position.x));
}

TEST_F(SceneFixture, ASoccerBallBouncesWithHalfItsSpeed) {
    WriteScript("Ball", "Actor SoccerBall Ball\nStage\nBall\nFrom 0 0 10\nTo 0 0 0\nEnd\nEnd\n");
    scene_->Load("Ball");
    scene_->Restart();
    SceneActor* ball = scene_->FindActor("Ball");
    float impact = 0.0f;
    while (scene_->CurrentStep() == 0 && impact == 0.0f) {
        const float before = ball->velocity.z;
        scene_->Update(1.0f / 60.0f);
        if (ball->velocity.z > 0.0f) impact = before - 9.8f / 60.0f;
    }
    // The step without time ends on the bounce frame, the ball going up at half speed.
    EXPECT_EQ(scene_->State(), SceneState::Dark);
    EXPECT_NEAR(ball->velocity.z, -0.5f * impact, 0.01f);
    EXPECT_EQ(ball->position.z, 0.0f);
}

// The guide speaking a line of the data set: the head follows the mouth of the line's
// phonemes, and the arm follows a place circled on the screen.
TEST_F(SceneFixture, TheGuidesHeadAndArmFollowHisLine) {
    Sounder sounder;
    sounder.Init(std::make_unique<snd::NullSoundDevice>());
    {
        Speaker guide(&sounder);
        ASSERT_TRUE(guide.LoadModel());
        guide.Say("Speech/English/IntroLine1.OGG", true);
        guide.PointAtCircle(900.0f, 100.0f, 20.0f);
        std::set<std::tuple<float, float, float>> mouths;
        std::set<int32_t> keys;
        for (int frame = 0; frame < 60; ++frame) {
            guide.Update(1.0f / 30.0f);
            const Vector3& mouth = guide.MouthPosition();
            mouths.insert({mouth.x, mouth.y, mouth.z});
            if (const PointBlend* blend = guide.CurrentPointing()) keys.insert(blend->key);
        }
        EXPECT_TRUE(guide.IsTalking());
        EXPECT_GT(mouths.size(), 3u);  // the mouth opens and closes along the line
        // Far to the right of him and a little up: between the first two keys.
        EXPECT_EQ(keys, std::set<int32_t>{0});
        guide.Stop();
        EXPECT_FALSE(guide.IsTalking());
        EXPECT_EQ(guide.CurrentPointing(), nullptr);
    }
    sounder.Shutdown();
}

}  // namespace
