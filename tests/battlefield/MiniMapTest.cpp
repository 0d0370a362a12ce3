// The mini-map: clicks and drags on it move the battlefield camera; its buttons switch it,
// with their tips; it outlines what the camera sees and marks what a lesson points at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "battlefield/ArenaWindow.h"
#include "battlefield/MiniMap.h"
#include "core/TextTable.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "support/TestArena.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
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
    // The marks the map makes for a lesson's highlight line.
    static Array<HighlightMark> Marks(const char* words) {
        Highlighter highlighter;
        HighlightRequest request;
        request.kind = 1;
        request.name = words;
        GetMiniMap().GetHighlightShape(request, highlighter);
        return highlighter.marks;
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

TEST_F(MiniMapTest, AButtonShowsItsTipAndTheTiltedViewIsOutlinedAsATrapezoid) {
    MiniMap& map = GetMiniMap();
    const Point tilted = map.cameraButtons->sprites[1]->GetScreenCenter();
    MovePointer(tilted.x, tilted.y);
    Frame();
    EXPECT_EQ(map.cameraButtons->hovered, 1);
    EXPECT_STREQ(GetToolTip().text.CStr(), GetLanguageText("TiltedCamera").CStr());
    Click(tilted.x, tilted.y);
    ASSERT_EQ(GetArenaWindow().CameraType(), ArenaWindow::kCameraTilted);
    // Far from the camera the ground it sees is wider: the top edge outgrows the bottom one.
    Vector2 corners[4];
    map.ViewOutline(corners);
    const float topEdge = std::hypot(corners[1].x - corners[0].x, corners[1].y - corners[0].y);
    const float bottomEdge = std::hypot(corners[2].x - corners[3].x, corners[2].y - corners[3].y);
    EXPECT_GT(topEdge, bottomEdge * 1.2f);
    // The outline is drawn from the arena's main copy, whatever copy the camera looks at:
    // it is never wholly beside the map.
    const IntRect r = map.mapRect;
    auto any = [&corners](auto test) { return std::any_of(std::begin(corners), std::end(corners), test); };
    EXPECT_TRUE(any([&r](const Vector2& c) { return c.x <= float(r.right + 1); }));
    EXPECT_TRUE(any([&r](const Vector2& c) { return c.x >= float(r.left); }));
    EXPECT_TRUE(any([&r](const Vector2& c) { return c.y <= float(r.bottom + 1); }));
    EXPECT_TRUE(any([&r](const Vector2& c) { return c.y >= float(r.top); }));
}

TEST_F(MiniMapTest, ALessonsMarksPointAtTheMapItsButtonsAndWhatItShows) {
    MiniMap& map = GetMiniMap();
    Array<HighlightMark> marks = Marks("MiniMap");
    ASSERT_EQ(marks.Count(), 1);
    EXPECT_EQ(marks[0].kind, HighlightMark::kRect);
    EXPECT_FLOAT_EQ(marks[0].left, float(map.mapRect.left));
    EXPECT_FLOAT_EQ(marks[0].bottom, float(map.mapRect.bottom));
    marks = Marks("ResetCamera");
    ASSERT_EQ(marks.Count(), 1);
    EXPECT_FLOAT_EQ(marks[0].centreX, float(map.cameraButtons->sprites[2]->GetScreenCenter().x));

    const float pixelsPerUnit = float(map.mapRect.right - map.mapRect.left + 1) / arena_->WorldWidth();
    Player owner;
    Vorn* unit = arena_->PlaceChassisAt(0, Vector3(30.0f, 40.0f, 0.0f), &owner);
    ASSERT_NE(unit, nullptr);
    marks = Marks("Vorn Offset -5 0");
    ASSERT_EQ(marks.Count(), 1);
    EXPECT_EQ(marks[0].kind, HighlightMark::kCircle);
    EXPECT_FLOAT_EQ(marks[0].centreX, float(map.MapPixelOf(unit->position).x));
    EXPECT_FLOAT_EQ(marks[0].centreY, float(map.MapPixelOf(unit->position).y));
    EXPECT_NEAR(marks[0].radius, unit->GetRadius() * pixelsPerUnit * 12.0f, 0.01f);
    arena_->DestroyObject(unit, false);

    // A circle given past the arena's edge is marked where its copy shows on the map.
    const float width = arena_->WorldWidth();
    marks = Marks(("Circle " + String::FromInt(int32_t(width) + 10) + " 20 30").CStr());
    ASSERT_EQ(marks.Count(), 1);
    EXPECT_EQ(Point(int32_t(marks[0].centreX), int32_t(marks[0].centreY)), map.MapPixelOf(Vector3(10.0f, 20.0f, 0.0f)));
    EXPECT_NEAR(marks[0].radius, 30.0f * pixelsPerUnit, 0.01f);
    EXPECT_TRUE(Marks("Object Type Rock").IsEmpty()) << "nothing of that kind: no mark";
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
