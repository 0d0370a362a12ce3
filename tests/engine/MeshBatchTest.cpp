// Parts gathered into one draw per material, and gathered again when one drops out.
#include <gtest/gtest.h>

#include "engine/DynamicMesh.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/MeshBatch.h"
#include "engine/Renderer.h"
#include "platform/gfx/Buffer.h"
#include "platform/gfx/Device.h"

namespace {

// One triangle at the origin showing the material.
Mesh* Triangle(Renderer& renderer, Material* material) {
    Mesh* mesh = renderer.CreateMesh(3, 3, 1, 0);
    for (const Vector3& p : {Vector3(0, 0, 0), Vector3(1, 0, 0), Vector3(0, 1, 0)}) mesh->AddPosition(p);
    for (int i = 0; i < 3; ++i) {
        MeshVertex vertex;
        vertex.position = &mesh->positions[i];
        vertex.normal = Vector3(0, 0, 1);
        mesh->AddVertex(vertex);
    }
    MeshFace face;
    face.material = material;
    for (int c = 0; c < 3; ++c) face.corners[c] = &mesh->vertices[c];
    mesh->AddFace(face);
    mesh->hasNormals = 1;
    return mesh;
}

Matrix4 Moved(float x) {
    Matrix4 m = Matrix::RotationZ(1.5707964f);
    m.Translate(Vector3(x, 0, 0));
    return m;
}

TEST(MeshBatchTest, PartsOfOneMaterialTakeOneDrawAndADroppedPartNoLongerShows) {
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    Material* painted = renderer.CreateMaterial();
    Material* other = renderer.CreateMaterial();
    Mesh* a = Triangle(renderer, painted);
    Mesh* b = Triangle(renderer, painted);
    Mesh* c = Triangle(renderer, other);
    gfx::Device& device = renderer.GetDevice();
    ASSERT_TRUE(renderer.GetReady());
    MeshBatch batch;
    batch.Begin();
    batch.Add(a, Matrix4());
    batch.Add(b, Moved(5.0f));
    batch.Add(c, Moved(9.0f));
    device.ResetCounters();
    batch.Draw();
    EXPECT_EQ(device.Stats().drawCalls, 2u);
    EXPECT_EQ(batch.GroupCount(), 2);

    // A part that drops out of view no longer shows, even though its material's group
    // stays.
    batch.Begin();
    batch.Add(a, Matrix4());
    device.ResetCounters();
    batch.Draw();
    EXPECT_EQ(device.Stats().drawCalls, 1u);
    EXPECT_EQ(device.Stats().primitives, 1u);
    renderer.EndFrame();
    renderer.Shutdown();
}

TEST(MeshBatchTest, AMovedPartIsTurnedAgainInPlaceAndANewLevelGathersAgain) {
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    Material* painted = renderer.CreateMaterial();
    Mesh* a = Triangle(renderer, painted);
    Mesh* b = Triangle(renderer, painted);
    Mesh* coarse = Triangle(renderer, painted);
    ASSERT_TRUE(renderer.GetReady());
    MeshBatch batch;
    auto draw = [&](Mesh* second, const Matrix4& where) {
        batch.Begin();
        batch.Add(a, Matrix4());
        batch.Add(second, where);
        batch.Draw();
        return &batch.GroupMesh(0);
    };
    const DynamicMesh* group = draw(b, Moved(5.0f));
    ASSERT_EQ(group->vertices.Count(), 6);
    // The second part's corner (1, 0, 0) turned a quarter and moved: (5, 1, 0).
    EXPECT_NEAR(group->vertices[4].position->x, 5.0f, 1e-5f);
    EXPECT_NEAR(group->vertices[4].position->y, 1.0f, 1e-5f);
    const DynamicMesh* moved = draw(b, Moved(8.0f));
    EXPECT_EQ(moved, group);
    EXPECT_NEAR(moved->vertices[4].position->x, 8.0f, 1e-5f);
    EXPECT_NEAR(moved->vertices[1].position->x, 1.0f, 1e-5f);
    EXPECT_NEAR(moved->vertices[4].normal.z, 1.0f, 1e-5f);
    // What the device draws: the moved part's vertices rewritten in place, the rest as before.
    auto drawnX = [&](int vertex) {
        const float* floats = reinterpret_cast<const float*>(moved->vertexBuffer->Data());
        return floats[vertex * moved->vertexSize];
    };
    EXPECT_NEAR(drawnX(4), 8.0f, 1e-5f);
    EXPECT_NEAR(drawnX(3), 8.0f, 1e-5f);
    EXPECT_NEAR(drawnX(1), 1.0f, 1e-5f);
    EXPECT_EQ(moved->uploadedFaces, 2);
    // Another mesh in the second place (a coarser level) is gathered, not turned.
    coarse->positions[1] = Vector3(2.0f, 0.0f, 0.0f);
    const DynamicMesh* other = draw(coarse, Moved(8.0f));
    EXPECT_NEAR(other->vertices[4].position->y, 2.0f, 1e-5f);
    EXPECT_EQ(other->faces.Count(), 2);
    renderer.EndFrame();
    renderer.Shutdown();
}

}  // namespace
