// Loading a model from its ".sbm" cache against parsing its OBJ source: a 100 x 100
// grid of 19,602 triangles with normals and texture coordinates, finished as the game
// finishes its models. One run times both and prints "source_ms", "cache_ms" and their
// "ratio" (the cache should be at least ten times faster).
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "core/FileStream.h"
#include "core/MemoryReadStream.h"
#include "engine/ModelCache.h"
#include "engine/ModelNode.h"
#include "engine/ObjReader.h"
#include "engine/Renderer.h"

namespace {

constexpr int kGridSide = 100;

std::string WriteGrid(const std::filesystem::path& folder) {
    const std::string path = (folder / "Grid.obj").string();
    std::ofstream out(path);
    for (int y = 0; y < kGridSide; ++y) {
        for (int x = 0; x < kGridSide; ++x) {
            out << "v " << x * 0.1 << " " << y * 0.1 << " " << ((x * 7 + y * 3) % 5) * 0.01 << "\n";
            out << "vt " << x / double(kGridSide) << " " << y / double(kGridSide) << "\n";
        }
    }
    out << "vn 0 0 1\n";
    for (int y = 0; y + 1 < kGridSide; ++y) {
        for (int x = 0; x + 1 < kGridSide; ++x) {
            const int a = y * kGridSide + x + 1, b = a + 1, c = a + kGridSide, d = c + 1;
            out << "f " << a << "/" << a << "/1 " << b << "/" << b << "/1 " << d << "/" << d << "/1\n";
            out << "f " << a << "/" << a << "/1 " << d << "/" << d << "/1 " << c << "/" << c << "/1\n";
        }
    }
    return path;
}

double Milliseconds(std::chrono::steady_clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

void BM_ModelCacheAgainstSource(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vorns-model-bench";
    std::filesystem::create_directories(folder);
    const String source = WriteGrid(folder).c_str();
    const std::string cache = (folder / "Grid.sbm").string();
    ModelLoadSettings settings;
    settings.firstPassFactor = 0.003f;
    Renderer& renderer = GetRenderer();
    double sourceMs = 0.0, cacheMs = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        ModelNode* parsed = LoadObjModel(source, 1.0f, 0.0f, settings, false);
        sourceMs += Milliseconds(std::chrono::steady_clock::now() - start);
        {
            FileStream out(cache, "wb");
            WriteModelCache(out, *parsed, String(folder.c_str()));
            out.Commit();
        }
        start = std::chrono::steady_clock::now();
        ModelNode root;
        ModelCacheObjects objects;
        MemoryReadStream in = MemoryReadStream::FromFile(cache);
        benchmark::DoNotOptimize(ReadModelCache(in, root, objects));
        cacheMs += Milliseconds(std::chrono::steady_clock::now() - start);
        renderer.ReleaseAll();
    }
    const double runs = double(state.iterations());
    state.counters["source_ms"] = sourceMs / runs;
    state.counters["cache_ms"] = cacheMs / runs;
    state.counters["ratio"] = cacheMs > 0.0 ? sourceMs / cacheMs : 0.0;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ModelCacheAgainstSource)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
