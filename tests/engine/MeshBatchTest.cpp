// Parts gathered into one draw per material, and gathered again when one drops out.
#include <gtest/gtest.h>

#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/MeshBatch.h"
#include "engine/Renderer.h"
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

}  // namespace
