#pragma once
// Brings a test's arena up as the global one, with the test's game as the current game,
// and takes both down again; the arena is an initialised one on flat 16 x 16 terrain
// (160 x 160 world units).
#include <memory>

#include "core/MemoryBlock.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"
#include "world/WorldObject.h"

namespace world_test {

inline std::unique_ptr<Arena> OpenArena(Game& game) {
    // A fixed seed makes the arena's random choices the same in every run.
    sys::SRand(1);
    auto arena = std::make_unique<Arena>();
    gArena = arena.get();
    arena->Initialize();
    SetCurrentGame(&game);
    return arena;
}

inline void CloseArena(Arena& arena) {
    SetCurrentGame(nullptr);
    arena.Shutdown();
    gArena = nullptr;
}

// An object of the kind in the list, with health 10, resting at (x, y).
inline WorldObject* AddObjectOfKind(Arena& arena, int kind, float x, float y) {
    WorldObject* object = arena.NewObjectOfKind(kind);
    object->ResetHealth(10.0f);
    arena.AddObject(object);
    object->PlaceAt(Vector3(x, y, 0.0f));
    return object;
}

// Unit records taken from the arena's pool and not given back, on the field or off it.
inline int UnitRecordsInUse(const Arena& arena) {
    const MemoryBlock& pool = *arena.PoolOfKind(kKindVorn);
    return pool.BlockCount() * pool.PerBlock() - pool.FreeCount() - pool.PendingCount();
}

}  // namespace world_test
