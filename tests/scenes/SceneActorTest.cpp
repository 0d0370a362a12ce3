// Scene actors on the headless renderer: a missile's smoke trail, the weapons a unit
// body carries, and the Earth's size against the cameras of the data set's scripts.
#include <cmath>

#include "SceneFixture.h"
#include "engine/ModelNode.h"
#include "scenes/SceneMaterials.h"
#include "scenes/SceneSmoke.h"
#include "units/ChassisTable.h"

namespace {

using scenes_test::RuntimeFolder;
using scenes_test::SceneFixture;

int ChildCount(const ModelNode& node) {
    int count = 0;
    for (const ModelNode* child = node.firstChild; child != nullptr; child = child->nextSibling) ++count;
    return count;
}

// Shadows ask for their texture every frame: the file system answers once per scene.
TEST_F(SceneFixture, ATexturesPresenceIsLookedUpOnceUntilTheNextSceneLoads) {
    WriteScript("Plain", "Background Stage\nStage\nTime 1\nEnd\n");
    const std::filesystem::path shadow = std::filesystem::path(runtime_->Path()) / "Textures" / "GenericShadow.tga";
    ASSERT_TRUE(HasSceneTexture("GenericShadow.tga"));
    std::filesystem::rename(shadow, shadow.string() + ".away");
    EXPECT_TRUE(HasSceneTexture("GenericShadow.tga"));
    scene_->Load("Plain");
    EXPECT_FALSE(HasSceneTexture("GenericShadow.tga"));
}

TEST_F(SceneFixture, AMissileTrailsSmokeOverItsRingOfSystems) {
    WriteScript("Chase",
                "Background Desert\nActor Missile Rocket\n"
                "Stage\nTime 2\nRocket\nFrom 0 0 2\nTo 100 0 2\nEnd\nEnd\n"
                "Stage\nTime 1\nRocket\nEnd\nEnd\n");
    scene_->Load("Chase");
    scene_->Restart();
    SceneActor* rocket = scene_->FindActor("Rocket");
    ASSERT_NE(rocket, nullptr);
    scene_->Update(1.0f / 30.0f);
    EXPECT_EQ(rocket->ActiveSmoke(), 1);
    Play(1.5f);
    ASSERT_EQ(rocket->ActiveSmoke(), SceneActor::kMissileEmitters);
    int live = 0;
    for (int32_t i = 0; i < rocket->ActiveSmoke(); ++i) {
        const SceneSmoke& smoke = rocket->Smoke(i);
        live += smoke.LivePuffs();
        for (const Particle& puff : smoke.particles) {
            if (!puff.alive) continue;
            EXPECT_LT(puff.position.x, rocket->position.x - 0.9f);  // let out behind it
            EXPECT_LT(puff.velocity.x, 0.0f);                       // and drifting back
        }
    }
    EXPECT_GT(live, SceneActor::kMissileEmitters);
    // Standing still, it lets its smoke rise from where it stands.
    Play(0.6f);
    ASSERT_EQ(scene_->CurrentStep(), 1);
    Play(0.5f);
    bool rising = false;
    for (int32_t i = 0; i < rocket->ActiveSmoke(); ++i) {
        for (const Particle& puff : rocket->Smoke(i).particles) {
            rising = rising || (puff.alive && puff.velocity.z > 0.0f && std::fabs(puff.velocity.x) < 1e-6f);
        }
    }
    EXPECT_TRUE(rising);
    DrawFrame();
}

TEST_F(SceneFixture, UnitBodiesCarryWeaponsOfTheirSizeAndGiveTheirBodiesBackClean) {
    WriteScript("Armed",
                "Background Stage\nActor RobotSmallVorn Small\nActor RobotLargeVorn Large\n"
                "Stage\nSmall\nWeapon Flamethrower\nEnd\nLarge\nEnd\nEnd\n");
    scene_->Load("Armed");
    SceneActor* small = scene_->FindActor("Small");
    SceneActor* large = scene_->FindActor("Large");
    ASSERT_NE(small->Model(), nullptr);
    ModelNode* place = small->Model()->FindByName("LeftWeaponActor");
    ASSERT_NE(place, nullptr);
    const ModelNode* laser = small->WeaponModel(1);
    ASSERT_NE(laser, nullptr);
    EXPECT_EQ(place->firstChild, laser);
    EXPECT_EQ(place->mesh, nullptr);
    // The same weapon, fitted to each body.
    ASSERT_NE(large->WeaponModel(1), nullptr);
    EXPECT_GT(large->WeaponModel(1)->bounds.radius, 1.5f * laser->bounds.radius);
    scene_->Restart();
    ASSERT_NE(small->WeaponModel(1), nullptr);
    EXPECT_NE(small->WeaponModel(1)->source, laser->source);
    EXPECT_EQ(ChildCount(*place), 1);
    DrawFrame();
    // A body given back keeps neither the weapon nor the socket it hid.
    ModelNode* body = small->Model();
    small->SetKind(SceneActorKind::None);
    EXPECT_EQ(ChildCount(*place), 0);
    ASSERT_NE(place->source, nullptr);
    EXPECT_EQ(place->mesh, place->source->mesh);
    SceneActor again;
    again.SetKindByName("RobotSmallVorn");
    EXPECT_EQ(again.Model(), body);
    EXPECT_EQ(ChildCount(*place), 1);
}

// The small robot row's mouths for the test, put back as they were after it.
class MouthsOfTheSmallRobot {
public:
    MouthsOfTheSmallRobot() : row_(*ChassisTable::Row(0)), saved_(row_.mouths) {
        const char* const names[3] = {"MouthGrimace", "MouthSmile", "MouthFrown"};
        for (int mood = 0; mood < 3; ++mood) row_.SetMouth(0, mood, names[mood], 0.6f, Quaternion(), Vector3());
    }
    ~MouthsOfTheSmallRobot() { row_.mouths = saved_; }
    const Mesh* Of(int mood) const { return row_.mouths[0].parts[mood].mesh; }

private:
    ChassisDefinition& row_;
    Array<MoodSet> saved_;
};

TEST_F(SceneFixture, AMoodChangesAUnitBodysFace) {
    const MouthsOfTheSmallRobot mouths;
    ASSERT_NE(mouths.Of(0), mouths.Of(2));
    WriteScript("Moods",
                "Background Stage\nActor RobotSmallVorn Face\nActor Bunny Hop\n"
                "Stage\nFace\nMood Sad\nEnd\nHop\nMood Sad\nEnd\nEnd\n"
                "Stage\nFace\nMood Grumpy\nEnd\nEnd\n"
                "Stage\nFace\nMood mean\nEnd\nEnd\n");
    scene_->Load("Moods");
    const ModelNode* mouth = scene_->FindActor("Face")->Model()->FindByName("MouthActor");
    ASSERT_NE(mouth, nullptr);
    EXPECT_EQ(mouth->mesh, mouths.Of(1));  // built happy
    scene_->Restart();
    EXPECT_EQ(mouth->mesh, mouths.Of(2));
    // An unknown mood keeps the face; a known one in any case sets it.
    scene_->Update(1.0f / 30.0f);
    ASSERT_EQ(scene_->CurrentStep(), 1);
    EXPECT_EQ(mouth->mesh, mouths.Of(2));
    scene_->Update(1.0f / 30.0f);
    EXPECT_EQ(mouth->mesh, mouths.Of(0));
    DrawFrame();
}

TEST_F(SceneFixture, EveryCameraStaysOutsideTheEarth) {
    int earths = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RuntimeFolder() / "Scenes" / "English")) {
        scene_->Load(entry.path().stem().string());
        SceneActor* earth = nullptr;
        for (const auto& actor : scene_->Actors()) {
            if (actor->kind == SceneActorKind::Earth) earth = actor.get();
        }
        if (earth == nullptr) continue;
        ++earths;
        scene_->Restart();
        for (float played = 0.0f; played < 60.0f && scene_->State() == SceneState::Playing; played += 0.1f) {
            scene_->Update(0.1f);
            if (!earth->active || scene_->IsFinished()) continue;
            const Camera& camera = scene_->CurrentCamera();
            const float radius = 5.0f * earth->scale * earth->lookHeight;
            EXPECT_GT((camera.eye - earth->position).Length(), radius + camera.nearPlane)
                << scene_->Name() << " step " << scene_->CurrentStep();
            // and the planet's visible side lies before the far plane
            EXPECT_LT((camera.eye - earth->position).Length(), camera.farPlane) << scene_->Name();
        }
    }
    EXPECT_GT(earths, 0);
}

}  // namespace
