#include <bit>
#include <cmath>
#include <cstdint>

#include "core/Angles.h"
#include "core/TextTable.h"
#include "game/Player.h"
#include "support/ArenaFixture.h"
#include "world/ContactRecord.h"
#include "world/ObjectShape.h"

namespace {

using WorldObjectTest = ArenaFixture;

TEST_F(WorldObjectTest, GroundBoundAndCylinderObjectsStandOnTheGround) {
    WorldObject* beacon = arena->NewObjectOfKind(kKindBeacon);
    beacon->PlaceAt(Vector3(10, 10, 30));
    EXPECT_EQ(beacon->position.z, 0.0f);
    EXPECT_TRUE(beacon->onGround);
    WorldObject* rock = arena->NewObjectOfKind(kKindRock);
    rock->PlaceAt(Vector3(-5, 170, 12));
    EXPECT_EQ(rock->position, Vector3(155, 10, 0));
    EXPECT_TRUE(rock->onGround);
    // The cylinder keeps its axis.
    EXPECT_EQ(rock->shape.cylinderSecond, Vector3(155, 10, 2.6f));
}

TEST_F(WorldObjectTest, SpheresRestOnTheGroundWithinAHundredth) {
    Probe probe(kKindMeteor);
    probe.shape.SetSphere(Vector3(), 1.0f);
    probe.PlaceAt(Vector3(20, 20, 1.01f));
    EXPECT_FLOAT_EQ(probe.position.z, 1.0f);
    EXPECT_TRUE(probe.onGround);
    probe.PlaceAt(Vector3(20, 20, -4.0f));
    EXPECT_FLOAT_EQ(probe.position.z, 1.0f);
    probe.PlaceAt(Vector3(20, 20, 1.02f));
    EXPECT_FLOAT_EQ(probe.position.z, 1.02f);
    EXPECT_FALSE(probe.onGround);
    arena->RemoveFromGrid(&probe);
}

TEST_F(WorldObjectTest, BallsNearTheGroundCountAsOnItAndExplosionsKeepTheirHeight) {
    WorldObject* ball = arena->NewObjectOfKind(kKindSoccerBall);
    ball->PlaceAt(Vector3(30, 30, 0.75f + 2.9f));
    EXPECT_TRUE(ball->onGround);
    EXPECT_FLOAT_EQ(ball->position.z, 3.65f);
    ball->PlaceAt(Vector3(30, 30, 0.75f + 3.1f));
    EXPECT_FALSE(ball->onGround);
    WorldObject* blast = arena->NewObjectOfKind(kKindExplosionField);
    blast->shape.SetSphere(Vector3(), 4.0f);
    blast->PlaceAt(Vector3(40, 40, -2.0f));
    EXPECT_EQ(blast->position.z, -2.0f);
    EXPECT_FALSE(blast->onGround);
    arena->RemoveFromGrid(ball);
    arena->RemoveFromGrid(blast);
}

TEST_F(WorldObjectTest, OnlyAFatalHitRecordsTheAttacker) {
    Player first;
    Player second;
    Probe probe(kKindTree);
    probe.ResetHealth(5.0f);
    probe.TakeDamage(&first, Vector3(), 2.0f, 0);
    EXPECT_EQ(probe.lastAttacker, nullptr);
    EXPECT_FLOAT_EQ(probe.health, 3.0f);
    probe.TakeDamage(&second, Vector3(), 3.0f, 0);
    EXPECT_EQ(probe.lastAttacker, &second);
    probe.TakeDamage(&first, Vector3(), 1.0f, 0);
    EXPECT_FLOAT_EQ(probe.health, -1.0f);
    EXPECT_EQ(probe.lastAttacker, &first);
}

TEST_F(WorldObjectTest, HealingStopsAtMaxHealthAndReportsOnce) {
    Probe probe(kKindTree);
    probe.ResetHealth(10.0f);
    probe.Heal(4.0f);
    EXPECT_TRUE(game.healthReports.empty());
    probe.SetHealth(7.0f);
    probe.Heal(5.0f);
    EXPECT_FLOAT_EQ(probe.health, 10.0f);
    ASSERT_EQ(game.healthReports.size(), 1u);
    EXPECT_EQ(game.healthReports[0].object, &probe);
    EXPECT_EQ(game.healthReports[0].attacker, nullptr);
    EXPECT_FLOAT_EQ(game.healthReports[0].amount, -10.0f);
    EXPECT_EQ(game.healthReports[0].code, 0);
}

bool Collides(int a, int b) {
    Probe first(a);
    Probe second(b);
    return first.CanCollideWith(second);
}

TEST_F(WorldObjectTest, PairRules) {
    EXPECT_TRUE(Collides(kKindVorn, kKindTree));
    EXPECT_TRUE(Collides(kKindMissile, kKindVorn));
    EXPECT_TRUE(Collides(kKindVorn, kKindMissile));
    EXPECT_FALSE(Collides(kKindMissile, kKindLaserBeam));
    EXPECT_TRUE(Collides(kKindFlameBall, kKindRock));
    EXPECT_TRUE(Collides(kKindRock, kKindFlameBall));
    EXPECT_FALSE(Collides(kKindFlameBall, kKindVorn));
    EXPECT_FALSE(Collides(kKindTree, kKindFlameBall));
    EXPECT_FALSE(Collides(kKindDebris, kKindDebris));
    EXPECT_FALSE(Collides(kKindShrapnel, kKindDebris));
    EXPECT_FALSE(Collides(kKindDebris, kKindShrapnel));
    EXPECT_TRUE(Collides(kKindDebris, kKindRock));
    // A field is neither solid nor a projectile: nothing stops it, even a solid object.
    EXPECT_FALSE(Collides(kKindGooField, kKindVorn));
    EXPECT_FALSE(Collides(kKindBeacon, kKindGoal));

    Probe flame(kKindFlameBall);
    Probe rock(kKindRock);
    Probe unit(kKindVorn);
    EXPECT_FALSE(flame.IsBlockedBy(rock));
    EXPECT_TRUE(unit.IsBlockedBy(rock));
    EXPECT_FALSE(unit.IsBlockedBy(flame));
}

TEST_F(WorldObjectTest, SlowSoccerBallsStopEachOther) {
    WorldObject* a = AddKind(kKindSoccerBall, 50, 50);
    WorldObject* b = AddKind(kKindSoccerBall, 51.4f, 50);
    a->SavePreviousState();
    a->velocity = Vector3(0.4f, 0, 0);
    b->velocity = Vector3(-0.4f, 0, 0);
    b->onGround = false;
    ContactRecord contact;
    contact.stopPosition = a->position;
    contact.contactPoint = Vector3(50.7f, 50, 0.75f);
    contact.otherObject = b;
    a->BounceOff(contact);
    EXPECT_EQ(a->velocity, Vector3());
    EXPECT_EQ(b->velocity, Vector3());

    a->velocity = Vector3(2.0f, 0, 0);
    b->velocity = Vector3(0, 0, 0);
    a->BounceOff(contact);
    // Mean speed 1, damped to 0.9, pushed apart along the line of the contact.
    EXPECT_NEAR(a->velocity.x, -0.9f, 1e-5f);
    EXPECT_NEAR(b->velocity.x, 0.9f, 1e-5f);
}

// Facing is worked out with the heading's sums written out for speed: it must agree
// with the heading bit for bit, or matches (and replays) would drift.
TEST_F(WorldObjectTest, FacingAgreesWithTheHeadingBitForBit) {
    Probe* probe = AddProbe(10, 10, 1.0f, kKindVorn);
    uint32_t state = 3;
    auto next = [&state]() {
        state = state * 214013u + 2531011u;
        return static_cast<float>(state >> 16 & 0x7FFF) / 32767.0f * 60.0f - 30.0f;
    };
    // Far, near and about the shortest distance that still has a heading.
    const float scales[] = {1.0f, 1.0e-30f, 1.0e30f, 3.5e-4f, 3.7e-4f};
    for (int k = 0; k < 1000; ++k) {
        const float scale = scales[k % 5];
        probe->facingOrigin = Vector2(next(), next());
        const float a = next();
        const Vector3 point(probe->facingOrigin.x + scale * 30.0f * std::cos(a),
                            probe->facingOrigin.y + scale * 30.0f * std::sin(a), 0.0f);
        probe->FaceDirection(point);
        const float expected = HeadingBetween(probe->facingOrigin, Vector2(point.x, point.y));
        EXPECT_EQ(std::bit_cast<uint32_t>(probe->facingAngle), std::bit_cast<uint32_t>(expected)) << k;
    }
}

TEST_F(WorldObjectTest, KindNamesAndLookups) {
    EXPECT_EQ(WorldObject::KindFromName("soccerball"), kKindSoccerBall);
    EXPECT_EQ(WorldObject::KindFromName(""), kKindNone);
    EXPECT_EQ(WorldObject::KindName(kKindWaterRing), "WaterRing");
    EXPECT_EQ(WorldObject::KindName(22), GetLanguageText("None"));
    EXPECT_EQ(WorldObject::KindName(-1), GetLanguageText("None"));
    EXPECT_TRUE(arena->NewObjectOfKind(kKindGooField)->IsPatternTarget());
    EXPECT_FALSE(arena->NewObjectOfKind(kKindExplosionField)->IsPatternTarget());
    EXPECT_TRUE(arena->NewObjectOfKind(kKindGoal)->IsSaved());
    EXPECT_FALSE(arena->NewObjectOfKind(kKindBeacon)->IsSaved());
}

}  // namespace
