// The painted parts of a chassis family in one picture: the cells, the borders that
// stand in for wrapping, and the data set's bodies drawn from their owner's atlas.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "game/Player.h"
#include "support/WorkingCopy.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"
#include "units/PaintedPartAtlas.h"

namespace {

Image Numbered(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.At(x, y) = Color::FromRGBA(uint8_t(x), uint8_t(y), 7, 255);
    }
    return image;
}

TEST(PaintedPartAtlasTest, CellsHoldEachPartWithItsWrappedBorder) {
    Image wide = Numbered(300, 20), square = Numbered(64, 64), tall = Numbered(16, 200);
    Array<Image*> parts;
    for (Image* part : {&wide, &square, static_cast<Image*>(nullptr), &tall}) parts.Append(part);
    PaintedPartAtlas atlas;
    atlas.Layout(parts);
    ASSERT_EQ(atlas.PartCount(), 4);
    EXPECT_EQ(atlas.Width() & (atlas.Width() - 1), 0);
    EXPECT_EQ(atlas.Height() & (atlas.Height() - 1), 0);
    Image picture(atlas.Width(), atlas.Height());
    for (int i = 0; i < 4; ++i) {
        if (parts[i] != nullptr) atlas.Place(picture, i, *parts[i]);
    }
    // Every part's texels are where its coordinates lead, the others' never overwrote them.
    for (int i : {0, 1, 3}) {
        const Image& part = *parts[i];
        for (const Vector2 uv : {Vector2(0.0f, 0.0f), Vector2(1.0f, 1.0f), Vector2(0.5f, 0.25f)}) {
            const Vector2 at = atlas.Map(i, uv);
            ASSERT_GE(at.x, 0.0f);
            ASSERT_LE(at.y, 1.0f);
            const int x = std::min(int(uv.x * float(part.Width())), part.Width() - 1);
            const int y = std::min(int(uv.y * float(part.Height())), part.Height() - 1);
            const Vector2 texel = atlas.Map(
                i, Vector2((float(x) + 0.5f) / float(part.Width()), (float(y) + 0.5f) / float(part.Height())));
            EXPECT_EQ(picture.At(int(texel.x * float(atlas.Width())), int(texel.y * float(atlas.Height()))).argb,
                      part.At(x, y).argb)
                << "part " << i;
        }
        // Just outside the left and top edges lie the right column and bottom row.
        const Vector2 corner = atlas.Map(i, Vector2(0.0f, 0.0f));
        const int x0 = int(corner.x * float(atlas.Width())), y0 = int(corner.y * float(atlas.Height()));
        EXPECT_EQ(picture.At(x0 - 1, y0).argb, part.At(part.Width() - 1, 0).argb);
        EXPECT_EQ(picture.At(x0, y0 - 1).argb, part.At(0, part.Height() - 1).argb);
    }
    // A picture of another size than its cell is refused.
    const Image before = picture;
    atlas.Place(picture, 1, wide);
    EXPECT_EQ(picture.At(0, 0).argb, before.At(0, 0).argb);
}

class PaintedPartAtlasDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!runtime_test::HasBodies()) GTEST_SKIP() << "no data set at " << VORNS_GAME_DIR;
        working_ = std::make_unique<runtime_test::WorkingCopy>();
        // Bodies loaded by an earlier test may show a player's pictures already; fresh
        // ones show the parts' own, which is how the painted parts are found.
        GetRenderer().Shutdown();
        LoadChassisDefinitions();
    }
    void TearDown() override {
        if (!working_) return;
        FreeChassisDefinitions();
        GetRenderer().Shutdown();
    }

    std::unique_ptr<runtime_test::WorkingCopy> working_;
};

TEST_F(PaintedPartAtlasDataTest, BodiesDrawTheirPaintedPartsFromTheirOwnersAtlas) {
    Player red, blue;
    red.primaryColor = Color::FromRGBA(255, 0, 0, 255);
    blue.primaryColor = Color::FromRGBA(0, 0, 255, 255);
    for (int chassis = 0; chassis < kChassisCount; ++chassis) {
        const ChassisDefinition& row = *ChassisTable::Row(chassis);
        ASSERT_FALSE(row.atlasMeshes.IsEmpty()) << row.name.CStr();
        // The copies keep their coordinates inside the atlas, never on a part's own picture.
        for (const RendererRef<Mesh>& mesh : row.atlasMeshes) {
            for (const MeshVertex& vertex : mesh->vertices) {
                EXPECT_TRUE(vertex.texCoords[0].x >= 0.0f && vertex.texCoords[0].x <= 1.0f);
            }
            for (const MeshFace& face : mesh->faces) EXPECT_GE(row.atlasMaterials.Find(face.material), 0);
        }
        ApplyOwnerColours(chassis, red);
        const TextureHandle redAtlas = row.atlasMaterials[0]->stages[0].texture;
        ApplyOwnerColours(chassis, blue);
        const TextureHandle blueAtlas = row.atlasMaterials[0]->stages[0].texture;
        EXPECT_NE(redAtlas, blueAtlas);
        // Red's atlas shows red's picture of the first part in that part's cell.
        ApplyOwnerColours(chassis, red);
        Image atlas, part;
        GetRenderer().ReadTextureImage(atlas, redAtlas);
        GetRenderer().ReadTextureImage(part, row.paintedPartMaterials[0][0]->stages[0].texture);
        const ChassisDefinition& family = *ChassisTable::Row(chassis - ChassisTable::SizeClass(chassis));
        const Vector2 at = family.partAtlas.Map(0, Vector2(0.5f / float(part.Width()), 0.5f / float(part.Height())));
        EXPECT_EQ(atlas.At(int(at.x * float(atlas.Width())), int(at.y * float(atlas.Height()))).argb,
                  part.At(0, 0).argb);
    }
}

}  // namespace
