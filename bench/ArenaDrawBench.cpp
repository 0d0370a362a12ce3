// One arena frame on the recording device: a 64 x 64 map of mixed ground with 100
// rocks, drawn from a camera over its middle as the view widens from a close look to
// past the whole arena. The counters give the device draws and triangles per frame,
// which stay bounded by what is visible (three map copies per axis at most).
#include <memory>

#include <benchmark/benchmark.h>

#include "engine/Renderer.h"
#include "game/Game.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "world/Arena.h"
#include "world/ArenaDrawView.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

namespace {

class BenchGame : public Game {};

class SquareView : public ArenaDrawView {
public:
    explicit SquareView(float halfSide) : half_(halfSide) {}
    void ViewCornersAtHeight(float, Vector3 (&corners)[4]) const override {
        corners[0] = Vector3(320 - half_, 320 - half_, 0);
        corners[1] = Vector3(320 + half_, 320 - half_, 0);
        corners[2] = Vector3(320 + half_, 320 + half_, 0);
        corners[3] = Vector3(320 - half_, 320 + half_, 0);
    }
    Vector3 CameraTarget() const override { return Vector3(320, 320, 0); }

private:
    float half_;
};

void BM_ArenaFrameRecording(benchmark::State& state) {
    sys::SRand(5);
    BenchGame game;
    SetCurrentGame(&game);
    auto arena = std::make_unique<Arena>();
    gArena = arena.get();
    arena->Initialize();
    Terrain& terrain = arena->GetTerrain();
    terrain.Resize(64, 64);
    for (int j = 0; j < 64; ++j) {
        for (int i = 0; i < 64; ++i) terrain.CellAt(i, j).type = TerrainType((i / 5 + j / 7) % kTerrainTypeCount);
    }
    terrain.UpdateAllTileIndices();
    for (int i = 0; i < 100; ++i) {
        WorldObject* rock = arena->NewObjectOfKind(kKindRock);
        arena->AddObject(rock);
        rock->PlaceAt(Vector3(float(i % 10) * 60.0f + 15.0f, float(i / 10) * 60.0f + 15.0f, 0.0f));
    }
    arena->AddScorchMark(Vector3(330, 330, 0), 3.0f);
    SquareView view(float(state.range(0)));
    Renderer& renderer = GetRenderer();
    gfx::Device& device = renderer.GetDevice();
    device.ResetCounters();
    for (auto _ : state) {
        if (!renderer.GetReady()) continue;
        arena->Draw(view);
        renderer.EndFrame();
    }
    const double frames = double(state.iterations());
    state.counters["draws"] = double(device.Stats().drawCalls) / frames;
    state.counters["triangles"] = double(device.Stats().primitives) / frames;
    SetCurrentGame(nullptr);
    arena->Shutdown();
    gArena = nullptr;
}

BENCHMARK(BM_ArenaFrameRecording)->Arg(60)->Arg(150)->Arg(320)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
