// What a serving network game sends each joined program during a real battle: two sides
// of fifty of the game's own units fight on the server for 60 s of game time, every world
// event goes out through the session to one client over loopback, and the wire bytes
// per game second per client are reported (packed, as on the wire, and before packing).
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "IdleSessionHost.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "net/NetworkGame.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"
#include "world/Terrain.h"

namespace {

constexpr float kFrame = 1.0f / 30.0f;
constexpr float kBattleSeconds = 60.0f;
constexpr int kPerSide = 50;
constexpr int kArenaCells = 16;

// The runtime folder's chassis, weapons and unit files, loaded once.
bool EnterGameFolder() {
    static const bool entered = [] {
        std::error_code error;
        std::filesystem::current_path(VORNS_GAME_DIR, error);
        if (error) return false;
        LoadChassisDefinitions();
        LoadWeaponDefinitions();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        return true;
    }();
    return entered;
}

void AddSide(Arena& arena, Player& owner, float y, float heading) {
    static const char* const kUnits[] = {"Brawler", "Ranger", "Burner", "Striker", "Tank"};
    const float step = arena.WorldWidth() / kPerSide;
    for (int i = 0; i < kPerSide; ++i) {
        Vorn* unit = arena.NewVorn(1);
        unit->LoadFile(kUnits[i % 5]);
        unit->SetPlayer(&owner);
        unit->SetDefaults();
        unit->SetAngle(heading);
        unit->PlaceAt(arena.GroundPoint((static_cast<float>(i) + 0.5f) * step, y));
        unit->SavePreviousState();
        arena.AddObject(unit);
        unit->AssignId(arena);
    }
}

void BM_NetworkBytesPerClient(benchmark::State& state) {
    if (!EnterGameFolder()) {
        state.SkipWithError("no runtime folder");
        return;
    }
    for (auto _ : state) {
        sys::SRand(7);
        NetworkGame server;
        auto arena = std::make_unique<Arena>();
        gArena = arena.get();
        arena->Initialize();
        arena->GetTerrain().Resize(kArenaCells, kArenaCells);
        arena->GetTerrain().Fill(kTerrainGrass);
        SetCurrentGame(&server);
        PatternMatcher matcher;
        gPatternMatcher = &matcher;
        server.playerPaused = 0;
        server.Session().SetCompression(state.range(0) != 0);
        IdleSessionHost clientHost;
        clientHost.frameTime = kFrame;
        VornsNetworker client(clientHost);
        client.SetCompression(state.range(0) != 0);
        client.SetDrainBudget(50);
        if (!server.Serve(0)) {
            state.SkipWithError("no server");
            break;
        }
        client.SetPort(server.Session().ListeningPort());
        client.SetHost("127.0.0.1");
        client.StartClient();
        client.Connect();
        for (int pass = 0; pass < 100000 && server.Session().Players().size() < 2; ++pass) {
            server.Session().Update();
            client.Update();
        }
        Player& enemy = *server.Session().Players().back()->record;
        AddSide(*arena, GetLocalPlayer(), arena->WorldHeight() * 0.3f, 1.5708f);
        AddSide(*arena, enemy, arena->WorldHeight() * 0.7f, -1.5708f);
        server.Session().SetState(SessionState::ServerPlaying);
        server.StartBattle();
        const uint64_t packedBefore = server.Session().BytesSentPacked();
        const uint64_t plainBefore = server.Session().BytesFlushed();
        for (float time = 0.0f; time < kBattleSeconds; time += kFrame) {
            server.frameTime = kFrame;
            arena->AdvanceObjectClocks();
            arena->Update();
            server.Update();
            server.clock += kFrame;
            server.HandleInputEvents(Array<InputEvent>());
            client.Update();
        }
        state.counters["wire_bytes_per_second_per_client"] =
            static_cast<double>(server.Session().BytesSentPacked() - packedBefore) / kBattleSeconds;
        state.counters["plain_bytes_per_second_per_client"] =
            static_cast<double>(server.Session().BytesFlushed() - plainBefore) / kBattleSeconds;
        client.StopClient();
        server.End();
        gPatternMatcher = nullptr;
        SetCurrentGame(nullptr);
        // The players' figures hold units of this arena: they go back before it does.
        ReleasePlayerFigures();
        arena->Shutdown();
        gArena = nullptr;
    }
}

BENCHMARK(BM_NetworkBytesPerClient)->ArgNames({"zlib"})->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
