#include "world/Terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/StringStream.h"
#include "game/Player.h"
#include "platform/sys/Random.h"

namespace {

// A 16 x 16 grass map at height 0 (160 x 160 world units).
class TerrainTest : public ::testing::Test {
protected:
    void SetUp() override {
        sys::SRand(1);
        terrain.Resize(16, 16);
    }

    void SetHeight(int i, int j, float h) { terrain.CellAt(i, j).height = h; }

    Terrain terrain;
};

// The text of a map whose cells are given by a function of (i, j).
template <typename CellText>
std::string MapText(int w, int h, CellText cellText, const char* newline = "\n") {
    std::string text = "[ < " + std::to_string(w) + ", " + std::to_string(h) + " >, " + newline;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            text += cellText(i, j) + " ";
        }
        text += newline;
    }
    return text + "]";
}

void Load(Terrain& terrain, const std::string& text, bool expectError = false) {
    StringStream stream(text.c_str());
    Point size;
    terrain.Load(stream, size);
    EXPECT_EQ(stream.HasError(), expectError);
}

}  // namespace

TEST(TerrainTypeTest, FlagsAndLettersFollowTheTable) {
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        EXPECT_EQ(Terrain::TypeFromLetter(kTerrainTypeLetters[type]), type);
        EXPECT_EQ(IsSlowTerrain(type), type == kTerrainSwamp || type == kTerrainSand || type == kTerrainSnow);
        EXPECT_EQ(IsLavaTerrain(type), type == kTerrainLava);
        EXPECT_EQ(IsWaterTerrain(type), type == kTerrainWater);
        EXPECT_EQ(IsFirmTerrain(type), type != kTerrainSwamp && type != kTerrainWater);
    }
    EXPECT_EQ(Terrain::TypeFromLetter('w'), kTerrainSwamp);
    EXPECT_EQ(Terrain::TypeFromLetter('W'), kTerrainWater);
    EXPECT_EQ(Terrain::TypeFromLetter('g'), -1);
    EXPECT_EQ(GetTerrainTypeInfo(kTerrainSnow).variants, 8);
    EXPECT_EQ(GetTerrainTypeInfo(kTerrainLava).variants, 1);
    // A damaged type value reads as a type with no flags.
    EXPECT_FALSE(IsFirmTerrain(-3) || IsSlowTerrain(8) || IsWaterTerrain(99));
    EXPECT_EQ(GetTerrainTypeInfo(1000).variants, 1);
}

TEST(TerrainSizeTest, ConstructionAndResizeRules) {
    sys::SRand(1);
    Terrain terrain;
    EXPECT_EQ(terrain.Width(), 64);
    EXPECT_EQ(terrain.Height(), 64);
    EXPECT_EQ(terrain.CellAt(5, 5).type, kTerrainGrass);
    terrain.Resize(17, 70);
    EXPECT_EQ(terrain.Width(), 16);
    EXPECT_EQ(terrain.Height(), 64);
    terrain.Resize(65, 15);
    EXPECT_EQ(terrain.Width(), 64);
    EXPECT_EQ(terrain.Height(), 16);

    // New columns copy the last old column of the same row.
    terrain.Resize(16, 16);
    for (int j = 0; j < 16; ++j) {
        terrain.CellAt(15, j).type = kTerrainStone;
        terrain.CellAt(15, j).height = 3.0f;
    }
    terrain.Resize(20, 16);
    for (int i = 15; i < 20; ++i) {
        EXPECT_EQ(terrain.CellAt(i, 7).type, kTerrainStone) << i;
        EXPECT_FLOAT_EQ(terrain.CellAt(i, 7).height, 3.0f) << i;
        EXPECT_LT(terrain.CellAt(i, 7).variant, 8);
    }
    EXPECT_EQ(terrain.CellAt(14, 7).type, kTerrainGrass);
}

TEST_F(TerrainTest, HeightsArePlanarOnTheAlternatingTriangles) {
    SetHeight(2, 3, 7);
    EXPECT_EQ(terrain.GetHeight(20, 30), 7.0f);

    // Cell (2, 2), i + j even: diagonal from (2, 2) to (3, 3).
    SetHeight(2, 2, 4);
    SetHeight(3, 2, 8);
    SetHeight(2, 3, 0);
    SetHeight(3, 3, 2);
    EXPECT_FLOAT_EQ(terrain.GetHeight(27.5f, 22.5f), 5.5f);  // below the diagonal
    EXPECT_FLOAT_EQ(terrain.GetHeight(22.5f, 27.5f), 1.5f);  // above it (bilinear: 1.625)
    EXPECT_FLOAT_EQ(terrain.GetHeight(25, 20), 6.0f);        // mid-edge
    EXPECT_FLOAT_EQ(terrain.GetHeight(25, 25), 3.0f);        // on the diagonal

    // Cell (5, 6), i + j odd: diagonal from (6, 6) to (5, 7).
    SetHeight(5, 6, 10);
    SetHeight(6, 6, 0);
    SetHeight(5, 7, 0);
    SetHeight(6, 7, 6);
    EXPECT_FLOAT_EQ(terrain.GetHeight(55, 65), 0.0f);
    EXPECT_FLOAT_EQ(terrain.GetHeight(52.5f, 62.5f), 5.0f);
    EXPECT_FLOAT_EQ(terrain.GetHeight(57.5f, 67.5f), 3.0f);
    EXPECT_FLOAT_EQ(terrain.GetHeight(55, 60), 5.0f);
}

TEST_F(TerrainTest, HeightsWrapAcrossTheEdges) {
    // Cell (15, 4) takes its far corners from column 0.
    SetHeight(15, 4, 8);
    SetHeight(0, 4, 2);
    SetHeight(15, 5, 4);
    SetHeight(0, 5, 6);
    EXPECT_FLOAT_EQ(terrain.GetHeight(155, 42.5f), 4.0f);
    EXPECT_FLOAT_EQ(terrain.GetHeight(-5, 42.5f), 4.0f);
    EXPECT_FLOAT_EQ(terrain.GetHeight(315, 42.5f - 160), 4.0f);
    EXPECT_EQ(terrain.GetHeight(160, 40), terrain.GetHeight(0, 40));
    EXPECT_EQ(terrain.GetHeight(0, 200), 2.0f);
    EXPECT_EQ(terrain.GetHeight(NAN, INFINITY), terrain.GetHeight(0, 0));

    float lowest = 0;
    float highest = 0;
    terrain.GetHeightRange(lowest, highest);
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_EQ(highest, 8.0f);
}

TEST_F(TerrainTest, GroundTypeOfTheNearestPoint) {
    terrain.CellAt(3, 4).type = kTerrainWater;
    EXPECT_EQ(terrain.GetTypeAt(34.9f, 44.9f), kTerrainWater);
    EXPECT_EQ(terrain.GetTypeAt(25.1f, 35.1f), kTerrainWater);
    EXPECT_EQ(terrain.GetTypeAt(35.1f, 40), kTerrainGrass);
    EXPECT_EQ(terrain.NearestVertex({34.9f, 35.0f, 0}), (TerrainPoint{3, 4}));

    terrain.CellAt(0, 0).type = kTerrainLava;
    EXPECT_EQ(terrain.GetTypeAt(-4.9f, -4.9f), kTerrainLava);
    EXPECT_EQ(terrain.GetTypeAt(156, 157), kTerrainLava);
    EXPECT_EQ(terrain.NearestVertex({156, -6, 0}), (TerrainPoint{16, -1}));
    EXPECT_TRUE(terrain.ContainsPoint({0, 159.9f, 0}));
    EXPECT_FALSE(terrain.ContainsPoint({160, 5, 0}));
}

TEST_F(TerrainTest, CornerTiles) {
    EXPECT_EQ(terrain.CornerTileIndex(4, 4, kTerrainGrass), Terrain::kNoCornerTile);
    EXPECT_EQ(terrain.CornerTileIndex(4, 4, kTerrainWater), Terrain::kNoCornerTile);
    // Water ranks below grass, so grass stays the base of the cells around a water point.
    terrain.CellAt(5, 5).type = kTerrainWater;
    terrain.UpdateTileIndicesAround(5, 5);
    EXPECT_EQ(terrain.TileIndex(5, 5, kTerrainWater), 13);  // corner (i, j)
    EXPECT_EQ(terrain.TileIndex(4, 4, kTerrainWater), 11);  // corner (i + 1, j + 1)
    EXPECT_EQ(terrain.TileIndex(4, 5, kTerrainWater), 12);  // corner (i + 1, j)
    // Snow ranks highest: it becomes the base and grass shows in three corners.
    terrain.CellAt(5, 5).type = kTerrainSnow;
    terrain.UpdateTileIndicesAround(5, 5);
    EXPECT_EQ(terrain.TileIndex(5, 5, kTerrainSnow), Terrain::kNoCornerTile);
    EXPECT_EQ(terrain.TileIndex(5, 5, kTerrainGrass), 0);
    TerrainType base = 0;
    int32_t variant = 0;
    terrain.DominantCorner(4, 4, base, variant);
    EXPECT_EQ(base, kTerrainSnow);
}

TEST_F(TerrainTest, LightIsBilinear) {
    terrain.CellAt(1, 1).light = 0.2f;
    terrain.CellAt(2, 1).light = 0.6f;
    terrain.CellAt(1, 2).light = 0.4f;
    terrain.CellAt(2, 2).light = 1.0f;
    EXPECT_FLOAT_EQ(terrain.GetLightAt(12.5f, 17.5f), 0.4875f);
    EXPECT_FLOAT_EQ(terrain.GetLightAt(20, 20), 1.0f);
    EXPECT_FLOAT_EQ(terrain.GetLightAt(180, 180), 1.0f);
}

TEST_F(TerrainTest, ShadingFromHeightAndSun) {
    terrain.SetLightDirection({0, 0, 0});
    terrain.UpdateShading();
    EXPECT_FLOAT_EQ(terrain.CellAt(3, 3).shade, 0.55f);
    EXPECT_FLOAT_EQ(terrain.CellAt(3, 3).light, 0.55f);

    // The sun stands up the +X slope: the foot of a wall lies in its shadow.
    terrain.SetLightDirection({-1, 0, -1});
    SetHeight(5, 5, -25);
    for (int j = 0; j < 16; ++j) {
        SetHeight(6, j, 25);
    }
    terrain.UpdateShading();
    EXPECT_FLOAT_EQ(terrain.CellAt(5, 5).shade, 0.35f);
    EXPECT_FLOAT_EQ(terrain.CellAt(6, 5).shade, 1.0f);
    EXPECT_FLOAT_EQ(terrain.CellAt(10, 10).shade, 1.0f);
    EXPECT_FLOAT_EQ(terrain.CellAt(10, 10).light, 1.0f);
}

TEST_F(TerrainTest, RayStraightDown) {
    SetHeight(3, 3, 10);
    Vector3 point;
    ASSERT_EQ(terrain.RayHit(Ray({32, 31, 40}, {0, 0, -2}), point), 3);
    EXPECT_NEAR(point.x, 32, 1e-4);
    EXPECT_NEAR(point.y, 31, 1e-4);
    EXPECT_NEAR(point.z, 8, 1e-4);
    // Through a grid point: the two triangles share it.
    ASSERT_EQ(terrain.RayHit(Ray({30, 30, 40}, {0, 0, -1}), point), 3);
    EXPECT_NEAR(point.z, 10, 1e-4);
    // Straight up from above the ground meets nothing.
    EXPECT_EQ(terrain.RayHit(Ray({32, 31, 40}, {0, 0, 1}), point), 0);
}

TEST_F(TerrainTest, RaySlantedAcrossTheEdge) {
    // A ridge of height 10 along the seam x = 160 = 0.
    SetHeight(0, 8, 10);
    SetHeight(0, 9, 10);
    Vector3 point;
    ASSERT_EQ(terrain.RayHit(Ray({155, 82, 21}, {1, 0, -2}), point), 3);
    EXPECT_NEAR(point.x, 161, 1e-3);
    EXPECT_NEAR(point.y, 82, 1e-3);
    EXPECT_NEAR(point.z, 9, 1e-3);
    // The same ray one image to the left answers in its own image.
    ASSERT_EQ(terrain.RayHit(Ray({-5, 82, 21}, {1, 0, -2}), point), 3);
    EXPECT_NEAR(point.x, 1, 1e-3);
    // Lower, it meets the near side of the ridge first.
    ASSERT_EQ(terrain.RayHit(Ray({150, 82, 8}, {2, 0, -1}), point), 3);
    EXPECT_NEAR(point.x, 150 + 16.0f / 3, 1e-3);
    EXPECT_NEAR(point.z, 16.0f / 3, 1e-3);
}

TEST_F(TerrainTest, NearlyLevelRayEndsWithoutHit) {
    Vector3 point;
    // It would reach the ground after thousands of cells; the walk stops long before.
    EXPECT_EQ(terrain.RayHit(Ray({5, 5, 10}, {1, 0.3f, -0.0001f}), point), 0);
    EXPECT_EQ(terrain.RayHit(Ray({5, 5, 10}, {1, 0, 0}), point), 0);
    EXPECT_EQ(terrain.RayHit(Ray({5, 5, 30}, {0.5f, 0, 1}), point), 0);
    EXPECT_EQ(terrain.RayHit(Ray({5, 5, NAN}, {0, 0, -1}), point), 0);
    // A steeper ray from the same point does land.
    EXPECT_EQ(terrain.RayHit(Ray({5, 5, 10}, {1, 0.3f, -0.1f}), point), 3);
}

TEST_F(TerrainTest, PointListsNormaliseTheirRectangle) {
    Array<TerrainPoint> upright;
    Array<TerrainPoint> inverted;
    terrain.CellsUnderRect({10, 10, 30, 30}, upright);
    terrain.CellsUnderRect({30, 30, 10, 10}, inverted);
    ASSERT_EQ(upright.Count(), 9);
    ASSERT_EQ(inverted.Count(), 9);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(upright[k], (TerrainPoint{1 + k / 3, 1 + k % 3}));
        EXPECT_EQ(inverted[k], upright[k]);
    }
    terrain.CellsUnderRect({NAN, 0, 10, 10}, upright);
    EXPECT_EQ(upright.Count(), 0);

    terrain.CellsUnderCircle({20, 20, 10}, upright);
    EXPECT_EQ(upright.Count(), 5);
    terrain.CellsUnderCircle({0, 0, 1e30f}, upright);
    EXPECT_LE(upright.Count(), (4 * Terrain::kMaxSide + 1) * (4 * Terrain::kMaxSide + 1));

    // An inverted rectangle raises the same points.
    terrain.RaiseRect({30, 30, 10, 10}, 5, true);
    EXPECT_EQ(terrain.CellAt(1, 1).height, 5.0f);
    EXPECT_EQ(terrain.CellAt(3, 3).height, 5.0f);
    EXPECT_EQ(terrain.CellAt(4, 3).height, 0.0f);
}

TEST_F(TerrainTest, SmoothRaiseAndSlopeLimit) {
    terrain.RaiseCircle({80, 80, 30}, 10, false);
    EXPECT_FLOAT_EQ(terrain.CellAt(8, 8).height, 10.0f);
    EXPECT_FLOAT_EQ(terrain.CellAt(11, 8).height, 0.0f);
    EXPECT_GT(terrain.CellAt(9, 8).height, terrain.CellAt(10, 8).height);

    // A lone point raised by 25 is held 10 above its neighbours.
    terrain.RaiseCircle({20, 20, 0}, 25, false);
    EXPECT_FLOAT_EQ(terrain.CellAt(2, 2).height, 10.0f);
}

TEST_F(TerrainTest, RandomMapOnlyUsesUnlockedGround) {
    Player player;  // nothing unlocked
    sys::SRand(7);
    terrain.Randomize(player);
    float lowest = 0;
    float highest = 0;
    terrain.GetHeightRange(lowest, highest);
    EXPECT_GT(highest - lowest, 1.0f);
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(terrain.CellAt(k % 16, k / 16).type, kTerrainGrass);
    }

    player.upgradeLevels[30 + kTerrainWater] = 0;
    sys::SRand(7);
    terrain.Randomize(player);
    int water = 0;
    for (int k = 0; k < 256; ++k) {
        const TerrainCell& cell = terrain.CellAt(k % 16, k / 16);
        EXPECT_TRUE(cell.type == kTerrainGrass || cell.type == kTerrainWater);
        EXPECT_TRUE(cell.height >= -25 && cell.height <= 25);
        water += cell.type == kTerrainWater;
    }
    EXPECT_GT(water, 0);
}

TEST_F(TerrainTest, TextFormWritesTheStoredLayout) {
    for (int k = 0; k < 256; ++k) {
        terrain.CellAt(k % 16, k / 16) = TerrainCell();
    }
    terrain.CellAt(1, 0).variant = 2;
    terrain.CellAt(1, 0).height = 2.5f;
    terrain.CellAt(2, 0).type = kTerrainSwamp;
    terrain.CellAt(0, 15).height = -3.25f;
    StringStream stream;
    terrain.Save(stream);
    const std::string text = stream.Text();
    std::string row;
    for (int i = 0; i < 16; ++i) {
        row += "Ga0 ";
    }
    EXPECT_EQ(text.substr(0, 15), "[ < 16, 16 >, \n");
    const std::string first = "Ga0 Gc2.5 wa0 " + row.substr(12) + "\n";
    EXPECT_EQ(text.substr(15, first.size()), first);
    const std::string last = "Ga-3.25 " + row.substr(4) + "\n]";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    EXPECT_EQ(text.size(), 15 + first.size() + 14 * (row.size() + 1) + last.size());
}

TEST_F(TerrainTest, TextFormRoundTrip) {
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) {
            TerrainCell& cell = terrain.CellAt(i, j);
            cell.type = (i + j) % 3 == 0 ? kTerrainDirt : kTerrainSnow;
            cell.variant = (i * 7 + j) % 8;
            cell.height = float((i + 2 * j) % 5) * 1.25f - 2.5f;
        }
    }
    terrain.UpdateAllTileIndices();
    StringStream stream;
    terrain.Save(stream);
    stream << " Objects 0";

    Terrain loaded;
    StringStream in(stream.Text());
    Point size;
    loaded.Load(in, size);
    EXPECT_FALSE(in.HasError());
    ASSERT_EQ(loaded.Width(), 16);
    ASSERT_EQ(loaded.Height(), 16);
    for (int k = 0; k < 256; ++k) {
        const TerrainCell& a = terrain.CellAt(k % 16, k / 16);
        const TerrainCell& b = loaded.CellAt(k % 16, k / 16);
        EXPECT_EQ(a.type, b.type) << k;
        EXPECT_EQ(a.variant, b.variant) << k;
        EXPECT_EQ(a.height, b.height) << k;
        EXPECT_EQ(loaded.TileIndex(k % 16, k / 16, kTerrainDirt), terrain.TileIndex(k % 16, k / 16, kTerrainDirt));
    }
    // The text after the map is left for the scenario reader.
    char key[16] = {};
    in.ReadLine(key, sizeof key);
    EXPECT_STREQ(key, " Objects 0");
}

TEST_F(TerrainTest, HandWrittenTextLoads) {
    // Water at (0, 0) below the floor; grass around it at 1, with CRLF line ends.
    const std::string text = MapText(
        16, 16, [](int i, int j) { return std::string(i == 0 && j == 0 ? "Wc-30" : "Gb1"); }, "\r\n");
    Load(terrain, "\n" + text + "\nextra");
    const TerrainCell& water = terrain.CellAt(0, 0);
    EXPECT_EQ(water.type, kTerrainWater);
    EXPECT_EQ(water.variant, 0);
    EXPECT_EQ(water.height, -25.0f);
    EXPECT_EQ(terrain.CellAt(1, 1).variant, 1);
    // Water surfaces spread flat to their neighbours; firm ground then climbs 10 a point.
    EXPECT_EQ(terrain.CellAt(1, 0).height, -25.0f);
    EXPECT_EQ(terrain.CellAt(15, 15).height, -25.0f);
    EXPECT_EQ(terrain.CellAt(2, 0).height, -15.0f);
    EXPECT_EQ(terrain.CellAt(3, 3).height, -5.0f);
    EXPECT_EQ(terrain.CellAt(4, 0).height, 1.0f);
    EXPECT_EQ(terrain.CellAt(8, 8).height, 1.0f);

    // Stray characters and missing blanks between cells are skipped.
    Load(terrain, MapText(16, 16, [](int i, int) { return std::string(i == 3 ? "xx Da2;" : "Gb0"); }));
    EXPECT_EQ(terrain.CellAt(3, 5).type, kTerrainDirt);
    EXPECT_EQ(terrain.CellAt(3, 5).height, 2.0f);
    EXPECT_EQ(terrain.CellAt(4, 5).type, kTerrainGrass);
}

TEST_F(TerrainTest, TextWithoutVariantsGetsRandomOnes) {
    Load(terrain, MapText(16, 16, [](int, int) { return std::string("Ga0"); }));
    int varied = 0;
    for (int k = 0; k < 256; ++k) {
        const int variant = terrain.CellAt(k % 16, k / 16).variant;
        EXPECT_TRUE(variant >= 0 && variant < 8);
        varied += variant > 0;
    }
    EXPECT_GT(varied, 0);
}

TEST_F(TerrainTest, OddSizesKeepEveryRowInPlace) {
    // Row patterns of firm types; the 17th column and row are sand and must vanish.
    const char* const letters[] = {"G", "D", "t"};
    const std::string text = MapText(17, 17, [&](int i, int j) {
        if (i == 16 || j == 16) {
            return std::string("ab9");
        }
        return std::string(letters[(i + 2 * j) % 3]) + "b" + std::to_string(j % 2);
    });
    Load(terrain, text);
    ASSERT_EQ(terrain.Width(), 16);
    ASSERT_EQ(terrain.Height(), 16);
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(terrain.CellAt(i, j).type, (i + 2 * j) % 3) << i << "," << j;
            EXPECT_EQ(terrain.CellAt(i, j).height, float(j % 2)) << i << "," << j;
        }
    }
}

TEST_F(TerrainTest, RefusedSizesLeaveTheTerrainAlone) {
    SetHeight(4, 4, 7);
    const auto anyCell = [](int, int) { return std::string("Db3"); };
    for (const std::string& text : {MapText(15, 32, anyCell), MapText(32, 65, anyCell), std::string("[ < 32"),
                                    std::string("[ < x, 32 >, Db3"), std::string("")}) {
        StringStream stream(text.c_str());
        Point size;
        terrain.Load(stream, size);
        EXPECT_EQ(terrain.Width(), 16) << text.substr(0, 12);
        EXPECT_EQ(terrain.CellAt(4, 4).height, 7.0f) << text.substr(0, 12);
        EXPECT_EQ(terrain.CellAt(5, 5).type, kTerrainGrass);
    }
}

TEST_F(TerrainTest, NonFiniteHeightsReadAsZero) {
    for (const char* bad : {"Gbnan", "Gbinf", "Gb-inf", "Gb1e999"}) {
        const std::string text =
            MapText(16, 16, [&](int i, int j) { return std::string(i == 1 && j == 0 ? bad : "Gb5"); });
        Load(terrain, text, false);
        EXPECT_EQ(terrain.CellAt(0, 0).height, 5.0f) << bad;
        EXPECT_EQ(terrain.CellAt(1, 0).height, 0.0f) << bad;
        // Reading goes on past the damaged number.
        EXPECT_EQ(terrain.CellAt(5, 5).height, 5.0f) << bad;
        for (int k = 0; k < 256; ++k) {
            ASSERT_TRUE(std::isfinite(terrain.CellAt(k % 16, k / 16).height));
        }
    }
}

TEST_F(TerrainTest, TruncatedTextLoadsWhatIsThere) {
    Load(terrain, "[ < 16, 16 >, \nDb3 Db3 tc3", true);
    EXPECT_EQ(terrain.CellAt(0, 0).type, kTerrainDirt);
    EXPECT_EQ(terrain.CellAt(2, 0).type, kTerrainStone);
    EXPECT_EQ(terrain.CellAt(2, 0).height, 3.0f);
    EXPECT_EQ(terrain.CellAt(3, 0).type, kTerrainGrass);
    EXPECT_EQ(terrain.CellAt(3, 0).height, 0.0f);

    Load(terrain, "[ < 20, 18 >, \nDb3 Db", true);
    EXPECT_EQ(terrain.Width(), 20);
    EXPECT_EQ(terrain.Height(), 18);
    EXPECT_EQ(terrain.CellAt(1, 0).type, kTerrainDirt);
    EXPECT_EQ(terrain.CellAt(1, 0).height, 0.0f);
}
