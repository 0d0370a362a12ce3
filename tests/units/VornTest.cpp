// The unit record: construction, preparation for battle, damage and destruction.
#include <cmath>
#include <filesystem>

#include "core/Image.h"
#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "platform/gfx/RecordingDevice.h"
#include "support/TempFolder.h"
#include "support/VornTestWorld.h"
#include "support/WorkingFolder.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "world/Beacon.h"

namespace {

constexpr float kPi = 3.14159265f;

using VornTest = VornTestWorld;

int CountKind(const Arena& arena, int kind) { return arena.CountObjectsOfKind(kind); }

TEST_F(VornTest, NewUnitHasNoChassisNoPatternsAndUnloadedLasers) {
    Vorn* unit = arena->NewVorn(1);
    EXPECT_EQ(unit->chassisType, -1);
    EXPECT_EQ(unit->squadMember, 1);
    EXPECT_EQ(unit->patternCount, 0);
    EXPECT_EQ(unit->currentPattern, nullptr);
    EXPECT_EQ(unit->name, GetLanguageText("NoName"));
    for (const Weapon& weapon : unit->weapons) {
        EXPECT_EQ(weapon.kind, kWeaponLaser);
        EXPECT_EQ(weapon.ammoName, GetLanguageText("NoAmmo"));
        EXPECT_EQ(weapon.owner, unit);
    }
    EXPECT_GE(unit->heading, 0.0f);
    EXPECT_LE(unit->heading, 2.0f * kPi);
    EXPECT_FLOAT_EQ(unit->GetRadius(), 1.0f);
    arena->FreeObject(unit);
}

TEST_F(VornTest, UnitWithoutChassisIsNeverPrepared) {
    Vorn* unit = arena->NewVorn(0);
    unit->SetPlayer(&red);
    unit->PrepareForBattle();
    EXPECT_EQ(unit->health, 0.0f);
    EXPECT_EQ(unit->patternCount, 0);
    // Every table lookup of a bad chassis answers nothing instead of reading past the rows.
    unit->chassisType = 77;
    unit->ComputeCost();
    EXPECT_EQ(unit->cost, 2 * 10);
    EXPECT_EQ(unit->SizeClass(), 0);
    EXPECT_EQ(unit->TurnRate(), 0.0f);
    arena->FreeObject(unit);
}

TEST_F(VornTest, PreparationTakesHealthAndPatternSlotsFromTheChassis) {
    Vorn* large = AddUnit(&red, kRobotLarge, 50.0f, 50.0f, 0.0f);
    EXPECT_FLOAT_EQ(large->health, 50.0f);
    EXPECT_FLOAT_EQ(large->maxHealth, 50.0f);
    EXPECT_EQ(large->patternCount, 8);
    EXPECT_FLOAT_EQ(large->GetRadius(), 3.25f);
    EXPECT_EQ(large->weaponPlaceCount, 2);
    // Cost: chassis 70 and two lasers of 10.
    EXPECT_EQ(large->cost, 90);

    // A count above what the owner may use is kept; the editor's rule cuts it.
    large->SetPatternSlotCount(12);
    large->PrepareForBattle();
    EXPECT_EQ(large->patternCount, 12);
    large->ApplyPatternSlots();
    EXPECT_EQ(large->patternCount, 8);
    large->SetPatternSlotCount(40);
    EXPECT_EQ(large->patternCount, Vorn::kMaxPatterns);

    Vorn* small = AddUnit(nullptr, kRobotSmall, 80.0f, 80.0f, 0.0f);
    EXPECT_FLOAT_EQ(small->health, 10.0f);
    EXPECT_EQ(small->patternCount, 4);
    EXPECT_EQ(small->weaponPlaceCount, 1);
}

TEST_F(VornTest, CostCountsOnlyTheChassisWeaponPlaces) {
    Vorn* small = AddUnit(&red, kRobotSmall, 80.0f, 80.0f, 0.0f);
    const int32_t withLaser = small->cost;
    // The small chassis has one weapon place: its second record is not paid for.
    small->weapons[1].SetKind(kWeaponMissileLauncher);
    small->ComputeCost();
    EXPECT_EQ(small->cost, withLaser);
    small->weapons[0].SetKind(kWeaponMissileLauncher);
    small->ComputeCost();
    EXPECT_GT(small->cost, withLaser);
}

TEST_F(VornTest, DamageLowersHealthPushesTheBodyAndRaisesInjured) {
    Vorn* unit = AddUnit(&red, kRobotLarge, 50.0f, 50.0f, 0.0f);
    unit->TakeDamage(&blue, Vector3(40.0f, 50.0f, 0.0f), 10.0f, 0);
    EXPECT_FLOAT_EQ(unit->health, 40.0f);
    EXPECT_EQ(unit->conditionals[Vorn::kInjured], 1);
    EXPECT_EQ(unit->mood, 2);
    EXPECT_EQ(game.lastDamagedVorn, unit);
    EXPECT_EQ(unit->damaged, 1);
    EXPECT_FLOAT_EQ(unit->healthBarTimer, 2.5f);
    // 10 x 1.25 x 0.1 along the direction away from the hit.
    EXPECT_NEAR(unit->bodySway.velocity.x, 1.25f, 1e-5f);
    EXPECT_NEAR(unit->bodySway.velocity.y, 0.0f, 1e-5f);
    EXPECT_EQ(unit->position, Vector3(50.0f, 50.0f, unit->position.z));

    // Ignored entirely while delayed or in the air.
    unit->conditionals[Vorn::kInjured] = 0;
    unit->delayTimer = 1.0f;
    unit->TakeDamage(&blue, Vector3(), 5.0f, 0);
    unit->delayTimer = 0.0f;
    unit->onGround = false;
    unit->TakeDamage(&blue, Vector3(), 5.0f, 0);
    EXPECT_FLOAT_EQ(unit->health, 40.0f);
    EXPECT_EQ(unit->conditionals[Vorn::kInjured], 0);
}

TEST_F(VornTest, DestroyedUnitExplodesAndCountsKillAndLoss) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    red.vipCount = 1;
    unit->vip = 1;
    unit->TakeDamage(&blue, Vector3(49.0f, 50.0f, 0.0f), 100.0f, 0);
    EXPECT_TRUE(unit->removed);
    EXPECT_EQ(blue.kills, 1);
    EXPECT_EQ(red.losses, 1);
    EXPECT_EQ(red.vipCount, 0);
    EXPECT_EQ(game.blasts, 1);
    EXPECT_EQ(CountKind(*arena, kKindScorchMark), 1);
    // Removing it again changes nothing.
    unit->Remove(1);
    EXPECT_EQ(red.losses, 1);
}

TEST_F(VornTest, OwnBlastCountsTheLossButNoKill) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    unit->TakeDamage(&red, Vector3(49.0f, 50.0f, 0.0f), 100.0f, 0);
    EXPECT_EQ(red.kills, 0);
    EXPECT_EQ(red.losses, 1);
}

TEST_F(VornTest, OnceTheBattleIsOverNothingIsCounted) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    game.SetBattleOver(1);
    unit->TakeDamage(&blue, Vector3(49.0f, 50.0f, 0.0f), 100.0f, 0);
    EXPECT_TRUE(unit->removed);
    EXPECT_EQ(blue.kills, 0);
    EXPECT_EQ(red.losses, 0);
}

TEST_F(VornTest, CarriedExplosiveMakesASecondExplosion) {
    Vorn* unit = AddUnit(&red, kRobotMedium, 50.0f, 50.0f, 0.0f);
    unit->SetWeaponKind(1, kWeaponExplosive);
    unit->PrepareForBattle();
    ASSERT_FALSE(unit->weapons[1].IsOutOfAmmo());
    unit->Remove(1);
    EXPECT_EQ(game.blasts, 2);
    EXPECT_EQ(unit->weapons[1].ammoCount, 0);
    // Without effects: no blast at all.
    Vorn* quiet = AddUnit(&red, kRobotMedium, 90.0f, 90.0f, 0.0f);
    quiet->Remove(0);
    EXPECT_EQ(game.blasts, 2);
    EXPECT_TRUE(quiet->removed);
}

TEST_F(VornTest, WeaponKindChangesRecomputeTheCost) {
    Vorn* unit = AddUnit(&red, kRobotMedium, 50.0f, 50.0f, 0.0f);
    EXPECT_EQ(unit->cost, 40 + 10 + 10);
    unit->SetWeaponKind(0, kWeaponMissileLauncher);
    EXPECT_EQ(unit->cost, 40 + 90 + 10);
    // Kinds from nowhere (the arena's "none" is -1) leave the place alone.
    unit->SetWeaponKind(0, -1);
    unit->SetWeaponKind(2, kWeaponLaser);
    EXPECT_EQ(unit->weapons[0].kind, kWeaponMissileLauncher);
}

TEST_F(VornTest, PackPatternsMovesEnabledPatternsForward) {
    Vorn* unit = AddUnit(&red, kRobotLarge, 50.0f, 50.0f, 0.0f);
    unit->PatternAt(2).priority = 3;
    unit->PatternAt(5).priority = 7;
    EXPECT_EQ(unit->CountEnabledPatterns(), 2);
    unit->PackPatterns();
    EXPECT_EQ(unit->PatternAt(0).priority, 3);
    EXPECT_EQ(unit->PatternAt(1).priority, 7);
    EXPECT_FALSE(unit->PatternAt(5).IsEnabled());
}

// The pictures units draw with belong to the renderer: after it restarts they are loaded
// again rather than drawn from the freed ones.
TEST_F(VornTest, TheHealthBarIsDrawnAlikeOverARestartedRenderer) {
    platform_test::TempFolder folder;
    std::filesystem::create_directories(folder / "Textures");
    Image(4, 4).SaveTGA(folder / "Textures/HealthBar.tga");
    app_test::WorkingFolder working(folder.Path());
    Vorn* unit = arena->NewVorn(0);
    unit->BuildBody(kRobotSmall);
    unit->showHealthBar = 1;
    unit->health = unit->maxHealth = 1.0f;
    Renderer& renderer = GetRenderer();
    renderer.ReleaseAll();
    auto& device = dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
    std::size_t draws[2] = {};
    for (std::size_t& count : draws) {
        ASSERT_TRUE(renderer.GetReady());
        device.SetCallLog(true);
        device.ClearRecords();
        unit->DrawOverlays(unit->position);
        renderer.EndFrame();
        count = device.Draws().size();
        device.SetCallLog(false);
        renderer.ReleaseAll();
    }
    EXPECT_GT(draws[0], 0u);
    EXPECT_EQ(draws[1], draws[0]);
    // The release took the chassis models the suite's later tests build bodies from.
    FreeChassisDefinitions();
    units_test::LoadChassisTableWithTextures();
}

TEST_F(VornTest, RemovalClearsTheLinksBetweenUnitAndBeacon) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 50.0f, 50.0f, 0.0f);
    Beacon* beacon = arena->NewBeacon();
    arena->AddObject(beacon);
    beacon->PlaceAt(Vector3(60.0f, 50.0f, 0.0f));
    beacon->owner = unit;
    unit->beacon = beacon;
    arena->RemoveObject(unit, false);
    EXPECT_EQ(beacon->owner, nullptr);

    Vorn* other = AddUnit(&red, kRobotSmall, 20.0f, 20.0f, 0.0f);
    other->beacon = beacon;
    arena->RemoveObject(beacon, false);
    EXPECT_EQ(other->beacon, nullptr);
}

}  // namespace
