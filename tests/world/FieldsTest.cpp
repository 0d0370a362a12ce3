// Fields act on what stands in them, and the field generator carries them.
#include <cmath>

#include "core/MathUtil.h"
#include "game/Player.h"
#include "support/ArenaFixture.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/ExplosionField.h"
#include "world/FieldGenerator.h"
#include "world/GooField.h"
#include "world/HealthField.h"
#include "world/SoccerBall.h"
#include "world/StaticField.h"

namespace {

class ClientGame : public RecordingGame {
public:
    bool IsNetworkClient() const override { return true; }
};

class FieldsTest : public ArenaFixture {
protected:
    static void SetUpTestSuite() { LoadWeaponDefinitions(); }

    void SetUp() override {
        ArenaFixture::SetUp();
        game.frameTime = 0.1f;
    }

    Vorn* AddUnit(float x, float y) { return static_cast<Vorn*>(AddKind(kKindVorn, x, y)); }

    GooField* AddGoo(float x, float y, float radius) {
        GooField* goo = arena->NewGooField();
        goo->Start(Vector3(x, y, 0.0f), radius);
        arena->AddObject(goo);
        return goo;
    }

    HealthField* AddHealthField(float amount, float duration) {
        HealthField* field = arena->NewHealthField();
        field->Start(Vector3(50.0f, 50.0f, 0.0f), 8.0f, amount, duration);
        arena->AddObject(field);
        return field;
    }

    // One world step of `frame` seconds.
    void Step(float frame) {
        game.frameTime = frame;
        arena->AdvanceObjectClocks();
        arena->Update();
        game.clock += frame;
    }
};

TEST_F(FieldsTest, GooSlowsGroundedUnitsInsideAndDragsTheBall) {
    Vorn* inBoth = AddUnit(50.0f, 50.0f);
    Vorn* inOne = AddUnit(43.0f, 50.0f);
    Vorn* outside = AddUnit(70.0f, 50.0f);
    Vorn* flying = AddUnit(50.0f, 51.0f);
    flying->onGround = false;
    auto* ball = static_cast<SoccerBall*>(AddKind(kKindSoccerBall, 52.0f, 52.0f));
    ball->onGround = true;
    GooField* first = AddGoo(50.0f, 50.0f, 8.0f);
    GooField* second = AddGoo(55.0f, 50.0f, 8.0f);
    first->Update(false);
    second->Update(false);
    // Two fields: a quarter of a quarter.
    EXPECT_FLOAT_EQ(inBoth->speedFactor, 0.0625f);
    EXPECT_FLOAT_EQ(inOne->speedFactor, 0.25f);
    EXPECT_FLOAT_EQ(outside->speedFactor, 1.0f);
    EXPECT_FLOAT_EQ(flying->speedFactor, 1.0f);
    EXPECT_FLOAT_EQ(ball->drag, 2.0f);
    // Nothing happens while the game is paused.
    inOne->speedFactor = 1.0f;
    first->Update(true);
    EXPECT_FLOAT_EQ(inOne->speedFactor, 1.0f);
}

TEST_F(FieldsTest, GooActsAcrossTheArenaEdge) {
    Vorn* unit = AddUnit(2.0f, 50.0f);
    GooField* goo = AddGoo(157.0f, 50.0f, 8.0f);
    goo->Update(false);
    EXPECT_FLOAT_EQ(unit->speedFactor, 0.25f);
}

TEST_F(FieldsTest, GooBubblesRiseAndShowAboveTheGround) {
    GooField* goo = AddGoo(50.0f, 50.0f, 8.0f);
    ASSERT_EQ(goo->bubbles.particles.Count(), GooField::kBubbleCount);
    for (const Particle& bubble : goo->bubbles.particles) {
        EXPECT_LE(bubble.position.z, 0.0f);
        EXPECT_GE(bubble.position.z, -16.0f);
        EXPECT_LE(std::hypot(bubble.position.x, bubble.position.y), 8.0f + 1e-4f);
    }
    Particle& bubble = goo->bubbles.particles[0];
    bubble.position = Vector3(1.0f, 1.0f, 0.3f);
    goo->Update(false);
    // 7 units a second: 0.3 + 0.7 = 1.0 above the flat ground, half visible.
    EXPECT_FLOAT_EQ(bubble.position.z, 1.0f);
    EXPECT_EQ(bubble.colour.Alpha(), 127);
    EXPECT_EQ(bubble.colour.Green(), 200);
    bubble.position.z = 1.9f;
    goo->Update(false);
    EXPECT_LE(bubble.position.z, 0.0f);
    EXPECT_EQ(bubble.colour.Alpha(), 0);
}

TEST_F(FieldsTest, StaticFieldMarksGroundedUnitsAndRunsItsSparks) {
    Vorn* inside = AddUnit(52.0f, 50.0f);
    Vorn* flying = AddUnit(48.0f, 50.0f);
    flying->onGround = false;
    StaticField* field = arena->NewStaticField();
    field->Start(Vector3(50.0f, 50.0f, 0.0f), 8.0f);
    arena->AddObject(field);
    for (const StaticField::Spark& spark : field->sparks) {
        EXPECT_FALSE(spark.visible);
        EXPECT_LT(spark.clock, 0.0f);
        EXPECT_GE(spark.clock, -1.0f);
    }
    field->Update(false);
    EXPECT_EQ(inside->inStaticFieldThisTick, 1);
    EXPECT_EQ(flying->inStaticFieldThisTick, 0);
    // Within a second every spark has started and runs outward from the centre.
    for (int i = 0; i < 10; ++i) field->Update(false);
    int running = 0;
    for (const StaticField::Spark& spark : field->sparks) {
        if (spark.clock <= 0.0f) continue;
        ++running;
        EXPECT_TRUE(spark.visible);
        EXPECT_FLOAT_EQ(spark.size, 1.0f);
        EXPECT_NEAR(arena->WrappedDistance2D(field->position, spark.position), 8.0f * spark.clock, 1e-3f);
    }
    EXPECT_GT(running, 0);
    // Moving the field carries the running sparks.
    field->PlaceAt(Vector3(60.0f, 50.0f, 0.0f));
    for (const StaticField::Spark& spark : field->sparks) {
        if (spark.clock > 0.0f) {
            EXPECT_NEAR(arena->WrappedDistance2D(field->position, spark.position), 8.0f * spark.clock, 1e-3f);
        }
    }
}

TEST_F(FieldsTest, HealthFieldSpreadsItsHealOverTheDuration) {
    Vorn* unit = AddUnit(50.0f, 50.0f);
    unit->ResetHealth(100.0f);
    unit->SetHealth(50.0f);
    Vorn* flying = AddUnit(52.0f, 50.0f);
    flying->ResetHealth(100.0f);
    flying->SetHealth(50.0f);
    flying->onGround = false;
    HealthField* field = AddHealthField(20.0f, 2.0f);
    // 20 x 0.1 / 2 = 1 per tick.
    field->Update(false);
    EXPECT_FLOAT_EQ(unit->health, 51.0f);
    for (int i = 1; i < 20; ++i) field->Update(false);
    EXPECT_NEAR(unit->health, 70.0f, 1e-3f);
    EXPECT_FLOAT_EQ(flying->health, 50.0f);
    // Capped by the maximum.
    for (int i = 0; i < 100; ++i) field->Update(false);
    EXPECT_FLOAT_EQ(unit->health, 100.0f);
    EXPECT_FALSE(field->removed);
}

TEST_F(FieldsTest, HealthFieldWithoutDurationHealsOnceAndEnds) {
    Vorn* unit = AddUnit(50.0f, 50.0f);
    unit->ResetHealth(100.0f);
    unit->SetHealth(50.0f);
    HealthField* field = AddHealthField(20.0f, 0.0f);
    field->Update(false);
    EXPECT_FLOAT_EQ(unit->health, 70.0f);
    EXPECT_TRUE(field->removed);
    field->Update(false);
    EXPECT_FLOAT_EQ(unit->health, 70.0f);
}

TEST_F(FieldsTest, HealthFieldHealsNothingOnANetworkClient) {
    ClientGame client;
    client.frameTime = 0.1f;
    SetCurrentGame(&client);
    Vorn* unit = AddUnit(50.0f, 50.0f);
    unit->ResetHealth(100.0f);
    unit->SetHealth(50.0f);
    HealthField* field = AddHealthField(20.0f, 2.0f);
    field->Update(false);
    EXPECT_FLOAT_EQ(unit->health, 50.0f);
    SetCurrentGame(&game);
}

TEST_F(FieldsTest, ExplosionDamagesByTheBlastRuleOnceThenFades) {
    Probe* centre = AddProbe(50.0f, 50.0f, 1.0f, kKindRock);
    Probe* near = AddProbe(56.0f, 50.0f, 1.0f, kKindRock);
    Probe* far = AddProbe(70.0f, 50.0f, 1.0f, kKindRock);
    Player owner;
    ExplosionField* blast = arena->NewExplosionField();
    blast->Start(&owner, Vector3(50.0f, 50.0f, 0.0f), 9.0f, 10.0f, 0.0f, Vector3(0.0f, 0.0f, 1.0f), 0);
    arena->AddObject(blast);
    // Full damage within a tenth of the radius; at 6 - 1 = 5 units, (1 - 4/9) x 9 = 5.
    EXPECT_FLOAT_EQ(centre->health, 1.0f);
    EXPECT_NEAR(near->health, 5.0f, 1e-4f);
    EXPECT_FLOAT_EQ(far->health, 10.0f);
    EXPECT_FLOAT_EQ(blast->shape.Radius(), 10.0f);
    // It stays while the sparks burn (one second) and deals nothing more.
    for (int i = 0; i < 10; ++i) Step(0.1f);
    EXPECT_GE(arena->FindObjectIndex(blast), 0);
    EXPECT_NEAR(near->health, 5.0f, 1e-4f);
    for (int i = 0; i < 3; ++i) Step(0.1f);
    EXPECT_LT(arena->FindObjectIndex(blast), 0);
}

TEST_F(FieldsTest, ExplosionWithoutDamageOnlyShows) {
    Probe* centre = AddProbe(50.0f, 50.0f, 1.0f, kKindRock);
    ExplosionField* blast = arena->NewExplosionField();
    blast->Start(nullptr, Vector3(50.0f, 50.0f, 1.0f), 0.0f, 10.0f, 0.0f, Vector3(0.0f, 0.0f, 1.0f), 0);
    arena->AddObject(blast);
    EXPECT_FLOAT_EQ(centre->health, 10.0f);
    EXPECT_TRUE(game.healthReports.empty());
    Step(0.1f);
    EXPECT_TRUE(blast->smoke.IsShowing(0));
}

// The generator from the spawner, added as the throwing weapon adds it.
class GeneratorTest : public FieldsTest {
protected:
    FieldGenerator* Throw(const Vector3& from, const Vector3& to, int kind) {
        FieldGenerator* generator = arena->AddFieldGenerator(&owner, from, to, kind);
        arena->AddObject(generator);
        return generator;
    }

    Player owner;
};

TEST_F(GeneratorTest, FliesLandsOpensItsFieldAndGoesWithIt) {
    FieldGenerator* generator =
        Throw(Vector3(20.0f, 20.0f, 8.0f), Vector3(60.0f, 20.0f, 0.0f), kWeaponGooFieldGenerator);
    const float duration = owner.GetWeaponDuration(kWeaponGooFieldGenerator);
    ASSERT_GT(duration, 0.5f);
    EXPECT_FLOAT_EQ(generator->landingPoint.z, 8.0f);
    EXPECT_FLOAT_EQ(generator->ThrowDistance(), 40.0f / 20.0f);
    // 20 units a second: 2 a tick, the landing in the twentieth.
    for (int i = 0; i < 19; ++i) Step(0.1f);
    EXPECT_EQ(generator->state, FieldGenerator::kStateFlying);
    EXPECT_NEAR(generator->position.x, 58.0f, 1e-3f);
    EXPECT_EQ(generator->field, nullptr);
    Step(0.1f);
    ASSERT_EQ(generator->state, FieldGenerator::kStateLanded);
    EXPECT_EQ(generator->position, generator->landingPoint);
    ASSERT_NE(generator->field, nullptr);
    WorldObject* field = generator->field;
    EXPECT_EQ(field->kind, kKindGooField);
    EXPECT_FLOAT_EQ(field->shape.Radius(), GetUpgradeBaseValue(kWeaponGooFieldGenerator));
    EXPECT_NEAR(field->position.x, 60.0f, 1e-4f);
    EXPECT_FLOAT_EQ(field->position.z, 0.0f);
    // It hovers for the owner's duration (the landing tick counts), then both go.
    const int ticks = int(std::lround(duration / 0.1f));
    for (int i = 2; i < ticks; ++i) Step(0.1f);
    EXPECT_GE(arena->FindObjectIndex(generator), 0);
    EXPECT_GE(arena->FindObjectIndex(field), 0);
    Step(0.1f);
    Step(0.1f);
    EXPECT_LT(arena->FindObjectIndex(generator), 0);
    EXPECT_LT(arena->FindObjectIndex(field), 0);
}

TEST_F(GeneratorTest, FliesTheShortWayAcrossTheEdge) {
    FieldGenerator* generator =
        Throw(Vector3(150.0f, 20.0f, 8.0f), Vector3(10.0f, 20.0f, 0.0f), kWeaponStaticFieldGenerator);
    Step(0.1f);
    EXPECT_NEAR(generator->position.x, 152.0f, 1e-3f);
    for (int i = 0; i < 9; ++i) Step(0.1f);
    EXPECT_EQ(generator->state, FieldGenerator::kStateLanded);
    ASSERT_NE(generator->field, nullptr);
    EXPECT_EQ(generator->field->kind, kKindStaticField);
}

TEST_F(GeneratorTest, LandsAtOnceWhereItStands) {
    FieldGenerator* generator =
        Throw(Vector3(30.0f, 30.0f, 8.0f), Vector3(30.0f, 30.0f, 0.0f), kWeaponHealthFieldGenerator);
    Step(0.1f);
    EXPECT_EQ(generator->state, FieldGenerator::kStateLanded);
    ASSERT_NE(generator->field, nullptr);
    auto* field = static_cast<HealthField*>(generator->field);
    EXPECT_FLOAT_EQ(field->healAmount, owner.GetUpgradedValue(kWeaponHealthFieldGenerator));
    EXPECT_FLOAT_EQ(field->duration, owner.GetWeaponDuration(kWeaponHealthFieldGenerator));
}

TEST_F(GeneratorTest, RemovingALandedGeneratorRemovesItsFieldInTheSameTick) {
    FieldGenerator* generator =
        Throw(Vector3(30.0f, 30.0f, 8.0f), Vector3(30.0f, 30.0f, 0.0f), kWeaponGooFieldGenerator);
    Step(0.1f);
    WorldObject* field = generator->field;
    ASSERT_NE(field, nullptr);
    generator->Remove(0);
    EXPECT_TRUE(field->removed);
    EXPECT_EQ(generator->field, nullptr);
    Step(0.1f);
    EXPECT_LT(arena->FindObjectIndex(field), 0);
}

TEST_F(GeneratorTest, ForgetsAFieldThatLeftTheWorldBeforeItsSlotIsReused) {
    FieldGenerator* generator =
        Throw(Vector3(30.0f, 30.0f, 8.0f), Vector3(30.0f, 30.0f, 0.0f), kWeaponGooFieldGenerator);
    Step(0.1f);
    WorldObject* field = generator->field;
    ASSERT_NE(field, nullptr);
    arena->RemoveObject(field, false);
    EXPECT_EQ(generator->field, nullptr);
    arena->FlushObjectPools();
    // The next goo field may take the same slot: the generator must not follow it.
    GooField* newcomer = AddGoo(90.0f, 90.0f, 8.0f);
    generator->Remove(0);
    EXPECT_FALSE(newcomer->removed);
}

TEST_F(GeneratorTest, AnUnknownKindOpensNothing) {
    FieldGenerator* generator = Throw(Vector3(30.0f, 30.0f, 8.0f), Vector3(30.0f, 30.0f, 0.0f), kWeaponLaser);
    Step(0.1f);
    EXPECT_EQ(generator->state, FieldGenerator::kStateLanded);
    EXPECT_EQ(generator->field, nullptr);
    EXPECT_EQ(generator->model, nullptr);
}

}  // namespace
