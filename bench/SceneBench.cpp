// A cut-scene of 20 actors on the grass background, played for 60 s at 30 frames a
// second on the recording device and on GL: the time of one frame (update and drawing)
// and the device draws it takes. The models come from the runtime folder beside the bench.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <benchmark/benchmark.h>

#include "GlBench.h"
#include "engine/Renderer.h"
#include "engine/SharedMeshes.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "scenes/Scene.h"

namespace {

constexpr int kActors = 20;
constexpr int kFrames = 60 * 30;

const char* const kKinds[] = {"RobotSmallVorn",  "RobotMediumVorn", "RobotLargeVorn", "StalkSmallVorn",
                              "StalkMediumVorn", "StalkLargeVorn",  "Bunny",          "PineTree",
                              "OakTree",         "SoccerBall"};

// Every actor walks across the grass for the whole minute.
std::string TwentyActorScript() {
    std::ostringstream script;
    script << "Background City\nActor Professor Prof\n";
    for (int i = 0; i < kActors; ++i) script << "Actor " << kKinds[i % 10] << " A" << i << "\n";
    script << "Stage\nTime 60\nCamera\nPosition 0 -22 8\nLookAt 0 0 1\nEnd\n";
    for (int i = 0; i < kActors; ++i) {
        const float x = float(i % 5) * 4.0f - 8.0f;
        const float y = float(i / 5) * 4.0f - 6.0f;
        script << "A" << i << "\nFrom " << x << " " << y << " 0\nTo " << -x << " " << -y
               << " 0\nSpeed 0.02\nAnimationLoop Walk Walk\nEnd\n";
    }
    script << "End\n";
    return script.str();
}

void PlayTwentyActors(benchmark::State& state, bool onGl) {
    const std::filesystem::path runtime =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
    if (!std::filesystem::exists(runtime / "Actors")) {
        state.SkipWithError("no runtime folder with the data set");
        return;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("scene-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "Scenes" / "English");
    for (const char* linked : {"Actors", "Textures", "Sounds", "Speech"}) {
        std::filesystem::create_directory_symlink(runtime / linked, folder / linked);
    }
    std::ofstream(folder / "Scenes" / "English" / "Twenty.SCE") << TwentyActorScript();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    sys::SRand(7);
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    // The window outlives the renderer that draws into it.
    std::unique_ptr<win::SystemWindow> window;
    if (onGl) window = OpenBenchRenderer(state, renderer);
    if (!onGl || window != nullptr) {
        Scene scene;
        scene.Load("Twenty");
        scene.Restart();
        gfx::Device& device = renderer.GetDevice();
        device.ResetCounters();
        for (auto _ : state) {
            scene.Update(1.0f / 30.0f);
            if (!renderer.GetReady()) continue;
            scene.Draw();
            renderer.EndFrame();
        }
        state.counters["draws"] = double(device.Stats().drawCalls) / double(state.iterations());
        state.counters["actors"] = double(scene.Actors().size());
    }
    Scene::FreeSharedResources();
    ForgetSharedMeshes();
    renderer.Shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

void BM_SceneTwentyActorsRecording(benchmark::State& state) { PlayTwentyActors(state, false); }
void BM_SceneTwentyActorsGl(benchmark::State& state) { PlayTwentyActors(state, true); }

BENCHMARK(BM_SceneTwentyActorsRecording)->Iterations(kFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneTwentyActorsGl)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
