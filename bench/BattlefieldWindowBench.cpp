// The battlefield window over a battle of two sides of 50 units with its trays and the
// mini-map open: one frame of the windows (device calls per frame on the recording device
// when a renderer is up), and the time from a Shift-click on a unit to its selection.
#include <benchmark/benchmark.h>

#include <memory>

#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/SelectionTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "ui/WindowManager.h"
#include "ui/WindowTray.h"
#include "units/Vorn.h"
#include "world/Arena.h"

namespace {

struct Battle {
    Game game;
    Player sides[2];
    std::unique_ptr<Arena> arena;
    Vorn* clicked = nullptr;
};

Battle& BuildBattle() {
    static Battle* battle = nullptr;
    if (battle != nullptr) return *battle;
    battle = new Battle;
    sys::SRand(7);
    battle->arena = std::make_unique<Arena>();
    gArena = battle->arena.get();
    gArena->Initialize();
    SetCurrentGame(&battle->game);
    battle->game.firstPlayer = &battle->sides[0];
    battle->game.secondPlayer = &battle->sides[1];
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 50; ++i) {
            const Vector3 at(8.0f + float(i % 10) * 14.0f, 10.0f + float(side * 5 + i / 10) * 14.0f, 0.0f);
            Vorn* vorn = gArena->PlaceChassisAt(i % 3, at, &battle->sides[side]);
            if (vorn != nullptr) vorn->shape.SetRadius(1.5f);
        }
    }
    WindowManager& manager = GetWindowManager();
    ArenaWindow& window = GetArenaWindow();
    manager.OpenWindow(&window);
    window.Refresh();
    window.SetCameraType(ArenaWindow::kCameraOverhead);
    window.ResetCamera();
    for (Window* tray : {static_cast<Window*>(&GetControlTray()), static_cast<Window*>(&GetMiniMap()),
                         static_cast<Window*>(&GetSelectionTray()), static_cast<Window*>(&GetObjectTray()),
                         static_cast<Window*>(&GetVornTray()), static_cast<Window*>(&GetSquadTray()),
                         static_cast<Window*>(&GetWindowTray())}) {
        manager.OpenWindow(tray);
    }
    // The unit nearest the screen centre is the one clicked.
    battle->clicked = ArenaWindow::FindNextTeamVorn(nullptr, true);
    return *battle;
}

// True when the frame went through the renderer's device.
bool DrawFrame() {
    Renderer& renderer = GetRenderer();
    if (!renderer.GetReady()) return false;
    renderer.Clear(Color(0xFF000000), 1.0f, 3);
    GetWindowManager().RenderAll();
    renderer.EndFrame();
    renderer.SwapBuffers();
    return true;
}

void BM_BattlefieldFrameTwoSidesOfFifty(benchmark::State& state) {
    BuildBattle();
    const bool counted = DrawFrame();
    if (counted) GetRenderer().GetDevice().ResetCounters();
    for (auto _ : state) DrawFrame();
    state.counters["objects"] = double(gArena->ObjectCount());
    if (counted) {
        state.counters["draws"] = double(GetRenderer().GetDevice().Stats().drawCalls) / double(state.iterations());
    }
}
BENCHMARK(BM_BattlefieldFrameTwoSidesOfFifty)->Unit(benchmark::kMicrosecond);

// Press and release with Shift over the unit, the events dispatched, the selection
// emptied again for the next round.
void BM_ClickToSelection(benchmark::State& state) {
    Battle& battle = BuildBattle();
    ArenaWindow& window = GetArenaWindow();
    const Vector3 screen = window.CurrentCamera().Project(battle.clicked->position);
    InputEvent press;
    press.Set(kInputDown, kInputButtonLeft, Point(int32_t(screen.x), int32_t(screen.y)));
    GetMouse().heldKeys[16] = 1;
    for (auto _ : state) {
        window.HandleMouse(press);
        battle.game.DispatchEvents();
        benchmark::DoNotOptimize(window.IsSelected(battle.clicked));
        state.PauseTiming();
        window.ClearSelection();
        state.ResumeTiming();
    }
    GetMouse().heldKeys[16] = 0;
}
BENCHMARK(BM_ClickToSelection)->Unit(benchmark::kMicrosecond);

}  // namespace
