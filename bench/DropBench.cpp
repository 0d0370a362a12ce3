// A squad file of 256 small robots dropped on crowded ground: over a field whose ground
// is full within reach of every member (all are left out), and over 1,000 bodies piled on
// the drop point (those over the pile stand around it). One drop per iteration; the
// members placed are taken off again. And three squads of 33 large robots launched at one
// point, on an empty field and beside a band of lava; and one squad launched onto a dry
// island in a lake on the largest field, and onto dry ground there joined only at its
// corners.
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "game/Game.h"
#include "game/Player.h"
#include "game/Squad.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/SaveFilePaths.h"
#include "world/Terrain.h"
#include "world/TerrainType.h"

#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"

namespace {

class BenchGame : public Game {
public:
    BenchGame() { playerPaused = 0; }
};

constexpr int kSmallRobot = 0;
const Vector3 kDropPoint(80.0f, 80.0f, 0.0f);

// The point of a triangular lattice, `spacing` apart, at row and column.
Vector2 LatticePoint(int row, int column, float spacing) {
    return {(float(column) + 0.5f * float(row & 1)) * spacing, float(row) * spacing * 0.8660254f};
}

// The arena, the chassis tables and a squad file "Crowd" of 256 small robots side by
// side, more than the squad's circle holds; the field is left empty.
class DropField {
public:
    DropField() {
        units_test::LoadChassisTableWithTextures();
        LoadWeaponDefinitions();
        const String base((folder_.Path() + "/").c_str());
        SetDataFolders(base, base, base);
        arena_ = world_test::OpenArena(game_);
        red_.name = "Red";
        radius_ = Add("Probe", 0.0f, 0.0f)->GetRadius();
        arena_->RemoveVornsNamed("Probe");
        std::string icons;
        std::string units;
        for (int i = 0; i < Squad::kMaxMembers; ++i) {
            const Vector2 at = LatticePoint(i / 16 - 8, i % 16 - 8, 2.0f * radius_ + 0.05f);
            const std::string position = "Position < " + std::to_string(at.x) + ", " + std::to_string(at.y) + ", 0 >\n";
            icons += "Name Drop\n" + position + "Type 0\nCost 0\n";
            units += "Type Vorn\nName Drop\n" + position + "ChassisType RobotSmall\nEdited 1\nEnd\n";
        }
        std::ofstream(folder_ / "Crowd.SQD") << "Count " << Squad::kMaxMembers << "\nIconData\n"
                                             << icons << "VornData\n"
                                             << units;
        // "Large": 36 large robots 6.4 apart, of which the squad's circle holds 33.
        icons.clear();
        units.clear();
        for (int i = 0; i < 36; ++i) {
            const Vector2 at(float(i % 6) * 6.4f - 16.0f, float(i / 6) * 6.4f - 16.0f);
            const std::string position = "Position < " + std::to_string(at.x) + ", " + std::to_string(at.y) + ", 0 >\n";
            icons += "Name Large\n" + position + "Type 2\nCost 0\n";
            units += "Type Vorn\nName Drop\n" + position + "ChassisType RobotLarge\nEdited 1\nEnd\n";
        }
        std::ofstream(folder_ / "Large.SQD") << "Count 36\nIconData\n" << icons << "VornData\n" << units;
    }
    ~DropField() {
        world_test::CloseArena(*arena_);
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        FreeChassisDefinitions();
    }
    float Radius() const { return radius_; }
    // A small robot standing at (x, y) under the name.
    Vorn* Add(const char* name, float x, float y) {
        Vorn* unit = arena_->NewVorn(0);
        unit->SetPlayer(&red_);
        unit->BuildBody(kSmallRobot);
        unit->name = name;
        unit->edited = 1;
        unit->PlaceAt(Vector3(x, y, 0.0f));
        arena_->AddObject(unit);
        return unit;
    }
    // Lava on the two rows of grid points from `row`.
    void LavaBand(int row) {
        Terrain& terrain = arena_->GetTerrain();
        for (int i = 0; i < terrain.Width(); ++i) {
            terrain.CellAt(i, row).type = kTerrainLava;
            terrain.CellAt(i, row + 1).type = kTerrainLava;
        }
    }
    // The largest field, water but for an island of three by three points around (320, 320).
    void Island() {
        arena_->GrowOrShrinkTerrain(Terrain::kMaxSide - arena_->GetTerrain().Width());
        Terrain& terrain = arena_->GetTerrain();
        for (int i = 0; i < terrain.Width(); ++i) {
            for (int j = 0; j < terrain.Height(); ++j) {
                const bool island = std::abs(i - 32) <= 1 && std::abs(j - 32) <= 1;
                terrain.CellAt(i, j).type = island ? kTerrainGrass : kTerrainWater;
            }
        }
    }
    // The largest field, water but for grass on every other point like a checkerboard
    // (argument 0) or on the diagonal i = j (1): dry ground joined only at its corners.
    void CornerJoined(int shape) {
        arena_->GrowOrShrinkTerrain(Terrain::kMaxSide - arena_->GetTerrain().Width());
        Terrain& terrain = arena_->GetTerrain();
        for (int i = 0; i < terrain.Width(); ++i) {
            for (int j = 0; j < terrain.Height(); ++j) {
                const bool dry = shape == 0 ? (i + j) % 2 == 0 : i == j;
                terrain.CellAt(i, j).type = dry ? kTerrainGrass : kTerrainWater;
            }
        }
    }
    // The squad launched at the point: how many were placed (into `placed`) and named.
    int Launch(Squad& squad, const Vector3& point, int& placed) {
        StringArray noRoom;
        placed = arena_->PlaceSquadUnits(squad, point, &red_, true, &noRoom);
        return noRoom.Count();
    }
    void TakeOff() { arena_->RemoveVornsNamed("Drop"); }
    // The squad's members past the first `count` given back.
    void KeepFirst(Squad& squad, int count) {
        while (squad.Count() > count) {
            Vorn* extra = squad.members[squad.Count() - 1];
            squad.Remove(extra);
            arena_->GiveBack(extra);
        }
    }
    // Three squads of large robots launched one after another at the point.
    int LaunchThree(const Vector3& point) {
        int placed = 0;
        for (int k = 0; k < 3; ++k) {
            Squad squad;
            squad.Load("Large", -1);
            placed += arena_->PlaceSquadUnits(squad, point, &red_, true);
        }
        arena_->RemoveVornsNamed("Drop");
        return placed;
    }
    int Drop() {
        const int placed = arena_->LoadSquadFile("Crowd", kDropPoint, &red_);
        arena_->RemoveVornsNamed("Drop");
        return placed;
    }

private:
    platform_test::TempFolder folder_;
    BenchGame game_;
    std::unique_ptr<Arena> arena_;
    Player red_;
    float radius_ = 0.0f;
};

// Argument 0: the ground within reach of every member is full, bodies side by side as an
// earlier drop leaves them; 1: 1,000 bodies piled on the drop point.
void BM_CrowdedDrop(benchmark::State& state) {
    DropField field;
    if (state.range(0) == 0) {
        const float spacing = 2.0f * field.Radius() + 0.05f;
        const float reach = Squad::kAreaRadius + 40.0f + 2.0f * spacing;
        const int rows = int(reach / (spacing * 0.8660254f)) + 1;
        const int columns = int(reach / spacing) + 1;
        for (int row = -rows; row <= rows; ++row) {
            for (int column = -columns; column <= columns; ++column) {
                const Vector2 at = LatticePoint(row, column, spacing);
                if (at.Length() < reach) field.Add("Field", kDropPoint.x + at.x, kDropPoint.y + at.y);
            }
        }
    } else {
        for (int i = 0; i < 1000; ++i) field.Add("Field", kDropPoint.x, kDropPoint.y);
    }
    int placed = 0;
    for (auto _ : state) placed = field.Drop();
    state.counters["placed"] = placed;
}

}  // namespace

BENCHMARK(BM_CrowdedDrop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Argument 0: an empty field; 1: the launch point 4 units short of a band of lava two
// grid points wide across the field.
void BM_LaunchThreeCrowds(benchmark::State& state) {
    DropField field;
    if (state.range(0) == 1) field.LavaBand(9);
    int placed = 0;
    for (auto _ : state) placed = field.LaunchThree(Vector3(80.0f, 81.0f, 0.0f));
    state.counters["placed"] = placed;
}

BENCHMARK(BM_LaunchThreeCrowds)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Times one squad's launch at (320, 320), again and again: 33 large robots, or the 158
// small ones the squad's circle holds (the first `keep` of them when that is more than 0).
// Only the placing is timed, not the reading of the squad's file nor taking its members
// off again.
static void TimeLaunches(benchmark::State& state, DropField& field, bool large, int keep = 0) {
    int placed = 0;
    int named = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Squad squad;
        squad.Load(large ? "Large" : "Crowd", -1);
        if (keep > 0) field.KeepFirst(squad, keep);
        state.ResumeTiming();
        named = field.Launch(squad, Vector3(320, 320, 0), placed);
        state.PauseTiming();
        field.TakeOff();
        state.ResumeTiming();
    }
    state.counters["placed"] = placed;
    state.counters["named"] = named;
}

// One squad launched at the middle of a dry island of three by three points in a lake on
// a field of 64 x 64 points: argument 0, 33 large robots; 1, 139 small ones; 2, the 158
// small ones its circle holds. The island holds some; the rest are named.
void BM_LaunchOnAnIsland(benchmark::State& state) {
    DropField field;
    field.Island();
    TimeLaunches(state, field, state.range(0) == 0, state.range(0) == 1 ? 139 : 0);
}

BENCHMARK(BM_LaunchOnAnIsland)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// One squad launched at (320, 320), on grass, on a field of 64 x 64 points whose dry
// ground is joined only corner to corner: argument 0 a checkerboard of grass and water,
// 1 a diagonal causeway of single grass points across a lake; argument 1 the squad, 0
// for 33 large robots and 1 for the 158 small ones its circle holds.
void BM_LaunchOnCornerJoinedGround(benchmark::State& state) {
    DropField field;
    field.CornerJoined(int(state.range(0)));
    TimeLaunches(state, field, state.range(1) == 0);
}

BENCHMARK(BM_LaunchOnCornerJoinedGround)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);
