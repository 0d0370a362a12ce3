// A battle of two sides of 50 units drawn at 1024 x 768 from the battlefield's tilted
// camera, on the GL backend (an offscreen window) and on the recording device, with one
// simulation step beside them. The argument is the camera's height: as the view zooms out
// toward the whole arena the draw calls stay bounded by what is in view. The data set's
// models are read from the runtime folder the build lays out.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "core/Ray.h"
#include "core/Sphere.h"
#include "engine/Camera.h"
#include "engine/OverheadCamera.h"
#include "engine/Renderer.h"
#include "engine/TiltedCamera.h"
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
#include "world/ExplosionField.h"
#include "world/FirePuff.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"
#include "world/ObjectKind.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

#include "GlBench.h"
#include "ThreadCpuClock.h"
#include "support/TiltedDrawView.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kUnitsPerSide = 50;
constexpr float kPi = 3.14159265358979f;

class BenchGame : public Game {
public:
    BenchGame() { playerPaused = 0; }
    void DispatchEvents() override {}
};

// The battle, made on the device that is current when it is made, and made again when
// the case asks for another size or another device.
struct Battle {
    BenchGame game;
    std::unique_ptr<Arena> arena;
    Player red;
    Player blue;
    int unitsPerSide;

    explicit Battle(int unitsPerSide) : unitsPerSide(unitsPerSide) {
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
        // Ten ranks of five a side, and the ranks of larger battles behind them.
        for (int i = 0; i < 2 * unitsPerSide; ++i) {
            const bool left = i < unitsPerSide;
            const int k = i % unitsPerSide;
            Vorn* unit = arena->NewVorn(0);
            unit->SetPlayer(left ? &red : &blue);
            unit->BuildBody((left ? 0 : 3) + k % 3);
            unit->SetAngle(left ? 0.0f : 3.1416f);
            const float rankX = (left ? 20.0f : 100.0f) + float(k % 5) * 9.0f + float(k / 50) * 4.5f;
            unit->PlaceAt(Vector3(rankX, 10.0f + float(k / 5 % 10) * 15.0f + float(k / 50) * 7.5f, 0.0f));
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
std::unique_ptr<Battle> gBattle;

Battle& TheBattle(int unitsPerSide = kUnitsPerSide) {
    if (gBattle != nullptr && gBattle->unitsPerSide != unitsPerSide) gBattle.reset();
    if (!gBattle) gBattle = std::make_unique<Battle>(unitsPerSide);
    return *gBattle;
}

// The runtime folder is the working folder for the whole run.
bool EnterGameFolder() {
    std::error_code error;
    std::filesystem::current_path(VORNS_GAME_DIR, error);
    return !error;
}

// The battle's models and pictures live on the device that was current when it was
// made, so it is made again whenever the renderer changes device. Every case of a full
// run then gets the device it asks for, whatever ran before it.
void LeaveGl() {
    if (gWindow == nullptr) return;
    gBattle.reset();
    GetRenderer().Shutdown();
    gWindow.reset();
}

bool EnterGl() {
    if (gWindow != nullptr) return true;
    gBattle.reset();
    gWindow = OpenOffscreenGlWindow();
    if (gWindow == nullptr) return false;
    Renderer& renderer = GetRenderer();
    renderer.Shutdown();
    renderer.presentInterval = 0;
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

// The transparent effects of the last frame's draw lists.
int EffectsListed(Battle& battle) {
    int listed = 0;
    for (int kind :
         {kKindLaserBeam, kKindExplosionField, kKindShrapnel, kKindSmokePuff, kKindFlameBall, kKindFirePuff}) {
        listed += battle.arena->drawLists[kind].Count();
    }
    return listed;
}

// The battlefield window's two cameras as it sets them up, at a height between their
// limits, looking at the arena's centre along the y axis.
class BattlefieldCameraView : public ArenaDrawView {
public:
    BattlefieldCameraView(bool tilted, float height, const Vector3& target) : target_(target) {
        camera_ = tilted ? static_cast<WindowCamera*>(&tilted_) : static_cast<WindowCamera*>(&overhead_);
        const float maximum = tilted ? kTiltedMaximum : kOverheadMaximum;
        camera_->nearPlane = 2.0f;
        camera_->farPlane = tilted ? (maximum + 33.0f) / std::cos(kPi / 4.0f + kPi / 14.0f) : maximum + 33.0f;
        camera_->SetFieldOfView(tilted ? kPi / 7.0f : kPi / 3.0f);
        camera_->SetAspect(float(kWidth) / float(kHeight));
        camera_->SetHeading(Vector3(0.0f, 1.0f, 0.0f));
        const float along = camera_->direction.z < -1e-4f ? height / -camera_->direction.z : 0.0f;
        camera_->SetPosition(tilted ? target - camera_->direction * along : target + Vector3(0.0f, 0.0f, height));
        camera_->viewport = IntRect(0, 0, kWidth - 1, kHeight - 1);
    }
    void ViewCornersAtHeight(float height, Vector3 (&corners)[4]) const override {
        const float right = float(kWidth - 1), bottom = float(kHeight - 1);
        const Vector2 screen[4] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
        for (int i = 0; i < 4; ++i) {
            const Ray ray = camera_->GetPickRay(screen[i]);
            const float t = ray.direction.z < -1e-4f ? (height - ray.origin.z) / ray.direction.z : camera_->farPlane;
            corners[i] = ray.origin + ray.direction * t;
        }
    }
    Vector3 CameraTarget() const override { return target_; }
    Camera& GetCamera() { return *camera_; }

    static constexpr float kMinimumHeight = 37.0f;
    static constexpr float kOverheadMaximum = 82.5f;
    static constexpr float kTiltedMaximum = 120.0f;

private:
    OverheadCamera overhead_;
    TiltedCamera tilted_;
    WindowCamera* camera_;
    Vector3 target_;
};

void DrawFrame(Renderer& renderer, Battle& battle, ArenaDrawView& view, Camera& camera, bool present) {
    if (!renderer.GetReady()) return;
    renderer.SetCamera(camera);
    renderer.Clear(Color(0xFF000000u), 1.0f, 3);
    battle.arena->Draw(view);
    renderer.EndFrame();
    if (present) renderer.SwapBuffers();
}

void DrawFrames(benchmark::State& state, Battle& battle, ArenaDrawView& view, Camera& camera, bool present) {
    Renderer& renderer = GetRenderer();
    gfx::Device& device = renderer.GetDevice();
    battle.game.frameTime = 1.0f / 60.0f;
    // The first frames make the device's objects and the driver's shader variants.
    for (int i = 0; i < 3; ++i) DrawFrame(renderer, battle, view, camera, present);
    device.ResetCounters();
    const ProcessCpuPerFrame cpu;
    const double mainStart = ThreadCpuSeconds();
    for (auto _ : state) DrawFrame(renderer, battle, view, camera, present);
    cpu.Report(state);
    const double frames = double(state.iterations());
    // The main thread's own share, apart from the rasteriser's threads.
    state.counters["mainCpuMs"] = 1000.0 * (ThreadCpuSeconds() - mainStart) / frames;
    state.counters["draws"] = double(device.Stats().drawCalls) / frames;
    state.counters["triangles"] = double(device.Stats().primitives) / frames;
    state.counters["unitsInView"] = double(UnitImagesInView(battle, camera));
    state.counters["unitsListed"] = double(battle.arena->drawLists[kKindVorn].Count());
}

void DrawFrames(benchmark::State& state, Battle& battle, bool present) {
    TiltedDrawView view(Vector3(80.0f, 80.0f, 0.0f), float(state.range(0)), kWidth, kHeight, 2000.0f, 1000.0f);
    DrawFrames(state, battle, view, view.camera, present);
}

enum class BattleView { kFixed, kOverhead, kTilted, kEffects };

// A fight's worth of effects among the ranks: blasts, smoke, fire and glow puffs, laser
// beams and flame balls, a few tenths of a second old so their particles have spread.
void AddEffects(Battle& battle) {
    Arena& arena = *battle.arena;
    constexpr int kSpots = 24;
    for (int i = 0; i < kSpots; ++i) {
        const float x = 30.0f + float(i % 6) * 16.0f, y = 20.0f + float(i / 6) * 30.0f;
        const Vector3 ground = arena.GroundPoint(x, y);
        Player* owner = i % 2 == 0 ? &battle.red : &battle.blue;
        arena.AddObject(arena.NewExplosion(owner, ground + Vector3(0.0f, 0.0f, 1.0f), 0.0f, 4.0f, 0.0f,
                                           Vector3(1.0f, 0.0f, 0.0f), 0));
        arena.AddSmokePuff(ground + Vector3(3.0f, 3.0f, 1.0f), 2.0f);
        FirePuff* puff = arena.NewFirePuff();
        puff->SetStyle(i % 2 == 0 ? FirePuff::kStyleGlow : FirePuff::kStyleSmoke);
        puff->Start(ground + Vector3(-3.0f, 2.0f, 2.0f), 1.5f, "WhiteBall.tga");
        arena.AddObject(puff);
        arena.AddObject(arena.AddLaserBeam(owner, ground + Vector3(0.0f, -4.0f, 1.5f), float(i) * 0.26f,
                                           Color::FromRGBA(255, 64, 64, 255)));
        arena.AddObject(arena.NewFlameBall(owner, ground + Vector3(-4.0f, -4.0f, 1.5f),
                                           ground + Vector3(8.0f, -4.0f, 1.5f), 12.0f));
    }
    battle.game.frameTime = 1.0f / 60.0f;
    for (int step = 0; step < 15; ++step) {
        arena.AdvanceObjectClocks();
        arena.Update();
        battle.game.clock += battle.game.frameTime;
    }
}

// Fixed: the 45-degree view at the height of the argument over 2 x 50 units. The
// battlefield's cameras: arguments units a side, the height in tenths and the options'
// detail value (0, their default, is what a new player sees; 20 is the renderer's own 1).
void BM_BattleFrameGl(benchmark::State& state, BattleView kind) {
    if (!EnterGameFolder() || !EnterGl()) {
        state.SkipWithError("no data set or no GL window");
        return;
    }
    if (kind == BattleView::kFixed) {
        DrawFrames(state, TheBattle(), true);
    } else if (kind == BattleView::kEffects) {
        // A battle of its own, so the other cases draw theirs without effects.
        gBattle.reset();
        AddEffects(TheBattle());
        DrawFrames(state, TheBattle(), true);
        state.counters["effects"] = double(EffectsListed(TheBattle()));
        gBattle.reset();
    } else {
        Battle& battle = TheBattle(int(state.range(0)));
        const Vector3 centre(battle.arena->WorldWidth() * 0.5f, battle.arena->WorldHeight() * 0.5f, 0.0f);
        BattlefieldCameraView view(kind == BattleView::kTilted, float(state.range(1)) / 10.0f, centre);
        const float detailWas = GetRenderer().lodError;
        SetLODError(float(state.range(2)));
        DrawFrames(state, battle, view, view.GetCamera(), true);
        GetRenderer().lodError = detailWas;
    }
    // The cases after this one, here and in other files, draw on the recording device.
    LeaveGl();
}

void BM_BattleFrameRecording(benchmark::State& state) {
    if (!EnterGameFolder()) {
        state.SkipWithError("no data set");
        return;
    }
    LeaveGl();
    DrawFrames(state, TheBattle(), false);
}

// A played frame: the battle steps (units walk, animate and fight) and is drawn, so the
// bodies whose parts moved gather their batches again.
void BM_BattlePlayedFrameRecording(benchmark::State& state) {
    if (!EnterGameFolder()) {
        state.SkipWithError("no data set");
        return;
    }
    LeaveGl();
    Battle& battle = TheBattle();
    battle.game.frameTime = 1.0f / 60.0f;
    TiltedDrawView view(Vector3(80.0f, 80.0f, 0.0f), 60.0f, kWidth, kHeight, 2000.0f, 1000.0f);
    Renderer& renderer = GetRenderer();
    for (auto _ : state) {
        battle.arena->AdvanceObjectClocks();
        battle.arena->Update();
        battle.game.clock += battle.game.frameTime;
        DrawFrame(renderer, battle, view, view.camera, false);
    }
}

BENCHMARK(BM_BattlePlayedFrameRecording)->Unit(benchmark::kMillisecond);

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
BENCHMARK_CAPTURE(BM_BattleFrameGl, fixed, BattleView::kFixed)
    ->Arg(60)
    ->Arg(150)
    ->Arg(400)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BattleFrameGl, effects, BattleView::kEffects)->Arg(150)->Unit(benchmark::kMillisecond);
// The battlefield's own cameras at their lowest and highest, for 2 x 50 and 2 x 100 units.
BENCHMARK_CAPTURE(BM_BattleFrameGl, overhead, BattleView::kOverhead)
    ->ArgsProduct({{50, 100}, {370, 825}, {0, 20}})
    ->ArgNames({"perSide", "tenths", "detail"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BattleFrameGl, tilted, BattleView::kTilted)
    ->ArgsProduct({{0, 50, 100}, {370, 1200}, {0, 20}})
    ->ArgNames({"perSide", "tenths", "detail"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
