// The battlefield window driven as the player and the tutorial scripts drive it: clicks,
// bands and keys through the scripted window, and every command posted by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "battlefield/ArenaWindow.h"
#include "battlefield/BattlefieldViews.h"
#include "battlefield/ControlTray.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/ObjectCountMenu.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/SelectionTray.h"
#include "battlefield/VornWindow.h"
#include "core/MathUtil.h"
#include "core/MemoryBlock.h"
#include "core/Plane.h"
#include "core/Ray.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Player.h"
#include "game/Squad.h"
#include "platform/window/Keys.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/WorkingFolder.h"
#include "ui/ConfirmOverwriteSquadMenu.h"
#include "ui/ErrorBox.h"
#include "ui/Highlighter.h"
#include "ui/KillTray.h"
#include "ui/SquadNameEditBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiTestSupport.h"
#include "ui/VornNameEditBox.h"
#include "ui/WindowManager.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/FieldStanding.h"
#include "world/FirePuff.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"
#include "world/SoccerBall.h"
#include "world/Tree.h"

namespace {

using ui_test::UiTest;

class ArenaWindowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
        game.firstPlayer = &friend_;
        game.secondPlayer = &enemy_;
        views_.Attach(*arena_);
        // As start-up registers it: the battlefield sees every left release first.
        GetToolkitWindows().SetBattlefieldView(&window());
        GetWindowManager().OpenWindow(&window());
        window().Refresh();
        window().SetCameraType(ArenaWindow::kCameraOverhead);
        window().ResetCamera();
        DrawFrame();
        TakeSounds();
    }
    void TearDown() override {
        window().ClearSelection();
        window().StopFollowing();
        GetToolkitWindows().SetBattlefieldView(nullptr);
        UiTest::TearDown();
        views_.Detach(*arena_);
        world_test::CloseArena(*arena_);
    }
    static ArenaWindow& window() { return GetArenaWindow(); }
    // The window draws inside a frame of the recording device, as the main loop runs it.
    static void DrawFrame() {
        ASSERT_TRUE(GetRenderer().GetReady());
        window().DrawContents();
        GetRenderer().EndFrame();
    }
    Vorn* AddUnit(float x, float y, Player* owner) {
        Vorn* vorn = arena_->PlaceChassisAt(0, Vector3(x, y, 0.0f), owner);
        EXPECT_NE(vorn, nullptr);
        // Without the chassis art a unit has no body; give it one to click on.
        vorn->shape.SetRadius(1.5f);
        return vorn;
    }
    Vorn* AddStanding(float x, float y, float radius) {
        Vorn* vorn = AddUnit(x, y, &friend_);
        vorn->shape.SetRadius(radius);
        vorn->PlaceAt(vorn->position);
        return vorn;
    }
    // Points evenly round the field's middle, the first turned from the x axis.
    static std::vector<Vector2> OnCircle(int count, float radius, float turn) {
        std::vector<Vector2> points;
        for (int k = 0; k < count; ++k) {
            const float angle = float(k) * 2.0f * kPi / float(count) + turn;
            points.push_back(Vector2(80.0f + radius * std::cos(angle), 80.0f + radius * std::sin(angle)));
        }
        return points;
    }
    // A crowd of 33 large robots round a ring of 12 rocks with gaps narrower than one, 10 of
    // them inside, on a field cleared first.
    std::vector<Vorn*> AddCrowdRoundARingOfRocks() {
        arena_->ClearBattlefield(true);
        for (const Vector2& at : OnCircle(12, 15.0f, 0.0f)) world_test::AddObjectOfKind(*arena_, kKindRock, at.x, at.y);
        std::vector<Vorn*> crowd{AddStanding(80.0f, 80.0f, 3.25f)};
        const float rings[][3] = {{9.0f, 9.6f, 0.3f}, {12.0f, 21.5f, 0.2f}, {11.0f, 28.0f, 0.1f}};
        for (const auto& ring : rings) {
            for (const Vector2& at : OnCircle(int(ring[0]), ring[1], ring[2]))
                crowd.push_back(AddStanding(at.x, at.y, 3.25f));
        }
        return crowd;
    }
    Point ScreenOf(const WorldObject* object) {
        const Vector3 screen = window().CurrentCamera().Project(object->position);
        return Point(int32_t(std::lround(screen.x)), int32_t(std::lround(screen.y)));
    }
    // A command as a tutorial script posts it: by its name.
    void Post(const char* name, int32_t value = 0, WorldObject* object = nullptr, Vector3 point = Vector3()) {
        Event event;
        event.type = Event::FindType(name);
        ASSERT_NE(event.type, kEventNone) << name;
        event.value = value;
        event.object = object;
        event.position3 = point;
        event.position2 = Vector2(point.x, point.y);
        window().HandleCommand(event);
    }
    bool Heard(const char* sound) {
        const std::vector<std::string> sounds = TakeSounds();
        return std::any_of(sounds.begin(), sounds.end(),
                           [&](const std::string& s) { return s.find(sound) != std::string::npos; });
    }

    std::unique_ptr<Arena> arena_;
    BattlefieldViews views_;
    Player friend_;
    Player enemy_;
};

TEST_F(ArenaWindowTest, ClicksAndBandsSelectAndTheTrayFollows) {
    Vorn* a = AddUnit(70.0f, 80.0f, &friend_);
    Vorn* b = AddUnit(90.0f, 80.0f, &friend_);
    WorldObject* ball = world_test::AddObjectOfKind(*arena_, kKindSoccerBall, 80.0f, 60.0f);
    scripted->PressKey(win::kKeyShift);
    const Point atA = ScreenOf(a);
    Click(atA.x, atA.y);
    EXPECT_TRUE(window().IsSelected(a));
    EXPECT_TRUE(GetSelectionTray().open);
    Click(atA.x, atA.y);  // Shift-click again deselects; the last one closes the tray
    EXPECT_FALSE(window().IsSelected(a));
    EXPECT_FALSE(GetSelectionTray().open);
    // A band from empty ground: its drag line is the circle's diameter.
    const Vector3 from = window().CurrentCamera().Project(Vector3(60.0f, 80.0f, 0.0f));
    const Vector3 to = window().CurrentCamera().Project(Vector3(100.0f, 80.0f, 0.0f));
    Press(int32_t(from.x), int32_t(from.y));
    EXPECT_TRUE(window().bandActive);
    Release(int32_t(to.x), int32_t(to.y));
    scripted->ReleaseKey(win::kKeyShift);
    Frame();
    EXPECT_FALSE(window().bandActive);
    EXPECT_TRUE(window().IsSelected(a));
    EXPECT_TRUE(window().IsSelected(b));
    EXPECT_FALSE(window().IsSelected(ball));  // balls are never band-selected
}

TEST_F(ArenaWindowTest, BandSelectsAcrossTheWrapAround) {
    Vorn* edge = AddUnit(2.0f, 80.0f, &friend_);
    window().bandStart = Vector3(155.0f, 80.0f, 0.0f);
    Post("EndSelectGroup", 0, nullptr, Vector3(165.0f, 80.0f, 0.0f));
    EXPECT_TRUE(window().IsSelected(edge));
}

TEST_F(ArenaWindowTest, FollowRightPressScrollAndZoom) {
    Vorn* unit = AddUnit(80.0f, 80.0f, &friend_);
    const Point at = ScreenOf(unit);
    MovePointer(at.x, at.y);
    TapKey(win::kKeyF);
    EXPECT_EQ(window().GetFollowVorn(), unit);
    unit->PlaceAt(Vector3(100.0f, 90.0f, 0.0f));
    window().TickFollow();
    EXPECT_NEAR(window().CurrentCamera().target.x, 100.0f, 0.01f);
    unit->PlaceAt(Vector3(80.0f, 80.0f, 0.0f));
    unit->shape.SetRadius(1.5f);
    // A right press and release over the same unit opens the unit editor on it.
    Press(at.x, at.y, win::MouseButton::Right);
    EXPECT_EQ(window().rightPressedVorn, unit);
    Release(at.x, at.y, win::MouseButton::Right);
    EXPECT_TRUE(GetVornWindow().open);
    EXPECT_EQ(GetVornWindow().vorn, unit);
    EXPECT_EQ(window().GetFollowVorn(), unit);  // editing keeps the follow
    IntRect rect;
    ASSERT_TRUE(window().UnitScreenRect(*unit, rect));
    EXPECT_TRUE(rect.Contains(at));
    EXPECT_EQ(game.zoomFrom, rect);  // the editor zooms out of the unit
    GetWindowManager().CloseWindow(&GetVornWindow());
    // The wheel zooms within range; a camera command stops the follow.
    WindowCamera& camera = window().CurrentCamera();
    camera.SetZoom(camera.maximumHeight);
    scripted->TurnWheel(50);
    Frame();
    EXPECT_LT(camera.zoom, camera.maximumHeight);
    EXPECT_GE(camera.zoom, camera.minimumHeight);
    Post("SetCameraTargetPositionDirect", 0, nullptr, Vector3(200.0f, 30.0f, 0.0f));
    EXPECT_EQ(window().GetFollowVorn(), nullptr);
    EXPECT_NEAR(camera.target.x, 40.0f, 0.01f);  // wrapped into the 160-wide arena
    EXPECT_NEAR(camera.lookAt.x, 40.0f, 0.01f);
}

TEST_F(ArenaWindowTest, CameraModeKeepsTargetAndRelativeZoom) {
    WindowCamera& overhead = window().CurrentCamera();
    overhead.SetTarget(Vector3(30.0f, 40.0f, 0.0f));
    overhead.SetZoom((overhead.minimumHeight + overhead.maximumHeight) * 0.5f);
    Post("SetCameraMode", 1);
    WindowCamera& tilted = window().CurrentCamera();
    EXPECT_EQ(window().CameraType(), ArenaWindow::kCameraTilted);
    EXPECT_NEAR(tilted.zoom, (tilted.minimumHeight + tilted.maximumHeight) * 0.5f, 0.01f);
    EXPECT_NEAR(tilted.target.x, 30.0f, 0.01f);
    Post("SetCameraMode", 7);  // no such mode
    EXPECT_EQ(window().CameraType(), ArenaWindow::kCameraTilted);
    EXPECT_TRUE(Heard("ILLEGAL"));
}

// A field shrunk under the camera leaves its target in another copy of the field, while
// the eye is kept inside: the ground is still drawn where the eye looks, and "Reset the
// camera" and the camera modes bring the target back onto the field.
TEST_F(ArenaWindowTest, ATargetLeftTwoFieldsAwayIsDrawnWhereTheEyeLooks) {
    const Vector3 away(320.0f, 330.0f, 0.0f);
    const auto onField = [](const Vector3& p) { return p.x >= 0.0f && p.x < 160.0f && p.y >= 0.0f && p.y < 160.0f; };
    for (int32_t mode : {ArenaWindow::kCameraOverhead, ArenaWindow::kCameraTilted}) {
        window().SetCameraType(mode);
        WindowCamera& camera = window().CurrentCamera();
        camera.SetTarget(away);
        camera.SetLookAt(away);
        DrawFrame();
        const Point centre = window().GetCenter();
        const Ray ray = camera.GetPickRay(Vector2(float(centre.x), float(centre.y)));
        float along = 0.0f;
        ASSERT_EQ(ray.IntersectPlane(Plane(Vector3(0.0f, 0.0f, 1.0f), 0.0f), along), 3);
        const Point middle = arena_->CellOfPoint(ray.PointAt(along));
        const IntRect& cells = arena_->visibleCells;
        EXPECT_TRUE(cells.Contains(middle)) << "mode " << mode << ": cell " << middle.x << ", " << middle.y
                                            << " not in " << cells.left << ".." << cells.right;
        Post("SetCameraMode", 2);
        EXPECT_TRUE(onField(camera.target)) << mode;
        camera.SetTarget(away);
        Post("SetCameraMode",
             mode == ArenaWindow::kCameraOverhead ? ArenaWindow::kCameraTilted : ArenaWindow::kCameraOverhead);
        EXPECT_TRUE(onField(window().CurrentCamera().target)) << mode;
    }
}

// The camera keys act once a frame as long as they are held; the wheel brings the eye
// down to the new zoom height; a middle drag turns the view; losing the focus lets go.
TEST_F(ArenaWindowTest, HeldKeysWheelAndMiddleDragMoveTheView) {
    WindowCamera& camera = window().CurrentCamera();  // overhead, up the screen is +y
    MovePointer(512, 384);
    DrawFrame();
    const Vector3 start = camera.target;
    const Vector3 startEye = camera.eye;
    scripted->PressKey('W');
    for (int i = 0; i < 5; ++i) {
        Frame();
        DrawFrame();
    }
    scripted->ReleaseKey('W');
    Frame();
    EXPECT_GT(camera.target.y, start.y + 1.0f);
    EXPECT_GT(camera.eye.y, startEye.y + 1.0f);
    const float afterKeys = camera.target.y;
    Frame();
    EXPECT_FLOAT_EQ(camera.target.y, afterKeys);  // released: no more moves

    // Zooming in lowers the eye to the new height, within the limits.
    scripted->TurnWheel(3);
    Frame();
    DrawFrame();
    EXPECT_LT(camera.zoom, camera.maximumHeight);
    EXPECT_NEAR(camera.eye.z, camera.zoom, 0.01f);
    EXPECT_LT(camera.eye.z, startEye.z);

    const Vector3 up = camera.up;
    scripted->PressButton(win::MouseButton::Middle);
    Frame();
    MovePointer(552, 384);
    scripted->ReleaseButton(win::MouseButton::Middle);
    Frame();
    EXPECT_GT(std::fabs(camera.up.x - up.x), 0.1f);

    scripted->PressKey('D');
    Frame();
    EXPECT_EQ(camera.heldKeys['D'], 1);
    scripted->SetFocus(false);
    Frame();
    EXPECT_EQ(camera.heldKeys['D'], 0);
    scripted->SetFocus(true);
    Frame();
}

// A pattern picked up in the unit editor and let go on its own slot ends there: the
// battlefield does not take the release, so the editor lets go of the pointer and the
// pattern editor opened next answers its close button.
TEST_F(ArenaWindowTest, APatternDragEndsInTheUnitEditorNotOnTheBattlefield) {
    Vorn* unit = AddUnit(80.0f, 80.0f, &friend_);
    unit->SetPatternSlotCount(4);
    const Point at = ScreenOf(unit);
    Press(at.x, at.y, win::MouseButton::Right);
    Release(at.x, at.y, win::MouseButton::Right);
    VornWindow& editor = GetVornWindow();
    ASSERT_TRUE(editor.open);
    editor.Refresh();
    const Point slot = editor.SlotRect(0).GetCenter();
    Click(slot.x, slot.y);
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&editor));
    Press(slot.x, slot.y, win::MouseButton::Right);
    Release(slot.x, slot.y, win::MouseButton::Right);
    Window* patterns = GetWindowManager().FindWindowByName("PatternWindow");
    ASSERT_TRUE(patterns != nullptr && patterns->open);
    ASSERT_TRUE(GetRenderer().GetReady());
    patterns->Render();
    GetRenderer().EndFrame();
    ASSERT_NE(patterns->closeSprite, nullptr);
    Click(patterns->closeSprite->x, patterns->closeSprite->y);
    EXPECT_FALSE(patterns->open);
    // Editing a unit again starts without the pattern editor of the one edited before.
    Press(slot.x, slot.y, win::MouseButton::Right);
    Release(slot.x, slot.y, win::MouseButton::Right);
    ASSERT_TRUE(patterns->open);
    Press(at.x, at.y, win::MouseButton::Right);
    Release(at.x, at.y, win::MouseButton::Right);
    EXPECT_FALSE(patterns->open);
    EXPECT_TRUE(editor.open);
    GetWindowManager().CloseWindow(&editor);
}

// The name box the unit editor opens takes every key: typing a name with a "t" in it
// leaves the placing team alone.
TEST_F(ArenaWindowTest, TypingANameReachesOnlyTheNameBox) {
    Vorn* unit = AddUnit(80.0f, 80.0f, &friend_);
    VornWindow& editor = GetVornWindow();
    editor.vorn = unit;
    GetWindowManager().OpenWindow(&editor);
    Event save;
    save.type = kEventSaveVorn;
    editor.HandleCommand(save);
    VornNameEditBox& box = GetVornNameEditBox();
    ASSERT_TRUE(box.open);
    Player* team = ArenaWindow::PlacingPlayer();
    MovePointer(900, 600);  // over the battlefield, away from the box
    Type("Tt");
    EXPECT_EQ(box.text, String("Tt"));
    EXPECT_EQ(ArenaWindow::PlacingPlayer(), team);
    GetWindowManager().CloseWindow(&box);
    GetWindowManager().CloseWindow(&editor);
    box.unit = nullptr;
    editor.vorn = nullptr;
}

// Ctrl+C over a unit keeps a copy; Ctrl+V puts it down under the pointer as a new unit of
// the placing team, and no copy file is left among the player's units.
TEST_F(ArenaWindowTest, CtrlCCopiesTheUnitUnderThePointerAndCtrlVPastesIt) {
    platform_test::TempFolder folder;
    std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "Vorns");
    app_test::WorkingFolder working(folder.Path());
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
    SetFilePrefixes("", "");
    GetTextTable().Set("CopyName", "CopyBuffer");
    GetTextTable().Set("NoName", "Nameless");
    Vorn* unit = AddUnit(80.0f, 80.0f, &friend_);
    unit->name = "Original";
    unit->patternCount = 1;
    PathPoint* point = unit->PatternAt(0).AddPathPoint();
    point->position = Vector2(5.0f, 0.0f);
    point->AddAction()->kind = kActionFire1;
    const Point at = ScreenOf(unit);
    MovePointer(at.x, at.y);
    scripted->PressKey(win::kKeyControl);
    TapKey(win::kKeyC);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.Path()) / "Vorns/CopyBuffer.VRN"));
    EXPECT_FALSE(GetErrorBox().open);
    const Vector3 free = window().CurrentCamera().Project(Vector3(40.0f, 40.0f, 0.0f));
    MovePointer(int(free.x), int(free.y));
    TapKey(win::kKeyV);
    scripted->ReleaseKey(win::kKeyControl);
    Frame();
    ASSERT_EQ(arena_->CountObjectsOfKind(kKindVorn), 2);
    EXPECT_TRUE(Heard("THUD"));
    // Pasting onto the copied unit itself is refused, and the refused copy's pattern goes
    // back to the pools with it.
    MovePointer(at.x, at.y);
    scripted->PressKey(win::kKeyControl);
    TapKey(win::kKeyV);
    scripted->ReleaseKey(win::kKeyControl);
    Frame();
    EXPECT_EQ(arena_->CountObjectsOfKind(kKindVorn), 2);
    EXPECT_TRUE(Heard("ILLEGAL"));
    EXPECT_EQ(StrayPathPoints(*arena_), 0);
}

// Carrying a unit onto another shows the blocked mark before the release puts it back.
TEST_F(ArenaWindowTest, MovingAUnitOntoAnotherMarksThePointerBlocked) {
    Vorn* moved = AddUnit(60.0f, 80.0f, &friend_);
    const Point from = ScreenOf(moved);
    const Point onto = ScreenOf(AddUnit(100.0f, 80.0f, &friend_));
    Press(from.x, from.y);
    ASSERT_EQ(GetMouse().mode, 14);
    MovePointer((from.x + onto.x) / 2, from.y - 80);
    EXPECT_EQ(GetMouse().drawMarkers, 0);
    MovePointer(onto.x, onto.y);
    EXPECT_EQ(GetMouse().drawMarkers, 1);
    Release(onto.x, onto.y);
    EXPECT_NEAR(moved->position.x, 60.0f, 0.5f);
    EXPECT_TRUE(Heard("ILLEGAL"));
}

// A launch shows the squads first: the view starts on them and glides to the target.
TEST_F(ArenaWindowTest, AimingStartsOnTheFirstPointAndGlidesToTheSecond) {
    window().AimCamera(Vector3(20.0f, 30.0f, 0.0f), Vector3(80.0f, 30.0f, 0.0f));
    const WindowCamera& camera = window().CurrentCamera();
    EXPECT_NEAR(camera.lookAt.x, 20.0f, 0.01f);
    EXPECT_NEAR(camera.target.x, 80.0f, 0.01f);
    for (int i = 0; i < 200; ++i) Frame();
    EXPECT_GT(window().CurrentCamera().lookAt.x, 60.0f);
    EXPECT_LE(window().CurrentCamera().lookAt.x, 80.01f);
}

TEST_F(ArenaWindowTest, FollowingWalksTheTeams) {
    EXPECT_EQ(ArenaWindow::FindNextTeamVorn(nullptr, true), nullptr);
    Vorn* mine = AddUnit(20.0f, 20.0f, &friend_);
    Vorn* theirs1 = AddUnit(60.0f, 20.0f, &enemy_);
    Vorn* theirs2 = AddUnit(100.0f, 20.0f, &enemy_);
    EXPECT_EQ(ArenaWindow::FindNextTeamVorn(mine, true), mine);  // the only friend comes round
    Post("SetCameraFollowNextEnemyVorn");
    EXPECT_EQ(window().GetFollowVorn(), theirs1);
    Post("SetCameraFollowNextEnemyVorn");
    EXPECT_EQ(window().GetFollowVorn(), theirs2);
    Post("SetCameraFollowPreviousEnemyVorn");
    EXPECT_EQ(window().GetFollowVorn(), theirs1);
    // The ball is followed on top of the unit; both go when the unit leaves the world.
    WorldObject* ball = world_test::AddObjectOfKind(*arena_, kKindSoccerBall, 50.0f, 50.0f);
    Post("SetCameraFollowSoccerBall", 0, ball);
    EXPECT_EQ(window().GetFollowVorn(), theirs1);
    EXPECT_EQ(window().GetFollowObject(), ball);
    window().Select(theirs1);
    window().rightPressedVorn = theirs1;
    theirs1->Remove(0);
    arena_->RemoveFlaggedObjects(false);
    EXPECT_EQ(window().GetFollowVorn(), nullptr);
    EXPECT_FALSE(window().IsSelected(theirs1));
    EXPECT_EQ(window().rightPressedVorn, nullptr);
}

TEST_F(ArenaWindowTest, EveryCommandByNameSurvivesMissingAndStaleArguments) {
    WorldObject* gone = world_test::AddObjectOfKind(*arena_, kKindTree, 40.0f, 40.0f);
    gone->Remove(0);
    arena_->RemoveFlaggedObjects(false);
    const int before = arena_->ObjectCount();
    for (int32_t type = kEventSetCameraTargetPosition; type <= kEventRestoreKillTrayVorn; ++type) {
        const String name = Event::TypeName(type);
        if (name.IsEmpty() || type == kEventPaint || type == kEventUnpause) continue;
        SCOPED_TRACE(name.CStr());
        Post(name.CStr(), -5, gone, Vector3(50.0f, 50.0f, 0.0f));
        Post(name.CStr(), 1000, nullptr, Vector3(50.0f, 50.0f, 0.0f));
        GetMouse().ShowCursor();
        GetWindowManager().CloseAllWindows();
        GetWindowManager().OpenWindow(&window());
    }
    // Nothing acted on the stale object, and no bad index placed anything.
    EXPECT_EQ(arena_->ObjectCount(), before);
    EXPECT_FALSE(window().IsSelected(gone));
}

TEST_F(ArenaWindowTest, InvalidIndicesAreRefusedWithASound) {
    TakeSounds();
    Post("PlaceNewChassis", 9);
    EXPECT_TRUE(Heard("ILLEGAL"));
    Post("OpenChassisCountMenu", -1);
    EXPECT_TRUE(Heard("ILLEGAL"));
    Event event;
    event.type = Event::FindType("PlaceNewObject");
    event.point = Point(40, 0);
    window().HandleCommand(event);
    EXPECT_TRUE(Heard("ILLEGAL"));
    const int before = arena_->ObjectCount();
    event.point = Point(kKindRock, 0);
    event.position3 = Vector3(30.0f, 30.0f, 0.0f);
    window().HandleCommand(event);
    EXPECT_EQ(arena_->ObjectCount(), before + 1);
}

TEST_F(ArenaWindowTest, PauseIsRefusedWhileTheDebuggerIsOpen) {
    GetWindowManager().OpenWindow(&GetDebugWindow());
    game.playerPaused = 0;
    Post("Pause");
    EXPECT_EQ(game.playerPaused, 0);
    EXPECT_TRUE(Heard("ILLEGAL"));
    GetWindowManager().CloseWindow(&GetDebugWindow());
    Post("Pause");
    EXPECT_NE(game.playerPaused, 0);
}

TEST_F(ArenaWindowTest, FormingASquadPullsAWideGroupToRadiusTwenty) {
    Vorn* west = AddUnit(40.0f, 80.0f, &friend_);
    Vorn* east = AddUnit(120.0f, 80.0f, &friend_);
    window().Select(west);
    window().Select(east);
    const Vector3 centre = window().FormSquadSelection();
    EXPECT_NEAR(centre.x, 80.0f, 0.01f);
    EXPECT_NEAR(east->position.x - west->position.x, 40.0f, 0.5f);
    // A place taken by a unit standing just inside the circle's edge: the formed unit goes
    // to the free ground nearest its place inside the circle, not the nearer ground outside.
    AddUnit(99.0f, 50.0f, &friend_)->PlaceAt(Vector3(99.0f, 80.0f, 0.0f));
    const Vector3 again = window().FormSquadSelection();
    EXPECT_LE(Vector2(east->position.x - again.x, east->position.y - again.y).Length(), 20.0f);
    EXPECT_GT(east->position.Distance(Vector3(99.0f, 80.0f, east->position.z)), 3.0f);

    // A crowd of 34 large robots lassoed over most of the field, with a unit left standing
    // in the middle: pulled in, they stand apart on the ground, as saved, or where they were.
    window().ClearSelection();
    arena_->ClearBattlefield(true);
    AddStanding(80.0f, 80.0f, 3.25f);
    for (int i = 0; i < 34; ++i)
        window().Select(AddStanding(20.0f + float(i % 6) * 22.0f, 30.0f + float(i / 6) * 20.0f, 3.25f));
    window().FormSquadSelection();
    EXPECT_TRUE(FieldStandsApartOnTheGround(*arena_));

    // Two units shut in a ring of rocks with room for just the two: the first, formed near
    // the middle, leaves the second no ground. That one stays where it stood, on the
    // ground, and the first forms again beside it.
    window().ClearSelection();
    arena_->ClearBattlefield(true);
    for (const Vector2& at : OnCircle(16, 5.2f, 0.0f)) world_test::AddObjectOfKind(*arena_, kKindRock, at.x, at.y);
    Vorn* shut = AddStanding(78.4f, 80.0f, 1.5f);
    for (Vorn* each : {AddStanding(81.6f, 80.0f, 1.5f), shut, AddStanding(20.0f, 80.0f, 1.5f),
                       AddStanding(140.0f, 80.0f, 1.5f)})
        window().Select(each);
    window().FormSquadSelection();
    EXPECT_TRUE(FieldStandsApartOnTheGround(*arena_));
    EXPECT_FLOAT_EQ(shut->position.x, 78.4f);
    EXPECT_FLOAT_EQ(shut->position.y, 80.0f);

    // A crowd of large robots round a ring of rocks with gaps narrower than one, 10 of them
    // inside, lassoed from two different first units: pulled in, those from outside take
    // the ring's inside, and the ones left without room stay where they stood. Formed
    // twice, as saving a squad forms it again, none stands on or in another or a rock.
    const auto clearOfRocks = [&]() -> ::testing::AssertionResult {
        for (const WorldObject* unit : arena_->Objects()) {
            for (const WorldObject* rock : arena_->Objects()) {
                if (unit->kind != kKindVorn || rock->kind != kKindRock) continue;
                const float apart =
                    std::hypot(rock->position.x - unit->position.x, rock->position.y - unit->position.y);
                if (apart < rock->shape.Radius() + unit->shape.Radius())
                    return ::testing::AssertionFailure() << "a unit is " << apart << " from a rock";
            }
        }
        return ::testing::AssertionSuccess();
    };
    for (const int first : {0, 21}) {
        window().ClearSelection();
        std::vector<Vorn*> crowd = AddCrowdRoundARingOfRocks();
        std::rotate(crowd.begin(), crowd.begin() + first, crowd.end());
        for (Vorn* each : crowd) window().Select(each);
        for (int again = 0; again < 2; ++again) {
            SCOPED_TRACE(again);
            window().FormSquadSelection();
            EXPECT_TRUE(FieldStandsApartOnTheGround(*arena_)) << "first unit " << first;
            EXPECT_TRUE(clearOfRocks());
        }
    }
}

// "Save squad" writes over a squad file unasked only when the file keeps its members: the
// squad's own members formed round a ring of rocks, where the squad's circle leaves some
// out, ask first under the squad's own name, and another squad's name always asks.
TEST_F(ArenaWindowTest, SavingASquadAsksBeforeItsFileLosesMembersOrAnotherSquadsIsReplaced) {
    platform_test::TempFolder folder;
    const std::filesystem::path squads = std::filesystem::path(folder.Path()) / "Squads";
    std::filesystem::create_directories(squads);
    app_test::WorkingFolder working(folder.Path());
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
    SetFilePrefixes("", "");
    const auto bytes = [&](const char* file) {
        std::ifstream in(squads / file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const auto members = [](const char* name) {
        Squad saved;
        saved.Load(name, -1);
        const int32_t count = saved.Count();
        saved.DestroyMembers();
        return count;
    };
    ConfirmOverwriteSquadMenu& question = GetConfirmOverwriteSquadMenu();
    // "Save squad" on the selection; Return on the name typed, or on the one offered.
    const auto saveSelection = [&](const char* typed) {
        Event event;
        event.type = kEventSaveSquadSelection;
        GetSelectionTray().HandleCommand(event);
        SquadNameEditBox& box = GetSquadNameEditBox();
        ASSERT_TRUE(box.open);
        if (typed != nullptr) box.text = typed;
        TapKey(win::kKeyReturn);
        EXPECT_FALSE(box.open);
    };

    std::vector<Vorn*> crowd = AddCrowdRoundARingOfRocks();
    std::vector<Vector3> roundTheRing;
    // First saved where the circle holds them all: 33 places of a tight hexagon, away
    // from the rocks. Saved again as they are, the file keeps its members: no question.
    for (int q = -3, i = 0; q <= 3; ++q) {
        for (int r = -3; r <= 3; ++r) {
            if (std::abs(q + r) > 3 || i == 33) continue;
            roundTheRing.push_back(crowd[i]->position);
            crowd[i++]->PlaceAt(Vector3(40.0f + 6.6f * (float(q) + 0.5f * float(r)), 120.0f + 5.72f * float(r), 0.0f));
        }
    }
    for (Vorn* each : crowd) window().Select(each);
    saveSelection("Ringed");
    ASSERT_EQ(members("Ringed"), 33);
    saveSelection(nullptr);
    EXPECT_FALSE(question.open) << "asked though the file keeps its members";
    // The same members under another squad's name ask first.
    std::filesystem::copy_file(squads / "Ringed.SQD", squads / "Twin.SQD");
    saveSelection("twin");
    EXPECT_TRUE(question.open) << "another squad replaced unasked";
    GetWindowManager().CloseWindow(&question);

    // Round the ring the circle keeps fewer: the squad's own name asks, and No keeps the file.
    for (size_t i = 0; i < crowd.size(); ++i) crowd[i]->PlaceAt(roundTheRing[i]);
    const std::string whole = bytes("Ringed.SQD");
    saveSelection(nullptr);
    ASSERT_TRUE(question.open) << "the squad written with " << members("Ringed") << " members unasked";
    GetWindowManager().CloseWindow(&question);
    EXPECT_EQ(bytes("Ringed.SQD"), whole);
    question.OnYes();
    EXPECT_LT(members("Ringed"), 33);
    GetWindowManager().CloseAllWindows();
}

TEST_F(ArenaWindowTest, DropsPlaceWhatFitsAndCtrlOpensTheCountMenu) {
    const Vector3 ground(80.0f, 80.0f, 0.0f);
    const Vector3 screen = window().CurrentCamera().Project(ground);
    const int32_t x = int32_t(screen.x), y = int32_t(screen.y);
    Mouse& mouse = GetMouse();
    const int before = arena_->ObjectCount();
    mouse.HideCursor(ObjectTray::kCarryChassis, nullptr);
    mouse.dragIndex = 0;
    Release(x, y);  // the button went down over the tray
    ASSERT_EQ(arena_->ObjectCount(), before + 1);
    EXPECT_EQ(mouse.mode, Mouse::kModeNothing);
    arena_->ObjectAt(before)->shape.SetRadius(1.5f);  // no chassis art: give it a body
    // The spot is taken now: a second drop there is refused.
    mouse.HideCursor(ObjectTray::kCarryChassis, nullptr);
    mouse.dragIndex = 0;
    TakeSounds();
    Release(x, y);  // the button went down over the tray
    EXPECT_TRUE(Heard("ILLEGAL"));
    EXPECT_EQ(arena_->ObjectCount(), before + 1);
    // With Ctrl the count menu opens where the drop was made.
    GetObjectTray().carriedKind = kKindRock;
    GetObjectTray().carriedVariant = 2;
    mouse.HideCursor(ObjectTray::kCarryObject, nullptr);
    scripted->PressKey(win::kKeyControl);
    Release(x + 40, y);
    scripted->ReleaseKey(win::kKeyControl);
    Frame();
    ObjectCountMenu& menu = GetObjectCountMenu();
    EXPECT_TRUE(menu.open);
    EXPECT_EQ(menu.kind, kKindRock);
    EXPECT_EQ(menu.variant, 2);
    GetWindowManager().CloseWindow(&menu);
}

TEST_F(ArenaWindowTest, EdgeScrollingWaitsAndTheFrameMeterCountsTenFrames) {
    GetMouse().position = Point(1, kScreenHeight / 2);
    InputEvent tick;
    tick.kind = kInputFrameTick;
    tick.x = 1;
    tick.y = kScreenHeight / 2;
    game.frameTime = 0.1f;
    auto scrolled = [&] {
        game.posted.clear();
        window().HandleMouse(tick);
        game.DispatchEvents();
        for (const ui_test::Posted& posted : game.posted) {
            if (posted.type == kEventSetCameraTargetPositionDirect) return true;
        }
        return false;
    };
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(scrolled()) << i;  // 0.4 s in the margin first
    bool moved = false;
    for (int i = 0; i < 3 && !moved; ++i) moved = scrolled();
    EXPECT_TRUE(moved);
    window().SetFullScreen(false);
    EXPECT_FALSE(scrolled());  // never in a window
    window().SetFullScreen(true);

    window().frameMeterShown = true;
    window().frameMeterText = String();
    for (int i = 0; i < 9; ++i) DrawFrame();
    EXPECT_TRUE(window().frameMeterText.IsEmpty());
    DrawFrame();
    EXPECT_FALSE(window().frameMeterText.IsEmpty());
    window().frameMeterShown = false;
}

TEST_F(ArenaWindowTest, TheDebugKeyWorksOnTheTrainingGroundOnly) {
    Vorn* unit = AddUnit(80.0f, 80.0f, &friend_);
    const Point at = ScreenOf(unit);
    MovePointer(at.x, at.y);
    game.posted.clear();
    TapKey(win::kKeyG);
    EXPECT_TRUE(std::none_of(game.posted.begin(), game.posted.end(),
                             [](const ui_test::Posted& p) { return p.type == kEventToggleVornDebug; }));
    game.modeName = "TrainingGame";
    TapKey(win::kKeyG);
    EXPECT_EQ(game.DebuggedVorn(), unit);
    TapKey(win::kKeyG);  // again on the debugged unit: debugging stops
    EXPECT_EQ(game.DebuggedVorn(), nullptr);
    game.modeName = "";
}

TEST_F(ArenaWindowTest, TurningATreeTurnsItsFiresAndTheBallTakesARotation) {
    auto* tree = static_cast<Tree*>(world_test::AddObjectOfKind(*arena_, kKindTree, 80.0f, 80.0f));
    tree->heading = 0.0f;
    tree->AddFire(0.5f);
    FirePuff* fire = tree->fires.At(0);
    const Vector3 offset = fire->position - tree->position;
    Post("BeginRotateObject", 0, tree);
    Post("RotateObject", 0, tree, Vector3(80.0f, 95.0f, 0.0f));  // a quarter turn
    Post("EndRotateObject");
    EXPECT_NEAR(tree->heading, 0.5f * kPi, 1e-5f);
    EXPECT_NEAR(fire->position.x, 80.0f - offset.y, 1e-3f);
    EXPECT_NEAR(fire->position.y, 80.0f + offset.x, 1e-3f);

    auto* ball = static_cast<SoccerBall*>(world_test::AddObjectOfKind(*arena_, kKindSoccerBall, 40.0f, 40.0f));
    Post("BeginRotateObject", 0, ball);
    Post("RotateObject", 0, ball, Vector3(30.0f, 40.0f, 0.0f));  // a half turn
    Post("EndRotateObject");
    const Vector3 ahead = ball->orientation.RotateVector(Vector3(1.0f, 0.0f, 0.0f));
    EXPECT_NEAR(ahead.x, -1.0f, 1e-5f);
    EXPECT_NEAR(ahead.y, 0.0f, 1e-5f);
    EXPECT_EQ(ball->heading, 0.0f);
}

TEST_F(ArenaWindowTest, AUnitBroughtBackFromTheKillTrayIsWholeAgain) {
    Vorn* unit = AddUnit(80.0f, 80.0f, &friend_);
    unit->maxHealth = 50.0f;
    unit->SetHealth(-5.0f);
    arena_->DetachObject(unit);
    GetKillTray().AddVorn(unit);
    Post("RestoreKillTrayVorn", 0, unit, Vector3(60.0f, 60.0f, 0.0f));
    EXPECT_GE(arena_->FindObjectIndex(unit), 0);
    EXPECT_EQ(unit->health, 50.0f);
    EXPECT_EQ(GetKillTray().VornCount(), 0);
}

TEST_F(ArenaWindowTest, TutorialMarksFindTheNearestObjectOfTheirWords) {
    Vorn* ours = AddUnit(80.0f, 80.0f, &friend_);
    AddUnit(60.0f, 60.0f, &enemy_);
    Highlighter marks;
    HighlightRequest request;
    request.kind = 1;
    request.name = "Vorn Team Friend";
    window().GetHighlightShape(request, marks);
    ASSERT_EQ(marks.marks.Count(), 1);
    const Vector3 screen = window().CurrentCamera().Project(ours->position);
    EXPECT_NEAR(marks.marks[0].centreX, screen.x, 1.0f);
    EXPECT_NEAR(marks.marks[0].centreY, screen.y, 1.0f);
    marks.Clear();
    for (const char* words : {"Object Type Unicorn", "Object Type Tree", "Vorn Team Friend Name Nobody"}) {
        request.name = words;
        window().GetHighlightShape(request, marks);
        EXPECT_EQ(marks.marks.Count(), 0) << words;  // nothing of that kind or name
    }
    request.name = "Circle 10 10 5";
    window().GetHighlightShape(request, marks);
    EXPECT_EQ(marks.marks.Count(), 1);
}

}  // namespace

TEST_F(ArenaWindowTest, MissionsOpenOnlyTheFriendsUnitsToInspection) {
    Vorn* enemy = AddUnit(60.0f, 60.0f, &enemy_);
    Vorn* loose = AddUnit(80.0f, 80.0f, &friend_);
    Vorn* brought = AddUnit(100.0f, 100.0f, &friend_);
    brought->fromSquad = 1;
    auto tap = [&](Vorn* unit, int32_t key) {
        const Point at = ScreenOf(unit);
        MovePointer(at.x, at.y);
        TapKey(key);
    };
    game.modeName = "MissionGame";
    tap(enemy, win::kKeyR);
    tap(enemy, win::kKeyH);
    EXPECT_EQ(enemy->showPatternBackground, 0);
    EXPECT_EQ(enemy->showHealthBar, 0);
    tap(loose, win::kKeyR);
    tap(loose, win::kKeyH);
    tap(loose, win::kKeyI);
    tap(loose, win::kKeyN);
    EXPECT_EQ(loose->showPatternBackground, 1);
    EXPECT_EQ(loose->showHealthBar, 1);
    EXPECT_EQ(loose->showIcons, 0);
    EXPECT_EQ(loose->showPatternBubble, 0);
    tap(brought, win::kKeyI);
    tap(brought, win::kKeyN);
    EXPECT_EQ(brought->showIcons, 1);
    EXPECT_EQ(brought->showPatternBubble, 1);
    game.modeName = "";
    tap(enemy, win::kKeyN);
    EXPECT_EQ(enemy->showPatternBubble, 1);
}

TEST_F(ArenaWindowTest, SwitchingThePlacingTeamRefreshesTheTrays) {
    for (int32_t& level : friend_.upgradeLevels) level = 0;
    ControlTray& tray = GetControlTray();
    tray.Refresh();
    const int32_t objectRefreshes = GetObjectTray().refreshCount;
    Post("VornTeamEnemy");
    EXPECT_EQ(arena_->placingPlayer, &enemy_);
    EXPECT_GE(tray.shownMap.Find(3), 0);  // the button now offers the friend back
    EXPECT_LT(tray.shownMap.Find(2), 0);
    EXPECT_GT(GetObjectTray().refreshCount, objectRefreshes);
    Post("VornTeamFriend");
    EXPECT_EQ(arena_->placingPlayer, &friend_);
    EXPECT_GE(tray.shownMap.Find(2), 0);
}
