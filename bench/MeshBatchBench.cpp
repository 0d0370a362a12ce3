// A body of twelve parts gathered into one draw while one part moves every frame, as an
// animated arm does: the moved part is turned again in place, the others stay as gathered.
// On the recording device, so the figure is the batch's own CPU.
#include <array>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/MeshBatch.h"
#include "engine/Renderer.h"

namespace {

constexpr int kParts = 12;
constexpr int kSide = 16;  // a part is a grid of kSide x kSide vertices
// The two triangles of a grid square, as offsets from its first corner.
constexpr std::array<std::array<int, 3>, 2> kTriangles = {{{0, 1, kSide}, {1, kSide + 1, kSide}}};

Mesh* Grid(Renderer& renderer, Material* material) {
    Mesh* mesh = renderer.CreateMesh(kSide * kSide, kSide * kSide, 2 * (kSide - 1) * (kSide - 1), 0);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) mesh->AddPosition(Vector3(float(x), float(y), 0.0f));
    }
    for (int i = 0; i < kSide * kSide; ++i) {
        MeshVertex vertex;
        vertex.position = &mesh->positions[i];
        vertex.normal = Vector3(0.0f, 0.0f, 1.0f);
        mesh->AddVertex(vertex);
    }
    for (int y = 0; y + 1 < kSide; ++y) {
        for (int x = 0; x + 1 < kSide; ++x) {
            const int corner = y * kSide + x;
            for (const std::array<int, 3>& triangle : kTriangles) {
                MeshFace face;
                face.material = material;
                for (int c = 0; c < 3; ++c) face.corners[c] = &mesh->vertices[corner + triangle[size_t(c)]];
                mesh->AddFace(face);
            }
        }
    }
    mesh->hasNormals = 1;
    return mesh;
}

void BM_MeshBatchOneMovingPart(benchmark::State& state) {
    Renderer& renderer = GetRenderer();
    Material* material = renderer.CreateMaterial();
    std::vector<Mesh*> parts;
    for (int i = 0; i < kParts; ++i) parts.push_back(Grid(renderer, material));
    MeshBatch batch;
    float angle = 0.0f;
    for (auto _ : state) {
        if (!renderer.GetReady()) break;
        batch.Begin();
        for (int i = 0; i < kParts; ++i) {
            Matrix4 place = i == 0 ? Matrix::RotationZ(angle) : Matrix4();
            place.Translate(Vector3(float(i), 0.0f, 0.0f));
            batch.Add(parts[size_t(i)], place);
        }
        batch.Draw();
        renderer.EndFrame();
        angle += 0.01f;
    }
    state.counters["vertices"] = double(kParts * kSide * kSide);
}

}  // namespace

BENCHMARK(BM_MeshBatchOneMovingPart)->Unit(benchmark::kMicrosecond);
