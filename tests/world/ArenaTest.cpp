#include <vector>

#include "battlefield/ArenaWindow.h"
#include "battlefield/BattlefieldViews.h"
#include "core/MemoryBlock.h"
#include "support/ArenaFixture.h"
#include "units/PatternIcons.h"
#include "world/ArenaViewListener.h"
#include "world/ContactRecord.h"
#include "world/ExplosionField.h"
#include "world/Rock.h"
#include "world/Tree.h"

namespace {

// Kinds outside the table have no pool, so probes of it never reach one.
constexpr int kPoolless = 30;

using ArenaGeometryTest = ArenaFixture;
using ArenaListTest = ArenaFixture;

TEST_F(ArenaGeometryTest, GridCellsWrapWithNonNegativeModulo) {
    EXPECT_EQ(&arena->GridCell(-1, 32), &arena->GridCell(31, 0));
    EXPECT_EQ(&arena->GridCell(64, -33), &arena->GridCell(0, 31));
    EXPECT_NE(&arena->GridCell(0, 1), &arena->GridCell(1, 0));
}

TEST_F(ArenaGeometryTest, CellOfPointIsUnwrapped) {
    EXPECT_EQ(arena->CellOfPoint(Vector3(kW, 0, 0)), Point(32, 0));
    EXPECT_EQ(&arena->GridCell(32, 0), &arena->GridCell(0, 0));
    EXPECT_EQ(arena->CellOfPoint(Vector3(-0.001f, 0, 0)), Point(-1, 0));
    EXPECT_EQ(arena->CellOfPoint(Vector3(4.99f, 5.0f, 0)), Point(0, 1));
    const Vector3 offset = arena->CellImageOffset(-1, 32);
    EXPECT_EQ(offset, Vector3(-kW, kW, 0));
}

TEST_F(ArenaGeometryTest, WrapPositionAndImages) {
    EXPECT_EQ(arena->WrapPosition(Vector3(-1, 161, 7)), Vector3(159, 1, 7));
    // A remainder that rounds up to the world size folds to 0, not to W.
    EXPECT_LT(arena->WrapPosition(Vector3(-1e-6f, 0, 0)).x, kW);
    const Vector3 p(10, 20, 3);
    EXPECT_EQ(arena->ImageOfPoint(p, 4), Vector3(10 - kW, 20 + kW, 3));
    EXPECT_EQ(arena->ImageOfPoint(p, 8), Vector3(10 + kW, 20 - kW, 3));
    EXPECT_EQ(arena->ImageOfPoint(p, 9), p);
    EXPECT_EQ(arena->ImageOfPoint(p, -1), p);
}

TEST_F(ArenaGeometryTest, NearestImageAcrossTheWrap) {
    EXPECT_EQ(arena->NearestImage(Vector3(1, 1, 0), Vector3(kW - 1, kW - 1, 5)), Vector3(-1, -1, 5));
    EXPECT_EQ(arena->NearestImage(Vector3(3, 4, 0), Vector3(3, 4, 9)), Vector3(3, 4, 9));
    // A point one world size outside needs the step of 2.
    EXPECT_EQ(arena->NearestImage(Vector3(10, 10, 0), Vector3(10 + 2 * kW, 10, 0)), Vector3(10, 10, 0));
    // Exactly half a world apart both images tie: the earlier candidate (step 0) wins.
    EXPECT_EQ(arena->NearestImage(Vector3(0, 0, 0), Vector3(80, 0, 0)), Vector3(80, 0, 0));
    // With the reference to the right the step goes the other way, and still step 0 ties first.
    EXPECT_EQ(arena->NearestImage(Vector3(100, 0, 0), Vector3(20, 0, 0)), Vector3(20, 0, 0));
    EXPECT_FLOAT_EQ(arena->WrappedDistance2D(Vector3(1, 1, 0), Vector3(kW - 2, 1, 40)), 3.0f);
}

TEST_F(ArenaGeometryTest, ObjectsEnterEveryCellTheirCircleCovers) {
    Probe* probe = AddProbe(0.5f, 80.0f, 1.0f, kPoolless);
    // Cells -1..0 in x (wrapping to 31 and 0), 15..16 in y.
    EXPECT_EQ(probe->bounds, IntRect(-1, 15, 0, 16));
    EXPECT_NE(arena->GridCell(31, 15).Find(probe), -1);
    EXPECT_NE(arena->GridCell(0, 16).Find(probe), -1);
    EXPECT_EQ(probe->gridCell, &arena->GridCell(0, 16));
    probe->PlaceAt(Vector3(50, 50, 0));
    EXPECT_EQ(arena->GridCell(31, 15).Find(probe), -1);
    EXPECT_NE(arena->GridCell(10, 10).Find(probe), -1);
}

// Walks meet a cell's objects in the order they were last placed: a step that keeps an
// object in its cells moves it behind the others there, in the body cells too, so the
// first hit of a walk over both is the one placed earlier.
TEST_F(ArenaGeometryTest, AStepWithinTheSameCellsMovesTheObjectBehindTheOthers) {
    Probe* first = AddProbe(51, 52, 0.5f, kKindRock);
    Probe* second = AddProbe(52.5f, 52, 0.5f, kKindRock);
    Probe* third = AddProbe(54, 52, 0.5f, kKindRock);
    first->PlaceAt(Vector3(51.5f, 52, 0));
    ASSERT_EQ(first->bounds, second->bounds);
    ASSERT_EQ(third->bounds, second->bounds);
    for (::GridCell* cell : {&arena->GridCell(10, 10), &arena->BodyCell(10, 10)}) {
        ASSERT_EQ(cell->Count(), 3);
        EXPECT_EQ((*cell)[0], second);
        EXPECT_EQ((*cell)[1], third);
        EXPECT_EQ((*cell)[2], first);
    }
    CollisionShape across;
    const float z = first->shape.sphereCentre.z;
    across.SetCylinder(Vector3(50.2f, 52, z), Vector3(54.8f, 52, z), 0.3f);
    ContactRecord hit;
    ASSERT_TRUE(arena->FindFirstHit(nullptr, across, &hit, nullptr));
    EXPECT_EQ(hit.otherObject, second);
}

TEST_F(ArenaListTest, UpdateOrderWithSelfRemovalAndReplacement) {
    std::vector<std::string> log;
    Probe* a = AddProbe(10, 10, 1, kPoolless);
    Probe* b = AddProbe(20, 10, 1, kPoolless);
    Probe* c = AddProbe(30, 10, 1, kPoolless);
    Probe* n1 = AddProbe(40, 10, 1, kPoolless);
    Probe* n2 = AddProbe(50, 10, 1, kPoolless);
    Probe* n3 = AddProbe(60, 10, 1, kPoolless);
    for (Probe* n : {n1, n2, n3}) {
        arena->DetachObject(n);
    }
    a->onUpdate = [&](Probe&) {
        log.push_back("a");
        a->Remove(0);
        // Still listed until the end of the step.
        EXPECT_EQ(arena->FindObjectIndex(a), 0);
    };
    int bRuns = 0;
    b->onUpdate = [&](Probe&) {
        log.push_back("b");
        if (bRuns++ == 0) {
            b->timeBudget = 0.25f;
            WorldObject* const fresh[] = {n1, n2, n3};
            arena->ReplaceWithObjects(b, fresh);
        }
    };
    c->onUpdate = [&](Probe&) { log.push_back("c"); };
    n1->onUpdate = [&](Probe& p) {
        log.push_back("n1");
        EXPECT_FLOAT_EQ(p.timeBudget, 0.25f);
    };
    n2->onUpdate = [&](Probe&) { log.push_back("n2"); };
    n3->onUpdate = [&](Probe&) { log.push_back("n3"); };
    arena->Update();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "n1", "c", "n2", "n3", "b"}));
    EXPECT_EQ(game.dispatches, 7);
    EXPECT_EQ(arena->FindObjectIndex(a), -1);
    EXPECT_FALSE(a->active);
    EXPECT_EQ(arena->ObjectCount(), 5);
    EXPECT_EQ(arena->listChanged, 0);
}

int BeaconsAndGoalsListed(const Arena& arena) {
    int count = 0;
    for (const WorldObject* object : arena.Objects()) {
        count += object->kind == kKindBeacon || object->kind == kKindGoal;
    }
    return count;
}

// The matcher skips its walk for beacons and goals when the count says there are none.
TEST_F(ArenaListTest, TheBeaconAndGoalCountFollowsTheList) {
    WorldObject* beacon = AddKind(kKindBeacon, 10, 10);
    AddKind(kKindGoal, 20, 10);
    WorldObject* tree = AddKind(kKindTree, 30, 10);
    WorldObject* later = AddKind(kKindBeacon, 40, 10);
    arena->DetachObject(later);
    EXPECT_EQ(arena->BeaconAndGoalCount(), 2);
    WorldObject* const replacing[] = {later};
    arena->ReplaceWithObjects(tree, replacing);
    EXPECT_EQ(arena->BeaconAndGoalCount(), 3);
    beacon->Remove(0);
    arena->Update();
    EXPECT_EQ(arena->BeaconAndGoalCount(), BeaconsAndGoalsListed(*arena));
    EXPECT_EQ(arena->BeaconAndGoalCount(), 2);
}

TEST_F(ArenaListTest, SortKeepsOrderWithinGroups) {
    Probe* vorn = AddProbe(1, 1, 1, kKindVorn);
    Probe* tree = AddProbe(2, 2, 1, kKindTree);
    Probe* missile = AddProbe(3, 3, 1, kKindMissile);
    Probe* rock = AddProbe(4, 4, 1, kKindRock);
    Probe* puff = AddProbe(5, 5, 1, kKindFirePuff);
    arena->SortObjectList();
    const std::vector<WorldObject*> expected{missile, puff, tree, rock, vorn};
    EXPECT_EQ(std::vector<WorldObject*>(arena->Objects().begin(), arena->Objects().end()), expected);
}

TEST_F(ArenaListTest, RemovedObjectsReturnToTheirPoolOnlyAfterTheFlush) {
    WorldObject* tree = AddKind(kKindTree, 20, 20);
    tree->Remove(0);
    Tree* during = nullptr;
    Probe* spawner = AddProbe(50, 50, 1, kPoolless);
    spawner->onUpdate = [&](Probe&) {
        if (during == nullptr) {
            during = arena->NewTree();
        }
    };
    arena->Update();
    EXPECT_NE(during, tree);
    EXPECT_EQ(game.destroyed, std::vector<WorldObject*>{tree});
    // The flush at the end of the step freed the slot: it is handed out next.
    EXPECT_EQ(arena->NewTree(), tree);
}

TEST_F(ArenaListTest, NewRecordsAreClearedButKeepTheirIds) {
    Rock* rock = arena->NewRock();
    const int id = rock->id;
    rock->health = 3.0f;
    rock->team = 7;
    rock->removed = true;
    arena->FreeObject(rock);
    arena->FlushObjectPools();
    Rock* again = arena->NewRock();
    ASSERT_EQ(again, rock);
    EXPECT_EQ(again->id, id);
    // A fresh rock: full rock health and one of its six looks, whatever the last user left.
    EXPECT_EQ(again->health, 1000.0f);
    EXPECT_GE(again->team, 0);
    EXPECT_LE(again->team, 5);
    EXPECT_FALSE(again->removed);
    EXPECT_EQ(again->kind, kKindRock);
}

TEST_F(ArenaListTest, RenumberCountsSyncedFromZeroAndLocalFromAMillion) {
    arena->RenumberObjects();
    // Synced ids go to laser beams (50) and missiles (50) before the trees, and to units,
    // chargers, balls and goals between the trees and the rocks.
    auto* tree = static_cast<Tree*>(arena->PoolOfKind(kKindTree)->ElementAt(0));
    EXPECT_EQ(tree->id, 100);
    auto* rock = static_cast<Rock*>(arena->PoolOfKind(kKindRock)->ElementAt(0));
    EXPECT_EQ(rock->id, 100 + 50 + 50 + 50 + 10 + 10);
    // Local ids start with the explosion fields.
    auto* explosion = static_cast<ExplosionField*>(arena->PoolOfKind(kKindExplosionField)->ElementAt(0));
    EXPECT_EQ(explosion->id, 1000000);
    EXPECT_EQ(arena->NewObjectOfKind(kKindGooField)->id, 1000000 + 20 + 19);
}

TEST_F(ArenaListTest, RemovalDuringTheUpdateWaitsForTheEndOfTheLoop) {
    WorldObject* rock = AddKind(kKindRock, 30, 30);
    Probe* killer = AddProbe(60, 60, 1, kPoolless);
    killer->onUpdate = [&](Probe&) {
        arena->DestroyObject(rock, true);
        EXPECT_TRUE(rock->active);
        EXPECT_TRUE(rock->removed);
    };
    arena->Update();
    EXPECT_FALSE(rock->active);
    EXPECT_EQ(game.destroyed, std::vector<WorldObject*>{rock});
}

TEST_F(ArenaListTest, EveryFlaggedObjectLeaves) {
    for (int i = 0; i < 5; ++i) {
        AddKind(kKindRock, 10.0f * i + 5, 5)->Remove(0);
    }
    arena->RemoveFlaggedObjects(false);
    EXPECT_EQ(arena->ObjectCount(), 0);
    for (int x = 0; x < kGridSize; ++x) {
        EXPECT_TRUE(arena->GridCell(x, 0).IsEmpty());
    }
}

class RecordingListener : public RemovalListener {
public:
    void OnObjectRemoved(WorldObject& object) override {
        if (held == &object) {
            held = nullptr;
        }
    }
    WorldObject* held = nullptr;
};

TEST_F(ArenaListTest, NoHolderFollowsARecycledSlot) {
    WorldObject* tree = AddKind(kKindTree, 40, 40);
    BattlefieldViews views;
    views.Attach(*arena);
    ArenaWindow& window = GetArenaWindow();
    window.Select(tree);
    window.SetFollowObject(tree);
    RecordingListener listener;
    listener.held = tree;
    arena->RegisterRemovalListener(&listener);
    game.lastDamagedVorn = nullptr;
    arena->ClearBattlefield(false);
    EXPECT_FALSE(window.IsSelected(tree));
    EXPECT_EQ(window.GetFollowObject(), nullptr);
    EXPECT_EQ(listener.held, nullptr);
    // The slot comes back as a new tree; nobody points at it.
    EXPECT_EQ(arena->NewTree(), tree);
    EXPECT_EQ(listener.held, nullptr);
    EXPECT_EQ(window.Selection().Count(), 0);
    arena->UnregisterRemovalListener(&listener);
    views.Detach(*arena);
}

// Told of one removal, it destroys another object first in the list.
class DestroyingListener : public RemovalListener {
public:
    DestroyingListener(Arena& arena, WorldObject* trigger, WorldObject* victim)
        : arena_(arena), trigger_(trigger), victim_(victim) {}
    void OnObjectRemoved(WorldObject& object) override {
        if (&object == trigger_) {
            trigger_ = nullptr;
            arena_.DestroyObject(victim_, false);
        }
    }

private:
    Arena& arena_;
    WorldObject* trigger_;
    WorldObject* victim_;
};

TEST_F(ArenaListTest, AFlaggedObjectLeavesWhenItsRemovalShiftsTheList) {
    WorldObject* front = AddKind(kKindRock, 5, 5);
    WorldObject* middle = AddKind(kKindRock, 25, 5);
    WorldObject* flagged = AddKind(kKindRock, 45, 5);
    WorldObject* back = AddKind(kKindRock, 65, 5);
    DestroyingListener listener(*arena, flagged, front);
    arena->RegisterRemovalListener(&listener);
    flagged->Remove(0);
    arena->RemoveFlaggedObjects(false);
    arena->UnregisterRemovalListener(&listener);
    ASSERT_EQ(arena->ObjectCount(), 2);
    EXPECT_EQ(arena->ObjectAt(0), middle);
    EXPECT_EQ(arena->ObjectAt(1), back);
    EXPECT_FALSE(flagged->active);
}

// Records what the arena tells its views, in order.
class RecordingViews : public ArenaViewListener {
public:
    void OnObjectRemoved(WorldObject& object) override {
        heard.push_back("removed " + WorldObject::KindName(object.kind));
    }
    void OnSelectionViewsClosed() override { heard.push_back("selection closed"); }
    void OnTerrainChanged() override { heard.push_back("terrain"); }
    void OnScenarioNamed(const String& name) override { heard.push_back("scenario " + name); }
    void OnFollowedObjectReplaced(WorldObject*, WorldObject* to) override {
        heard.push_back(to == nullptr ? "follow none" : "follow " + WorldObject::KindName(to->kind));
    }
    std::vector<String> heard;
};

TEST_F(ArenaListTest, ViewsHearWhatTheyShowChangeUntilTheyLeave) {
    RecordingViews views;
    arena->RegisterViewListener(&views);
    WorldObject* rock = AddKind(kKindRock, 40, 40);
    arena->FillTerrain(kTerrainStone);
    arena->SetScenarioName("Hills");
    arena->ReplaceFollowedObject(rock, nullptr);
    arena->ClearBattlefield(false);
    const std::vector<String> expected = {"terrain", "scenario Hills", "follow none", "selection closed",
                                          "removed " + WorldObject::KindName(kKindRock)};
    EXPECT_EQ(views.heard, expected);

    arena->UnregisterViewListener(&views);
    arena->FillTerrain(kTerrainGrass);
    EXPECT_EQ(views.heard.size(), expected.size());
}

TEST_F(ArenaListTest, EachWorldStepAdvancesThePatternPulse) {
    SetPatternPulsePhase(0.0f);
    SetPatternPulseTime(0.0f);
    game.frameTime = 0.3f;
    arena->Update();
    arena->Update();
    EXPECT_NEAR(PatternPulsePhase(), 0.2f, 1e-5f);
    EXPECT_NEAR(PatternPulseTime(), 0.6f, 1e-5f);
    SetPatternPulseTime(0.0f);
}

TEST_F(ArenaListTest, ClocksAccumulateUnlessAUnitIsDebugged) {
    Probe* probe = AddProbe(10, 10, 1, kPoolless);
    game.frameTime = 0.1f;
    arena->AdvanceObjectClocks();
    arena->AdvanceObjectClocks();
    EXPECT_FLOAT_EQ(probe->timeBudget, 0.2f);
}

}  // namespace
