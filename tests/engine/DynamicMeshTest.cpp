// Meshes, quads and dynamic meshes on the recording device: vertex layouts, uploads of
// changed vertices, buffers that grow with their geometry, and subsets by material.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/DynamicMesh.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "platform/gfx/DeviceMesh.h"
#include "platform/gfx/RecordingAdapter.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/window/SystemWindow.h"

namespace {

std::vector<float> Floats(const uint8_t* bytes, size_t count) {
    std::vector<float> out(count);
    std::memcpy(out.data(), bytes, count * sizeof(float));
    return out;
}

uint32_t Word(const uint8_t* bytes) {
    uint32_t w = 0;
    std::memcpy(&w, bytes, 4);
    return w;
}

// A strip of n triangles over n + 2 vertices along x.
void FillStrip(DynamicMesh& mesh, int triangles) {
    for (int i = 0; i < triangles + 2; ++i) {
        mesh.AddPosition(Vector3(float(i), float(i % 2), 0));
    }
    for (int i = 0; i < triangles + 2; ++i) {
        MeshVertex v;
        v.position = &mesh.positions[i];
        v.color = Color(0xFF000000u | uint32_t(i));
        mesh.AddVertex(v);
    }
    for (int i = 0; i < triangles; ++i) {
        MeshFace f;
        f.corners[0] = &mesh.vertices[i];
        f.corners[1] = &mesh.vertices[i + 1];
        f.corners[2] = &mesh.vertices[i + 2];
        mesh.AddFace(f);
    }
}

gfx::RecordingDevice& Recording(Renderer& renderer) {
    return dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
}

TEST(DynamicMeshTest, BuffersHoldEveryVertexInTheSharedLayout) {
    Renderer renderer;
    DynamicMesh* mesh = renderer.CreateDynamicMesh(4, 4, 2);
    mesh->hasNormals = 1;
    mesh->hasColors = 1;
    mesh->texCoordSetCount = 1;
    FillStrip(*mesh, 2);
    mesh->vertices[1].normal = Vector3(0, 0, -1);
    mesh->vertices[1].texCoords.Append(Vector2(0.25f, 0.75f));
    renderer.CreateDynamicMeshBuffers(mesh);

    EXPECT_EQ(mesh->format, gfx::kFormatPosition | gfx::kFormatNormal | gfx::kFormatDiffuse | gfx::FormatTex(1));
    EXPECT_EQ(mesh->vertexSize, 3 + 3 + 1 + 2);
    ASSERT_TRUE(mesh->HasBuffers());
    EXPECT_EQ(mesh->vertexBuffer->Size(), 4u * 9 * 4);
    EXPECT_EQ(mesh->indexBuffer->Size(), 2u * 6);
    const uint8_t* v1 = mesh->vertexBuffer->Data() + 9 * 4;
    const std::vector<float> f = Floats(v1, 9);
    EXPECT_EQ(f[0], 1.0f);
    EXPECT_EQ(f[1], 1.0f);
    EXPECT_EQ(f[5], -1.0f);
    EXPECT_EQ(Word(v1 + 6 * 4), 0xFF000001u);
    EXPECT_EQ(f[7], 0.25f);
    EXPECT_EQ(f[8], 0.75f);
    // Vertex 0 has no coordinates: (0, 0).
    EXPECT_EQ(Floats(mesh->vertexBuffer->Data() + 7 * 4, 2), (std::vector<float>{0, 0}));
    const uint8_t* indices = mesh->indexBuffer->Data();
    const uint16_t expected[6] = {0, 1, 2, 1, 2, 3};
    EXPECT_EQ(std::memcmp(indices, expected, sizeof expected), 0);
}

TEST(DynamicMeshTest, OutgrownBuffersAreMadeAgainAtDoubleSize) {
    Renderer renderer;
    DynamicMesh* mesh = renderer.CreateDynamicMesh(2, 3, 1);
    FillStrip(*mesh, 1);
    renderer.CreateDynamicMeshBuffers(mesh);
    EXPECT_EQ(mesh->vertexCapacity, 3);

    // Ten triangles: 12 vertices and 10 faces overrun 3 and 1.
    mesh->positions.Clear();
    mesh->vertices.Clear();
    mesh->faces.Clear();
    FillStrip(*mesh, 10);
    renderer.UpdateDynamicMeshBuffers(mesh);
    EXPECT_EQ(mesh->vertexCapacity, 12);
    EXPECT_EQ(mesh->faceCapacity, 16);
    EXPECT_EQ(mesh->vertexBuffer->Size(), 12u * 3 * 4);
    EXPECT_EQ(Floats(mesh->vertexBuffer->Data() + 10 * 12, 3), (std::vector<float>{10, 0, 0}));
    EXPECT_EQ(Recording(renderer).Stats().VertexBuffersAlive(), 1u);

    ASSERT_TRUE(renderer.GetReady());
    renderer.RenderDynamicMesh(mesh);
    EXPECT_EQ(renderer.GetDevice().Stats().primitives, 10u);
}

TEST(DynamicMeshTest, LargeMeshesTakeThirtyTwoBitIndices) {
    Renderer renderer;
    DynamicMesh* mesh = renderer.CreateDynamicMesh(0, 70000, 1);
    FillStrip(*mesh, 1);
    for (int i = 3; i < 70000; ++i) {
        MeshVertex v;
        mesh->AddVertex(v);
    }
    mesh->faces[0].corners[2] = &mesh->vertices[69999];
    renderer.CreateDynamicMeshBuffers(mesh);
    EXPECT_EQ(mesh->indexBuffer->Format(), gfx::IndexFormat::Index32);
    EXPECT_EQ(Word(mesh->indexBuffer->Data() + 8), 69999u);
}

TEST(DynamicMeshTest, NothingIsWrittenOrDrawnWithoutFaces) {
    Renderer renderer;
    DynamicMesh* mesh = renderer.CreateDynamicMesh(4, 4, 2);
    FillStrip(*mesh, 2);
    renderer.CreateDynamicMeshBuffers(mesh);
    const std::vector<uint8_t> before(mesh->vertexBuffer->Data(),
                                      mesh->vertexBuffer->Data() + mesh->vertexBuffer->Size());
    mesh->faces.Clear();
    mesh->positions[0] = Vector3(9, 9, 9);
    renderer.UpdateDynamicMeshBuffers(mesh);
    EXPECT_EQ(std::memcmp(before.data(), mesh->vertexBuffer->Data(), before.size()), 0);

    DynamicMesh* empty = renderer.CreateDynamicMesh(4, 4, 2);
    renderer.CreateDynamicMeshBuffers(empty);
    ASSERT_TRUE(renderer.GetReady());
    renderer.RenderDynamicMesh(empty);
    EXPECT_EQ(renderer.GetDevice().Stats().drawCalls, 0u);
}

TEST(DynamicMeshTest, DestroyingRemovesOnlyRegisteredMeshes) {
    Renderer renderer;
    DynamicMesh* mesh = renderer.CreateDynamicMesh(4, 4, 2);
    FillStrip(*mesh, 2);
    renderer.CreateDynamicMeshBuffers(mesh);
    DynamicMesh stranger(1, 1, 1);
    renderer.DestroyDynamicMesh(&stranger);
    EXPECT_EQ(renderer.GetDevice().Stats().VertexBuffersAlive(), 1u);
    renderer.DestroyDynamicMesh(mesh);
    EXPECT_EQ(renderer.GetDevice().Stats().VertexBuffersAlive(), 0u);
    EXPECT_EQ(renderer.GetDevice().Stats().dynamicAlive, 0u);
}

TEST(DynamicMeshTest, GrowingArraysKeepReferencesPointingAtTheSameElements) {
    DynamicMesh mesh(1, 1, 1);
    FillStrip(mesh, 5);
    EXPECT_EQ(*mesh.vertices[6].position, Vector3(6, 0, 0));
    EXPECT_EQ(mesh.faces[4].corners[2], &mesh.vertices[6]);
}

// --- device meshes

// A triangle mesh with normals and two coordinate sets per vertex.
Mesh* MakeTriangles(Renderer& renderer, int faces, Material* first, Material* second) {
    Mesh* mesh = renderer.CreateMesh(0, 0, 0, 0);
    mesh->hasNormals = 1;
    mesh->texCoordSetCount = 2;
    for (int i = 0; i < faces * 3; ++i) {
        mesh->AddPosition(Vector3(float(i), float(i * i), 1));
    }
    for (int i = 0; i < faces * 3; ++i) {
        MeshVertex v;
        v.position = &mesh->positions[i];
        v.normal = Vector3(0, 1, 0);
        v.texCoords.Append(Vector2(0.5f, 0.5f));
        v.texCoords.Append(Vector2(0.1f, 0.2f));
        mesh->AddVertex(v);
    }
    for (int f = 0; f < faces; ++f) {
        MeshFace face;
        face.material = f % 2 == 0 ? first : second;
        for (int c = 0; c < 3; ++c) face.corners[c] = &mesh->vertices[3 * f + c];
        mesh->AddFace(face);
    }
    return mesh;
}

TEST(DeviceMeshTest, FormatCarriesNoMoreCoordinateSetsThanTheDeviceSamples) {
    auto window = win::OpenWindow(win::WindowBackend::Scripted, win::WindowDesc{}).window;
    auto adapter = std::make_unique<gfx::RecordingAdapter>();
    gfx::DeviceCaps caps;
    caps.maxSimultaneousTextures = 1;
    adapter->SetCaps(caps);
    Renderer renderer;
    renderer.SetAdapter(std::move(adapter));
    ASSERT_TRUE(renderer.InitWindowed(window.get(), 0));
    Mesh* mesh = MakeTriangles(renderer, 1, nullptr, nullptr);
    renderer.CreateMeshBuffers(mesh);
    ASSERT_NE(mesh->deviceMesh, nullptr);
    EXPECT_EQ(mesh->deviceMesh->Format(), gfx::kFormatPosition | gfx::kFormatNormal | gfx::FormatTex(1));
}

TEST(DeviceMeshTest, SubsetsFollowMaterialOrderAndNoneDrawsTheDefault) {
    Renderer renderer;
    Material* a = renderer.CreateMaterial();
    Material* b = renderer.CreateMaterial();
    a->diffuse = {1, 0, 0, 1};
    b->diffuse = {0, 1, 0, 1};
    Mesh* mesh = MakeTriangles(renderer, 4, b, nullptr);
    mesh->faces[1].material = a;
    renderer.CreateMeshBuffers(mesh);
    ASSERT_EQ(mesh->subsetMaterials.Count(), 3);
    EXPECT_EQ(mesh->subsetMaterials[0], nullptr);
    EXPECT_EQ(mesh->subsetMaterials[1], std::min(a, b));
    EXPECT_EQ(mesh->subsetMaterials[2], std::max(a, b));

    gfx::Device& device = renderer.GetDevice();
    ASSERT_TRUE(renderer.GetReady());
    renderer.DrawMeshSubsets(mesh);
    EXPECT_EQ(device.Stats().drawCalls, 3u);
    EXPECT_EQ(device.Stats().primitives, 4u);
    // The last subset drawn is the higher address.
    EXPECT_EQ(device.GetMaterial().diffuse, std::max(a, b)->diffuse);

    // A second creation leaves the device mesh alone.
    const gfx::DeviceMesh* made = mesh->deviceMesh.get();
    renderer.CreateMeshBuffers(mesh);
    EXPECT_EQ(mesh->deviceMesh.get(), made);
}

TEST(DeviceMeshTest, UploadsOnlyWhatChangedAndOnlyWhenDirty) {
    Renderer renderer;
    Mesh* mesh = MakeTriangles(renderer, 1, nullptr, nullptr);
    renderer.CreateMeshBuffers(mesh);
    gfx::DeviceMesh& device = *mesh->deviceMesh;
    const uint32_t stride = device.Stride();
    auto vertexFloats = [&](int vertex) {
        uint8_t* bytes = nullptr;
        device.LockVertexBuffer(bytes);
        std::vector<float> out = Floats(bytes + vertex * stride, stride / 4);
        device.UnlockVertexBuffer();
        return out;
    };
    EXPECT_EQ(vertexFloats(2)[0], 2.0f);

    // Change bits without the dirty byte: nothing goes up.
    mesh->positions[2] = Vector3(7, 7, 7);
    mesh->vertices[2].normal = Vector3(1, 0, 0);
    mesh->changeBits[2] = kVertexChangePosition;
    renderer.UpdateMeshBuffers(mesh);
    EXPECT_EQ(vertexFloats(2)[0], 2.0f);

    // Dirty: the position goes up, the normal (no bit) does not.
    mesh->dirty = 1;
    renderer.UpdateMeshBuffers(mesh);
    const std::vector<float> after = vertexFloats(2);
    EXPECT_EQ(after[0], 7.0f);
    EXPECT_EQ(after[3], 0.0f);
    EXPECT_EQ(mesh->changeBits[2], 0u);
    EXPECT_EQ(mesh->dirty, 0);

    renderer.SetMeshTexCoord(mesh, 1, 0.75f, 0.5f, 1);
    renderer.UpdateMeshBuffers(mesh);
    EXPECT_EQ(vertexFloats(1)[8], 0.75f);
}

TEST(DeviceMeshTest, MeshThatChangedItsCountsGetsANewDeviceMesh) {
    Renderer renderer;
    Mesh* mesh = MakeTriangles(renderer, 1, nullptr, nullptr);
    renderer.CreateMeshBuffers(mesh);
    const int p = mesh->AddPosition(Vector3(5, 5, 5));
    MeshVertex v;
    v.position = &mesh->positions[p];
    mesh->AddVertex(v);
    MeshFace face;
    face.corners[0] = &mesh->vertices[0];
    face.corners[1] = &mesh->vertices[1];
    face.corners[2] = &mesh->vertices[3];
    mesh->AddFace(face);
    mesh->dirty = 1;
    renderer.UpdateMeshBuffers(mesh);
    ASSERT_NE(mesh->deviceMesh, nullptr);
    EXPECT_EQ(mesh->deviceMesh->VertexCount(), 4u);
    EXPECT_EQ(mesh->deviceMesh->FaceCount(), 2u);
    ASSERT_TRUE(renderer.GetReady());
    renderer.DrawMeshSubsets(mesh);
    EXPECT_EQ(renderer.GetDevice().Stats().primitives, 2u);
}

TEST(DeviceMeshTest, MeshWithoutFacesGetsNoDeviceMeshAndDrawsNothing) {
    Renderer renderer;
    Mesh* mesh = renderer.CreateMesh(1, 1, 0, 0);
    mesh->AddPosition(Vector3());
    renderer.CreateModelMeshes(mesh);
    EXPECT_EQ(mesh->deviceMesh, nullptr);
    renderer.RenderMesh(mesh, true);
    EXPECT_EQ(renderer.GetDevice().Stats().drawCalls, 0u);
}

// --- quads

TEST(QuadTest, CornersTurnAndFlip) {
    Renderer renderer;
    Material* material = renderer.CreateMaterial();
    material->stages.Append(TextureStageSettings());
    material->stages.Append(TextureStageSettings());
    Mesh* quad = renderer.CreateQuad(QuadRect{1, 2, 3, 4}, material, 0.5f, 0, 0);
    ASSERT_EQ(quad->faces.Count(), 2);
    EXPECT_EQ(quad->positions[2], Vector3(3, 4, 0.5f));
    EXPECT_EQ(quad->texCoordSetCount, 2);
    EXPECT_EQ(quad->vertices[1].texCoords[1], Vector2(1, 0));
    EXPECT_EQ(quad->vertices[0].normal, Vector3(0, 0, -1));
    EXPECT_EQ(quad->faces[0].neighbours[2], &quad->faces[1]);
    EXPECT_EQ(quad->faces[1].neighbours[0], &quad->faces[0]);
    EXPECT_EQ(quad->faces[1].material, material);
    EXPECT_TRUE(quad->hasColors);
    EXPECT_EQ(quad->vertices[3].color, Color(0xFFFFFFFFu));

    EXPECT_EQ(renderer.CreateQuad(QuadRect{0, 0, 1, 1}, material, 0, 1, 0)->vertices[0].texCoords[0], Vector2(1, 0));
    EXPECT_EQ(renderer.CreateQuad(QuadRect{0, 0, 1, 1}, material, 0, 4, 0)->vertices[0].texCoords[0], Vector2(0, 0));

    Mesh* flipped = renderer.CreateQuad(QuadRect{0, 0, 1, 1}, material, 0, 0, 1);
    EXPECT_EQ(flipped->vertices[0].texCoords[0], Vector2(0, 1));
    EXPECT_EQ(flipped->vertices[0].normal, Vector3(0, 0, 1));
    EXPECT_EQ(flipped->faces[0].corners[1], &flipped->vertices[2]);
    EXPECT_EQ(flipped->faces[0].neighbours[0], &flipped->faces[1]);

    Mesh* coloured = renderer.CreateColoredQuad(QuadRect{0, 0, 2, 2}, Color(0x80FF0000u), 0, 0, 0);
    EXPECT_EQ(coloured->texCoordSetCount, 0);
    EXPECT_EQ(coloured->vertices[2].color, Color(0x80FF0000u));
    EXPECT_FLOAT_EQ(coloured->bounds.radius, std::sqrt(2.0f));
}

}  // namespace
