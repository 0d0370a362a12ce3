// The shared meshes.
#include <gtest/gtest.h>

#include "engine/Mesh.h"
#include "engine/SharedMeshes.h"

namespace {

TEST(SharedMeshesTest, TheFloorGridHasItsOwnCornersPerCellAndAlternatingDiagonals) {
    const Mesh* grid = BuildFloorGridMesh();
    EXPECT_EQ(grid->positions.Count(), 65 * 65);
    EXPECT_EQ(grid->vertices.Count(), 64 * 64 * 4);
    ASSERT_EQ(grid->faces.Count(), 8192);
    EXPECT_EQ(grid->positions[0], Vector3(-16.0f, -16.0f, 0.0f));
    EXPECT_EQ(grid->positions[65 * 65 - 1], Vector3(16.0f, 16.0f, 0.0f));
    // Cell (0, 0) splits from its first corner to the opposite one, cell (0, 1) the other way.
    const auto shared = [&](int face, int corner) { return grid->faces[face].corners[corner]->position; };
    EXPECT_EQ(shared(0, 1), shared(1, 2));
    EXPECT_EQ(*shared(0, 1), Vector3(-15.5f, -15.5f, 0.0f));
    EXPECT_EQ(*shared(2, 1), Vector3(-15.5f, -15.5f, 0.0f));
    EXPECT_EQ(*shared(3, 0), Vector3(-15.0f, -16.0f, 0.0f));
    ForgetSharedMeshes();
}

}  // namespace
