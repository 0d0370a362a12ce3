// Meshes built once and shared.
#include "engine/SharedMeshes.h"

#include <array>

#include "core/Vector2.h"
#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"

namespace {

constexpr int kGridCells = 64;
constexpr float kGridStep = 0.5f;
constexpr float kGridHalfSide = 16.0f;

RendererRef<Mesh> gShadowMesh;  // emptied by the renderer's release

void AddFlatVertex(Mesh& mesh, int position, Color colour, const Vector2* texCoord) {
    MeshVertex vertex;
    vertex.position = &mesh.positions[position];
    vertex.normal = Vector3(0.0f, 0.0f, 1.0f);
    vertex.color = colour;
    if (texCoord != nullptr) vertex.texCoords.Append(*texCoord);
    mesh.AddVertex(vertex);
}

void AddFace(Mesh& mesh, int a, int b, int c, Material* material) {
    MeshFace face;
    face.material = material;
    face.corners[0] = &mesh.vertices[a];
    face.corners[1] = &mesh.vertices[b];
    face.corners[2] = &mesh.vertices[c];
    face.ComputeNormal();
    mesh.AddFace(face);
}

void Finish(Mesh& mesh, bool textured) {
    mesh.hasNormals = 1;
    mesh.hasColors = 1;
    mesh.texCoordSetCount = textured ? 1 : 0;
    mesh.UpdateBounds();
    GetRenderer().CreateMeshBuffers(&mesh);
}

Mesh* BuildSquare(Material* material, float half, Color colour, float u, float v, float extent) {
    Mesh* mesh = GetRenderer().CreateMesh(4, 4, 2, 0);
    const Vector3 corners[4] = {{-half, -half, 0}, {half, -half, 0}, {half, half, 0}, {-half, half, 0}};
    const Vector2 texCoords[4] = {{u, v}, {u, v + extent}, {u + extent, v + extent}, {u + extent, v}};
    for (const Vector3& corner : corners) mesh->AddPosition(corner);
    for (int k = 0; k < 4; ++k) AddFlatVertex(*mesh, k, colour, &texCoords[k]);
    AddFace(*mesh, 0, 2, 1, material);
    AddFace(*mesh, 0, 3, 2, material);
    Finish(*mesh, true);
    return mesh;
}

}  // namespace

Mesh* BuildTexturedQuadMesh(const String& textureFile, float side, float extent, Color colour, float u, float v) {
    Material* material = GetRenderer().CreateTexturedMaterial(textureFile, -1, -1);
    return BuildSquare(material, side * 0.5f, colour, u, v, extent);
}

Mesh* GetGenericShadowMesh() {
    if (gShadowMesh != nullptr) return gShadowMesh;
    Material* material = GetRenderer().CreateTexturedMaterial(TexturePath("GenericShadow.tga"), -1, -1);
    gShadowMesh = BuildSquare(material, 0.5f, Color::FromRGBA(255, 255, 255, 255), 0.0f, 0.0f, 1.0f);
    return gShadowMesh;
}

void ForgetSharedMeshes() { gShadowMesh = nullptr; }

Mesh* BuildFloorGridMesh() {
    constexpr int side = kGridCells + 1;
    Renderer& renderer = GetRenderer();
    Mesh* mesh = renderer.CreateMesh(side * side, kGridCells * kGridCells * 4, kGridCells * kGridCells * 2, 0);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            mesh->AddPosition(
                Vector3(-kGridHalfSide + kGridStep * float(column), -kGridHalfSide + kGridStep * float(row), 0.0f));
        }
    }
    Material* material = renderer.CreateMaterial();
    const Color green = Color::FromRGBA(0x26, 0x34, 0x2B, 255);
    const std::array<float, 4> colour = green.ToFloats();
    material->diffuse = material->ambient = gfx::ColorValue{colour[0], colour[1], colour[2], colour[3]};
    for (int row = 0; row < kGridCells; ++row) {
        for (int column = 0; column < kGridCells; ++column) {
            const int first = mesh->vertices.Count();
            const int corner = row * side + column;
            for (int position : {corner, corner + 1, corner + side + 1, corner + side}) {
                AddFlatVertex(*mesh, position, green, nullptr);
            }
            // The splitting diagonal alternates like a checkerboard.
            if ((row + column) % 2 == 0) {
                AddFace(*mesh, first, first + 2, first + 1, material);
                AddFace(*mesh, first, first + 3, first + 2, material);
            } else {
                AddFace(*mesh, first, first + 3, first + 1, material);
                AddFace(*mesh, first + 1, first + 3, first + 2, material);
            }
        }
    }
    Finish(*mesh, false);
    return mesh;
}
