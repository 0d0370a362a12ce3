// The arena's object pools: making them, preallocating them, handing out cleared
// records and taking them back, and the object ids that the pools give out.
#include <new>
#include <type_traits>

#include "core/MemoryBlock.h"
#include "game/PlayerRoster.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/Debris.h"
#include "world/ExplosionField.h"
#include "world/FieldGenerator.h"
#include "world/FirePuff.h"
#include "world/FlameBall.h"
#include "world/FlyByPoint.h"
#include "world/Goal.h"
#include "world/GooField.h"
#include "world/HealthField.h"
#include "world/LaserBeam.h"
#include "world/LaunchPoint.h"
#include "world/LoadingListener.h"
#include "world/Meteor.h"
#include "world/Missile.h"
#include "world/Rock.h"
#include "world/ScorchMark.h"
#include "world/Shrapnel.h"
#include "world/SmokePuff.h"
#include "world/SoccerBall.h"
#include "world/SolarCharger.h"
#include "world/StaticField.h"
#include "world/Terrain.h"
#include "world/Tree.h"
#include "world/WaterRing.h"

// A pool of the arena. World objects get their ids when their block is made, so that
// every object a pool ever made has one, and peers that make the same blocks in the
// same order agree on them.
template <typename T>
class ArenaPool : public TypedMemoryBlock<T> {
public:
    ArenaPool(Arena& arena, const char* name, int perBlock, int initialBlocks)
        : TypedMemoryBlock<T>(name, perBlock, initialBlocks), arena_(arena) {}

    // A record as freshly made; a world object keeps its id.
    T* TakeCleared() {
        T* object = this->Allocate();
        if constexpr (std::is_base_of_v<WorldObject, T>) {
            const int32_t id = object->id;
            object->~T();
            new (object) T();
            object->id = id;
        } else {
            *object = T();
        }
        return object;
    }

protected:
    void* NewBlock() override {
        void* block = TypedMemoryBlock<T>::NewBlock();
        if constexpr (std::is_base_of_v<WorldObject, T>) {
            T* objects = static_cast<T*>(block);
            for (int i = 0; i < this->PerBlock(); ++i) {
                objects[i].AssignId(arena_);
            }
        }
        return block;
    }

private:
    Arena& arena_;
};

struct Arena::Pools {
    // Declared in the order the pools are made: the table order, with the two action
    // pools last.
    ArenaPool<PatternObject> patternObject;
    ArenaPool<PathPoint> pathPoint;
    ArenaPool<MapConditional> mapConditional;
    ArenaPool<LaserBeam> laserBeam;
    ArenaPool<Shrapnel> shrapnel;
    ArenaPool<FlameBall> flameBall;
    ArenaPool<Missile> missile;
    ArenaPool<Meteor> meteor;
    ArenaPool<Vorn> vorn;
    ArenaPool<Tree> tree;
    ArenaPool<SolarCharger> solarCharger;
    ArenaPool<SoccerBall> soccerBall;
    ArenaPool<Goal> goal;
    ArenaPool<Rock> rock;
    ArenaPool<Beacon> beacon;
    ArenaPool<Debris> debris;
    ArenaPool<GooField> gooField;
    ArenaPool<HealthField> healthField;
    ArenaPool<StaticField> staticField;
    ArenaPool<ExplosionField> explosionField;
    ArenaPool<FieldGenerator> fieldGenerator;
    ArenaPool<SmokePuff> smokePuff;
    ArenaPool<FirePuff> firePuff;
    ArenaPool<ScorchMark> scorchMark;
    ArenaPool<WaterRing> waterRing;
    ArenaPool<LaunchPoint> launchPoint;
    ArenaPool<FlyByPoint> flyByPoint;
    ArenaPool<VornAction> vornAction;
    ArenaPool<Action> action;

    explicit Pools(Arena& a)
        : patternObject(a, "PatternObject", 50, 50),
          pathPoint(a, "PathPoint", 50, 50),
          mapConditional(a, "MapConditional", 50, 50),
          laserBeam(a, "LaserBeam", 1, 50),
          shrapnel(a, "Shrapnel", 1, 50),
          flameBall(a, "FlameBall", 1, 50),
          missile(a, "Missile", 1, 50),
          meteor(a, "Meteor", 1, 50),
          vorn(a, "Vorn", 1, 50),
          tree(a, "Tree", 1, 50),
          solarCharger(a, "SolarCharger", 1, 50),
          soccerBall(a, "SoccerBall", 1, 10),
          goal(a, "Goal", 1, 10),
          rock(a, "Rock", 1, 50),
          beacon(a, "Beacon", 1, 50),
          debris(a, "Debris", 1, 50),
          gooField(a, "GooField", 1, 20),
          healthField(a, "HealthField", 1, 20),
          staticField(a, "StaticField", 1, 20),
          explosionField(a, "ExplosionField", 1, 20),
          fieldGenerator(a, "FieldGenerator", 1, 20),
          smokePuff(a, "SmokePuff", 1, 50),
          firePuff(a, "FirePuff", 1, 50),
          scorchMark(a, "ScorchMark", 1, 50),
          waterRing(a, "WaterRing", 1, 50),
          launchPoint(a, "LaunchPoint", 1, 20),
          flyByPoint(a, "FlyByPoint", 1, 20),
          vornAction(a, "VornAction", 50, 50),
          action(a, "Action", 50, 50) {}

    // Every object each world object pool has made, free or in use.
    template <typename F>
    void ForEachObject(F&& visit);

    template <typename T, typename F>
    static void VisitPool(ArenaPool<T>& pool, F& visit) {
        const int count = pool.BlockCount() * pool.PerBlock();
        for (int i = 0; i < count; ++i) {
            visit(*pool.ElementAt(i));
        }
    }

    // In the order they were made.
    MemoryBlock* All(int index) {
        MemoryBlock* const all[kArenaPoolCount] = {
            &patternObject, &pathPoint,      &mapConditional, &laserBeam,  &shrapnel,     &flameBall,
            &missile,       &meteor,         &vorn,           &tree,       &solarCharger, &soccerBall,
            &goal,          &rock,           &beacon,         &debris,     &gooField,     &healthField,
            &staticField,   &explosionField, &fieldGenerator, &smokePuff,  &firePuff,     &scorchMark,
            &waterRing,     &launchPoint,    &flyByPoint,     &vornAction, &action};
        return index >= 0 && index < kArenaPoolCount ? all[index] : nullptr;
    }

    // The pool of each kind 0..21.
    MemoryBlock* OfKind(int kind) {
        MemoryBlock* const byKind[kObjectKindCount] = {
            &tree,   &rock,      &solarCharger,   &vorn,           &meteor,      &laserBeam, &beacon,    &soccerBall,
            &goal,   &gooField,  &explosionField, &staticField,    &healthField, &shrapnel,  &flameBall, &missile,
            &debris, &smokePuff, &firePuff,       &fieldGenerator, &scorchMark,  &waterRing};
        return IsKindInRange(kind) ? byKind[kind] : nullptr;
    }
};

Arena::Arena()
    : currentPlayer(&GetLocalPlayer()), terrain_(std::make_unique<Terrain>()), objects_(100), sortScratch_(100) {
    CreatePools();
}

Arena::~Arena() {
    for (Array<DamageHit>* hits : damageHitLists_) {
        delete hits;
    }
}

void Arena::CreatePools() { pools_ = std::make_unique<Pools>(*this); }

void Arena::PreallocatePools() {
    Pools& p = *pools_;
    // The laser beam pool comes last: preallocated like the others, so that no shot
    // makes a block during play, without changing the ids the other pools give out.
    MemoryBlock* const order[] = {&p.pathPoint,   &p.patternObject,  &p.vornAction,     &p.action,       &p.vorn,
                                  &p.debris,      &p.smokePuff,      &p.firePuff,       &p.scorchMark,   &p.meteor,
                                  &p.rock,        &p.healthField,    &p.staticField,    &p.waterRing,    &p.flyByPoint,
                                  &p.launchPoint, &p.mapConditional, &p.gooField,       &p.solarCharger, &p.soccerBall,
                                  &p.goal,        &p.fieldGenerator, &p.beacon,         &p.missile,      &p.tree,
                                  &p.shrapnel,    &p.flameBall,      &p.explosionField, &p.laserBeam};
    for (MemoryBlock* pool : order) {
        pool->Preallocate();
        ReportLoadingStep();
    }
}

void Arena::DestroyPools() {
    // Units own patterns whose parts go back to the pattern-part pools when a unit is
    // destroyed, so the unit pool goes first, while every other pool still stands.
    if (pools_) {
        pools_->vorn.Clear();
    }
    pools_.reset();
}

MemoryBlock* Arena::PoolOfKind(int kind) const { return pools_ ? pools_->OfKind(kind) : nullptr; }

MemoryBlock* Arena::PoolAt(int index) const { return pools_ ? pools_->All(index) : nullptr; }

void Arena::FlushObjectPools() {
    for (int i = 0; i < kArenaPoolCount; ++i) {
        pools_->All(i)->Flush();
    }
}

Tree* Arena::NewTree() { return pools_->tree.TakeCleared(); }
Rock* Arena::NewRock() { return pools_->rock.TakeCleared(); }
SolarCharger* Arena::NewSolarCharger() { return pools_->solarCharger.TakeCleared(); }
SoccerBall* Arena::NewSoccerBall() { return pools_->soccerBall.TakeCleared(); }
Goal* Arena::NewGoal() { return pools_->goal.TakeCleared(); }
Beacon* Arena::NewBeacon() { return pools_->beacon.TakeCleared(); }
ExplosionField* Arena::NewExplosionField() { return pools_->explosionField.TakeCleared(); }
GooField* Arena::NewGooField() { return pools_->gooField.TakeCleared(); }
StaticField* Arena::NewStaticField() { return pools_->staticField.TakeCleared(); }
HealthField* Arena::NewHealthField() { return pools_->healthField.TakeCleared(); }
FirePuff* Arena::NewFirePuff() { return pools_->firePuff.TakeCleared(); }
WaterRing* Arena::NewWaterRing() { return pools_->waterRing.TakeCleared(); }

Vorn* Arena::NewVorn(uint8_t squadMember) {
    Vorn* vorn = pools_->vorn.TakeCleared();
    vorn->chassisType = -1;
    vorn->squadMember = squadMember;
    return vorn;
}

VornAction* Arena::NewVornAction() {
    VornAction* action = pools_->vornAction.TakeCleared();
    action->ClearStateFlags();
    return action;
}

Action* Arena::NewAction() { return pools_->action.TakeCleared(); }
PatternObject* Arena::NewPatternObject() { return pools_->patternObject.TakeCleared(); }
MapConditional* Arena::NewMapConditional() { return pools_->mapConditional.TakeCleared(); }
PathPoint* Arena::NewPathPoint() { return pools_->pathPoint.TakeCleared(); }
LaunchPoint* Arena::NewLaunchPoint() { return pools_->launchPoint.TakeCleared(); }
FlyByPoint* Arena::NewFlyByPoint() { return pools_->flyByPoint.TakeCleared(); }

WorldObject* Arena::NewObjectOfKind(int kind) {
    Pools& p = *pools_;
    switch (kind) {
        case kKindTree: return p.tree.TakeCleared();
        case kKindRock: return p.rock.TakeCleared();
        case kKindSolarCharger: return p.solarCharger.TakeCleared();
        case kKindVorn: return NewVorn(0);
        case kKindMeteor: return p.meteor.TakeCleared();
        case kKindLaserBeam: return p.laserBeam.TakeCleared();
        case kKindBeacon: return p.beacon.TakeCleared();
        case kKindSoccerBall: return p.soccerBall.TakeCleared();
        case kKindGoal: return p.goal.TakeCleared();
        case kKindGooField: return p.gooField.TakeCleared();
        case kKindExplosionField: return p.explosionField.TakeCleared();
        case kKindStaticField: return p.staticField.TakeCleared();
        case kKindHealthField: return p.healthField.TakeCleared();
        case kKindShrapnel: return p.shrapnel.TakeCleared();
        case kKindFlameBall: return p.flameBall.TakeCleared();
        case kKindMissile: return p.missile.TakeCleared();
        case kKindDebris: return p.debris.TakeCleared();
        case kKindSmokePuff: return p.smokePuff.TakeCleared();
        case kKindFirePuff: return p.firePuff.TakeCleared();
        case kKindFieldGenerator: return p.fieldGenerator.TakeCleared();
        case kKindScorchMark: return p.scorchMark.TakeCleared();
        case kKindWaterRing: return p.waterRing.TakeCleared();
        default: return nullptr;
    }
}

void Arena::FreeObject(WorldObject* object) {
    // Each kind's pool holds exactly that class, whose only base chain starts with the
    // world object, so the object's address is its pool element's. A pointer from
    // elsewhere is refused by the pool.
    if (MemoryBlock* pool = PoolOfKind(object->kind)) {
        pool->Release(object);
    }
}

void Arena::FreeVornAction(VornAction* action) { pools_->vornAction.Release(action); }

void Arena::FreeAction(Action* action) {
    action->Clear();
    pools_->action.Release(action);
}

void Arena::FreePathPoint(PathPoint* point) {
    pools_->pathPoint.Release(point);
    point->Clear();
}

void Arena::FreePatternObject(PatternObject* object) {
    pools_->patternObject.Release(object);
    object->Clear();
}

void Arena::FreeMapConditional(MapConditional* conditional) {
    pools_->mapConditional.Release(conditional);
    conditional->Clear();
}

void Arena::FreeLaunchPoint(LaunchPoint* point) { pools_->launchPoint.Release(point); }
void Arena::FreeFlyByPoint(FlyByPoint* point) { pools_->flyByPoint.Release(point); }

void Arena::ClearPointLists() {
    for (LaunchPoint* point : launchPoints) {
        FreeLaunchPoint(point);
    }
    launchPoints.Clear();
    for (FlyByPoint* point : flyByPoints) {
        FreeFlyByPoint(point);
    }
    flyByPoints.Clear();
}

template <typename F>
void Arena::Pools::ForEachObject(F&& visit) {
    // The order in which renumbering hands out ids, the same on every peer.
    VisitPool(explosionField, visit);
    VisitPool(gooField, visit);
    VisitPool(staticField, visit);
    VisitPool(healthField, visit);
    VisitPool(shrapnel, visit);
    VisitPool(flameBall, visit);
    VisitPool(fieldGenerator, visit);
    VisitPool(meteor, visit);
    VisitPool(debris, visit);
    VisitPool(smokePuff, visit);
    VisitPool(firePuff, visit);
    VisitPool(scorchMark, visit);
    VisitPool(waterRing, visit);
    VisitPool(laserBeam, visit);
    VisitPool(missile, visit);
    VisitPool(tree, visit);
    VisitPool(vorn, visit);
    VisitPool(solarCharger, visit);
    VisitPool(soccerBall, visit);
    VisitPool(goal, visit);
    VisitPool(rock, visit);
    VisitPool(beacon, visit);
}

void Arena::RenumberObjects() {
    syncedIdCounter_ = 0;
    localIdCounter_ = 1000000;
    pools_->ForEachObject([this](WorldObject& object) { object.AssignId(*this); });
}

void Arena::ResetAllVisitStamps() {
    pools_->ForEachObject([](WorldObject& object) { object.visitStamp = -1; });
}
