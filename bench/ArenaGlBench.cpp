// A battle of two sides of 50 units drawn at 1024 x 768 from the battlefield's tilted
// camera, on the GL backend (an offscreen window) and on the recording device, with one
// simulation step beside them. The argument is the camera's height: as the view zooms out
// toward the whole arena the draw calls stay bounded by what is in view. The data set's
// models are read from the runtime folder the build lays out.
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "core/Sphere.h"
#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "platform/window/SystemWindow.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/ArenaDrawView.h"
#include "world/ObjectKind.h"
#include "world/WorldObject.h"
#include "world/Terrain.h"

#include "GlBench.h"
#include "support/TiltedDrawView.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kUnitsPerSide = 50;

class BenchGame : public Game {
public:
    BenchGame() { playerPaused = 0; }
    void DispatchEvents() override {}
};

// The battle, once per process, on the device that was current when it was made: the GL
// frame needs a process of its own (--benchmark_filter=BattleFrameGl), the others share
// the recording device.
struct Battle {
    BenchGame game;
    std::unique_ptr<Arena> arena;
    Player red;
    Player blue;

    Battle() {
        sys::SRand(7);
        SetCurrentGame(&game);
        arena = std::make_unique<Arena>();
        gArena = arena.get();
        arena->Initialize();
        LoadChassisDefinitions();
        LoadWeaponDefinitions();
        Terrain& terrain = arena->GetTerrain();
        terrain.PaintRect(Rect{80.0f, 0.0f, 160.0f, 160.0f}, kTerrainSand);
        red.name = "Red";
        blue.name = "Blue";
        for (int i = 0; i < 2 * kUnitsPerSide; ++i) {
            const bool left = i < kUnitsPerSide;
            const int k = i % kUnitsPerSide;
            Vorn* unit = arena->NewVorn(0);
            unit->SetPlayer(left ? &red : &blue);
            unit->BuildBody((left ? 0 : 3) + k % 3);
            unit->SetAngle(left ? 0.0f : 3.1416f);
            unit->PlaceAt(Vector3((left ? 20.0f : 100.0f) + float(k % 5) * 9.0f, 10.0f + float(k / 5) * 15.0f, 0.0f));
            arena->AddObject(unit);
            unit->PrepareForBattle();
            if (k % 2 == 0) unit->SetAnimationState(Vorn::kAnimWalk);
        }
    }
    ~Battle() {
        SetCurrentGame(nullptr);
        arena->Shutdown();
        gArena = nullptr;
    }
};

std::unique_ptr<win::SystemWindow> gWindow;
bool gGlTried = false;
std::unique_ptr<Battle> gBattle;

Battle& TheBattle() {
    if (!gBattle) gBattle = std::make_unique<Battle>();
    return *gBattle;
}

// The runtime folder is the working folder for the whole run.
bool EnterGameFolder() {
    std::error_code error;
    std::filesystem::current_path(VORNS_GAME_DIR, error);
    return !error;
}

bool OpenGl() {
    if (gGlTried) return gWindow != nullptr;
    gGlTried = true;
    gWindow = OpenOffscreenGlWindow();
    if (gWindow == nullptr) return false;
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    if (!renderer.InitWindowed(gWindow.get(), 0)) {
        gWindow.reset();
        return false;
    }
    return true;
}

// The unit images of the last frame inside the camera's frustum: the draws should follow
// these, not the units of the whole arena or the copies of it the view spans.
int UnitImagesInView(Battle& battle, Camera& camera) {
    int inView = 0;
    for (const DrawEntry& entry : battle.arena->drawLists[kKindVorn]) {
        if (camera.TestSphere(Sphere(entry.position, entry.object->shape.Radius())) != 1) ++inView;
    }
    return inView;
}

void DrawFrames(benchmark::State& state, Battle& battle, bool present) {
    TiltedDrawView view(Vector3(80.0f, 80.0f, 0.0f), float(state.range(0)), kWidth, kHeight, 2000.0f, 1000.0f);
    Renderer& renderer = GetRenderer();
    gfx::Device& device = renderer.GetDevice();
    battle.game.frameTime = 1.0f / 60.0f;
    device.ResetCounters();
    for (auto _ : state) {
        if (!renderer.GetReady()) continue;
        renderer.SetCamera(view.camera);
        renderer.Clear(Color(0xFF000000u), 1.0f, 3);
        battle.arena->Draw(view);
        renderer.EndFrame();
        if (present) renderer.SwapBuffers();
    }
    const double frames = double(state.iterations());
    state.counters["draws"] = double(device.Stats().drawCalls) / frames;
    state.counters["triangles"] = double(device.Stats().primitives) / frames;
    state.counters["unitsInView"] = double(UnitImagesInView(battle, view.camera));
}

void BM_BattleFrameGl(benchmark::State& state) {
    if (gBattle != nullptr && gWindow == nullptr) {
        state.SkipWithError("the battle is on the recording device: run with --benchmark_filter=BattleFrameGl");
        return;
    }
    if (!EnterGameFolder() || !OpenGl()) {
        state.SkipWithError("no data set or no GL window");
        return;
    }
    DrawFrames(state, TheBattle(), true);
}

void BM_BattleFrameRecording(benchmark::State& state) {
    if (!EnterGameFolder() || gWindow != nullptr) {
        state.SkipWithError("no data set, or the GL device holds the renderer");
        return;
    }
    DrawFrames(state, TheBattle(), false);
}

void BM_BattleSimulationStep(benchmark::State& state) {
    if (!EnterGameFolder()) {
        state.SkipWithError("no data set");
        return;
    }
    Battle& battle = TheBattle();
    battle.game.frameTime = 1.0f / 60.0f;
    for (auto _ : state) {
        battle.arena->AdvanceObjectClocks();
        battle.arena->Update();
        battle.game.clock += battle.game.frameTime;
    }
}

BENCHMARK(BM_BattleSimulationStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BattleFrameRecording)->Arg(60)->Arg(150)->Arg(400)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BattleFrameGl)->Arg(60)->Arg(150)->Arg(400)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
