// An arena tick and the grid queries with 100, 1,000 and 5,000 objects on the 16 x 16
// starting terrain.
#include <memory>

#include <benchmark/benchmark.h>

#include "game/Game.h"
#include "platform/sys/Random.h"
#include "world/Arena.h"
#include "world/ContactRecord.h"
#include "world/WorldObject.h"

namespace {

class BenchGame : public Game {
public:
    BenchGame() { playerPaused = 0; }
};

// An arena filled with rocks, trees and balls at random spots, alive for one benchmark.
class FilledArena {
public:
    explicit FilledArena(int count) {
        sys::SRand(7);
        arena_ = std::make_unique<Arena>();
        gArena = arena_.get();
        arena_->Initialize();
        SetCurrentGame(&game_);
        static constexpr int kKinds[] = {kKindRock, kKindTree, kKindSoccerBall, kKindSolarCharger};
        for (int i = 0; i < count; ++i) {
            WorldObject* object = arena_->NewObjectOfKind(kKinds[i % 4]);
            object->ResetHealth(1.0e9f);
            arena_->AddObject(object);
            object->PlaceAt(arena_->RandomPoint());
        }
    }
    ~FilledArena() {
        SetCurrentGame(nullptr);
        arena_->Shutdown();
        gArena = nullptr;
    }
    Arena& arena() { return *arena_; }
    Game& game() { return game_; }

private:
    BenchGame game_;
    std::unique_ptr<Arena> arena_;
};

void BM_ArenaTick(benchmark::State& state) {
    FilledArena filled(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        filled.arena().AdvanceObjectClocks();
        filled.arena().Update();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_FindFirstHit(benchmark::State& state) {
    FilledArena filled(static_cast<int>(state.range(0)));
    Arena& arena = filled.arena();
    int hits = 0;
    for (auto _ : state) {
        const Vector3 from = arena.RandomPoint() + Vector3(0, 0, 1);
        CollisionShape sweep;
        sweep.SetCylinder(from, from + Vector3(6, 3, 0), 1.0f);
        ContactRecord hit;
        hits += arena.FindFirstHit(nullptr, sweep, &hit, nullptr) ? 1 : 0;
    }
    benchmark::DoNotOptimize(hits);
}

void BM_ApplyBlast(benchmark::State& state) {
    FilledArena filled(static_cast<int>(state.range(0)));
    Arena& arena = filled.arena();
    for (auto _ : state) {
        arena.ApplyBlast(nullptr, arena.RandomPoint(), 0.001f, 6.0f, 1.0f, 0);
    }
}

void BM_NearestObject(benchmark::State& state) {
    FilledArena filled(static_cast<int>(state.range(0)));
    Arena& arena = filled.arena();
    for (auto _ : state) {
        Vector3 image;
        benchmark::DoNotOptimize(arena.NearestObjectOfKind(arena.RandomPoint(), &image, kKindSoccerBall));
    }
}

}  // namespace

BENCHMARK(BM_ArenaTick)->Arg(100)->Arg(1000)->Arg(5000);
BENCHMARK(BM_FindFirstHit)->Arg(100)->Arg(1000)->Arg(5000);
BENCHMARK(BM_ApplyBlast)->Arg(100)->Arg(1000)->Arg(5000);
BENCHMARK(BM_NearestObject)->Arg(100)->Arg(1000)->Arg(5000);
