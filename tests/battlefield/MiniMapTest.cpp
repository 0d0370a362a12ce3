// The mini-map: clicks and drags on it move the battlefield camera; its buttons switch it.
#include <gtest/gtest.h>

#include "battlefield/ArenaWindow.h"
#include "battlefield/MiniMap.h"
#include "game/Player.h"
#include "support/TestArena.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"

namespace {

using ui_test::UiTest;

class MiniMapTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
        GetWindowManager().OpenWindow(&GetArenaWindow());
        MiniMap& map = GetMiniMap();
        map.MoveTo(Point(600, 100));
        map.Refresh();
        GetWindowManager().OpenWindow(&map);
    }
    void TearDown() override {
        UiTest::TearDown();
        world_test::CloseArena(*arena_);
    }
    std::unique_ptr<Arena> arena_;
};

TEST_F(MiniMapTest, FractionsRunUpTheMapAndWrap) {
    const MiniMap& map = GetMiniMap();
    const IntRect r = map.mapRect;
    EXPECT_FLOAT_EQ(map.FractionsAt(Point(r.left, r.top)).x, 0.0f);
    EXPECT_FLOAT_EQ(map.FractionsAt(Point(r.left, r.top)).y, 1.0f);
    EXPECT_FLOAT_EQ(map.FractionsAt(Point(r.right, r.bottom)).y, 1.0f / float(r.bottom - r.top + 1));
    EXPECT_NEAR(arena_->WrapPosition(map.ArenaPointAt(Point(r.left, r.top))).y, 0.0f, 0.01f);  // far edge
    EXPECT_FALSE(map.IsOnMap(Point(r.left - 1, r.top)));
}

TEST_F(MiniMapTest, DraggingMovesTheCameraAndButtonsSwitchIt) {
    MiniMap& map = GetMiniMap();
    const Point mid = map.mapRect.GetCenter();
    Press(mid.x, mid.y);
    EXPECT_TRUE(map.dragging);
    const Vector3 expected = map.ArenaPointAt(mid);
    EXPECT_NEAR(GetArenaWindow().CurrentCamera().target.x, expected.x, 0.01f);
    Release(map.mapRect.right + 50, mid.y);  // off the map: no last move
    EXPECT_FALSE(map.dragging);
    // Button 0 switches to the overhead camera; a release away from the button does not.
    const int32_t buttonY = map.top + MiniMap::kMapSize + 10;
    GetArenaWindow().SetCameraType(ArenaWindow::kCameraTilted);
    Press(map.left + 10, buttonY);
    Release(map.left + 50, buttonY);
    EXPECT_EQ(GetArenaWindow().CameraType(), ArenaWindow::kCameraTilted);
    Click(map.left + 10, buttonY);
    EXPECT_EQ(GetArenaWindow().CameraType(), ArenaWindow::kCameraOverhead);
}

TEST_F(MiniMapTest, AUnitsRingShowsItsLastHealthChangeWhileTheDisplayRuns) {
    Player owner;
    Vorn* unit = arena_->PlaceChassisAt(0, Vector3(50.0f, 50.0f, 0.0f), &owner);
    ASSERT_NE(unit, nullptr);
    unit->maxHealth = unit->health = 100.0f;  // without the chassis table's art
    EXPECT_FALSE(MiniMap::HealthRingColour(*unit).has_value());
    unit->SetHealth(unit->maxHealth * 0.5f);
    EXPECT_EQ(MiniMap::HealthRingColour(*unit).value_or(Color()).argb, 0xFFFF0000u);
    unit->SetHealth(unit->maxHealth * 0.75f);
    EXPECT_EQ(MiniMap::HealthRingColour(*unit).value_or(Color()).argb, 0xFF00FF00u);
    unit->healthBarTimer = 0.0f;
    EXPECT_FALSE(MiniMap::HealthRingColour(*unit).has_value());
    arena_->DestroyObject(unit, false);  // before its owner goes
}

}  // namespace
