#pragma once
// A headless battlefield for the unit tests: an initialised arena on flat 16 x 16
// terrain (160 x 160 world units), the chassis and weapon tables, two players, an
// unpaused current game that counts what the units report, and the global matcher.
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/Player.h"
#include "units/ChassisTable.h"
#include "units/PatternMatcher.h"
#include "units/Vorn.h"
#include "units/VornAction.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Terrain.h"

#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "support/UnitTablesTest.h"

class UnitGame : public Game {
public:
    UnitGame() { playerPaused = 0; }
    void DispatchEvents() override {}
    bool IsNetworkClient() const override { return client; }
    void OnVornAction(Vorn*, const Vector3&, VornAction* action, float) override {
        reportedKinds.push_back(action->kind);
    }
    void OnBlastAdded(ExplosionField*) override { ++blasts; }

    bool client = false;
    std::vector<int> reportedKinds;
    int blasts = 0;
};

class VornTestWorld : public units_test::UnitTablesTest {
protected:
    static constexpr float kW = 160.0f;
    static constexpr int kRobotSmall = 0;
    static constexpr int kRobotMedium = 1;
    static constexpr int kRobotLarge = 2;

    void SetUp() override {
        arena = world_test::OpenArena(game);
        matcher = std::make_unique<PatternMatcher>();
        gPatternMatcher = matcher.get();
        red.name = "Red";
        blue.name = "Blue";
    }

    void TearDown() override {
        gPatternMatcher = nullptr;
        matcher.reset();
        world_test::CloseArena(*arena);
    }

    // A unit of the chassis standing at (x, y) facing `heading`, in the list and ready.
    Vorn* AddUnit(Player* owner, int chassis, float x, float y, float heading) {
        Vorn* unit = arena->NewVorn(0);
        unit->SetPlayer(owner);
        unit->BuildBody(chassis);
        unit->SetAngle(heading);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        arena->AddObject(unit);
        unit->PrepareForBattle();
        return unit;
    }

    VornAction* NewAction(int kind) {
        VornAction* action = arena->NewVornAction();
        action->kind = kind;
        return action;
    }

    // Appends a record to the unit's queue; the first becomes current.
    VornAction* Queue(Vorn* unit, int kind) {
        VornAction* action = NewAction(kind);
        unit->actionQueue.Append(action);
        unit->currentAction = unit->actionQueue[0];
        return action;
    }

    // One world step of `frame` seconds.
    void Step(float frame) {
        game.frameTime = frame;
        arena->AdvanceObjectClocks();
        arena->Update();
        game.clock += frame;
    }

    UnitGame game;
    std::unique_ptr<Arena> arena;
    std::unique_ptr<PatternMatcher> matcher;
    Player red;
    Player blue;
};
