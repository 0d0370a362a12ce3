// Finishing and simplifying a loaded mesh at three sizes (about 2k, 20k and 200k
// triangles), so that the growth of the cost shows: welding (merging positions and
// vertices, adjacency and smooth normals, as every model reader does) and building the
// levels of detail. The mesh is a bumpy grid; "faces" is its triangle count.
#include <cmath>
#include <memory>

#include <benchmark/benchmark.h>

#include "engine/Mesh.h"

namespace {

float Height(int x, int y) { return 2.0f * std::sin(float(x) * 0.37f) * std::cos(float(y) * 0.23f); }

// cells x cells squares of two triangles, every corner with a position and a vertex of
// its own, as a model reader leaves a mesh before welding.
std::unique_ptr<Mesh> LooseGrid(int cells) {
    const int faces = cells * cells * 2;
    auto mesh = std::make_unique<Mesh>(faces * 3, faces * 3, faces, 0);
    auto corner = [&](int x, int y) {
        MeshVertex vertex;
        vertex.position = &mesh->positions[mesh->AddPosition({float(x), float(y), Height(x, y)})];
        return mesh->AddVertex(vertex);
    };
    auto triangle = [&](int a, int b, int c) {
        MeshFace face;
        face.corners[0] = &mesh->vertices[a];
        face.corners[1] = &mesh->vertices[b];
        face.corners[2] = &mesh->vertices[c];
        mesh->AddFace(face);
    };
    for (int y = 0; y < cells; ++y) {
        for (int x = 0; x < cells; ++x) {
            triangle(corner(x, y), corner(x + 1, y + 1), corner(x + 1, y));
            triangle(corner(x, y), corner(x, y + 1), corner(x + 1, y + 1));
        }
    }
    return mesh;
}

void Weld(Mesh& mesh) {
    mesh.MergePositions();
    mesh.MergeVertices();
    mesh.UpdateBounds();
    mesh.BuildAdjacency();
    mesh.ComputeNormals(6.2831853f);
}

// 32, 100 and 316 cells a side: 2,048, 20,000 and 199,712 triangles.
void Sizes(benchmark::internal::Benchmark* bench) { bench->Arg(32)->Arg(100)->Arg(316)->Unit(benchmark::kMillisecond); }

void BM_MeshWeld(benchmark::State& state) {
    const int cells = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Mesh> mesh = LooseGrid(cells);
        state.ResumeTiming();
        Weld(*mesh);
        benchmark::DoNotOptimize(mesh->vertices.Count());
    }
    state.counters["faces"] = cells * cells * 2;
}
BENCHMARK(BM_MeshWeld)->Apply(Sizes);

void BM_MeshSimplify(benchmark::State& state) {
    const int cells = int(state.range(0));
    int levels = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<Mesh> mesh = LooseGrid(cells);
        Weld(*mesh);
        state.ResumeTiming();
        mesh->BuildLevelsOfDetail(0.0f, 0.5f, true);
        levels = mesh->levels.Count();
    }
    state.counters["faces"] = cells * cells * 2;
    state.counters["levels"] = levels;
}
BENCHMARK(BM_MeshSimplify)->Apply(Sizes);

}  // namespace
