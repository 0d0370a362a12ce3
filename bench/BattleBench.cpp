// Whole battles with no window (and a mission battle judged by its goal): 2 x 25, 50, 100 and 200 units among trees, rocks and
// chargers for 60 s of game time (milliseconds per arena update, how many times faster
// than real time, object counts every 10 s, resident memory), and an effects stress of
// 10 flamethrowers and 10 missile launchers firing for 60 s.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "core/Image.h"
#include "core/MemoryBlock.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/MissionJudge.h"
#include "platform/sys/Random.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

#include "ThreadCpuClock.h"
#include "support/ResidentMemory.h"
#include "support/SpeedBattleFiles.h"

namespace {

constexpr float kFrame = 1.0f / 30.0f;
constexpr float kBattleSeconds = 60.0f;

class BenchGame : public Game {
public:
    BenchGame() { playerPaused = 0; }
};

using battle_files::BattlePatterns;
using battle_files::FiringPatterns;
using battle_files::UnitFile;

// The chassis and weapon tables and the unit files, made once in a temporary folder.
class BenchData {
public:
    BenchData() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorns-battle-bench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string(".");
        std::filesystem::create_directories(folder_ + "/Textures");
        std::filesystem::create_directories(folder_ + "/Actors");
        const Image pixel(1, 1);
        for (const char* name :
             {"RobotSmall", "RobotMedium", "RobotLarge", "StalkSmall", "StalkMedium", "StalkLarge"}) {
            pixel.SaveTGA(folder_ + "/Textures/" + name + "Shadow.tga");
        }
        for (const char* name : {"RobotAntenna", "Ball0", "RobotSmallHead", "RobotSmallEar", "RobotMediumBody",
                                 "RobotMediumEar", "RobotMediumHead", "RobotLargeTorso", "RobotLargeHead",
                                 "RobotLargeEar", "RobotLargeUpperArm", "RobotLargeForeArm", "Ball1", "StalkSmallBody",
                                 "StalkSegment", "StalkEyelid", "StalkMediumBody", "StalkLargeBody"}) {
            pixel.SaveTGA(folder_ + "/Actors/" + name + "_c_painted.tga");
        }
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        LoadChassisDefinitions();
        std::filesystem::current_path(previous);
        LoadWeaponDefinitions();
        Write("Gunner", UnitFile("Gunner", "RobotSmall", "Laser", "Laser", BattlePatterns()));
        Write("Burner", UnitFile("Burner", "RobotMedium", "Flamethrower", "ShrapnelGun", BattlePatterns()));
        Write("Rocket", UnitFile("Rocket", "StalkLarge", "MissileLauncher", "Laser", BattlePatterns()));
        Write("Medic", UnitFile("Medic", "StalkMedium", "HealthFieldGenerator", "Laser", BattlePatterns()));
        Write("Torch", UnitFile("Torch", "RobotMedium", "Flamethrower", "Laser", FiringPatterns()));
        Write("Launcher", UnitFile("Launcher", "RobotLarge", "MissileLauncher", "Laser", FiringPatterns()));
        const String base((folder_ + "/").c_str());
        SetDataFolders(base, base, base);
    }
    ~BenchData() {
        FreeChassisDefinitions();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    const std::string& Folder() const { return folder_; }

private:
    void Write(const char* name, const std::string& text) { std::ofstream(folder_ + "/" + name + ".VRN") << text; }
    std::string folder_;
};

BenchData& Data() {
    static BenchData data;
    return data;
}

// One arena with its game and matcher, alive for one benchmark run. It works in the
// bench's own folder, so that what a case before it left as the working folder (the
// data set's, with its models) does not change the battle.
class Battlefield {
public:
    explicit Battlefield(int side) : previousFolder_(std::filesystem::current_path()) {
        std::filesystem::current_path(Data().Folder());
        sys::SRand(11);
        arena_ = std::make_unique<Arena>();
        gArena = arena_.get();
        arena_->Initialize();
        arena_->GetTerrain().Resize(side, side);
        arena_->GetTerrain().Fill(kTerrainGrass);
        SetCurrentGame(&game_);
        matcher_ = std::make_unique<PatternMatcher>();
        gPatternMatcher = matcher_.get();
        red_.name = "Red";
        blue_.name = "Blue";
        game_.firstPlayer = &red_;
        game_.secondPlayer = &blue_;
    }
    ~Battlefield() {
        gPatternMatcher = nullptr;
        matcher_.reset();
        SetCurrentGame(nullptr);
        arena_->Shutdown();
        gArena = nullptr;
        std::filesystem::current_path(previousFolder_);
    }

    Vorn* AddUnit(const char* fileName, Player* owner, float x, float y, float heading) {
        Vorn* unit = arena_->NewVorn(1);
        unit->LoadFile(fileName);
        unit->SetPlayer(owner);
        unit->SetDefaults();
        unit->SetAngle(heading);
        unit->PlaceAt(arena_->GroundPoint(x, y));
        unit->SavePreviousState();
        arena_->AddObject(unit);
        return unit;
    }

    void Step() {
        game_.frameTime = kFrame;
        arena_->AdvanceObjectClocks();
        arena_->Update();
        game_.clock += kFrame;
    }

    Arena& arena() { return *arena_; }
    Player& red() { return red_; }
    Player& blue() { return blue_; }

private:
    std::filesystem::path previousFolder_;
    BenchGame game_;
    std::unique_ptr<Arena> arena_;
    std::unique_ptr<PatternMatcher> matcher_;
    Player red_;
    Player blue_;
};

// The world after a battle in one number: every listed object's kind, id, place, motion,
// heading and health, bit for bit and in list order. A change meant only to make the
// simulation faster keeps it.
double WorldChecksum(const Arena& arena) {
    uint32_t hash = 2166136261u;
    const auto mix = [&hash](const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash = (hash ^ bytes[i]) * 16777619u;
        }
    };
    for (const WorldObject* object : arena.Objects()) {
        mix(&object->kind, sizeof object->kind);
        mix(&object->id, sizeof object->id);
        mix(&object->position, sizeof object->position);
        mix(&object->velocity, sizeof object->velocity);
        mix(&object->heading, sizeof object->heading);
        mix(&object->health, sizeof object->health);
    }
    return static_cast<double>(hash);
}

// Milliseconds per update of the battles of 2 x 100 and 2 x 200 units before the last
// round of tuning (the thread's time, median of five runs on a shared 8-core machine),
// the figures the ratios compare against.
double LastTurnMillisecondsPerUpdate(int perSide) {
    if (perSide == 100) return 0.17;
    if (perSide == 200) return 0.43;
    return 0.0;
}

// Two armies facing each other across the middle, among trees, rocks and chargers.
void BM_Battle(benchmark::State& state) {
    const int perSide = static_cast<int>(state.range(0));
    // About 40 units' room per 10 x 10 cell keeps the armies apart at the start.
    const int side = perSide <= 50 ? 16 : (perSide <= 100 ? 24 : 32);
    static const char* const kFiles[] = {"Gunner", "Burner", "Rocket", "Medic"};
    for (auto _ : state) {
        state.PauseTiming();
        Battlefield field(side);
        Arena& arena = field.arena();
        arena.PlaceObjectsRandomly(kKindTree, 6, side * 2);
        arena.PlaceObjectsRandomly(kKindRock, 6, side * 2);
        arena.PlaceObjectsRandomly(kKindSolarCharger, 0, side / 2);
        const float w = arena.WorldWidth();
        const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<float>(perSide))));
        for (int k = 0; k < perSide; ++k) {
            const float dx = 6.0f * static_cast<float>(k / columns);
            const float dy = 6.0f * static_cast<float>(k % columns) + 0.25f * w;
            field.AddUnit(kFiles[k % 4], &field.red(), 0.5f * w - 10.0f - dx, dy, 0.0f);
            field.AddUnit(kFiles[(k + 1) % 4], &field.blue(), 0.5f * w + 10.0f + dx, dy, 3.14159f);
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        double cpuPaused = 0.0;
        int steps = 0;
        for (float time = 0.0f; time < kBattleSeconds; time += kFrame, ++steps) {
            field.Step();
            if (steps % 300 == 299) {
                const double pausedAt = ThreadCpuSeconds();
                state.PauseTiming();
                const int second = (steps + 1) / 30;
                state.counters["objects_" + std::to_string(second) + "s"] = arena.ObjectCount();
                state.counters["units_" + std::to_string(second) + "s"] = arena.CountObjectsOfKind(kKindVorn);
                state.ResumeTiming();
                cpuPaused += ThreadCpuSeconds() - pausedAt;
            }
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double cpuSeconds = ThreadCpuSeconds() - cpuStart - cpuPaused;
        state.PauseTiming();
        state.counters["ms_per_update"] = 1000.0 * seconds / steps;
        // The thread's own time as well: on a loaded machine the wall time also counts
        // the time other programs held the core.
        state.counters["cpu_ms_per_update"] = 1000.0 * cpuSeconds / steps;
        if (const double last = LastTurnMillisecondsPerUpdate(perSide); last > 0.0) {
            state.counters["vs_last_turn"] = 1000.0 * seconds / steps / last;
            state.counters["cpu_vs_last_turn"] = 1000.0 * cpuSeconds / steps / last;
        }
        state.counters["x_real_time"] = kBattleSeconds / seconds;
        state.counters["rss_MB"] = static_cast<double>(ResidentKilobytes()) / 1024.0;
        state.counters["world_checksum"] = WorldChecksum(arena);
        state.ResumeTiming();
    }
}

// Twenty units on a ring facing outward, firing flames and missiles for 60 s.
void BM_EffectsStress(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Battlefield field(64);
        Arena& arena = field.arena();
        const float centre = 0.5f * arena.WorldWidth();
        for (int k = 0; k < 20; ++k) {
            const float a = 2.0f * 3.14159265f * static_cast<float>(k) / 20.0f;
            field.AddUnit(k % 2 == 0 ? "Torch" : "Launcher", &field.red(), centre + 200.0f * std::cos(a),
                          centre + 200.0f * std::sin(a), a);
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        int steps = 0;
        double objects = 0.0;
        int counted = 0;
        for (float time = 0.0f; time < kBattleSeconds; time += kFrame, ++steps) {
            field.Step();
            // Steady state: the last 30 s.
            if (time >= 30.0f) {
                objects += arena.ObjectCount();
                ++counted;
            }
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        state.counters["us_per_tick"] = 1.0e6 * seconds / steps;
        state.counters["steady_objects"] = counted > 0 ? objects / counted : 0.0;
        state.counters["flame_balls"] = arena.CountObjectsOfKind(kKindFlameBall);
        state.counters["missiles"] = arena.CountObjectsOfKind(kKindMissile);
        state.counters["smoke_puffs"] = arena.CountObjectsOfKind(kKindSmokePuff);
        state.counters["flame_pool"] = arena.PoolOfKind(kKindFlameBall)->Capacity();
        state.counters["missile_pool"] = arena.PoolOfKind(kKindMissile)->Capacity();
        state.counters["smoke_pool"] = arena.PoolOfKind(kKindSmokePuff)->Capacity();
        state.counters["explosion_pool"] = arena.PoolOfKind(kKindExplosionField)->Capacity();
        state.ResumeTiming();
    }
}

// A mission battle: four squads of four units per side at the corners of a 24 x 24
// field, for 120 s of game time, the goal judged every frame (milliseconds per update and
// the goal checks' share of it).
void BM_MissionBattle(benchmark::State& state) {
    static const char* const kFiles[] = {"Gunner", "Burner", "Rocket", "Medic"};
    constexpr float kMissionSeconds = 120.0f;
    for (auto _ : state) {
        state.PauseTiming();
        Battlefield field(24);
        Arena& arena = field.arena();
        arena.PlaceObjectsRandomly(kKindTree, 6, 48);
        const float w = arena.WorldWidth();
        for (int squad = 0; squad < 4; ++squad) {
            const float cx = (squad % 2 == 0 ? 0.3f : 0.7f) * w;
            const float cy = (squad < 2 ? 0.3f : 0.7f) * w;
            for (int k = 0; k < 4; ++k) {
                const float dx = 4.0f * static_cast<float>(k % 2);
                const float dy = 4.0f * static_cast<float>(k / 2);
                field.AddUnit(kFiles[k], &field.red(), cx - 12.0f - dx, cy + dy, 0.0f);
                field.AddUnit(kFiles[(k + 1) % 4], &field.blue(), cx + 12.0f + dx, cy + dy, 3.14159f);
            }
        }
        MissionSettings settings;
        settings.goal = MissionGoal::kDestroyAllEnemies;
        settings.timeLimited = true;
        settings.goalTime = 1000.0f;
        MissionJudge judge(settings, arena, field.red(), field.blue());
        state.ResumeTiming();
        double judgeSeconds = 0.0;
        int steps = 0;
        const auto start = std::chrono::steady_clock::now();
        for (float time = 0.0f; time < kMissionSeconds; time += kFrame, ++steps) {
            const auto judged = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(judge.Judge(kFrame, nullptr, nullptr, 0.0f));
            judgeSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - judged).count();
            field.Step();
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        state.counters["ms_per_update"] = 1000.0 * seconds / steps;
        state.counters["goal_share_pct"] = 100.0 * judgeSeconds / seconds;
        state.counters["units_left"] = arena.CountObjectsOfKind(kKindVorn);
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Battle)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EffectsStress)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MissionBattle)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
