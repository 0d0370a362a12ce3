// Laser beams, missiles, flame balls and shrapnel bursts flying over flat ground: where
// they go, what they hit, the blasts and marks they leave, and the odd aims.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "core/Color.h"
#include "core/MathUtil.h"
#include "support/ArenaFixture.h"
#include "support/ImpactGame.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/ExplosionField.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"
#include "world/Missile.h"
#include "world/ScorchMark.h"
#include "world/Shrapnel.h"

namespace {

class ProjectilesTest : public ArenaFixture {
protected:
    static void SetUpTestSuite() { LoadWeaponDefinitions(); }

    void SetUp() override {
        ArenaFixture::SetUp();
        SetCurrentGame(&shots);
    }

    void Step(float frame = 0.1f) {
        shots.frameTime = frame;
        arena->AdvanceObjectClocks();
        arena->Update();
        shots.clock += frame;
    }

    // Steps until the object leaves the list; the number of steps, or -1 after `limit`.
    int StepUntilGone(const WorldObject* object, int limit) {
        for (int n = 1; n <= limit; ++n) {
            Step();
            if (arena->FindObjectIndex(object) < 0) return n;
        }
        return -1;
    }

    LaserBeam* FireLaser(const Vector3& start, const Vector3& target, float heading = 0.0f) {
        LaserBeam* beam = arena->AddLaserBeam(nullptr, start, heading, Color::FromRGBA(255, 255, 0, 255));
        beam->target = target;
        arena->AddObject(beam);
        return beam;
    }

    int Count(int kind) const { return arena->CountObjectsOfKind(kind); }

    ImpactGame shots;
};

TEST_F(ProjectilesTest, LaserBeamThatHitsNothingStopsAtItsRangeWithoutABlast) {
    LaserBeam* beam = FireLaser(Vector3(20, 80, 2.5f), Vector3(80, 80, 0));
    EXPECT_EQ(beam->trail.particles[0].colour.argb, Color::FromRGBA(255, 255, 0, 255).argb);
    Step();
    // 40 units a second, level over the ground at 2.5.
    EXPECT_NEAR(beam->position.x, 24.0f, 1e-4f);
    EXPECT_NEAR(beam->position.z, 2.5f, 1e-5f);
    // 70.71 / 40 = 1.768 s: the eighteenth step of 0.1 s ends the flight.
    for (int n = 2; n <= 17; ++n) Step();
    EXPECT_FALSE(beam->removed);
    Step();
    EXPECT_TRUE(beam->removed);
    EXPECT_NEAR(beam->position.x, 20.0f + LaserBeam::kRange, 1e-3f);
    EXPECT_TRUE(shots.blasts.empty());
}

TEST_F(ProjectilesTest, LaserBeamExplodesOnTheUnitInItsWay) {
    // A rock stands on the ground: its sphere's centre is at the ground.
    Probe* target = AddProbe(30, 80, 3.0f, kKindRock);
    LaserBeam* beam = FireLaser(Vector3(20, 80, 2.5f), Vector3(60, 80, 0));
    Step();  // 20 -> 24
    Step();  // the sweep to 28 comes within 3.5 of the rock's centre: (2^2 + 2.5^2)^0.5 = 3.2
    EXPECT_TRUE(beam->removed);
    ASSERT_EQ(shots.blasts.size(), 1u);
    const ExplosionField* blast = shots.blasts[0];
    // Kind 0's blast: radius 1, no owner, pointing back along the beam.
    EXPECT_FLOAT_EQ(blast->shape.Radius(), 1.0f);
    EXPECT_EQ(blast->owner, nullptr);
    EXPECT_FLOAT_EQ(blast->direction.x, -1.0f);
    EXPECT_LT(beam->position.x, 28.5f);
    EXPECT_GT(beam->position.x, 24.0f);
    // Touched by the blast: the table's laser damage of 1.0 at most.
    EXPECT_LT(target->health, 10.0f);
    EXPECT_GE(target->health, 9.0f);
}

TEST_F(ProjectilesTest, LaserBeamAimedAtItsOwnSpotFliesAlongItsHeadingOrFizzles) {
    LaserBeam* straight = FireLaser(Vector3(20, 80, 2.5f), Vector3(20, 80, 0), kPi / 2.0f);
    Step();
    EXPECT_NEAR(straight->position.x, 20.0f, 1e-4f);
    EXPECT_NEAR(straight->position.y, 84.0f, 1e-4f);
    EXPECT_FALSE(straight->removed);

    LaserBeam* lost = FireLaser(Vector3(60, 20, 2.5f), Vector3(60, 20, 0), std::numeric_limits<float>::quiet_NaN());
    Step();
    EXPECT_TRUE(lost->removed);
    EXPECT_TRUE(shots.blasts.empty());
}

TEST_F(ProjectilesTest, LaserBeamFliesTowardTheTargetsNearestImage) {
    // The target at x = 150 is nearer across the edge, 20 units to the left.
    LaserBeam* beam = FireLaser(Vector3(10, 80, 2.5f), Vector3(150, 80, 0));
    Step();
    EXPECT_NEAR(beam->position.x, 6.0f, 1e-4f);
}

TEST_F(ProjectilesTest, OnANetworkClientABeamPassesThroughAndNeverExplodes) {
    shots.client = true;
    Probe* target = AddProbe(30, 80, 3.0f, kKindRock);
    LaserBeam* beam = FireLaser(Vector3(20, 80, 2.5f), Vector3(60, 80, 0));
    for (int n = 0; n < 5; ++n) Step();
    EXPECT_FALSE(beam->removed);
    EXPECT_NEAR(beam->position.x, 40.0f, 1e-3f);
    EXPECT_TRUE(shots.blasts.empty());
    EXPECT_FLOAT_EQ(target->health, 10.0f);
}

TEST_F(ProjectilesTest, MissileFiredLevelFallsAndExplodesOnTheGroundLeavingAScorchMark) {
    Missile* missile = arena->AddMissile(nullptr, Vector3(20, 80, 10), Vector3(10, 0, 0), 0.0f, Vector3(60, 80, 0));
    arena->AddObject(missile);
    // Each step of 0.1 s is 0.15 s of missile time: z_n = 10 - 9.8 x 0.15^2 x n(n+1)/2 reaches
    // the ground (z - 1 <= 0.01) on the ninth step, 13.5 units downrange.
    EXPECT_EQ(StepUntilGone(missile, 20), 9);
    EXPECT_NEAR(missile->position.x, 33.5f, 1e-3f);
    EXPECT_FLOAT_EQ(missile->position.z, 0.0f);
    ASSERT_EQ(shots.blasts.size(), 1u);
    const ExplosionField* blast = shots.blasts[0];
    EXPECT_FLOAT_EQ(blast->shape.Radius(), 6.0f);
    EXPECT_NEAR(blast->position.z, 0.1f, 1e-5f);
    EXPECT_FLOAT_EQ(blast->direction.z, 1.0f);
    ASSERT_EQ(shots.scorches.size(), 1u);
    EXPECT_FLOAT_EQ(shots.scorches[0]->size, 6.0f);
    EXPECT_NEAR(shots.scorches[0]->position.x, 33.5f, 1e-3f);
}

TEST_F(ProjectilesTest, MissileTrailsSmokeAndExplodesOnWhatItHits) {
    Probe* target = AddProbe(30, 80, 2.0f, kKindRock);
    Missile* missile = arena->AddMissile(nullptr, Vector3(20, 80, 2), Vector3(20, 0, 0), 0.0f, Vector3(30, 80, 0));
    arena->AddObject(missile);
    // The third step's sweep to (29, 80, 0.68) meets the rock.
    Step();
    Step();
    EXPECT_FALSE(missile->removed);
    Step();
    EXPECT_GT(Count(kKindSmokePuff), 0);
    EXPECT_TRUE(missile->removed);
    ASSERT_EQ(shots.blasts.size(), 1u);
    EXPECT_TRUE(shots.scorches.empty());
    // Well inside the missile's blast: the full table damage of 10.
    EXPECT_FLOAT_EQ(target->health, 0.0f);
}

TEST_F(ProjectilesTest, FlameBallFliesItsRangeLingersAndBurnsTwoInAll) {
    // A wide standing object under the whole path: every step of the flight burns it.
    Probe* wide = AddProbe(30, 80, 1.0f, kKindTree);
    wide->shape.SetSphere(Vector3(30, 80, 0), 25.0f);
    wide->UpdateGridPlacement();
    wide->ResetHealth(10.0f);
    FlameBall* ball = arena->NewFlameBall(nullptr, Vector3(20, 80, 0), Vector3(40, 80, 0), 20.0f);
    arena->AddObject(ball);
    // 20 / 22.5 = 0.889 s of flight: stopped on the ninth step, then 0.5 s of lingering.
    EXPECT_EQ(StepUntilGone(ball, 30), 14);
    // The ball rests one radius over the ground, so it flew from (20, 80, 1) toward the
    // target on the ground: 20 units along (20, 0, -1) / 401^0.5.
    EXPECT_NEAR(ball->position.x, 20.0f + 400.0f / std::sqrt(401.0f), 1e-3f);
    EXPECT_EQ(ball->stopped, 1);
    EXPECT_NEAR(wide->health, 8.0f, 1e-4f);
    // The flames grow to the full radius of 1.0 at the full range.
    EXPECT_NEAR(ball->shape.Radius(), 1.0f, 1e-5f);
}

TEST_F(ProjectilesTest, OnlyRocksStopAFlameBallAndBlastsDoNotHurtIt) {
    Probe* rock = AddProbe(30, 80, 1.0f, kKindRock);
    Probe* behind = AddProbe(36, 80, 1.0f, kKindTree);
    FlameBall* ball = arena->NewFlameBall(nullptr, Vector3(20, 80, 0), Vector3(40, 80, 0), 20.0f);
    arena->AddObject(ball);
    for (int n = 0; n < 8; ++n) Step();
    EXPECT_EQ(ball->stopped, 1);
    EXPECT_LT(ball->position.x, 29.0f);
    EXPECT_FLOAT_EQ(behind->health, 10.0f);
    EXPECT_FLOAT_EQ(rock->health, 10.0f);
    ball->TakeDamage(nullptr, ball->position, 50.0f, 0);
    EXPECT_FLOAT_EQ(ball->health, 10.0f);
}

TEST_F(ProjectilesTest, FlameBallAimedAtItsOwnSpotUsesItsHeadingOrGoesOut) {
    FlameBall* ball = arena->NewFlameBall(nullptr, Vector3(20, 80, 0), Vector3(20, 80, 0), 0.0f);
    ball->range = 20.0f;
    ball->heading = kPi / 2.0f;
    ball->target = ball->position;
    arena->AddObject(ball);
    Step();
    EXPECT_NEAR(ball->position.y, 82.25f, 1e-3f);
    EXPECT_NEAR(ball->position.x, 20.0f, 1e-4f);

    FlameBall* lost = arena->NewFlameBall(nullptr, Vector3(60, 20, 0), Vector3(60, 20, 0), 0.0f);
    lost->range = 20.0f;
    lost->heading = std::numeric_limits<float>::quiet_NaN();
    lost->target = lost->position;
    Probe* near = AddProbe(60, 20, 1.0f, kKindTree);
    arena->AddObject(lost);
    Step();
    EXPECT_TRUE(lost->removed);
    EXPECT_FLOAT_EQ(near->health, 10.0f);
}

class ShrapnelTest : public ProjectilesTest {
protected:
    // Five targets 20 units ahead, spread 20 units apart across the line of fire: only the
    // middle one passes within 3.25 of a rock of radius 3 four units ahead.
    std::vector<Vector3> Fan() const {
        return {Vector3(40, 40, 0), Vector3(40, 60, 0), Vector3(40, 80, 0), Vector3(40, 100, 0), Vector3(40, 120, 0)};
    }
};

TEST_F(ShrapnelTest, FragmentThatMeetsARockExplodesThereAndItsTrailEndsThere) {
    Probe* rock = AddProbe(24, 80, 3.0f, kKindRock);
    const std::vector<Vector3> targets = Fan();
    Shrapnel* burst = arena->NewShrapnel(nullptr, Vector3(20, 80, 2.5f), 0.0f, targets);
    arena->AddObject(burst);
    ASSERT_EQ(shots.blasts.size(), 1u);
    EXPECT_EQ(burst->trailCount, Shrapnel::kFragmentCount);
    // The middle fragment stops in its first quarter (x < 25), 2.5 over the ground.
    EXPECT_LT(burst->endPoints[2].x, 25.0f);
    EXPECT_FLOAT_EQ(burst->endPoints[2].z, 2.5f);
    EXPECT_FLOAT_EQ(burst->endPoints[0].y, 40.0f);
    EXPECT_FLOAT_EQ(shots.blasts[0]->shape.Radius(), 1.0f);
    EXPECT_LT(rock->health, 10.0f);
    // Only the smoke stays; it fades within 1.1 s.
    EXPECT_GT(StepUntilGone(burst, 20), 0);
}

TEST_F(ShrapnelTest, OnANetworkClientNoFragmentExplodes) {
    shots.client = true;
    AddProbe(24, 80, 3.0f, kKindRock);
    const std::vector<Vector3> targets = Fan();
    Shrapnel* burst = arena->NewShrapnel(nullptr, Vector3(20, 80, 2.5f), 0.0f, targets);
    EXPECT_TRUE(shots.blasts.empty());
    EXPECT_EQ(burst->trailCount, Shrapnel::kFragmentCount);
    EXPECT_FLOAT_EQ(burst->endPoints[2].x, 40.0f);
}

TEST_F(ShrapnelTest, ShooterRemovedWhileItsShrapnelFliesIsForgotten) {
    Vorn* shooter = arena->NewVorn(0);
    shooter->shape.SetSphere(Vector3(), 1.0f);
    arena->AddObject(shooter);
    shooter->PlaceAt(Vector3(18, 80, 0));
    const std::vector<Vector3> targets = Fan();
    Shrapnel* burst = arena->NewShrapnel(shooter, Vector3(20, 80, 2.5f), 0.0f, targets);
    arena->AddObject(burst);
    // The fragments leave from the shooter's surface and never hit it.
    EXPECT_TRUE(shots.blasts.empty());
    EXPECT_EQ(burst->shooter, shooter);
    arena->RemoveObject(shooter, false);
    EXPECT_EQ(burst->shooter, nullptr);
}

}  // namespace
