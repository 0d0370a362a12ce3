// Terrain editing operations and the arena's terrain commands on a live battlefield.
#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "game/Player.h"
#include "platform/sys/Random.h"
#include "support/ArenaFixture.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/Terrain.h"
#include "world/TerrainBrush.h"

namespace {

class TerrainEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        sys::SRand(3);
        terrain.Resize(16, 16);
        terrain.Fill(kTerrainGrass);
    }
    Terrain terrain;
};

TEST_F(TerrainEditingTest, ScrollMovesEveryCellWithWrap) {
    terrain.CellAt(0, 5).height = 7.0f;
    terrain.CellAt(0, 5).type = kTerrainStone;
    terrain.CellAt(15, 0).type = kTerrainSnow;
    terrain.Scroll(1, 0);
    EXPECT_FLOAT_EQ(terrain.CellAt(1, 5).height, 7.0f);
    EXPECT_EQ(terrain.CellAt(1, 5).type, kTerrainStone);
    EXPECT_FLOAT_EQ(terrain.CellAt(0, 5).height, 0.0f);
    EXPECT_EQ(terrain.CellAt(0, 0).type, kTerrainSnow);  // the last column wrapped round

    terrain.Scroll(-1, 3);
    EXPECT_EQ(terrain.CellAt(0, 8).type, kTerrainStone);
    // Tile indices follow the moved cells: the same as a terrain made from them.
    Terrain fresh;
    fresh.CopyCells(terrain);
    for (int k = 0; k < 256; ++k) {
        for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
            ASSERT_EQ(terrain.TileIndex(k % 16, k / 16, type), fresh.TileIndex(k % 16, k / 16, type));
        }
    }
}

TEST_F(TerrainEditingTest, ScrollByWholeSizesOrExtremeOffsetsStaysConsistent) {
    terrain.CellAt(3, 4).height = 5.0f;
    terrain.Scroll(16, -32);
    EXPECT_FLOAT_EQ(terrain.CellAt(3, 4).height, 5.0f);
    terrain.Scroll(INT_MIN, INT_MAX);  // no overflow: 0 and 15 (mod 16)
    EXPECT_FLOAT_EQ(terrain.CellAt(3, 3).height, 5.0f);
}

TEST_F(TerrainEditingTest, BrushOfNoRadiusRaisesItsPointByTheWholeAmount) {
    terrain.RaiseCircle({50, 50, 0}, 4.0f, false);
    EXPECT_FLOAT_EQ(terrain.CellAt(5, 5).height, 4.0f);
    for (int k = 0; k < 256; ++k) {
        EXPECT_TRUE(std::isfinite(terrain.CellAt(k % 16, k / 16).height));
    }
}

TEST_F(TerrainEditingTest, FlatBrushRaisesEveryListedPointAndWaterBlocksIt) {
    terrain.RaiseCircle({80, 80, 20}, 3.0f, true);
    EXPECT_FLOAT_EQ(terrain.CellAt(8, 8).height, 3.0f);
    EXPECT_FLOAT_EQ(terrain.CellAt(10, 8).height, 3.0f);
    EXPECT_FLOAT_EQ(terrain.CellAt(11, 8).height, 0.0f);

    terrain.Fill(kTerrainGrass);
    terrain.CellAt(8, 8).type = kTerrainWater;
    terrain.RaiseCircle({80, 80, 20}, 3.0f, true);
    EXPECT_FLOAT_EQ(terrain.CellAt(8, 8).height, 0.0f);  // water
    EXPECT_FLOAT_EQ(terrain.CellAt(9, 9).height, 0.0f);  // next to water
    EXPECT_FLOAT_EQ(terrain.CellAt(10, 8).height, 3.0f);
}

TEST_F(TerrainEditingTest, WaterOnASlopeTakesTheLowestRingLevel) {
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            terrain.CellAt(i, j).height = float(i);
        }
    }
    terrain.PaintCircle({80, 80, 5}, kTerrainWater);
    EXPECT_EQ(terrain.CellAt(8, 8).type, kTerrainWater);
    EXPECT_FLOAT_EQ(terrain.CellAt(8, 8).height, 7.0f);
    EXPECT_FLOAT_EQ(terrain.CellAt(9, 9).height, 7.0f);

    // Firm ground changes no height.
    terrain.PaintCircle({30, 30, 10}, kTerrainSand);
    EXPECT_EQ(terrain.CellAt(3, 3).type, kTerrainSand);
    EXPECT_FLOAT_EQ(terrain.CellAt(3, 3).height, 3.0f);
}

TEST_F(TerrainEditingTest, RandomMapWithEveryTypeLockedEnds) {
    Player locked;
    for (int type = 0; type < kTerrainTypeCount; ++type) {
        locked.upgradeLevels[30 + type] = -1;
    }
    terrain.Randomize(locked);
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(terrain.CellAt(k % 16, k / 16).type, kTerrainGrass);
    }
}

class TerrainCommandsTest : public ArenaFixture {
protected:
    void Brush(int tool, int shape, const Vector3& point) {
        brush.tool = tool;
        brush.shape = shape;
        brush.radius = 30.0f;
        arena->ApplyTerrainBrush(point, brush);
    }
    TerrainBrush brush;
};

TEST_F(TerrainCommandsTest, RaisingCarriesObjectsWithTheGround) {
    Probe* probe = AddProbe(80, 80, 1.0f, kKindDebris);
    Probe* floating = AddProbe(40, 80, 1.0f, kKindDebris);
    floating->PlaceAt(Vector3(40, 80, 6.0f));
    game.frameTime = 0.1f;
    for (int k = 0; k < 10; ++k) {
        Brush(8, 0, Vector3(80, 80, 0));
    }
    const float ground = arena->GetGroundHeight(80, 80);
    EXPECT_NEAR(ground, 12.0f, 0.01f);  // 12 a second at the brush's centre
    EXPECT_NEAR(probe->position.z, ground + 1.0f, 0.01f);
    const float floatingGround = arena->GetGroundHeight(40, 80);
    EXPECT_NEAR(floating->position.z - floatingGround, 6.0f, 0.01f);

    // The square brush lowers slowly.
    game.frameTime = 0.5f;
    Brush(11, 1, Vector3(80, 80, 0));
    EXPECT_NEAR(arena->GetGroundHeight(80, 80), 11.0f, 0.01f);
}

TEST_F(TerrainCommandsTest, PaintingFirmGroundNeverMovesObjectsButWaterReseats) {
    arena->GetTerrain().RaiseCircle({80, 80, 40}, 8.0f, true);
    Probe* probe = AddProbe(80, 80, 1.0f, kKindDebris);
    probe->position.z = 30.0f;  // moved by hand: only a re-seat puts it back
    Brush(0, 0, Vector3(80, 80, 0));
    EXPECT_FLOAT_EQ(probe->position.z, 30.0f);
    Brush(4, 0, Vector3(80, 80, 0));
    EXPECT_EQ(arena->GetTerrainType(80, 80), kTerrainWater);
    const float ground = arena->GetGroundHeight(80, 80);
    EXPECT_LT(ground, 8.0f);  // the lake lies at the lowest point around it
    EXPECT_NEAR(probe->position.z - ground, 22.0f, 1e-3f);
}

TEST_F(TerrainCommandsTest, UnknownToolsAndRadiiChangeNothing) {
    TerrainBrush paint;
    paint.tool = kTerrainStone;
    paint.radius = 5.0f;
    arena->ApplyTerrainBrush(Vector3(50, 50, 0), paint);
    EXPECT_EQ(arena->GetTerrainType(50, 50), kTerrainStone);
    paint.radius = std::numeric_limits<float>::infinity();
    arena->ApplyTerrainBrush(Vector3(100, 100, 0), paint);
    EXPECT_EQ(arena->GetTerrainType(100, 100), kTerrainGrass);
    paint.radius = 5.0f;
    paint.tool = 12;  // no such tool: nothing changes
    arena->ApplyTerrainBrush(Vector3(100, 100, 0), paint);
    EXPECT_EQ(arena->GetTerrainType(100, 100), kTerrainGrass);
}

TEST_F(TerrainCommandsTest, ScrollMovesObjectsAndPutsThemOnTheGround) {
    Probe* probe = AddProbe(155, 40, 1.0f, kKindDebris);
    probe->position.z = 9.0f;
    arena->ScrollArena(1, 0);
    EXPECT_NEAR(probe->position.x, 5.0f, 1e-4f);
    EXPECT_NEAR(probe->position.y, 40.0f, 1e-4f);
    EXPECT_NEAR(probe->position.z, 1.0f, 1e-4f);
}

TEST_F(TerrainCommandsTest, ShrinkingRemovesWhatFallsOutside) {
    arena->GetTerrain().Resize(20, 20);
    AddKind(kKindScorchMark, 185, 20);
    AddKind(kKindScorchMark, 20, 179);
    arena->ToggleLaunchPoint(Vector2(190, 10), false);
    arena->ToggleLaunchPoint(Vector2(10, 10), false);
    arena->ToggleFlyByPoint(Vector3(10, 185, 0), false);
    arena->ToggleFlyByPoint(Vector3(30, 30, 0), false);
    arena->ToggleFlyByPoint(Vector3(60, 30, 0), false);

    arena->GrowOrShrinkTerrain(-2);
    EXPECT_EQ(arena->GetTerrain().Width(), 18);
    ASSERT_EQ(arena->ObjectCount(), 1);
    EXPECT_FLOAT_EQ(arena->ObjectAt(0)->position.y, 179.0f);
    ASSERT_EQ(arena->launchPoints.Count(), 1);
    EXPECT_FLOAT_EQ(arena->launchPoints[0]->position.x, 10.0f);
    ASSERT_EQ(arena->flyByPoints.Count(), 2);
    EXPECT_FLOAT_EQ(arena->flyByPoints[0]->position.x, 30.0f);

    // 16 x 16 is the smallest: nothing changes and nothing is removed.
    arena->ClearBattlefield(false);
    arena->GetTerrain().Resize(16, 16);
    AddKind(kKindScorchMark, 150, 150);
    const int count = arena->ObjectCount();
    arena->GrowOrShrinkTerrain(-2);
    EXPECT_EQ(arena->GetTerrain().Width(), 16);
    EXPECT_EQ(arena->ObjectCount(), count);
}

TEST_F(TerrainCommandsTest, FillAndRandomTerrainReseatObjects) {
    arena->GetTerrain().RaiseCircle({80, 80, 40}, 8.0f, true);
    Probe* probe = AddProbe(80, 80, 1.0f, kKindDebris);
    arena->FillTerrain(kTerrainSnow);
    EXPECT_EQ(arena->GetTerrainType(80, 80), kTerrainSnow);
    EXPECT_NEAR(probe->position.z, 1.0f, 1e-4f);
    arena->FillTerrain(99);  // refused
    EXPECT_EQ(arena->GetTerrainType(80, 80), kTerrainSnow);

    arena->RandomizeTerrain();
    EXPECT_NEAR(probe->position.z, arena->GetGroundHeight(80, 80) + 1.0f, 1e-3f);
}

}  // namespace
