// Pattern matcher evaluations per second: 1 and 16 enabled patterns of 0, 4 and 8
// objects among 0, 10, 50 and 200 world objects within reach of the unit. Target: 16
// patterns of 8 objects among 50 in at most 0.5 ms, with no allocation once warm.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include <benchmark/benchmark.h>

#include "game/Game.h"
#include "game/Player.h"
#include "platform/sys/Random.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternMatcher.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/WorldObject.h"

#include "ThreadCpuClock.h"

// Every allocation of the benchmark program is counted, so that a case can report how
// many its timed loop made.
namespace {
std::atomic<int64_t> gAllocations{0};
}  // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

class BenchGame : public Game {
public:
    BenchGame() { playerPaused = 0; }
};

// A unit at the middle of the 16 x 16 arena with its patterns, and a crowd of trees,
// friends and enemies spread over the 20 units around it.
class MatcherScene {
public:
    MatcherScene(int patterns, int objectsPerPattern, int nearby) {
        sys::SRand(11);
        arena_ = std::make_unique<Arena>();
        gArena = arena_.get();
        arena_->Initialize();
        SetCurrentGame(&game_);
        matcher_ = std::make_unique<PatternMatcher>();
        gPatternMatcher = matcher_.get();
        unit_ = AddVorn(&red_, 80.0f, 80.0f, 0.0f);
        for (int k = 0; k < nearby; ++k) {
            // A spiral of distances 2 to 19.5 and angles, so that every object is within
            // reach and the kinds mix around the unit.
            const float a = 2.39996f * float(k);
            const float r = 2.0f + 17.5f * std::sqrt((float(k) + 0.5f) / float(nearby));
            const Vector3 p(80.0f + r * std::cos(a), 80.0f + r * std::sin(a), 0.0f);
            if (k % 3 == 0) {
                WorldObject* tree = arena_->NewObjectOfKind(kKindTree);
                arena_->AddObject(tree);
                tree->PlaceAt(p);
            } else {
                AddVorn(k % 3 == 1 ? &red_ : &blue_, p.x, p.y, a);
            }
        }
        static constexpr int kKinds[3] = {kPatternEnemy, kPatternTree, kPatternFriend};
        unit_->patternCount = patterns;
        for (int i = 0; i < patterns; ++i) {
            Pattern& pattern = unit_->PatternAt(i);
            pattern.Reset();
            for (int k = 0; k < objectsPerPattern; ++k) {
                PatternObject* object = arena_->NewPatternObject();
                object->Clear();
                object->kind = kKinds[(i + k) % 3];
                const float a = 0.8f * float(k) + 0.3f * float(i);
                object->SetPosition(Vector2(14.0f * std::cos(a), 14.0f * std::sin(a)));
                pattern.AddObject(object);
            }
            PathPoint* point = pattern.AddPathPoint();
            point->SetPosition(Vector2(6.0f, float(i % 7) - 3.0f));
            Action* action = point->AddAction();
            action->kind = kActionFire1;
            action->point = Vector2(12.0f, 0.0f);
            pattern.RebuildLayout();
        }
    }

    ~MatcherScene() {
        gPatternMatcher = nullptr;
        matcher_.reset();
        SetCurrentGame(nullptr);
        arena_->Shutdown();
        gArena = nullptr;
    }

    void Evaluate() {
        matcher_->Evaluate(*unit_);
        // A frame's end: the actions the run replaced go back into use.
        arena_->FlushObjectPools();
    }

    // The scores of the last evaluation folded into 32 bits, so that a change meant to be
    // only faster shows whether the results stayed the same.
    uint32_t ScoreChecksum() const {
        uint32_t sum = 2166136261u;
        for (int i = 0; i < unit_->patternCount; ++i) {
            const Pattern& pattern = unit_->PatternAt(i);
            for (const uint32_t word : {static_cast<uint32_t>(pattern.score), uint32_t(pattern.valid)}) {
                sum = (sum ^ word) * 16777619u;
            }
        }
        return sum;
    }

private:
    Vorn* AddVorn(Player* owner, float x, float y, float heading) {
        Vorn* unit = arena_->NewVorn(0);
        unit->SetPlayer(owner);
        unit->ResetHealth(10.0f);
        unit->heading = heading;
        arena_->AddObject(unit);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        return unit;
    }

    BenchGame game_;
    Player red_;
    Player blue_;
    std::unique_ptr<Arena> arena_;
    std::unique_ptr<PatternMatcher> matcher_;
    Vorn* unit_ = nullptr;
};

void BM_PatternMatcherEvaluate(benchmark::State& state) {
    MatcherScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                       static_cast<int>(state.range(2)));
    // Two evaluations first, so that the work storage has grown to what the scene needs,
    // as have the pools that take back the actions an evaluation replaces.
    scene.Evaluate();
    scene.Evaluate();
    const int64_t allocationsBefore = gAllocations.load();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    for (auto _ : state) {
        scene.Evaluate();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = ThreadCpuSeconds() - cpuStart;
    const int64_t allocations = gAllocations.load() - allocationsBefore;
    state.SetItemsProcessed(state.iterations());
    char label[40];
    std::snprintf(label, sizeof label, "evaluations, scores %08x", scene.ScoreChecksum());
    state.SetLabel(label);
    state.counters["allocations_per_evaluation"] =
        double(allocations) / double(std::max<int64_t>(state.iterations(), 1));
    // 16 patterns of 8 objects among 50 took 0.78 ms an evaluation before the tuning.
    constexpr double kLastTurnMilliseconds = 0.78;
    if (state.range(0) == 16 && state.range(1) == 8 && state.range(2) == 50 && state.iterations() > 0) {
        const double evaluations = double(state.iterations());
        state.counters["ms_per_evaluation"] = 1000.0 * seconds / evaluations;
        state.counters["vs_last_turn"] = 1000.0 * seconds / evaluations / kLastTurnMilliseconds;
        // The thread's own time, which the other programs of a busy machine do not inflate.
        state.counters["cpu_vs_last_turn"] = 1000.0 * cpuSeconds / evaluations / kLastTurnMilliseconds;
    }
}

BENCHMARK(BM_PatternMatcherEvaluate)
    ->ArgNames({"patterns", "objects", "nearby"})
    ->ArgsProduct({{1, 16}, {0, 4, 8}, {0, 10, 50, 200}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
