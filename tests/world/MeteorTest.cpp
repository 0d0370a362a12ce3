// Meteors falling on flat ground: the fall, the shadow near the ground, and the blast
// and scorch mark of the impact, credited to nobody.

#include <gtest/gtest.h>

#include "support/ArenaFixture.h"
#include "support/ImpactGame.h"
#include "world/ExplosionField.h"
#include "world/Meteor.h"
#include "world/ScorchMark.h"

namespace {

class MeteorTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        SetCurrentGame(&meteors);
        meteors.frameTime = 0.1f;
    }

    void Step() {
        arena->AdvanceObjectClocks();
        arena->Update();
        meteors.clock += meteors.frameTime;
    }

    // Straight down from 40 over (80, 80) at 12 units a second.
    Meteor* Drop(float size) { return arena->AddMeteor(Vector3(80, 80, 40), Vector3(0, 0, -1), 12.0f, size); }

    ImpactGame meteors;
};

TEST_F(MeteorTest, MeteorFallsAtItsSpeedCastsAShadowOnlyNearTheGroundAndExplodes) {
    Meteor* meteor = Drop(2.0f);
    // Adding it moved it once: 1.2 units in a frame of 0.1 s.
    EXPECT_NEAR(meteor->position.z, 38.8f, 1e-4f);
    EXPECT_FLOAT_EQ(meteor->fallDirection.z, -1.0f);
    EXPECT_FLOAT_EQ(meteor->shadows[0].halfSize, 0.0f);
    int steps = 0;
    while (meteor->position.z - 16.0f >= 0.0f && steps < 100) {
        Step();
        ++steps;
    }
    // 38.8 - 1.2 n < 16 first at n = 19 (15.99... in floats, 16.0 with exact steps).
    EXPECT_GE(steps, 19);
    EXPECT_LE(steps, 20);
    EXPECT_GT(meteor->shadows[0].halfSize, 0.0f);
    // 40 - 1.2 (n + 1) - 1 <= 0.01 first at n + 1 = 33.
    while (!meteor->removed && steps < 100) {
        Step();
        ++steps;
    }
    EXPECT_EQ(steps, 32);
    EXPECT_FLOAT_EQ(meteor->position.z, 0.0f);
    ASSERT_EQ(meteors.blasts.size(), 1u);
    const ExplosionField* blast = meteors.blasts[0];
    // Collision radius 1 x 5 x scale 2.
    EXPECT_FLOAT_EQ(blast->shape.Radius(), 10.0f);
    EXPECT_EQ(blast->owner, nullptr);
    ASSERT_EQ(meteors.scorches.size(), 1u);
    EXPECT_FLOAT_EQ(meteors.scorches[0]->size, 10.0f);
}

TEST_F(MeteorTest, ImpactDealsFiftyMeteorDamageCreditedToNobody) {
    // A tree's sphere of radius 1 stands 1.41 from the impact, inside the full-damage
    // radius 2 + 0.1 x (10 - 2) = 2.8.
    WorldObject* tree = AddProbe(81, 80, 1.0f, kKindTree);
    Meteor* meteor = Drop(2.0f);
    for (int n = 0; n < 40 && !meteor->removed; ++n) Step();
    ASSERT_TRUE(meteor->removed);
    EXPECT_FLOAT_EQ(tree->health, 10.0f - 50.0f);
    ASSERT_FALSE(meteors.healthReports.empty());
    EXPECT_EQ(meteors.healthReports[0].attacker, nullptr);
    EXPECT_EQ(meteors.healthReports[0].code, 3);
}

TEST_F(MeteorTest, OnANetworkClientAMeteorReachesTheGroundWithoutBlastOrMark) {
    meteors.client = true;
    Meteor* meteor = Drop(1.0f);
    for (int n = 0; n < 40 && !meteor->removed; ++n) Step();
    EXPECT_TRUE(meteor->removed);
    EXPECT_TRUE(meteors.blasts.empty());
    EXPECT_TRUE(meteors.scorches.empty());
    EXPECT_EQ(arena->CountObjectsOfKind(kKindScorchMark), 0);
}

}  // namespace
