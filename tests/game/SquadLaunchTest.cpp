// Squads entering the battle at the arena's launch points.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "game/GameWindows.h"
#include "game/Squad.h"
#include "support/VornTestWorld.h"
#include "units/Vorn.h"
#include "world/LaunchPoint.h"

namespace {

// Windows that only remember where the battlefield camera was aimed.
class CameraWindows : public GameWindows {
public:
    bool PreviewRelease(const InputEvent&) override { return false; }
    bool OfferInput(const InputEvent&) override { return false; }
    void BroadcastInput(const InputEvent&) override {}
    void HoverAt(const InputEvent&) override {}
    bool TakesCharacters() const override { return false; }
    void RenderWindows() override {}
    void DrawZoomFrame(const IntRect&) override {}
    bool IsBattlefieldOpen() const override { return true; }
    void AimBattlefieldCamera(const Vector3& lookFrom, const Vector3& target) override {
        ++aims;
        from = lookFrom;
        to = target;
    }
    int aims = 0;
    Vector3 from, to;
};

class SquadLaunchTest : public VornTestWorld {};

TEST_F(SquadLaunchTest, EachSquadTakesItsOwnLaunchPointAndKeepsItsOwner) {
    for (const Vector2& spot : {Vector2(20.0f, 20.0f), Vector2(120.0f, 120.0f)}) {
        LaunchPoint* point = arena->NewLaunchPoint();
        point->SetPoint(spot);
        arena->launchPoints.Append(point);
    }
    Squad first, second;
    Vorn* launched[2] = {};
    int index = 0;
    for (auto [squad, owner] : {std::pair{&first, &red}, std::pair{&second, &blue}}) {
        Vorn* unit = arena->NewVorn(0);
        unit->SetPlayer(owner);
        unit->BuildBody(kRobotSmall);
        squad->Add(unit);
        launched[index++] = unit;
    }
    CameraWindows windows;
    SetGameWindows(&windows);
    Array<Squad*> squads;
    squads.Append(&first);
    squads.Append(&second);
    game.PlaceSquadsAtLaunchPoints(squads);
    SetGameWindows(nullptr);

    // The members now stand on the field, no longer in their squads.
    EXPECT_EQ(first.Count(), 0);
    EXPECT_EQ(second.Count(), 0);
    EXPECT_EQ(launched[0]->owner, &red);
    EXPECT_EQ(launched[1]->owner, &blue);
    std::set<int> corners;
    for (Vorn* unit : launched) {
        const Vector3& at = unit->position;
        corners.insert(at.x < 80.0f ? 0 : 1);
        EXPECT_NEAR(at.x, at.y, 1.0f);
        EXPECT_GT(unit->delayTimer, 0.0f);  // they start after the launch delay
    }
    EXPECT_EQ(corners.size(), 2u);  // one squad at each point
    EXPECT_EQ(windows.aims, 2);
    EXPECT_FLOAT_EQ(windows.to.x, 80.0f);
    EXPECT_FLOAT_EQ(windows.to.y, 80.0f);
}

}  // namespace
