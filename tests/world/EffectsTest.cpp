// Smoke, sparks and fire puffs rise and fade and remove themselves; scorch marks and
// water rings fade out over their lives.
#include <cmath>

#include "support/ArenaFixture.h"
#include "world/FirePuff.h"
#include "world/ScorchMark.h"
#include "world/SmokePuff.h"
#include "world/SmokeSystem.h"
#include "world/SparkSystem.h"
#include "world/WaterRing.h"

namespace {

class ClientGame : public RecordingGame {
public:
    bool IsNetworkClient() const override { return true; }
};

class EffectsTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        game.frameTime = 0.1f;
    }

    void Step(float frame) {
        game.frameTime = frame;
        arena->AdvanceObjectClocks();
        arena->Update();
        game.clock += frame;
    }

    bool Listed(const WorldObject* object) const { return arena->FindObjectIndex(object) >= 0; }

    SmokePuff* AddSmoke(float size) {
        auto* puff = static_cast<SmokePuff*>(arena->NewObjectOfKind(kKindSmokePuff));
        puff->Start(Vector3(40.0f, 40.0f, 5.0f), size);
        arena->AddObject(puff);
        return puff;
    }

    FirePuff* AddFire(int style) {
        FirePuff* puff = arena->NewFirePuff();
        puff->SetStyle(style);
        puff->Start(Vector3(40.0f, 40.0f, 5.0f), 1.5f, "WhiteBall.tga");
        arena->AddObject(puff);
        return puff;
    }
};

TEST_F(EffectsTest, SmokeEmittersShowOneAfterAnotherGrowingAndFading) {
    SmokeSystem smoke;
    smoke.Start();
    for (int index : smoke.textureIndices) {
        EXPECT_GE(index, 0);
        EXPECT_LT(index, SmokeSystem::kTextureCount);
    }
    smoke.SetSize(2.0f);
    smoke.Emit(Vector3(1.0f, 2.0f, 3.0f));
    EXPECT_FLOAT_EQ(smoke.lives[5], 1.1f);
    const Vector3 start = smoke.emitters[0].particles[0].position;
    EXPECT_LE(start.Distance(Vector3(1.0f, 2.0f, 3.0f)), 0.87f);
    EXPECT_TRUE(smoke.Update());
    // Emitter 0: life 0.4, t = 0.8: alpha 204, size 2 x 0.2 x 2, risen by a step.
    EXPECT_TRUE(smoke.IsShowing(0));
    EXPECT_FALSE(smoke.IsShowing(1));
    const Particle& first = smoke.emitters[0].particles[0];
    EXPECT_NEAR(first.colour.Alpha(), 204, 1);
    EXPECT_NEAR(smoke.emitters[0].particleSize, 0.8f, 1e-5f);
    EXPECT_FLOAT_EQ(first.velocity.z, 0.35f);
    EXPECT_EQ(first.position, start);
    // Emitter 1 (life 0.62) shows from the second tick.
    smoke.Update();
    EXPECT_TRUE(smoke.IsShowing(1));
}

TEST_F(EffectsTest, SmokePuffLivesOnePointOneSecondsAndRemovesItself) {
    SmokePuff* puff = AddSmoke(1.0f);
    for (int i = 0; i < 4; ++i) Step(0.25f);
    EXPECT_TRUE(Listed(puff));
    Step(0.25f);
    EXPECT_FALSE(Listed(puff));
}

TEST_F(EffectsTest, SpentSmokeRemovesItselfOnANetworkClientToo) {
    ClientGame client;
    SetCurrentGame(&client);
    SmokePuff* puff = AddSmoke(1.0f);
    for (int i = 0; i < 5; ++i) {
        client.frameTime = 0.25f;
        arena->AdvanceObjectClocks();
        arena->Update();
    }
    EXPECT_FALSE(Listed(puff));
    SetCurrentGame(&game);
}

TEST_F(EffectsTest, SparksFlyFallAndFadeTogetherWithinASecond) {
    SparkSystem sparks;
    ASSERT_EQ(sparks.particles.Count(), SparkSystem::kParticleCount);
    EXPECT_FLOAT_EQ(sparks.ages[2], -0.1f);
    EXPECT_EQ(sparks.particles[1].colour, Color::FromRGBA(255, 182, 82, 255));
    sparks.Start(Vector3(1.0f, 1.0f, 1.0f), Vector3(1.0f, 0.0f, 0.0f));
    const Vector3 v = sparks.launchVelocity;
    EXPECT_GE(v.x, 1.0f);
    EXPECT_LE(v.x, 7.0f);
    EXPECT_GE(v.z, 10.0f);
    EXPECT_LE(v.z, 13.0f);
    game.frameTime = 0.5f;
    EXPECT_TRUE(sparks.Update());
    // origin + age (v + (0, 0, -9.8) age), all faded by the first spark's age.
    const Vector3 expected = Vector3(1.0f, 1.0f, 1.0f) + (v + Vector3(0.0f, 0.0f, -9.8f) * 0.5f) * 0.5f;
    EXPECT_NEAR(sparks.particles[0].position.Distance(expected), 0.0f, 1e-4f);
    EXPECT_EQ(sparks.particles[0].colour.Alpha(), 127);
    EXPECT_EQ(sparks.particles[1].colour.Alpha(), 114);
    EXPECT_EQ(sparks.particles[2].colour.Red(), 255);
    EXPECT_TRUE(sparks.Update());
    EXPECT_EQ(sparks.particles[0].colour.Alpha(), 0);
    EXPECT_FALSE(sparks.Update());
}

TEST_F(EffectsTest, FireGlowParticleRisesShrinksAndKeepsItsColour) {
    FirePuff* puff = AddFire(FirePuff::kStyleGlow);
    ASSERT_EQ(puff->particles.particles.Count(), FirePuff::kParticleCount);
    EXPECT_FLOAT_EQ(puff->particles.particleSize, 3.0f);
    for (int i = 0; i < FirePuff::kParticleCount; ++i) {
        EXPECT_LE(puff->ages[i], 0.0f);
        EXPECT_EQ(puff->particles.particles[i].alive, 0);
    }
    puff->ages[0] = 0.9f;
    Particle& p = puff->particles.particles[0];
    p.velocity = Vector3(0.0f, 0.0f, 1.0f);
    const Vector3 before = p.position;
    puff->Update(false);
    // age 1.0: t = 0.5, size 2 x 1.5 x 0.5.
    EXPECT_EQ(p.alive, 1);
    EXPECT_FLOAT_EQ(p.size, 1.5f);
    EXPECT_EQ(p.colour, Color::FromRGBA(32, 12, 4, 255));
    EXPECT_NEAR(p.position.z, before.z + 0.1f, 1e-6f);
    EXPECT_FALSE(puff->removed);
}

TEST_F(EffectsTest, AnEndingFirePuffShowsEachParticleOnceThenRemovesItself) {
    FirePuff* puff = AddFire(FirePuff::kStyleSmoke);
    puff->ending = true;
    bool shown[FirePuff::kParticleCount] = {};
    int ticks = 0;
    while (Listed(puff) && ticks < 100) {
        Step(0.1f);
        ++ticks;
        for (int i = 0; i < FirePuff::kParticleCount; ++i) {
            if (puff->particles.particles[i].alive) shown[i] = true;
            if (puff->finished[i]) {
                EXPECT_EQ(puff->particles.particles[i].alive, 0);
            }
        }
    }
    // Waits of up to 2 s and one 2 s cycle each.
    EXPECT_GT(ticks, 20);
    EXPECT_LE(ticks, 41);
    for (bool s : shown) EXPECT_TRUE(s);
}

TEST_F(EffectsTest, GoalSparksRestartOnlyUntilTheirDuration) {
    FirePuff* puff = AddFire(FirePuff::kStyleSparks);
    puff->duration = 1.0f;
    int ticks = 0;
    while (Listed(puff) && ticks < 100) {
        Step(0.1f);
        ++ticks;
    }
    // 1.0 s, then at most one 0.8 s cycle.
    EXPECT_GT(ticks, 10);
    EXPECT_LE(ticks, 20);
}

TEST_F(EffectsTest, AnInertFirePuffDoesNothing) {
    FirePuff* puff = AddFire(-1);
    puff->ending = true;
    for (int i = 0; i < 50; ++i) Step(0.1f);
    EXPECT_TRUE(Listed(puff));
}

TEST_F(EffectsTest, ScorchMarkFadesOverTenSeconds) {
    auto* mark = static_cast<ScorchMark*>(arena->NewObjectOfKind(kKindScorchMark));
    mark->Start(Vector3(30.0f, 30.0f, 4.0f), 3.0f);
    arena->AddObject(mark);
    EXPECT_GE(mark->textureIndex, 0);
    EXPECT_LE(mark->textureIndex, 2);
    EXPECT_FLOAT_EQ(mark->size, 3.0f);
    EXPECT_FLOAT_EQ(mark->position.z, 0.0f);
    EXPECT_EQ(mark->DecalAlpha(), 255);
    for (int i = 0; i < 10; ++i) Step(0.5f);
    EXPECT_EQ(mark->DecalAlpha(), 127);
    for (int i = 0; i < 9; ++i) Step(0.5f);
    EXPECT_TRUE(Listed(mark));
    EXPECT_EQ(mark->DecalAlpha(), 12);
    Step(0.5f);
    EXPECT_FALSE(Listed(mark));
}

TEST_F(EffectsTest, WaterRingFadesAndShrinksFromFiveTimesItsSizeInASecond) {
    WaterRing* ring = arena->NewWaterRing();
    ring->Start(Vector3(30.0f, 30.0f, 0.0f), 2.0f);
    arena->AddObject(ring);
    EXPECT_EQ(ring->DecalAlpha(), 255);
    EXPECT_FLOAT_EQ(ring->DecalScale(), 5.0f);
    Step(0.25f);
    Step(0.25f);
    EXPECT_EQ(ring->DecalAlpha(), 127);
    EXPECT_NEAR(ring->DecalScale(), 1.0f / 0.6f, 1e-5f);
    Step(0.25f);
    EXPECT_TRUE(Listed(ring));
    Step(0.25f);
    EXPECT_FALSE(Listed(ring));
}

}  // namespace
