// The scenes behind the title menu, played from the data set on GL at 1024 x 768 as the
// menu plays them: update, draw, present, and the next scene when one ends; and the title
// menu itself over each of its scenes and over none. The time is
// the process's processor time per frame (the software rasteriser's threads included),
// which is what an idle title menu costs the machine; read it as a ratio to
// BM_ReferenceSceneGl of the same run. The counters give the device's draws and
// triangles per frame.
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>

#include <benchmark/benchmark.h>

#include "GlBench.h"
#include "core/Image.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "engine/SharedMeshes.h"
#include "game/Game.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Random.h"
#include "scenes/Scene.h"
#include "screens/BackgroundScene.h"
#include "screens/MainMenu.h"
#include "ui/WindowManager.h"

namespace {

// The title menu's scenes, one of each background kind (stage, grass, sand, laboratory).
const char* const kScenes[] = {"SmallEmotions", "SmallSneaky", "RockAttack", "SmallMainMenu"};
constexpr float kFrameSeconds = 1.0f / 60.0f;
constexpr int kFrames = 600;

// Every scene the title menu picks from; the last case is the menu over no scene.
const char* const kTitleScenes[] = {"SmallEmotions", "SmallSneaky", "SmallStalkSideToSide", "SmallSideToSide",
                                    "RockAttack",    "TreeHide",    "MissileChase",         "SmallMainMenu",
                                    "Winning2",      "Test"};
constexpr int kNoScene = int(std::size(kTitleScenes));

rusage ProcessUsage() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage;
}

double CpuSeconds(const rusage& usage) {
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + 1.0e-6 * double(t.tv_usec); };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double MainThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1.0e-9 * double(now.tv_nsec);
}

void PlayFrame(Scene& scene, Renderer& renderer) {
    if (scene.IsFinished()) scene.Restart();
    scene.Update(kFrameSeconds);
    if (!renderer.GetReady()) return;
    renderer.Clear(Color(0xFF000000u), 1.0f, 3);
    scene.Draw();
    renderer.EndFrame();
    renderer.SwapBuffers();
}

// Starts the renderer on a bench window from the runtime folder with the title menu's
// seed and font, hands it to measure, and puts everything back.
template <class Measure>
void OnTitleRenderer(benchmark::State& state, Measure measure) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::error_code error;
    std::filesystem::current_path(VORNS_GAME_DIR, error);
    if (error) {
        state.SkipWithError("no runtime folder with the data set");
        return;
    }
    sys::SRand(7);
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    // The window outlives the renderer that draws into it.
    std::unique_ptr<win::SystemWindow> window = OpenBenchRenderer(state, renderer);
    if (window != nullptr) {
        renderer.LoadFont(GetFont(), TexturePath("VornsFontEnglish.tga"), 1);
        measure(renderer);
        GetFont() = Font();
    }
    ForgetSharedMeshes();
    renderer.Shutdown();
    std::filesystem::current_path(previous);
}

// Plays three frames first, which make the materials and buffers made once, then times
// the state's loop.
template <class Frame>
void MeasureFrames(benchmark::State& state, Renderer& renderer, Frame frame) {
    for (int i = 0; i < 3; ++i) frame();
    gfx::Device& device = renderer.GetDevice();
    device.ResetCounters();
    const rusage start = ProcessUsage();
    const double mainStart = MainThreadSeconds();
    for (auto _ : state) frame();
    const double mainEnd = MainThreadSeconds();
    const rusage end = ProcessUsage();
    const double frames = double(state.iterations());
    state.counters["cpu_ms_per_frame"] = 1000.0 * (CpuSeconds(end) - CpuSeconds(start)) / frames;
    // The rest is the software rasteriser's threads.
    state.counters["main_ms_per_frame"] = 1000.0 * (mainEnd - mainStart) / frames;
    // Pages the frames touched afresh: memory handed back to the system and taken again.
    state.counters["page_faults"] = double(end.ru_minflt - start.ru_minflt) / frames;
    state.counters["draws"] = double(device.Stats().drawCalls) / frames;
    state.counters["triangles"] = double(device.Stats().primitives) / frames;
    state.counters["buffer_kb"] = double(device.Stats().bufferBytesSent) / 1024.0 / frames;
}

void BM_TitleSceneGl(benchmark::State& state) {
    const char* name = kScenes[state.range(0)];
    state.SetLabel(name);
    OnTitleRenderer(state, [&](Renderer& renderer) {
        {
            Scene scene;
            scene.Load(name);
            scene.Restart();
            MeasureFrames(state, renderer, [&] { PlayFrame(scene, renderer); });
        }
        Scene::FreeSharedResources();
    });
}

// The application's frame on the title menu: the screen camera, the clear, the open
// windows, present.
void PlayMenuFrame(Renderer& renderer) {
    BackgroundScene& background = GetBackgroundScene();
    background.Update(kFrameSeconds);
    if (background.IsFinished()) background.Start(background.Name());
    if (!renderer.GetReady()) return;
    renderer.SetCamera(GetScreenCamera());
    renderer.Clear(Color(0xFF000000u), 1.0f, 3);
    GetWindowManager().RenderAll();
    renderer.EndFrame();
    renderer.SwapBuffers();
}

// Draws one more menu frame and gives a checksum of its pixels, read before the present:
// changes that are meant to leave the picture alone keep it.
uint32_t MenuFrameChecksum(Renderer& renderer) {
    GetBackgroundScene().Update(kFrameSeconds);
    if (!renderer.GetReady()) return 0;
    renderer.SetCamera(GetScreenCamera());
    renderer.Clear(Color(0xFF000000u), 1.0f, 3);
    GetWindowManager().RenderAll();
    renderer.EndFrame();
    Image frame;
    uint32_t sum = 2166136261u;
    if (renderer.GetDevice().ReadBackBuffer(frame) == gfx::Result::Ok) {
        for (int i = 0; i < frame.Width() * frame.Height(); ++i) sum = (sum ^ frame.Pixels()[i].argb) * 16777619u;
    }
    renderer.SwapBuffers();
    return sum;
}

// Runs `measure` with the main menu open over the title scene `index` (or none).
template <typename Measure>
void OnTitleMenu(benchmark::State& state, int index, Measure measure) {
    state.SetLabel(index == kNoScene ? "no scene" : kTitleScenes[index]);
    OnTitleRenderer(state, [&](Renderer& renderer) {
        GetScreenCamera().SetScreenView(IntRect(0, 0, 1023, 767), true);
        if (index != kNoScene) CreateSharedScene();
        MainMenu menu;
        GetWindowManager().OpenWindow(&menu);
        if (index != kNoScene) GetBackgroundScene().Start(kTitleScenes[index]);
        measure(renderer);
        GetWindowManager().CloseAllWindows();
        DestroySharedScene();
    });
}

void BM_TitleMenuGl(benchmark::State& state) {
    OnTitleMenu(state, int(state.range(0)),
                [&](Renderer& renderer) { MeasureFrames(state, renderer, [&] { PlayMenuFrame(renderer); }); });
}

// The title menu as the game runs it when idle: each frame begins no sooner than the
// clock's shortest frame after the one before, the rest of which the process sleeps. The
// processor time per frame of work is what the idle menu costs; "spacing_ms" is the
// time from one frame's start to the next one's, never below the shortest frame.
void BM_TitleMenuPacedGl(benchmark::State& state) {
    const int index = int(state.range(0));
    OnTitleMenu(state, index, [&](Renderer& renderer) {
        using Clock = std::chrono::steady_clock;
        const auto shortest = std::chrono::duration<double>(Game::kMinFrameTime);
        Clock::time_point frameStart{};
        double spacingTotal = 0.0;
        double spacingLeast = 1.0e9;
        int spacings = 0;
        auto pacedFrame = [&] {
            if (frameStart != Clock::time_point{}) {
                const auto due = frameStart + std::chrono::duration_cast<Clock::duration>(shortest);
                // Sleeps only: a wait that spun would count as the frame's work.
                for (auto now = Clock::now(); now < due; now = Clock::now())
                    sys::SleepSeconds(std::chrono::duration<double>(due - now).count());
                const double spacing = std::chrono::duration<double>(Clock::now() - frameStart).count();
                spacingTotal += spacing;
                spacingLeast = std::min(spacingLeast, spacing);
                ++spacings;
            }
            frameStart = Clock::now();
            PlayMenuFrame(renderer);
        };
        MeasureFrames(state, renderer, pacedFrame);
        if (spacings > 0) {
            state.counters["spacing_ms"] = 1000.0 * spacingTotal / spacings;
            state.counters["least_spacing_ms"] = 1000.0 * spacingLeast;
        }
        char label[64];
        std::snprintf(label, sizeof label, "%s, frame %08x", index == kNoScene ? "no scene" : kTitleScenes[index],
                      MenuFrameChecksum(renderer));
        state.SetLabel(label);
    });
}

BENCHMARK(BM_TitleSceneGl)
    ->DenseRange(0, int(std::size(kScenes)) - 1)
    ->Iterations(kFrames)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_TitleMenuGl)->DenseRange(0, kNoScene)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

// The stage, grass and laboratory scenes, the stage with six robots (the costliest) and no
// scene, 300 frames (three seconds) each.
BENCHMARK(BM_TitleMenuPacedGl)
    ->Arg(0)
    ->Arg(1)
    ->Arg(7)
    ->Arg(9)
    ->Arg(kNoScene)
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
