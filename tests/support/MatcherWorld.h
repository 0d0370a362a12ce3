#pragma once
// A small battlefield for the matcher's tests: an initialised arena on flat 16 x 16
// terrain (160 x 160 world units, grid cells of 5 units), two players, a current game,
// the global matcher, and helpers that put units, objects and patterns in place.
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/Player.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternMatcher.h"
#include "units/PatternObject.h"
#include "units/PolarLayout.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/Beacon.h"
#include "world/Goal.h"
#include "world/WorldObject.h"

#include "support/TestArena.h"

class MatcherGame : public Game {
public:
    MatcherGame() { playerPaused = 0; }
    void DispatchEvents() override {}
};

class MatcherWorld : public ::testing::Test {
protected:
    void SetUp() override {
        arena = world_test::OpenArena(game);
        matcher = std::make_unique<PatternMatcher>();
        gPatternMatcher = matcher.get();
    }

    void TearDown() override {
        gPatternMatcher = nullptr;
        matcher.reset();
        world_test::CloseArena(*arena);
    }

    // A unit on the ground at (x, y) with heading h, full health 10.
    Vorn* AddVorn(Player* owner, float x, float y, float h) {
        Vorn* unit = arena->NewVorn(0);
        unit->SetPlayer(owner);
        unit->ResetHealth(10.0f);
        unit->heading = h;
        arena->AddObject(unit);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        return unit;
    }

    WorldObject* AddKind(int kind, float x, float y) { return world_test::AddObjectOfKind(*arena, kind, x, y); }

    Beacon* AddBeacon(Vorn* setter, float x, float y) {
        auto* beacon = static_cast<Beacon*>(AddKind(kKindBeacon, x, y));
        beacon->owner = setter;
        beacon->ownerPlayer = setter->owner;
        return beacon;
    }

    Goal* AddGoal(Player* owner, float x, float y) {
        auto* goal = static_cast<Goal*>(AddKind(kKindGoal, x, y));
        goal->owner = owner;
        return goal;
    }

    // Slot i of the unit, emptied; the unit then uses at least i + 1 slots.
    Pattern& NewPattern(Vorn* unit, int i) {
        if (unit->patternCount < i + 1) {
            unit->patternCount = i + 1;
        }
        Pattern& pattern = unit->PatternAt(i);
        pattern.Reset();
        return pattern;
    }

    PatternObject* AddObject(Pattern& pattern, int kind, float x, float y) {
        PatternObject* object = arena->NewPatternObject();
        object->Clear();
        object->kind = kind;
        object->SetPosition(Vector2(x, y));
        pattern.AddObject(object);
        pattern.RebuildLayout();
        return object;
    }

    PathPoint* AddPathPoint(Pattern& pattern, float x, float y) {
        PathPoint* point = pattern.AddPathPoint();
        point->SetPosition(Vector2(x, y));
        return point;
    }

    Action* AddAction(PathPoint* point, int kind, float x, float y) {
        Action* action = point->AddAction();
        action->kind = kind;
        action->point = Vector2(x, y);
        return action;
    }

    MapConditional* AddMapConditional(Pattern& pattern, int kind, float x, float y) {
        MapConditional* condition = arena->NewMapConditional();
        condition->Clear();
        condition->kind = kind;
        condition->position = Vector2(x, y);
        pattern.AddMapConditional(condition);
        return condition;
    }

    static void ExpectAt(const Vector3& p, float x, float y, float tolerance = 0.001f) {
        EXPECT_NEAR(p.x, x, tolerance);
        EXPECT_NEAR(p.y, y, tolerance);
    }

    MatcherGame game;
    std::unique_ptr<Arena> arena;
    std::unique_ptr<PatternMatcher> matcher;
    Player red;
    Player blue;
};
