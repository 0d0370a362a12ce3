// Weapons: the table, ammunition and reload, what each kind fires, the unit launcher,
// and the weapon record's text form.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "core/Image.h"
#include "core/StringStream.h"
#include "game/Player.h"
#include "support/ArenaFixture.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/WorkingFolder.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "units/Weapon.h"
#include "units/WeaponTable.h"
#include "world/Beacon.h"
#include "world/ExplosionField.h"
#include "world/FieldGenerator.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"
#include "world/Missile.h"
#include "world/SaveFilePaths.h"
#include "world/Shrapnel.h"
#include "world/SoccerBall.h"

#include "support/SpeedBattleFiles.h"
#include "support/TestAssets.h"
#include "world/FieldStanding.h"

namespace {

constexpr int kRobotSmall = 0, kRobotMedium = 1, kRobotLarge = 2;
constexpr int kWeaponRow = 99;  // the upgrade catalogue row of weapon kind 0

// A unit file whose weapon places hold the given records.
std::string UnitFile(const char* chassis, const std::string& weapon0, const std::string& weapon1) {
    return "Type Vorn\nName X\nChassisType " + std::string(chassis) + "\nCost 30\nWeapons 2\n" + weapon0 + weapon1 +
           "Patterns 0\nEnd\n";
}

std::string Record(const char* kind, int location, const char* ammo = nullptr) {
    std::string text = std::string("\tType ") + kind + "\n\t\tLocation " + std::to_string(location) + "\n";
    if (ammo != nullptr) text += std::string("\t\tAmmoName ") + ammo + "\n\t\tAmmoSize 0\n";
    return text + "\tEnd\n";
}

class NetworkGame : public RecordingGame {
public:
    bool IsNetworkClient() const override { return client; }
    bool IsNetworkServer() const override { return !client; }
    void OnVornAction(Vorn*, const Vector3&, VornAction* action, float) override { reported.push_back(action); }
    bool client = true;
    std::vector<VornAction*> reported;
};

class WeaponTest : public ArenaFixture {
protected:
    static void SetUpTestSuite() {
        units_test::LoadChassisTableWithTextures();
        LoadWeaponDefinitions();
    }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }

    void SetUp() override {
        ArenaFixture::SetUp();
        SetDataFolders(String((folder.Path() + "/").c_str()), "Squads\\", "Scenarios\\");
        WriteUnit("Tiny", UnitFile("RobotSmall", Record("Laser", 0), Record("Laser", 1)));
        WriteUnit("Peer", UnitFile("StalkMedium", Record("Laser", 0), Record("Laser", 1)));
        WriteUnit("Mid", UnitFile("RobotMedium", Record("VornLauncher", 0, "Tiny"), Record("Laser", 1)));
    }

    void TearDown() override {
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        ArenaFixture::TearDown();
    }

    void WriteUnit(const std::string& name, const std::string& text) {
        std::ofstream(folder / (name + ".VRN")) << text;
    }

    // A prepared unit standing on the flat ground at (x, y), weapon 0 of the kind.
    Vorn* MakeUnit(int chassis, float x, float y, int kind, Player* owner = nullptr) {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(chassis);
        unit->SetPlayer(owner);
        unit->SetWeaponKind(0, kind);
        arena->AddObject(unit);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        unit->SetDefaults();
        return unit;
    }

    template <typename T>
    std::vector<T*> ObjectsOfKind(int kind) const {
        std::vector<T*> found;
        for (WorldObject* object : arena->Objects()) {
            if (object->kind == kind) found.push_back(static_cast<T*>(object));
        }
        return found;
    }

    // The last request of the sound whose name ends so, or none.
    static const EffectSoundRequest* Requested(const char* nameEnd) {
        const std::vector<EffectSoundRequest>& requests = GetEffectSoundRequests();
        for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
            const std::string name = it->name.CStr();
            if (name.find(nameEnd) != std::string::npos) return &*it;
        }
        return nullptr;
    }

    platform_test::TempFolder folder;
};

TEST(WeaponTable, RowsAndKindNames) {
    LoadWeaponDefinitions();
    const WeaponDefinition* missile = WeaponTable::Row(kWeaponMissileLauncher);
    EXPECT_EQ(missile->cost, 90);
    EXPECT_FLOAT_EQ(missile->reloadTime, 2.0f);
    EXPECT_FLOAT_EQ(missile->baseValue, 6.0f);
    EXPECT_EQ(missile->baseAmmo, 20);
    EXPECT_EQ(WeaponTable::Row(kWeaponVornLauncher)->holdFlag, 1);
    EXPECT_FLOAT_EQ(WeaponTable::Row(kWeaponHealthFieldGenerator)->damage, 35.0f);
    EXPECT_EQ(WeaponTable::Row(12), nullptr);
    EXPECT_EQ(WeaponTable::Row(-1), nullptr);
    EXPECT_FLOAT_EQ(GetUpgradeBaseValue(kWeaponExplosive), 4.0f);
    EXPECT_FLOAT_EQ(GetUpgradeBaseValue(99), 0.0f);
    EXPECT_EQ(FindWeaponKind("Kicker"), kWeaponKicker);
    EXPECT_EQ(FindWeaponKind("kicker"), kWeaponLaser);  // plain text compares exactly
    EXPECT_EQ(FindWeaponKind(String("kicker")), kWeaponKicker);
    EXPECT_EQ(FindWeaponKind(String("Bazooka")), kWeaponLaser);
    EXPECT_STREQ(WeaponSoundName(kWeaponMissileLauncher), "WeaponMissileGun");
}

TEST(WeaponUpgrades, DamageAmmunitionAndDurationFollowThePlayersLevels) {
    LoadWeaponDefinitions();
    Player player;
    EXPECT_EQ(player.GetWeaponAmmo(kWeaponShrapnelGun), 20);
    player.upgradeLevels[kWeaponRow + kWeaponShrapnelGun] = 5;
    player.upgradeLevels[kWeaponRow + kWeaponMissileLauncher] = 3;
    player.upgradeLevels[kWeaponRow + kWeaponLaser] = 2;
    player.upgradeLevels[kWeaponRow + kWeaponExplosive] = 5;
    player.upgradeLevels[kWeaponRow + kWeaponHealthFieldGenerator] = 5;
    player.upgradeLevels[kWeaponRow + kWeaponGooFieldGenerator] = 3;
    player.upgradeLevels[kWeaponRow + kWeaponVornLauncher] = 2;
    EXPECT_EQ(player.GetWeaponAmmo(kWeaponShrapnelGun), 40);
    EXPECT_EQ(player.GetWeaponAmmo(kWeaponMissileLauncher), 26);
    EXPECT_EQ(player.GetWeaponAmmo(kWeaponVornLauncher), 7);
    EXPECT_EQ(player.GetWeaponAmmo(kWeaponLaser), -1);  // unlimited stays unlimited
    EXPECT_FLOAT_EQ(player.GetUpgradedValue(kWeaponLaser), 1.2f);
    EXPECT_FLOAT_EQ(player.GetUpgradedValue(kWeaponExplosive), 18.75f);
    EXPECT_FLOAT_EQ(player.GetUpgradedValue(kWeaponHealthFieldGenerator), 35.0f);  // heals are not raised
    EXPECT_FLOAT_EQ(player.GetWeaponDuration(kWeaponGooFieldGenerator), 11.0f);
    EXPECT_FLOAT_EQ(player.GetWeaponDuration(kWeaponHealthFieldGenerator), 13.0f);
    EXPECT_FLOAT_EQ(player.GetWeaponDuration(kWeaponLaser), 0.0f);
    EXPECT_EQ(player.GetWeaponAmmo(12), 0);
    EXPECT_FLOAT_EQ(player.GetUpgradedValue(-1), 0.0f);
}

TEST(WeaponReload, LaserNeverRunsOutAndReloadsHalfASecond) {
    LoadWeaponDefinitions();
    Weapon laser;
    laser.ammoCount = 7;
    for (int shot = 0; shot < 3; ++shot) {
        laser.Fire(0.0f, Vector3(), false, -1, 0, nullptr);
        EXPECT_EQ(laser.ammoCount, 7);
        EXPECT_FALSE(laser.IsOutOfAmmo());
        EXPECT_FLOAT_EQ(laser.reloadTimer, 0.5f);
        laser.Update(0.5f);
        EXPECT_FALSE(laser.IsReloading());
    }
}

TEST(WeaponReload, ReloadRunsOnSpentTimeAndTheLastShotReloadsHalfASecond) {
    LoadWeaponDefinitions();
    Weapon gun;
    gun.SetKind(kWeaponShrapnelGun);
    gun.ammoCount = 2;
    gun.Fire(0.0f, Vector3(), false, -1, 0, nullptr);
    EXPECT_EQ(gun.ammoCount, 1);
    EXPECT_EQ(gun.stage, Weapon::kStageReloading);
    EXPECT_FLOAT_EQ(gun.reloadTimer, 2.0f);
    gun.Update(1.5f);
    EXPECT_TRUE(gun.IsReloading());
    EXPECT_FLOAT_EQ(gun.reloadTimer, 0.5f);
    gun.Update(0.5f);
    EXPECT_EQ(gun.stage, Weapon::kStageReady);
    EXPECT_FLOAT_EQ(gun.reloadTimer, 0.0f);
    gun.Fire(0.0f, Vector3(), false, -1, 0, nullptr);
    EXPECT_EQ(gun.ammoCount, 0);
    EXPECT_TRUE(gun.IsOutOfAmmo());
    EXPECT_FLOAT_EQ(gun.reloadTimer, 0.5f);
    gun.Fire(0.0f, Vector3(), false, -1, 0, nullptr);
    EXPECT_EQ(gun.ammoCount, 0);

    Weapon kicker;
    kicker.SetKind(kWeaponKicker);
    kicker.Rearm(nullptr);
    EXPECT_EQ(kicker.ammoCount, -1);
    kicker.Fire(0.0f, Vector3(), false, -1, 0, nullptr);
    EXPECT_EQ(kicker.ammoCount, -1);
    EXPECT_FALSE(kicker.IsOutOfAmmo());
}

TEST(WeaponGeometry, BallisticLaunchLandsOnTheTarget) {
    float t = 0.0f;
    const Vector3 high = Weapon::BallisticVelocity(Vector3(10, 10, 0), Vector3(20, 10, 0), true, 1.0f, 1.0f, &t);
    // Apex 16 up: v = sqrt(2 x 9.8 x 16), up and down again in 2v / 9.8.
    EXPECT_NEAR(high.z, 17.7088f, 1e-3f);
    EXPECT_NEAR(t, 3.61404f, 1e-4f);
    EXPECT_NEAR(high.x, 2.76699f, 1e-4f);
    EXPECT_FLOAT_EQ(high.y, 0.0f);
    const Vector3 low = Weapon::BallisticVelocity(Vector3(10, 10, 0), Vector3(20, 10, 0), false, 1.0f, 1.0f, &t);
    // Apex 2 x 1 + 1.25 x 1 = 3.25 up.
    EXPECT_NEAR(low.z, 7.98123f, 1e-4f);
    EXPECT_NEAR(t, 1.62882f, 1e-4f);
    EXPECT_NEAR(low.x, 6.13942f, 1e-3f);
    const Vector3 none = Weapon::BallisticVelocity(Vector3(10, 10, 0), Vector3(NAN, 10, 0), false, 1.0f, 1.0f, &t);
    EXPECT_EQ(none, Vector3());
    EXPECT_FLOAT_EQ(t, 0.0f);
}

TEST_F(WeaponTest, MuzzleWithoutWeaponNodeIsAboveTheUnitAndOutsideItsShape) {
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponLaser);
    ASSERT_FLOAT_EQ(unit->GetRadius(), 1.5f);
    ASSERT_FLOAT_EQ(unit->position.z, 1.5f);
    // (50, 50, 3.0), pushed along +x to the circle of 1.5 + 0.5 + 0.1.
    const Vector3 muzzle = unit->weapons[0].MuzzlePoint(Vector3(60, 50, 0), 0.5f, false, 0.0f);
    EXPECT_NEAR(muzzle.x, 52.1f, 1e-4f);
    EXPECT_NEAR(muzzle.y, 50.0f, 1e-4f);
    EXPECT_NEAR(muzzle.z, 3.0f, 1e-4f);
    // Raised: 3 x the height, then the extra radius.
    const Vector3 raised = unit->weapons[0].MuzzlePoint(Vector3(50, 40, 0), 0.5f, true, 1.0f);
    EXPECT_NEAR(raised.y, 47.9f, 1e-4f);
    EXPECT_NEAR(raised.z, 6.5f, 1e-4f);
}

TEST_F(WeaponTest, LaserAddsABeamForTheOwnersPlayer) {
    Player player;
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponLaser, &player);
    unit->weapons[0].Fire(0.0f, Vector3(70, 50, 0), false, -1, 0, nullptr);
    const auto beams = ObjectsOfKind<LaserBeam>(kKindLaserBeam);
    ASSERT_EQ(beams.size(), 1u);
    EXPECT_EQ(beams[0]->owner, &player);
    EXPECT_NEAR(beams[0]->start.z, 2.5f, 1e-4f);
    EXPECT_NEAR(beams[0]->heading, 0.0f, 1e-5f);
    EXPECT_EQ(beams[0]->target, Vector3(70, 50, 0));
    EXPECT_EQ(unit->mood, 0);
    EXPECT_FLOAT_EQ(unit->weapons[0].reloadTimer, 0.5f);
}

TEST_F(WeaponTest, ShrapnelAndFlamesSpreadAroundTheAim) {
    Vorn* unit = MakeUnit(kRobotMedium, 50, 50, kWeaponShrapnelGun);
    unit->SetWeaponKind(1, kWeaponFlamethrower);
    unit->SetDefaults();
    EXPECT_EQ(unit->weapons[0].ammoCount, 20);
    unit->weapons[0].Fire(0.0f, Vector3(70, 50, 0), false, -1, 0, nullptr);
    const auto bursts = ObjectsOfKind<Shrapnel>(kKindShrapnel);
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_EQ(bursts[0]->shooter, unit);
    for (const Vector3& end : bursts[0]->endPoints) {
        EXPECT_GT(end.x, 60.0f);
        EXPECT_LT(std::fabs(end.y - 50.0f), 4.0f);
        EXPECT_NEAR(end.z, 2.25f + 0.255f, 1e-4f);
    }
    EXPECT_EQ(unit->weapons[0].ammoCount, 19);
    EXPECT_FLOAT_EQ(unit->weapons[0].reloadTimer, 2.0f);

    unit->weapons[1].Fire(0.0f, Vector3(50, 80, 0), false, -1, 0, nullptr);
    const auto flames = ObjectsOfKind<FlameBall>(kKindFlameBall);
    ASSERT_EQ(flames.size(), 30u);
    for (const FlameBall* flame : flames) {
        EXPECT_GT(flame->target.y, flame->start.y);
        EXPECT_NEAR(flame->target.z, 0.0f, 1e-4f);
    }
    // The flames reach 20 units over the ground, the last one straight out.
    EXPECT_NEAR(
        Vector2(flames.back()->target.x - flames.back()->start.x, flames.back()->target.y - flames.back()->start.y)
            .Length(),
        20.0f, 1e-3f);
    EXPECT_EQ(unit->weapons[1].ammoCount, 98);
}

TEST_F(WeaponTest, MissileFliesItsArcAndReloadsForItsFlight) {
    Vorn* unit = MakeUnit(kRobotMedium, 20, 50, kWeaponMissileLauncher);
    Weapon& launcher = unit->weapons[0];
    launcher.Fire(0.0f, Vector3(80, 50, 0), true, -1, 0, nullptr);
    const auto missiles = ObjectsOfKind<Missile>(kKindMissile);
    ASSERT_EQ(missiles.size(), 1u);
    const Missile& missile = *missiles[0];
    // Where the arc comes down: start + v t - g t^2 / 2 at the target height.
    const float vz = missile.velocity.z;
    const float t = (vz + std::sqrt(vz * vz + 2.0f * 9.8f * missile.position.z)) / 9.8f;
    EXPECT_NEAR(missile.position.x + missile.velocity.x * t, 80.0f, 1e-3f);
    EXPECT_NEAR(launcher.reloadTimer, t / 1.5f, 1e-3f);
    EXPECT_GT(launcher.reloadTimer, 2.0f);
    EXPECT_EQ(launcher.ammoCount, 19);
    // Close by, the row's 2 s holds.
    launcher.Fire(0.0f, Vector3(25, 50, 0), false, -1, 0, nullptr);
    EXPECT_FLOAT_EQ(launcher.reloadTimer, 2.0f);
}

TEST_F(WeaponTest, FieldGeneratorIsThrownToEightAboveTheTargetWithItsCanisterAndSound) {
    // A stand-in canister model where the generator looks for its kind's.
    std::filesystem::create_directories(folder / "Actors");
    std::ofstream(folder / "Actors/GooFieldGenerator_c_painted.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    Image(1, 1).SaveTGA(folder / "Actors/GooFieldGenerator_c_painted.tga");
    const app_test::WorkingFolder working(folder.Path());
    RecordEffectSoundRequests(true);
    Player player;
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponGooFieldGenerator, &player);
    player.upgradeLevels[kWeaponRow + kWeaponGooFieldGenerator] = 2;
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, -1, 0, nullptr);
    const auto generators = ObjectsOfKind<FieldGenerator>(kKindFieldGenerator);
    ASSERT_EQ(generators.size(), 1u);
    EXPECT_EQ(generators[0]->weaponKind, kWeaponGooFieldGenerator);
    EXPECT_NE(generators[0]->model, nullptr);
    EXPECT_TRUE(Requested("LAUNCHFIELD.OGG"));
    EXPECT_EQ(generators[0]->landingPoint, Vector3(60, 50, 8));
    EXPECT_FLOAT_EQ(generators[0]->lifeTimer, 10.0f);
    EXPECT_FLOAT_EQ(unit->weapons[0].reloadTimer, 8.0f);

    // A generator taken again from the pool after one has landed flies again.
    generators[0]->state = FieldGenerator::kStateLanded;
    arena->RemoveObject(generators[0], false);
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, -1, 0, nullptr);
    const auto again = ObjectsOfKind<FieldGenerator>(kKindFieldGenerator);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0]->state, FieldGenerator::kStateFlying);
    RecordEffectSoundRequests(false);
}

// Heard from a listener 40 units from the unit while the guide speaks (effects at 0.8):
// 0.8 x (1 - 0.004 x 40) = 0.672.
TEST_F(WeaponTest, ShotsReloadsAndHitsAreHeardFromTheUnit) {
    RecordEffectSoundRequests(true);
    arena->listenerPosition = Vector3(50, 50, 0);
    arena->listenerRight = Vector2(1, 0);
    arena->effectVolume = 0.8f;
    Vorn* unit = MakeUnit(kRobotMedium, 90, 50, kWeaponShrapnelGun);
    unit->SetWeaponKind(1, kWeaponFlamethrower);
    unit->SetDefaults();
    const auto heard = [&](const char* name) {
        const EffectSoundRequest* request = Requested(name);
        ASSERT_NE(request, nullptr) << name;
        EXPECT_NEAR(request->volume, 0.672f, 1e-4f) << name;
        EXPECT_NEAR(GetEffectSound(request->sound)->Position().x, 90.0f, 1e-4f) << name;
    };
    unit->weapons[0].Fire(0.0f, Vector3(120, 50, 0), false, -1, 0, nullptr);
    heard("WEAPONSHRAPNELGUN");
    unit->weapons[0].Update(2.5f);
    heard("SHRAPNELGUNRELOAD.OGG");
    unit->weapons[1].Fire(0.0f, Vector3(120, 50, 0), false, -1, 0, nullptr);
    heard("FLAMETHROWER.OGG");
    unit->TakeDamage(nullptr, unit->position, 1.0f, 0);
    heard("PUNCH.OGG");
    RecordEffectSoundRequests(false);
}

TEST_F(WeaponTest, KickedAndDroppedBallsSoundTheBallAndKeepTheCarriedSpin) {
    RecordEffectSoundRequests(true);
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponKicker);
    unit->GiveBall();
    unit->ballSpin = Vector3(0.4f, -0.2f, 1.1f);
    const Quaternion carried = unit->CarriedBallOrientation();
    unit->weapons[0].Fire(0.0f, Vector3(80, 50, 0), false, -1, 0, nullptr);
    const auto kicked = ObjectsOfKind<SoccerBall>(kKindSoccerBall);
    ASSERT_EQ(kicked.size(), 1u);
    EXPECT_NEAR(kicked[0]->orientation.x, carried.x, 1e-4f);
    EXPECT_NEAR(kicked[0]->orientation.w, carried.w, 1e-4f);
    EXPECT_TRUE(Requested("BALLKICK.OGG"));
    unit->GiveBall();
    unit->DropBall(unit->BallDropSpeed());
    EXPECT_TRUE(Requested("BALLPOP.OGG"));
    RecordEffectSoundRequests(false);
}

TEST_F(WeaponTest, BeaconSetterMovesItsOneBeacon) {
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponBeaconSetter);
    unit->weapons[0].Fire(0.0f, Vector3(60, 55, 3), false, -1, 0, nullptr);
    unit->weapons[0].Fire(0.0f, Vector3(40, 45, 0), false, -1, 0, nullptr);
    const auto beacons = ObjectsOfKind<Beacon>(kKindBeacon);
    ASSERT_EQ(beacons.size(), 1u);
    EXPECT_EQ(unit->beacon, beacons[0]);
    EXPECT_EQ(beacons[0]->owner, unit);
    EXPECT_FLOAT_EQ(beacons[0]->position.x, 40.0f);
    EXPECT_FLOAT_EQ(beacons[0]->position.y, 45.0f);
    EXPECT_FALSE(unit->weapons[0].IsOutOfAmmo());
}

TEST_F(WeaponTest, ExplosiveBlowsUpItsOwnUnitWithoutCreditingAKill) {
    Player player;
    player.vornsAlive = 1;
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponExplosive, &player);
    ASSERT_EQ(unit->weapons[0].ammoCount, 1);
    unit->weapons[0].Fire(0.0f, Vector3(50, 50, 0), false, -1, 0, nullptr);
    EXPECT_EQ(unit->weapons[0].ammoCount, 0);
    EXPECT_TRUE(unit->weapons[0].IsOutOfAmmo());
    EXPECT_LE(unit->health, 0.0f);
    EXPECT_TRUE(unit->removed);
    // The Explosive's blast, and the one of the destroyed chassis.
    const auto blasts = ObjectsOfKind<ExplosionField>(kKindExplosionField);
    ASSERT_EQ(blasts.size(), 2u);
    const ExplosionField* own = blasts[0]->damage == 12.5f ? blasts[0] : blasts[1];
    EXPECT_FLOAT_EQ(own->damage, 12.5f);
    EXPECT_EQ(own->owner, &player);
    EXPECT_EQ(player.losses, 1);
    EXPECT_EQ(player.kills, 0);
}

TEST_F(WeaponTest, PropellerFliesFromWhereItStandsAndLandsOnTheTarget) {
    Vorn* unit = MakeUnit(kRobotSmall, 40, 50, kWeaponPropeller);
    const Vector3 before = unit->position;
    unit->weapons[0].Fire(0.0f, Vector3(60, 56, 0), true, -1, 0, nullptr);
    EXPECT_EQ(unit->position, before);
    EXPECT_FALSE(unit->onGround);
    EXPECT_GT(unit->weapons[0].flightTimer, 0.0f);
    EXPECT_EQ(unit->weapons[0].ammoCount, 5);
    for (int step = 0; step < 2000 && !unit->onGround; ++step) {
        unit->SetTimeBudget(0.02f);
        unit->AirborneStep();
    }
    ASSERT_TRUE(unit->onGround);
    EXPECT_LT(Vector2(unit->position.x - 60.0f, unit->position.y - 56.0f).Length(), 1.0f);
}

TEST_F(WeaponTest, PropellerDoesNotJumpThroughAnObstacle) {
    Vorn* unit = MakeUnit(kRobotSmall, 40, 50, kWeaponPropeller);
    AddProbe(50, 50, 2.0f, kKindRock);
    const Vector3 before = unit->position;
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), true, -1, 0, nullptr);
    EXPECT_EQ(unit->position, before);
    EXPECT_TRUE(unit->onGround);
    EXPECT_EQ(unit->velocity, Vector3());
}

TEST_F(WeaponTest, LauncherFiresSavedSmallerUnits) {
    Vorn* carrier = MakeUnit(kRobotMedium, 50, 50, kWeaponVornLauncher);
    Weapon& launcher = carrier->weapons[0];
    launcher.SetAmmo("Tiny");
    EXPECT_EQ(launcher.ammoName, "Tiny");
    EXPECT_EQ(launcher.ammoSize, 0);
    launcher.Rearm(carrier);
    ASSERT_EQ(launcher.AmmoLeft(), 5);
    EXPECT_EQ(launcher.loadedUnits[0]->chassisType, kRobotSmall);
    carrier->launchedUnitFlag = 1;
    launcher.Fire(0.0f, Vector3(70, 50, 0), false, -1, 0, nullptr);
    const auto vorns = ObjectsOfKind<Vorn>(kKindVorn);
    ASSERT_EQ(vorns.size(), 2u);
    Vorn* launched = vorns[0] == carrier ? vorns[1] : vorns[0];
    EXPECT_EQ(launched->name, "Tiny");
    EXPECT_EQ(launched->squadMember, 1);
    EXPECT_GT(launched->velocity.x, 0.0f);
    EXPECT_FLOAT_EQ(launched->delayTimer, 2.0f);
    EXPECT_EQ(carrier->launchCount, 1);
    EXPECT_EQ(launcher.AmmoLeft(), 4);
    EXPECT_GT(launcher.reloadTimer, 0.0f);
}

TEST_F(WeaponTest, LauncherRefusesItsOwnKindSameSizeAndUnsafeNames) {
    Vorn* carrier = MakeUnit(kRobotMedium, 50, 50, kWeaponVornLauncher);
    Weapon& launcher = carrier->weapons[0];
    for (const char* name : {"Peer", "Mid", "../Tiny", "sub/Tiny", "Missing"}) {
        launcher.SetAmmo(name);
        EXPECT_EQ(launcher.ammoName, Weapon::NoAmmoText()) << name;
        launcher.Rearm(carrier);
        EXPECT_EQ(launcher.AmmoLeft(), 0) << name;
    }
    // A unit file that loads itself: refused while reading, so it carries nothing.
    WriteUnit("Self", UnitFile("RobotLarge", Record("VornLauncher", 0, "Self"), Record("Laser", 1)));
    const int before = world_test::UnitRecordsInUse(*arena);
    Vorn* self = arena->NewVorn(0);
    ASSERT_TRUE(self->LoadFile("Self"));
    EXPECT_EQ(self->weapons[0].ammoName, Weapon::NoAmmoText());
    self->SetDefaults();
    EXPECT_EQ(self->weapons[0].AmmoLeft(), 0);
    EXPECT_EQ(world_test::UnitRecordsInUse(*arena), before + 1);
}

TEST_F(WeaponTest, NestedLaunchersReleaseEveryCarriedUnit) {
    const int before = world_test::UnitRecordsInUse(*arena);
    Vorn* carrier = MakeUnit(kRobotLarge, 50, 50, kWeaponVornLauncher);
    carrier->weapons[0].SetAmmo("Mid");
    carrier->weapons[0].Rearm(carrier);
    ASSERT_EQ(carrier->weapons[0].AmmoLeft(), 5);
    EXPECT_EQ(carrier->weapons[0].loadedUnits[0]->weapons[0].AmmoLeft(), 5);
    EXPECT_EQ(world_test::UnitRecordsInUse(*arena), before + 1 + 5 + 25);
    // Rearming releases what the launcher carried before loading again.
    carrier->weapons[0].Rearm(carrier);
    arena->FlushObjectPools();
    EXPECT_EQ(world_test::UnitRecordsInUse(*arena), before + 1 + 5 + 25);
    carrier->weapons[0].ReleaseLoadedUnits();
    arena->FlushObjectPools();
    EXPECT_EQ(world_test::UnitRecordsInUse(*arena), before + 1);
    // Carried units give back their patterns' points with them.
    WriteUnit("Pilot", battle_files::UnitFile("Pilot", "RobotSmall", "Laser", "Laser", battle_files::BattlePatterns()));
    carrier->weapons[0].SetAmmo("Pilot");
    carrier->weapons[0].Rearm(carrier);
    ASSERT_GT(StrayPathPoints(*arena), 0);  // carried, off the field
    carrier->weapons[0].ReleaseLoadedUnits();
    EXPECT_EQ(StrayPathPoints(*arena), 0);
}

TEST_F(WeaponTest, ClientRepliesUseReceivedPointsOnlyWhenTheCountFits) {
    NetworkGame client;
    SetCurrentGame(&client);
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponShrapnelGun);
    Vector3Array received;
    for (int i = 0; i < 5; ++i) received.Append(Vector3(60.0f, 40.0f + 5.0f * i, 3.0f));
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, -1, 0, &received);
    Vector3Array wrong;
    wrong.Append(Vector3(10, 10, 10));
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, -1, 0, &wrong);
    const auto bursts = ObjectsOfKind<Shrapnel>(kKindShrapnel);
    ASSERT_EQ(bursts.size(), 2u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bursts[0]->endPoints[i], received[i]);
    for (const Vector3& end : bursts[1]->endPoints) EXPECT_GT(end.x, 55.0f);

    // A launcher replay with nothing loaded adds nothing.
    unit->SetWeaponKind(0, kWeaponVornLauncher);
    const int objects = arena->ObjectCount();
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, 7, 0, nullptr);
    EXPECT_EQ(arena->ObjectCount(), objects);
    SetCurrentGame(&game);
}

TEST_F(WeaponTest, ServerRecordsTheShotForItsClients) {
    NetworkGame server;
    server.client = false;
    SetCurrentGame(&server);
    Vorn* unit = MakeUnit(kRobotSmall, 50, 50, kWeaponFlamethrower);
    unit->currentAction = arena->NewVornAction();
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, -1, 0, nullptr);
    ASSERT_EQ(server.reported.size(), 1u);
    EXPECT_EQ(server.reported[0], unit->currentAction);
    EXPECT_EQ(unit->currentAction->shotData.Count(), 30);
    unit->SetWeaponKind(0, kWeaponLaser);
    unit->weapons[0].Fire(0.0f, Vector3(60, 50, 0), false, -1, 0, nullptr);
    EXPECT_EQ(unit->currentAction->shotId, ObjectsOfKind<LaserBeam>(kKindLaserBeam)[0]->id);
    SetCurrentGame(&game);
}

TEST_F(WeaponTest, TextFormRoundTripsAndIgnoresTheReloadState) {
    Vorn* carrier = MakeUnit(kRobotMedium, 50, 50, kWeaponVornLauncher);
    carrier->weapons[0].location = 1;
    carrier->weapons[0].SetAmmo("Tiny");
    StringStream written;
    carrier->weapons[0].Save(written);
    EXPECT_STREQ(written.Text(), "\tType VornLauncher\n\t\tLocation 1\n\t\tAmmoName Tiny\n\t\tAmmoSize 0\n\tEnd\n");
    Vorn* copy = MakeUnit(kRobotMedium, 20, 20, kWeaponLaser);
    StringStream reading(written.Text());
    copy->weapons[1].Load(reading);
    StringStream rewritten;
    copy->weapons[1].Save(rewritten);
    EXPECT_STREQ(rewritten.Text(), written.Text());

    StringStream hand(
        "\tTYPE shrapnelgun\n\t\tlocation 1\n\t\tStage 1\n\t\tReloadTimer 3.5\n\t\tAmmoCount 0\n"
        "\t\tWhatever\n\tEnd\nNext");
    Weapon& gun = copy->weapons[0];
    gun.Load(hand);
    EXPECT_EQ(gun.kind, kWeaponShrapnelGun);
    EXPECT_EQ(gun.location, 1);
    gun.Reset();
    gun.Rearm(copy);
    EXPECT_EQ(gun.stage, Weapon::kStageReady);
    EXPECT_FALSE(gun.IsReloading());
    EXPECT_EQ(gun.ammoCount, 20);
    String rest;
    String::ReadToken(hand, rest);
    EXPECT_EQ(rest, "Next");
}

TEST_F(WeaponTest, HostileRecordsAreBounded) {
    Vorn* carrier = MakeUnit(kRobotMedium, 50, 50, kWeaponLaser);
    Weapon& weapon = carrier->weapons[1];
    StringStream far("\tType Bazooka\n\t\tLocation 7\n\tEnd\n");
    weapon.Load(far);
    EXPECT_EQ(weapon.kind, kWeaponLaser);
    EXPECT_EQ(weapon.location, 1);
    StringStream below("\tType Laser\n\t\tLocation -3\n\tEnd\n");
    weapon.Load(below);
    EXPECT_EQ(weapon.location, 0);
    // The written size does not count: the named unit's own chassis decides.
    StringStream lying("\tType VornLauncher\n\t\tAmmoName Peer\n\t\tAmmoSize 0\n\tEnd\n");
    weapon.Load(lying);
    EXPECT_EQ(weapon.ammoName, Weapon::NoAmmoText());
    StringStream path("\tType VornLauncher\n\t\tAmmoName ..\\Tiny\n\tEnd\n");
    weapon.Load(path);
    EXPECT_EQ(weapon.ammoName, Weapon::NoAmmoText());
    // A number that does not read ends the record.
    StringStream broken("\tType Kicker\n\t\tLocation one\n\tEnd\n");
    weapon.Load(broken);
    EXPECT_EQ(weapon.kind, kWeaponKicker);
    EXPECT_EQ(weapon.location, 0);
}

}  // namespace
