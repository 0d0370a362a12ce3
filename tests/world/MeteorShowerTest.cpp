// The meteor shower, launch points and the camera's fly-by loop.
#include <cmath>

#include <gtest/gtest.h>

#include "platform/sys/Random.h"
#include "support/ArenaFixture.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/Meteor.h"

namespace {

class MeteorGame : public RecordingGame {
public:
    void OnMeteorAdded(Meteor* meteor, int32_t, float volume, int32_t) override {
        ++meteors;
        lastMeteor = meteor;
        lastVolume = volume;
    }
    int meteors = 0;
    Meteor* lastMeteor = nullptr;
    float lastVolume = 0.0f;
};

class MeteorShowerTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        SetCurrentGame(&meteorGame);
        arena->meteorShowerOn = true;
        arena->meteorStartTime = 5.0f;
    }
    // Advances the shower clock to exactly `clock` and runs one step of `dt`.
    float IntensityAt(float clock, float dt = 0.01f) {
        arena->meteorClock = clock - dt;
        meteorGame.frameTime = dt;
        arena->UpdateMeteorShower();
        return arena->meteorIntensity;
    }
    MeteorGame meteorGame;
};

TEST_F(MeteorShowerTest, IntensityRisesInSteps) {
    EXPECT_EQ(IntensityAt(5.0f), 0.0f);
    EXPECT_EQ(IntensityAt(5.01f), 1.0f);
    EXPECT_EQ(IntensityAt(20.5f), 10.0f);
    EXPECT_EQ(IntensityAt(29.9f), 10.0f);  // no step between T + 15 and T + 25
    EXPECT_EQ(IntensityAt(30.1f), 15.0f);
    EXPECT_EQ(IntensityAt(35.1f), 20.0f);

    arena->ResetMeteorShower();
    EXPECT_EQ(arena->meteorClock, 0.0f);
    EXPECT_EQ(arena->meteorIntensity, 1.0f);
    EXPECT_EQ(arena->meteorAccumulator, 0.0f);
}

TEST_F(MeteorShowerTest, AtMostOneMeteorPerFrame) {
    arena->meteorClock = 40.0f;
    meteorGame.frameTime = 0.1f;
    for (int frame = 1; frame <= 5; ++frame) {
        arena->UpdateMeteorShower();
        EXPECT_EQ(meteorGame.meteors, frame);
    }
    // Intensity 20, 0.1 s a frame: the accumulator gains 0.1 and loses 0.05 each frame.
    EXPECT_NEAR(arena->meteorAccumulator, 0.25f, 1e-5f);

    arena->meteorShowerOn = false;
    arena->UpdateMeteorShower();
    EXPECT_EQ(meteorGame.meteors, 5);
}

TEST_F(MeteorShowerTest, RandomMeteorStartsHighAndFallsWithinTheRanges) {
    arena->SpawnMeteorAtRandom();
    Meteor* meteor = meteorGame.lastMeteor;
    ASSERT_NE(meteor, nullptr);
    EXPECT_EQ(arena->FindObjectIndex(meteor), arena->ObjectCount() - 1);
    EXPECT_GE(meteor->scale, 0.2f);
    EXPECT_LE(meteor->scale, 2.0f);
    EXPECT_GE(meteor->speed, 10.0f);
    EXPECT_LE(meteor->speed, 17.0f);
    EXPECT_LT(meteor->fallDirection.z, 0.0f);
    EXPECT_NEAR(meteor->position.z, 40.0f, 17.0f * meteorGame.frameTime + 1e-3f);
    // Volume from 0.8 for the smallest to 1.0 for the largest.
    EXPECT_NEAR(meteorGame.lastVolume, (meteor->scale - 0.2f) / 1.8f * 0.2f + 0.8f, 1e-5f);
}

TEST_F(MeteorShowerTest, TogglingAddsAndRemovesNearPoints) {
    arena->ToggleLaunchPoint(Vector2(10, 10), true);
    arena->ToggleLaunchPoint(Vector2(10.5f, 10.5f), true);
    EXPECT_EQ(arena->launchPoints.Count(), 0);
    arena->ToggleLaunchPoint(Vector2(10, 10), false);
    arena->ToggleLaunchPoint(Vector2(11, 10), false);
    EXPECT_EQ(arena->launchPoints.Count(), 2);

    arena->GetTerrain().RaiseCircle({50, 50, 30}, 6.0f, true);
    arena->ToggleFlyByPoint(Vector3(50, 50, 99), false);
    ASSERT_EQ(arena->flyByPoints.Count(), 1);
    EXPECT_FLOAT_EQ(arena->flyByPoints[0]->position.z, 6.0f);  // the ground under it
    EXPECT_EQ(arena->FindFlyByPointIndex(arena->flyByPoints[0]), 0);
    EXPECT_EQ(arena->FindFlyByPointIndex(nullptr), -1);
    arena->ToggleFlyByPoint(Vector3(50.9f, 50, 0), false);
    EXPECT_EQ(arena->flyByPoints.Count(), 0);
}

TEST_F(MeteorShowerTest, LaunchPointsAreHandedOutOnce) {
    const Vector2 spots[3] = {{20, 20}, {80, 80}, {140, 20}};
    for (const Vector2& spot : spots) {
        arena->ToggleLaunchPoint(spot, false);
    }
    bool seen[3] = {};
    for (int k = 0; k < 3; ++k) {
        const Vector2 p = arena->TakeRandomLaunchPoint();
        for (int i = 0; i < 3; ++i) {
            if (p.x == spots[i].x && p.y == spots[i].y) {
                EXPECT_FALSE(seen[i]);
                seen[i] = true;
            }
        }
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
    // Every point used: a random spot, nothing marked, and never one whose squad would
    // reach lava or water, on a field mostly of them.
    Terrain& ground = arena->GetTerrain();
    for (int32_t j = 0; j < 16; ++j) {
        for (int32_t i = 0; i < 16; ++i) {
            ground.CellAt(i, j).type = i < 10 ? kTerrainGrass : j < 8 ? kTerrainLava : kTerrainWater;
        }
    }
    sys::SRand(11);
    for (int k = 0; k < 50; ++k) {
        const Vector2 random = arena->TakeRandomLaunchPoint();
        EXPECT_TRUE(random.x >= 0.0f && random.x < arena->WorldWidth() && random.y >= 0.0f &&
                    random.y < arena->WorldHeight())
            << random.x << ", " << random.y;
        // A squad's circle and the corner of its largest robot.
        for (const float reach : {-24.0f, 0.0f, 24.0f}) {
            EXPECT_EQ(arena->GetTerrainType(random.x + reach, random.y), kTerrainGrass) << random.x;
        }
    }

    arena->FreeLaunchPointAt(Vector2(80, 80));
    const Vector2 again = arena->TakeRandomLaunchPoint();
    EXPECT_EQ(again.x, 80.0f);
    EXPECT_EQ(again.y, 80.0f);

    arena->ClearLaunchPoints();
    EXPECT_EQ(arena->launchPoints.Count(), 0);
}

TEST_F(MeteorShowerTest, FlyByCrossesTheEdgeTheShortWay) {
    arena->ToggleFlyByPoint(Vector3(150, 80, 0), false);
    arena->ToggleFlyByPoint(Vector3(10, 80, 0), false);
    arena->StartFlyBy();
    // From 150 to 10 by way of the edge: 20 units, not 140 through the middle.
    EXPECT_FLOAT_EQ(arena->flyByPath[2].x - arena->flyByPath[1].x, 20.0f);
    EXPECT_NEAR(arena->flyByPathLength, 20.0f, 0.5f);
    for (int k = 0; k <= 10; ++k) {
        const Vector3 p = arena->WrapPosition(arena->FlyByPathPoint(float(k) / 10.0f));
        EXPECT_TRUE(p.x <= 10.5f || p.x >= 149.5f) << p.x;
    }
}

TEST_F(MeteorShowerTest, CameraMovesAt25UnitsASecondAndLoops) {
    float time = 0.0f;
    int index = 0;
    const Vector3 centre = arena->GetFlyByPoint(time, index);
    EXPECT_FLOAT_EQ(centre.x, 80.0f);
    EXPECT_FLOAT_EQ(centre.y, 80.0f);

    arena->ToggleFlyByPoint(Vector3(40, 80, 0), false);
    EXPECT_FLOAT_EQ(arena->GetFlyByPoint(time, index).x, 40.0f);

    arena->ToggleFlyByPoint(Vector3(90, 80, 0), false);
    arena->StartFlyBy();
    meteorGame.frameTime = 0.5f;
    const Vector3 p = arena->GetFlyByPoint(time, index);
    EXPECT_EQ(index, 0);
    // A quarter of the 2 s segment; a loop of two points eases in and out of each.
    EXPECT_GT(p.x, 41.0f);
    EXPECT_LT(p.x, 52.5f);
    for (int k = 0; k < 4; ++k) {
        arena->GetFlyByPoint(time, index);
    }
    EXPECT_EQ(index, 1);  // 2.5 s: past the first segment's 2 s
}

TEST_F(MeteorShowerTest, DegenerateSegmentsAreSkippedAndNeverHang) {
    // Three points on one spot (toggling cannot add a point within 1.0, so the list is
    // built by hand, as a damaged file could) and one elsewhere.
    for (const Vector3& p : {Vector3(40, 40, 0), Vector3(40, 40, 0), Vector3(40, 40, 0)}) {
        FlyByPoint* point = arena->NewFlyByPoint();
        point->position = p;
        arena->flyByPoints.Append(point);
    }
    arena->StartFlyBy();
    float time = 0.0f;
    int index = 0;
    meteorGame.frameTime = 0.1f;
    const Vector3 still = arena->GetFlyByPoint(time, index);
    EXPECT_FLOAT_EQ(still.x, 40.0f);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(time, 0.0f);

    arena->flyByPoints[2]->position = Vector3(100, 40, 0);
    arena->StartFlyBy();
    for (int k = 0; k < 50; ++k) {
        const Vector3 p = arena->GetFlyByPoint(time, index);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
    meteorGame.frameTime = 0.5f;
    time = 1e9f;  // a frame far longer than the whole loop still ends
    const Vector3 p = arena->GetFlyByPoint(time, index);
    EXPECT_TRUE(std::isfinite(p.x));
}

}  // namespace
