#pragma once
// An initialised arena on flat 16 x 16 terrain (160 x 160 world units) with a current
// game that records the world-event hooks it hears.
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "game/Game.h"
#include "world/Arena.h"
#include "world/Terrain.h"
#include "world/WorldObject.h"

#include "support/TestArena.h"

struct HealthReport {
    WorldObject* object;
    Player* attacker;
    Vector3 point;
    float amount;
    int code;
};

class RecordingGame : public Game {
public:
    RecordingGame() { playerPaused = 0; }
    void OnHealthChanged(WorldObject* object, Player* attacker, const Vector3& point, float amount,
                         int32_t code) override {
        healthReports.push_back({object, attacker, point, amount, code});
    }
    void OnObjectDestroyed(WorldObject* object) override { destroyed.push_back(object); }
    void DispatchEvents() override { ++dispatches; }

    std::vector<HealthReport> healthReports;
    std::vector<WorldObject*> destroyed;
    int dispatches = 0;
};

// A world object whose update and damage run what the test gives it.
class Probe : public WorldObject {
public:
    explicit Probe(int probeKind = kKindSmokePuff) { kind = probeKind; }
    void Reset() override {}
    bool IsPatternTarget() const override { return false; }
    void Draw(const Vector3&) override {}
    void Update(bool) override {
        if (onUpdate) {
            onUpdate(*this);
        }
    }
    void TakeDamage(Player* attacker, const Vector3& point, float amount, int flag) override {
        WorldObject::TakeDamage(attacker, point, amount, flag);
        if (onDamage) {
            onDamage(*this);
        }
    }
    std::function<void(Probe&)> onUpdate;
    std::function<void(Probe&)> onDamage;
};

class ArenaFixture : public ::testing::Test {
protected:
    static constexpr float kW = 160.0f;

    void SetUp() override { arena = world_test::OpenArena(game); }

    void TearDown() override { world_test::CloseArena(*arena); }

    // A probe in the list, a sphere of radius r resting at (x, y).
    Probe* AddProbe(float x, float y, float r, int kind = kKindSmokePuff) {
        probes.push_back(std::make_unique<Probe>(kind));
        Probe* probe = probes.back().get();
        probe->shape.SetSphere(Vector3(), r);
        probe->ResetHealth(10.0f);
        arena->AddObject(probe);
        probe->PlaceAt(Vector3(x, y, 0.0f));
        return probe;
    }

    WorldObject* AddKind(int kind, float x, float y) { return world_test::AddObjectOfKind(*arena, kind, x, y); }

    RecordingGame game;
    std::unique_ptr<Arena> arena;
    std::vector<std::unique_ptr<Probe>> probes;
};
