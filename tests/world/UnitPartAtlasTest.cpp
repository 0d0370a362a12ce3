// The parts every owner's units show alike (faces, plain arms, weapons) draw from one
// shared picture: a unit of the data set in view costs a few draws, and its face still
// changes with its mood. What a unit's drawing makes goes with the unit.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "support/TestArena.h"
#include "support/WorkingCopy.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"

namespace {

class UnitPartAtlasTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!runtime_test::HasBodies()) GTEST_SKIP() << "no data set at " << VORNS_GAME_DIR;
        working_ = std::make_unique<runtime_test::WorkingCopy>();
        GetRenderer().Shutdown();
        LoadChassisDefinitions();
        LoadWeaponDefinitions();
        arena_ = world_test::OpenArena(game_);
        red_.primaryColor = Color::FromRGBA(255, 0, 0, 255);
        LookAtTheOrigin();
    }
    void TearDown() override {
        if (!working_) return;
        world_test::CloseArena(*arena_);
        FreeChassisDefinitions();
        GetRenderer().Shutdown();
    }

    static void LookAtTheOrigin() {
        Camera camera;
        camera.kind = Camera::kPerspective;
        camera.nearPlane = 1.0f;
        camera.farPlane = 500.0f;
        camera.SetFieldOfView(0.7854f);
        camera.SetAspect(1024.0f / 768.0f);
        camera.SetPosition(Vector3(0.0f, -12.0f, 6.0f));
        camera.SetDirection(Vector3(0.0f, 12.0f, -6.0f));
        camera.SetUp(Vector3(0.0f, 0.0f, 1.0f));
        camera.viewport = IntRect(0, 0, 1023, 767);
        GetRenderer().SetCamera(camera);
    }

    // A unit of the chassis with a weapon in each place, facing the camera.
    Vorn* Unit(int32_t chassis) {
        Vorn* unit = arena_->NewVorn(0);
        unit->SetPlayer(&red_);
        unit->weapons[0].kind = kWeaponLaser;
        unit->weapons[1].kind = kWeaponKicker;
        unit->BuildBody(chassis);
        unit->SetAngle(-1.5707964f);
        unit->PlaceAt(Vector3());
        return unit;
    }

    static gfx::DeviceStats Drawn(Vorn& unit) {
        Renderer& renderer = GetRenderer();
        if (!renderer.GetReady()) return {};
        const gfx::DeviceStats before = renderer.GetDevice().Stats();
        unit.DrawBody(Vector3());
        gfx::DeviceStats drawn = renderer.GetDevice().Stats();
        renderer.EndFrame();
        drawn.drawCalls -= before.drawCalls;
        drawn.primitives -= before.primitives;
        return drawn;
    }

    std::unique_ptr<runtime_test::WorkingCopy> working_;
    Game game_;
    std::unique_ptr<Arena> arena_;
    Player red_;
};

TEST_F(UnitPartAtlasTest, AUnitInViewDrawsItsBodyFaceArmsAndWeaponsInAFewDraws) {
    for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) {
        Vorn* unit = Unit(chassis);
        const gfx::DeviceStats drawn = Drawn(*unit);
        EXPECT_GT(drawn.primitives, 0u) << ChassisTable::Row(chassis)->name.CStr();
        EXPECT_LE(drawn.drawCalls, 3u) << ChassisTable::Row(chassis)->name.CStr();
    }
}

TEST_F(UnitPartAtlasTest, TheBatchedFaceFollowsTheMood) {
    Vorn* unit = Unit(0);
    // The grimace and the open mouth of the second mouth style differ in their faces.
    unit->mouthVariant = 1;
    unit->SetMood(1, 1.0f);
    unit->SetMood(0, 1.0f);
    const uint64_t grim = Drawn(*unit).primitives;
    unit->SetMood(2, 1.0f);
    EXPECT_GT(Drawn(*unit).primitives, grim);
    unit->SetMood(0, 1.0f);
    EXPECT_EQ(Drawn(*unit).primitives, grim);
}

// Units of every chassis drawn and cleared, twice: the clear gives back every batch their
// drawing made, and the second round's bodies are the first round's, handed out again.
TEST_F(UnitPartAtlasTest, ClearedUnitsGiveBackTheirBatchesAndBodies) {
    Renderer& renderer = GetRenderer();
    const int meshesBefore = renderer.DynamicMeshCount();
    int nodesAfterFirst = 0;
    for (int round = 0; round < 2; ++round) {
        for (int32_t chassis = 0; chassis < kChassisCount; ++chassis) {
            Vorn* unit = Unit(chassis);
            arena_->AddObject(unit);
            Drawn(*unit);
        }
        EXPECT_GT(renderer.DynamicMeshCount(), meshesBefore);
        arena_->ClearBattlefield(false);
        EXPECT_EQ(renderer.DynamicMeshCount(), meshesBefore) << "round " << round;
        if (round == 0) nodesAfterFirst = renderer.ModelNodeCount();
    }
    EXPECT_EQ(renderer.ModelNodeCount(), nodesAfterFirst);
}

}  // namespace
