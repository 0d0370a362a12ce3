// Tile atlases and their cache, the meshes of the visible cells, decals over the ground
// and the mini-map picture, on the recording device.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/Image.h"
#include "core/Tga.h"
#include "engine/DynamicMesh.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "world/Terrain.h"
#include "world/TerrainAtlases.h"

namespace {

const Color kGrassColour = Color::FromRGBA(10, 200, 30, 255);
const Color kWaterColour = Color::FromRGBA(0, 40, 220, 255);

void SaveSolid(const std::string& path, Color colour) {
    Image image(64, 64);
    image.Fill(colour);
    ASSERT_TRUE(image.SaveTGA(path));
}

Image Read(const std::string& path) {
    Image image;
    EXPECT_EQ(ReadTgaFile(path, image), TgaReadResult::kOk) << path;
    return image;
}

class TerrainAtlasTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTerrainAtlases();
        std::filesystem::create_directories(folder / "Textures");
        SaveSolid(folder / "Textures/GrassTile0.tga", kGrassColour);
        SaveSolid(folder / "Textures/WaterTile3.tga", kWaterColour);
        // The mask shows the type on its left half only.
        Image mask(64, 64);
        mask.Fill(Color::FromRGBA(0, 0, 0, 255));
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 32; ++x) mask.At(x, y) = Color::FromRGBA(255, 255, 255, 255);
        }
        ASSERT_TRUE(mask.SaveTGA(folder / "Textures/Tile1.tga"));
    }
    void TearDown() override { ResetTerrainAtlases(); }

    platform_test::TempFolder folder;
};

TEST_F(TerrainAtlasTest, ComposedOnceThenLoadedFromTheCacheUntilASourceChanges) {
    app_test::WorkingFolder inside(folder.Path());
    EnsureTerrainAtlases();
    EXPECT_EQ(TerrainAtlasSource(), AtlasSource::kComposed);
    EXPECT_NE(GetBaseAtlas(), nullptr);
    EXPECT_NE(GetCornerAtlas(kTerrainLava, 7), nullptr);

    const Image base = Read("Textures/BaseTiles.tga");
    ASSERT_EQ(base.Width(), 512);
    EXPECT_EQ(base.At(5, 5).argb, kGrassColour.argb);
    // Water frame 3 is tile 4 * 8 + 3: column 3, row 4. A missing source stays black.
    EXPECT_EQ(base.At(64 * 3 + 5, 64 * 4 + 5).argb, kWaterColour.argb);
    EXPECT_EQ(base.At(64 + 5, 5).argb, 0xFF000000u);

    // The mask of corner 1 alone makes corner tile 11, in column 3 of row 2, opaque where
    // the mask is white.
    const Image corners = Read("Textures/GrassCornerTiles0.tga");
    ASSERT_EQ(corners.Width(), 256);
    EXPECT_EQ(corners.At(64 * 3 + 10, 64 * 2 + 10).argb, kGrassColour.argb);
    EXPECT_EQ(corners.At(64 * 3 + 50, 64 * 2 + 10).Alpha(), 0);
    EXPECT_TRUE(std::filesystem::exists("Textures/WaterCornerTiles7.tga"));
    EXPECT_FALSE(std::filesystem::exists("Textures/GrassCornerTiles1.tga"));

    ResetTerrainAtlases();
    EnsureTerrainAtlases();
    EXPECT_EQ(TerrainAtlasSource(), AtlasSource::kCache);

    ResetTerrainAtlases();
    const auto later = std::filesystem::last_write_time("Textures/BaseTiles.tga") + std::chrono::seconds(5);
    std::filesystem::last_write_time("Textures/GrassTile0.tga", later);
    EnsureTerrainAtlases();
    EXPECT_EQ(TerrainAtlasSource(), AtlasSource::kComposed);
}

TEST_F(TerrainAtlasTest, AMissingTextureFolderKeepsTheComposedAtlasesInMemory) {
    platform_test::TempFolder empty;
    app_test::WorkingFolder inside(empty.Path());
    EnsureTerrainAtlases();
    EXPECT_EQ(TerrainAtlasSource(), AtlasSource::kComposed);
    EXPECT_NE(GetBaseAtlas(), nullptr);
    EXPECT_FALSE(std::filesystem::exists("Textures"));
}

TEST(TerrainAtlasCoordsTest, TilesAreInsetByOneTexel) {
    const Rect tile = AtlasTileCoords(35, kBaseAtlasTilesPerRow, kBaseAtlasSide);
    EXPECT_FLOAT_EQ(tile.left, 193.0f / 512.0f);
    EXPECT_FLOAT_EQ(tile.right, 255.0f / 512.0f);
    EXPECT_FLOAT_EQ(tile.top, 257.0f / 512.0f);
    EXPECT_FLOAT_EQ(tile.bottom, 319.0f / 512.0f);
}

// A 16 x 16 grass map with one water point at (5, 5).
class TerrainMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        terrain.Resize(16, 16);
        terrain.Fill(kTerrainGrass);
        terrain.CellAt(5, 5).type = kTerrainWater;
        terrain.UpdateAllTileIndices();
        terrain.CreateMeshes();
        ASSERT_TRUE(GetRenderer().GetReady());
    }
    void TearDown() override { GetRenderer().EndFrame(); }

    int CornerCellsOf(TerrainType type, int i0, int j0, int i1, int j1) const {
        int count = 0;
        for (int j = j0; j < j1; ++j) {
            for (int i = i0; i < i1; ++i) count += terrain.CornerTileIndex(i, j, type) < Terrain::kNoCornerTile;
        }
        return count;
    }

    Terrain terrain;
};

TEST_F(TerrainMeshTest, EveryVisibleCellGetsABaseQuadAndCornerQuadsOnlyWhereTypesMeet) {
    // Cells 0 to 8 both ways: the far edge's ceiling is visited as well.
    terrain.Draw(Rect{0.0f, 0.0f, 80.0f, 80.0f});
    EXPECT_EQ(terrain.BaseMesh()->faces.Count(), 9 * 9 * 2);
    int cornerFaces = 0;
    for (TerrainType type = 0; type < kTerrainTypeCount; ++type) {
        EXPECT_EQ(terrain.TypeMesh(type)->faces.Count(), 2 * CornerCellsOf(type, 0, 0, 9, 9)) << type;
        cornerFaces += terrain.TypeMesh(type)->uploadedFaces;
    }
    // Only the four cells around the water point blend.
    EXPECT_EQ(cornerFaces, 4 * 2);

    // More cells than the starting capacity all arrive in the device buffers.
    terrain.Draw(Rect{-100.0f, -100.0f, 300.0f, 300.0f});
    EXPECT_EQ(terrain.BaseMesh()->uploadedFaces, 41 * 41 * 2);
    // A rectangle reaching toward the horizon is cut to three copies of the map.
    terrain.Draw(Rect{0.0f, 0.0f, 1e9f, 10.0f});
    EXPECT_EQ(terrain.BaseMesh()->faces.Count(), 49 * 2 * 2);
}

// The texel a texture coordinate falls in: the picture's first row is the texture's first.
Color TexelAt(const Image& atlas, const Vector2& uv) {
    return atlas.At(std::clamp(int(uv.x * float(atlas.Width())), 0, atlas.Width() - 1),
                    std::clamp(int(uv.y * float(atlas.Height())), 0, atlas.Height() - 1));
}

// The data set's own corner masks, composed over a lava tile as the game composes them.
TEST_F(TerrainMeshTest, EachCornerTileCoversExactlyTheCellsPointsOfItsType) {
    const std::filesystem::path data = std::filesystem::path(VORNS_GAME_DIR) / "Textures";
    if (!std::filesystem::exists(data / CornerMaskName(0).CStr())) GTEST_SKIP() << "no data set at " << data;
    platform_test::TempFolder folder;
    const std::filesystem::path textures = std::filesystem::path(folder.Path()) / "Textures";
    std::filesystem::create_directories(textures);
    for (int32_t n = 0; n < kCornerMaskCount; ++n) {
        const std::string name = CornerMaskName(n).CStr();
        std::filesystem::copy_file(data / name, textures / name);
    }
    app_test::WorkingFolder inside(folder.Path());
    SaveSolid("Textures/LavaTile0.tga", Color::FromRGBA(255, 0, 0, 255));
    Image base;
    std::vector<Image> corners(kTerrainTypeCount * kLiquidFrameCount);
    ComposeTerrainAtlases(base, corners.data());
    const Image& lava = corners[size_t(kTerrainLava * kLiquidFrameCount)];

    // Every mix of lava and grass over the points of cell (5, 5) but the two whole ones.
    const int32_t points[4][2] = {{5, 5}, {6, 5}, {6, 6}, {5, 6}};
    for (int lavaPoints = 1; lavaPoints < 15; ++lavaPoints) {
        for (int k = 0; k < 4; ++k) {
            terrain.CellAt(points[k][0], points[k][1]).type = (lavaPoints >> k) & 1 ? kTerrainLava : kTerrainGrass;
        }
        terrain.UpdateAllTileIndices();
        terrain.Draw(Rect{50.0f, 50.0f, 50.0f, 50.0f});
        const DynamicMesh& mesh = *terrain.TypeMesh(kTerrainLava);
        ASSERT_EQ(mesh.vertices.Count(), 4) << lavaPoints;
        for (int v = 0; v < 4; ++v) {
            const Vector3 point = *mesh.vertices[v].position;
            const bool isLava = terrain.GetTypeAt(point.x, point.y) == kTerrainLava;
            const uint8_t alpha = TexelAt(lava, mesh.vertices[v].texCoords[0]).Alpha();
            EXPECT_EQ(alpha > 128, isLava) << "lava points " << lavaPoints << ", point (" << point.x << ", "
                                           << point.y << ") alpha " << int(alpha);
        }
    }
}

TEST_F(TerrainMeshTest, LiquidCellsShowTheFrameOfTheClock) {
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) terrain.CellAt(i, j).type = kTerrainWater;
    }
    terrain.UpdateAllTileIndices();
    terrain.AnimateLiquids(0.8f * 3 + 0.35f);
    EXPECT_EQ(terrain.LiquidFrame(), 3);
    terrain.Draw(Rect{0.0f, 0.0f, 10.0f, 10.0f});
    const Rect tile = AtlasTileCoords(kTerrainWater * 8 + 3, kBaseAtlasTilesPerRow, kBaseAtlasSide);
    EXPECT_FLOAT_EQ(terrain.BaseMesh()->vertices[0].texCoords[0].x, tile.left);
    terrain.AnimateLiquids(-0.1f);
    EXPECT_EQ(terrain.LiquidFrame(), 2);
}

TEST_F(TerrainMeshTest, ADecalSpansItsRectangleOnceAndFollowsTheGroundAcrossTheEdge) {
    terrain.CellAt(15, 15).height = 7.0f;
    terrain.CellAt(0, 0).light = 0.5f;
    const Color colour = Color::FromRGBA(200, 100, 50, 128);
    terrain.DrawDecal(Rect{-10.0f, -10.0f, 10.0f, 10.0f}, nullptr, colour, true, 0.0f, 1.0f, 2);
    const DynamicMesh& mesh = *terrain.DecalMesh();
    ASSERT_EQ(mesh.vertices.Count(), 9);
    EXPECT_EQ(mesh.faces.Count(), 8);
    // Point (-1, -1) is grid point (15, 15) of the wrapped map. The decal floats a hair
    // above the ground, so a slope cannot show through it in stripes.
    const Vector3 corner = *mesh.vertices[0].position;
    EXPECT_EQ(Vector2(corner.x, corner.y), Vector2(-10.0f, -10.0f));
    EXPECT_GT(corner.z, 7.01f);
    EXPECT_LT(corner.z, 7.1f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].texCoords[0].x, 0.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].texCoords[0].y, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[8].texCoords[0].x, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[8].texCoords[0].y, 0.0f);
    EXPECT_EQ(mesh.vertices[4].color.argb, Color::FromRGBA(100, 50, 25, 128).argb);
    EXPECT_EQ(mesh.material->stages[0].colorOp, 2u);

    // Halved in scale, then turned a quarter about the middle: (0, 1) -> (0.25, 0.75) -> (0.25, 0.25).
    terrain.DrawDecal(Rect{0.0f, 0.0f, 20.0f, 20.0f}, nullptr, colour, false, 1.5707964f, 0.5f);
    EXPECT_NEAR(mesh.vertices[0].texCoords[0].x, 0.25f, 1e-5f);
    EXPECT_NEAR(mesh.vertices[0].texCoords[0].y, 0.25f, 1e-5f);

    terrain.DrawDecal(Rect{5.0f, 5.0f, 5.0f, 30.0f}, nullptr, colour, false, 0.0f, 1.0f);
    EXPECT_TRUE(terrain.DecalMesh()->faces.IsEmpty());
}

TEST_F(TerrainMeshTest, BatchedDecalsGatherByTextureModeAndWorldAndDrawOncePerGroupInFirstUseOrder) {
    const Color colour(0xFFFFFFFFu);
    Renderer& renderer = GetRenderer();
    gfx::Device& device = renderer.GetDevice();
    const uint32_t before = device.Stats().drawCalls;
    Matrix4 shifted;
    shifted.SetTranslation(Vector3(160.0f, 0.0f, 0.0f));
    renderer.SetWorldTransform(Matrix4());
    terrain.BeginDecalBatch();
    terrain.DrawDecal(Rect{0.0f, 0.0f, 20.0f, 20.0f}, nullptr, colour, false, 0.0f, 1.0f);
    terrain.RenderDecalMesh();
    terrain.DrawDecal(Rect{0.0f, 0.0f, 20.0f, 20.0f}, nullptr, colour, false, 0.0f, 1.0f, 2);
    renderer.SetWorldTransform(shifted);
    terrain.DrawDecal(Rect{0.0f, 0.0f, 20.0f, 20.0f}, nullptr, colour, false, 0.0f, 1.0f);
    renderer.SetWorldTransform(Matrix4());
    // Back to the first group, after the others.
    terrain.DrawDecal(Rect{30.0f, 30.0f, 50.0f, 50.0f}, nullptr, colour, false, 0.0f, 1.0f);
    terrain.RenderDecalMesh();
    const DynamicMesh& mesh = *terrain.DecalMesh();
    ASSERT_EQ(mesh.vertices.Count(), 18);
    EXPECT_EQ(mesh.faces[8].corners[0], &mesh.vertices[9]);
    EXPECT_EQ(device.Stats().drawCalls, before);
    terrain.EndDecalBatch();
    EXPECT_EQ(device.Stats().drawCalls, before + 3);
    EXPECT_EQ(mesh.uploadedFaces, 16);
    // The shifted group went last, under its own world transform, which is put back.
    EXPECT_EQ(mesh.material->stages[0].colorOp, 4u);
    EXPECT_TRUE(renderer.GetWorldTransform() == Matrix4());
}

TEST_F(TerrainMeshTest, TheMiniMapBlendsTypeColoursByLightBottomRowFirst) {
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) terrain.CellAt(i, j).light = 1.0f;
    }
    for (int j = 10; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) terrain.CellAt(i, j).type = kTerrainWater;
    }
    terrain.CellAt(0, 0).light = 0.0f;
    Image image(16, 16);
    terrain.RenderMiniMapImage(image);
    // Pixel (3, 12) samples a cell of four water points; it lies in row 16 - 1 - 12.
    EXPECT_EQ(image.At(3, 3).argb, Color::FromRGBA(0, 0, 137, 255).argb);
    EXPECT_EQ(image.At(3, 12).argb, Color::FromRGBA(0, 128, 0, 255).argb);
    // Half water, half grass along row 9.
    EXPECT_EQ(image.At(3, 6).argb, Color::FromRGBA(0, 64, 68, 255).argb);
    // A dark corner dims its cell by a quarter.
    EXPECT_EQ(image.At(0, 15).argb, Color::FromRGBA(0, 96, 0, 255).argb);
}

}  // namespace
