// The pattern editor driven as the player drives it (palette drags, double clicks, the
// wheel, Delete and Control) and as tutorial scripts drive it (events by name).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "EditorFixture.h"
#include "battlefield/ActionMenu.h"
#include "battlefield/EditorWindows.h"
#include "battlefield/PatternObjectPropertyMenu.h"
#include "battlefield/PriorityMenu.h"
#include "battlefield/VornWindow.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/UpgradeItem.h"
#include "platform/window/Keys.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/Highlighter.h"
#include "ui/TimerEditBox.h"
#include "ui/ToolTip.h"
#include "ui/VornNameEditBox.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "units/Vorn.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"

namespace editor_test {
namespace {

class PatternWindowTest : public EditorTest {
protected:
    // The editor keeps the colours of the last unit the unit editor showed; the unit here
    // is the local player's own.
    void SetUp() override {
        EditorTest::SetUp();
        editor().SetEditMode(true);
    }
    void DropObject(int kind, float x, float y) { Drag(PaletteItem(editor().objectGrid, kind), ScreenAt(x, y)); }
    int CountKind(int kind) {
        int n = 0;
        for (const PatternObject* object : pattern().objects) n += object->kind == kind ? 1 : 0;
        return n;
    }
};

TEST_F(PatternWindowTest, ObjectsArePlacedMovedAndDeletedWithinTheRules) {
    DropObject(kPatternTree, 10.0f, 0.0f);
    ASSERT_EQ(CountKind(kPatternTree), 1);
    PatternObject* tree = pattern().FindObjectOfKind(kPatternTree, 0);
    EXPECT_NEAR(tree->position.x, 10.0f, 0.2f);
    EXPECT_TRUE(Heard("THUD"));
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
    // Dragged beyond the radar the tree lands just inside it.
    Drag(ScreenAt(tree->position.x, tree->position.y), ScreenAt(24.0f, 0.0f));
    EXPECT_NEAR(tree->position.Length(), kPatternClampRadius, 1e-4f);
    // A second tree on top of the first is not added; moving onto it goes back.
    DropObject(kPatternTree, 0.0f, 10.0f);
    PatternObject* second = pattern().FindObjectOfKind(kPatternTree, 1);
    ASSERT_NE(second, nullptr);
    const Vector2 start = second->position;
    DropObject(kPatternTree, tree->position.x, tree->position.y);
    EXPECT_EQ(CountKind(kPatternTree), 2);
    Drag(ScreenAt(start.x, start.y), ScreenAt(tree->position.x - 1.0f, tree->position.y));
    EXPECT_EQ(second->position, start);
    EXPECT_TRUE(Heard("ILLEGAL"));
    // A beacon may stand outside the radar, but only once.
    DropObject(kPatternBeacon, -22.0f, -22.0f);
    ASSERT_EQ(CountKind(kPatternBeacon), 1);
    DropObject(kPatternBeacon, 0.0f, -10.0f);
    EXPECT_EQ(CountKind(kPatternBeacon), 1);
    EXPECT_EQ(ErrorText(), "PlaceOnlyOne beacon inThisPattern");
    // Delete over the second tree removes it; the hover lists forget it.
    MovePointer(ScreenAt(start.x, start.y).x, ScreenAt(start.x, start.y).y);
    TapKey(Mouse::kCodeDelete);
    EXPECT_EQ(CountKind(kPatternTree), 1);
    EXPECT_EQ(editor().currentObject, nullptr);
}

TEST_F(PatternWindowTest, AFullPatternRefusesObjectsPathPointsAndTerrainTests) {
    for (int i = 0; pattern().objects.Count() < kMaxPatternObjects; ++i) {
        DropObject(kPatternRock, -15.0f + 6.0f * float(i % 6), i < 6 ? 12.0f : -12.0f);
    }
    DropObject(kPatternRock, 0.0f, 0.0f);
    EXPECT_EQ(pattern().objects.Count(), kMaxPatternObjects);
    EXPECT_EQ(ErrorText(), "CannotAddObject");
    for (int i = 0; pattern().pathPoints.Count() < kMaxPathPoints; ++i) {
        DoubleClickAt(ScreenAt(-20.0f + 5.0f * float(i), 4.0f));
    }
    DoubleClickAt(ScreenAt(20.0f, -4.0f));
    EXPECT_EQ(pattern().pathPoints.Count(), kMaxPathPoints);
    EXPECT_EQ(ErrorText(), "CannotAddPathPoint");
    for (int i = 0; pattern().mapConditionals.Count() < kMaxMapConditionals; ++i) {
        Drag(PaletteItem(editor().terrainGrid, kMapLava), ScreenAt(-16.0f + 4.0f * float(i), -6.0f));
    }
    Drag(PaletteItem(editor().terrainGrid, kMapLava), ScreenAt(0.0f, -18.0f));
    EXPECT_EQ(pattern().mapConditionals.Count(), kMaxMapConditionals);
    EXPECT_EQ(ErrorText(), "CannotAddMapConditional");
}

TEST_F(PatternWindowTest, TheUnitsOwnPointCannotBeMovedDeletedOrTurned) {
    const Point origin = ScreenAt(0.0f, 0.0f);
    MovePointer(origin.x, origin.y);
    TapKey(Mouse::kCodeDelete);
    EXPECT_EQ(ErrorText(), "CannotDeleteOwnVorn");
    scripted->PressKey(win::kKeyControl);
    Click(origin.x, origin.y);
    scripted->ReleaseKey(win::kKeyControl);
    Frame();
    EXPECT_EQ(ErrorText(), "CannotOrientOwnVorn");
    EXPECT_EQ(pattern().pathPoints.Count(), 1);
    // A script naming the unit's point is refused as well.
    editor().HandleCommand(Scripted("ControlPickPathPoint"));
    EXPECT_TRUE(Heard("ILLEGAL"));
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
}

TEST_F(PatternWindowTest, PathPointsMoveTurnAndTakeActions) {
    DoubleClickAt(ScreenAt(10.0f, 5.0f));
    ASSERT_EQ(pattern().pathPoints.Count(), 2);
    PathPoint* point = pattern().pathPoints[1];
    Drag(ScreenAt(10.0f, 5.0f), ScreenAt(12.0f, 5.0f));
    EXPECT_NEAR(point->position.x, 12.0f, 0.2f);
    EXPECT_EQ(point->facing, point->position);  // an unset facing travels with the point
    // Control-drag pulls the facing handle out.
    scripted->PressKey(win::kKeyControl);
    Drag(ScreenAt(12.0f, 5.0f), ScreenAt(12.0f, -5.0f));
    scripted->ReleaseKey(win::kKeyControl);
    Frame();
    EXPECT_NEAR(point->facing.y, -5.0f, 0.2f);
    // A right click opens the action menu; an aimed action then follows the pointer
    // until the next release.
    const Point at = ScreenAt(point->position.x, point->position.y);
    Press(at.x, at.y, win::MouseButton::Right);
    Release(at.x, at.y, win::MouseButton::Right);
    ActionMenu& menu = GetActionMenu();
    ASSERT_TRUE(menu.open);
    // Every action is offered, and none of the ring's items covers the menu's title: the
    // shipped one, in letters as wide and lines as high as the shipped font's.
    const String untitled = menu.title;
    menu.title = "Add an action";
    std::fill(std::begin(GetFont().widths), std::end(GetFont().widths), int8_t{16});
    GetFont().lineHeight = 32.0f;
    const IntRect title = menu.ToolTipKeepClear();
    ui_test::UseMeasuringFont();
    menu.title = untitled;
    for (int i = 0; i < menu.items->Count(); ++i) {
        if (!menu.items->IsShown(i)) continue;
        const IntRect item = menu.items->sprites[i]->GetScreenRect();
        EXPECT_TRUE(item.right < title.left || item.left > title.right || item.bottom < title.top ||
                    item.top > title.bottom)
            << menu.items->names[i].CStr() << " covers the title";
    }
    Event& choose = Scripted("PickEntry");
    choose.value = kActionFire1;
    menu.HandleCommand(choose);
    EXPECT_FALSE(menu.open);
    ASSERT_EQ(point->actions.Count(), 1);
    EXPECT_EQ(GetMouse().mode, PatternWindow::kDragNewActionTarget);
    const Point target = ScreenAt(20.0f, 0.0f);
    MovePointer(target.x, target.y);
    Release(target.x, target.y);
    EXPECT_NEAR(point->actions[0]->point.x, 20.0f, 0.2f);
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
    // Eight actions fill a point; the ninth is refused.
    for (int i = 1; i < kMaxActionsPerPathPoint; ++i) editor().AddAction(point, kActionSetSwitch1, Vector2(), at);
    editor().AddAction(point, kActionSetSwitch1, Vector2(), at);
    EXPECT_EQ(point->actions.Count(), kMaxActionsPerPathPoint);
    EXPECT_EQ(ErrorText(), "CannotAddAction");
    // Scripts name actions by point and index; a stray pair is refused.
    Event& stray = Scripted("DeleteAction");
    stray.point = Point(1, 8);
    editor().HandleCommand(stray);
    EXPECT_TRUE(Heard("ILLEGAL"));
    Event& remove = Scripted("DeleteAction");
    remove.point = Point(1, 0);
    editor().HandleCommand(remove);
    EXPECT_EQ(point->actions.Count(), kMaxActionsPerPathPoint - 1);
}

TEST_F(PatternWindowTest, TheWheelStepsThroughStackedElements) {
    // A path point, a rock and a terrain test at one place.
    DoubleClickAt(ScreenAt(5.0f, 5.0f));
    Drag(PaletteItem(editor().objectGrid, kPatternRock), ScreenAt(5.0f, 5.0f));
    Drag(PaletteItem(editor().terrainGrid, kMapWater), ScreenAt(5.0f, 5.0f));
    const Point at = ScreenAt(5.0f, 5.0f);
    MovePointer(at.x + 20, at.y);
    MovePointer(at.x, at.y);
    const void* seen[3] = {};
    for (const void*& element : seen) {
        element = editor().currentPathPoint != nullptr ? static_cast<const void*>(editor().currentPathPoint)
                  : editor().currentObject != nullptr  ? static_cast<const void*>(editor().currentObject)
                                                       : static_cast<const void*>(editor().currentMapConditional);
        scripted->TurnWheel(1);
        Frame();
        MovePointer(at.x + 1, at.y);
    }
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_NE(seen[1], seen[2]);
    EXPECT_NE(seen[0], seen[2]);
    EXPECT_TRUE(editor().overStack);
}

TEST_F(PatternWindowTest, PalettesFollowUpgradesAndTheChassis) {
    Player& local = GetLocalPlayer();
    local.SetUpgradeLevel(FindUpgradeItem("PatternPriorities"), -1);
    Vorn* small = MakeUnit(0);
    editor().SetVornPattern(small, &small->PatternAt(0));
    EXPECT_FALSE(editor().priorityGrid->IsShown(0));
    EXPECT_FALSE(editor().conditionalGrid->IsShown(kConditionalOutOfAmmo2));
    EXPECT_FALSE(editor().conditionalGrid->IsShown(kConditionalReloading2));
    EXPECT_TRUE(editor().conditionalGrid->IsShown(kConditionalOutOfAmmo1));
    EXPECT_FALSE(ActionMenu::IsOffered(kActionFire2, small));
    EXPECT_FALSE(ActionMenu::IsOffered(kActionFire1Up, small));
    unit->SetWeaponKind(0, kWeaponMissileLauncher);
    EXPECT_TRUE(ActionMenu::IsOffered(kActionFire1Up, unit));
    EXPECT_FALSE(ActionMenu::IsOffered(kActionFire2Up, unit));
    // A click on a switch button toggles the switch.
    Click(PaletteItem(editor().conditionalGrid, kConditionalSwitch2).x,
          PaletteItem(editor().conditionalGrid, kConditionalSwitch2).y);
    EXPECT_EQ(pattern().conditionals.flags[kConditionalSwitch2], 1);
    Event& stray = Scripted("PickConditional");
    stray.value = kConditionalCount;
    editor().HandleCommand(stray);
    EXPECT_TRUE(Heard("ILLEGAL"));
}

TEST_F(PatternWindowTest, PriorityAndPropertiesComeFromTheirMenus) {
    editor().HandleCommand(Scripted("OpenPriorityMenu"));
    PriorityMenu& priorities = GetPriorityMenu();
    ASSERT_TRUE(priorities.open);
    Event& seven = Scripted("PickEntry");
    seven.value = 7;
    priorities.HandleCommand(seven);
    EXPECT_EQ(pattern().priority, 7);
    EXPECT_EQ(unit->edited, 1);
    // The property menu takes the enemy's images for an enemy of the player's own unit.
    Drag(PaletteItem(editor().objectGrid, kPatternEnemy), ScreenAt(8.0f, 0.0f));
    PatternObject* enemy = pattern().FindObjectOfKind(kPatternEnemy, 0);
    ASSERT_NE(enemy, nullptr);
    const Point at = ScreenAt(8.0f, 0.0f);
    MovePointer(at.x, at.y);
    Press(at.x, at.y, win::MouseButton::Right);
    Release(at.x, at.y, win::MouseButton::Right);
    PatternObjectPropertyMenu& properties = GetPatternObjectPropertyMenu();
    ASSERT_TRUE(properties.open);
    EXPECT_TRUE(properties.enemyImages);
    Event& large = Scripted("PickEntry");
    large.value = kPropertyLargeChassis;
    properties.HandleCommand(large);
    EXPECT_EQ(enemy->properties[kPropertyLargeChassis], 1);
    Event& removeProperty = Scripted("DeleteProperty");
    removeProperty.value = kPatternEnemy;
    removeProperty.point = Point(0, kPropertyLargeChassis);
    editor().HandleCommand(removeProperty);
    EXPECT_EQ(enemy->properties[kPropertyLargeChassis], 0);
}

// Naming a unit that holds more patterns than its owner may have cuts them; the unit
// editor's selection and the pattern editor leave the cut slot for the first one.
TEST_F(PatternWindowTest, NamingAUnitThatLosesPatternsShowsItsFirstPattern) {
    CreateEditorWindows();
    platform_test::TempFolder folder;
    std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "Vorns");
    app_test::WorkingFolder working(folder.Path());
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
    const int32_t allowed = GetLocalPlayer().GetMaxPatternCount(unit->chassisType);
    ASSERT_LT(allowed, Vorn::kMaxPatterns);
    unit->SetPatternSlotCount(Vorn::kMaxPatterns);
    VornWindow& slots = GetVornWindow();
    slots.vorn = unit;
    slots.selectedSlot = Vorn::kMaxPatterns - 1;
    editor().SetVornPattern(unit, &unit->PatternAt(slots.selectedSlot));
    VornNameEditBox& box = GetVornNameEditBox();
    box.unit = unit;
    box.text = "Trimmed";
    box.Accept();
    EXPECT_EQ(unit->patternCount, allowed);
    EXPECT_EQ(slots.selectedSlot, 0);
    EXPECT_EQ(editor().pattern, &unit->PatternAt(0));
    box.unit = nullptr;
}

TEST_F(PatternWindowTest, AnEditedPatternSurvivesTheUnitFile) {
    platform_test::TempFolder folder;
    SetDataFolders(String((folder.Path() + "/").c_str()), "Squads\\", "Scenarios\\");
    DoubleClickAt(ScreenAt(10.0f, 0.0f));
    Drag(PaletteItem(editor().objectGrid, kPatternTree), ScreenAt(6.0f, 8.0f));
    Drag(PaletteItem(editor().terrainGrid, kMapHigher), ScreenAt(-4.0f, 4.0f));
    editor().AddAction(pattern().pathPoints[1], kActionSetSignal1, Vector2(), Point());
    ASSERT_TRUE(unit->SaveFile("Drawn"));
    Vorn* copy = MakeUnit(1);
    ASSERT_TRUE(copy->LoadFile("Drawn"));
    const Pattern& loaded = copy->PatternAt(0);
    ASSERT_EQ(loaded.pathPoints.Count(), 2);
    EXPECT_EQ(loaded.pathPoints[1]->actions.Count(), 1);
    EXPECT_EQ(loaded.objects.Count(), pattern().objects.Count());
    EXPECT_EQ(loaded.mapConditionals.Count(), 1);
    EXPECT_TRUE(loaded.IsEnabled());
    // In a battle the matcher runs the reloaded pattern: the unit heads for its point.
    PatternMatcher matcher;
    gPatternMatcher = &matcher;
    const PatternObject* tree = loaded.FindObjectOfKind(kPatternTree, 0);
    ASSERT_NE(tree, nullptr);
    const Vector3 at = copy->position;
    world_test::AddObjectOfKind(*arena_, kKindTree, at.x + tree->position.x, at.y + tree->position.y);
    copy->ChoosePattern();
    EXPECT_EQ(copy->currentPattern, &copy->PatternAt(0));
    EXPECT_FALSE(copy->actionQueue.IsEmpty());
    EXPECT_NEAR(
        Vector2(loaded.pathPoints[1]->worldPosition.x - at.x, loaded.pathPoints[1]->worldPosition.y - at.y).Length(),
        10.0f, 0.5f);
    gPatternMatcher = nullptr;
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

}  // namespace
}  // namespace editor_test

namespace editor_test {
namespace {

class PatternWindowScriptTest : public EditorTest {};

TEST_F(PatternWindowScriptTest, EventsNamingNothingInThePatternAreRefused) {
    const auto refused = [&](const char* name, int value, Point point, const char* text = "") {
        Event& event = Scripted(name);
        event.value = value;
        event.point = point;
        event.text = text;
        editor().HandleCommand(event);
        return Heard("ILLEGAL");
    };
    EXPECT_TRUE(refused("ControlPickVorn", 0, Point(), "Dragon"));
    EXPECT_TRUE(refused("ControlPickVorn", 3, Point(), "Friend"));
    EXPECT_TRUE(refused("PickPatternObjectIcon", kPatternObjectKindCount, Point()));
    EXPECT_TRUE(refused("AddMapConditional", kMapConditionKindCount, Point()));
    EXPECT_TRUE(refused("EditPathPoint", 9, Point()));
    EXPECT_TRUE(refused("PickAction", 0, Point(0, 0)));
    EXPECT_TRUE(refused("DeleteProperty", -1, Point(0, 0)));
    EXPECT_TRUE(refused("PlacePatternObject", kPatternTree, Point()));
    EXPECT_TRUE(refused("DeletePatternObject", 0, Point()));
    EXPECT_EQ(pattern().objects.Count(), 1);  // the unit's own object only
    EXPECT_EQ(pattern().pathPoints.Count(), 1);
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
}

TEST_F(PatternWindowScriptTest, ATimerActionAsksForItsSecondsAndANewOneGivenUpGoes) {
    DoubleClickAt(ScreenAt(10.0f, 0.0f));
    PathPoint* point = pattern().pathPoints[1];
    editor().AddAction(point, kActionSetTimer, Vector2(), Point(300, 300));
    TimerEditBox& box = GetTimerEditBox();
    ASSERT_TRUE(box.open);
    ASSERT_EQ(point->actions.Count(), 1);
    EXPECT_EQ(box.action, point->actions[0]);
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);  // an instant action is not dragged
    // The box takes what is typed with the pointer resting on the editor beside it, and
    // the first digit replaces the "0.0" it starts with.
    EXPECT_EQ(box.text, "0.0");
    MovePointer(box.left - 20, box.top + 5);
    Type("3");
    EXPECT_EQ(box.text, "3");
    TapKey(win::kKeyReturn);
    EXPECT_FLOAT_EQ(point->actions[0]->seconds, 3.0f);
    // Escape on a second new timer takes it away again; on the first, opened again from
    // the action, it keeps the 3 seconds.
    editor().AddAction(point, kActionSetTimer, Vector2(), Point(300, 300));
    ASSERT_EQ(point->actions.Count(), 2);
    TapKey(win::kKeyEscape);
    EXPECT_FALSE(box.open);
    ASSERT_EQ(point->actions.Count(), 1);
    editor().currentAction = point->actions[0];
    editor().HandleCommand(Scripted("EditAction"));
    ASSERT_TRUE(box.open);
    Type("7");
    TapKey(win::kKeyEscape);
    ASSERT_EQ(point->actions.Count(), 1);
    EXPECT_FLOAT_EQ(point->actions[0]->seconds, 3.0f);
    // A new timer's box closed with the editor goes with its action too.
    editor().AddAction(point, kActionSetTimer, Vector2(), Point(300, 300));
    GetWindowManager().CloseWindow(&editor());
    EXPECT_FALSE(box.open);
    EXPECT_EQ(point->actions.Count(), 1);
}

TEST_F(PatternWindowScriptTest, ThePriorityButtonShowsTheClampedDigit) {
    const auto shownFor = [&](int priority) {
        pattern().priority = priority;
        editor().DrawContents();
        return editor().priorityGrid->sprites[0];
    };
    EXPECT_EQ(shownFor(12), shownFor(9));
    EXPECT_EQ(shownFor(-3), shownFor(0));
    EXPECT_NE(shownFor(9), shownFor(0));
    EXPECT_NE(shownFor(4), shownFor(5));
}

TEST(SwitchOffImageTest, OnlyTheGreyOuterRingGoes) {
    Image full(32, 32);
    full.Fill(Color(0xFF808080));
    full.At(16, 16) = Color(0xFF808080);  // grey, but inside the sign
    full.At(0, 16) = Color(0xFFFF0000);   // coloured, on the ring
    const Image off = SwitchOffImage(full);
    EXPECT_EQ(off.At(0, 0).Alpha(), 0);
    EXPECT_EQ(off.At(31, 16).Alpha(), 0);
    EXPECT_EQ(off.At(16, 16).Alpha(), 255);
    EXPECT_EQ(off.At(0, 16).Alpha(), 255);
}

TEST_F(PatternWindowScriptTest, ARightPressReleasedElsewhereOpensNothing) {
    DoubleClickAt(ScreenAt(10.0f, 0.0f));
    const Point on = ScreenAt(10.0f, 0.0f);
    const Point off = ScreenAt(-10.0f, 10.0f);
    Press(on.x, on.y, win::MouseButton::Right);
    Release(off.x, off.y, win::MouseButton::Right);
    EXPECT_FALSE(GetActionMenu().open);
}

TEST_F(PatternWindowScriptTest, MarksAndTipsStandWhereTheDiagramIs) {
    // +x is up on the screen and +y to the left; the conversion goes both ways.
    const Vector2 up = editor().PatternToScreen(Vector2(10.0f, 0.0f));
    const Vector2 left = editor().PatternToScreen(Vector2(0.0f, 10.0f));
    const Vector2 centre = editor().PatternToScreen(Vector2());
    EXPECT_LT(up.y, centre.y);
    EXPECT_LT(left.x, centre.x);
    const Vector2 back = editor().ScreenToPattern(Point(int32_t(left.x), int32_t(left.y)));
    EXPECT_NEAR(back.y, 10.0f, 0.2f);
    DoubleClickAt(ScreenAt(10.0f, 0.0f));
    Highlighter marks;
    HighlightRequest request;
    request.kind = 1;
    request.name = "PathPoint 1 PlusIndicator";
    editor().GetHighlightShape(request, marks);
    request.name = "Radar";
    editor().GetHighlightShape(request, marks);
    request.name = "PathPoint 7";  // no such point: no mark
    editor().GetHighlightShape(request, marks);
    ASSERT_EQ(marks.marks.Count(), 2);
    const float d = kPatternHitRadius * std::sqrt(2.0f) / 2.0f + 0.5f;
    const Vector2 at = pattern().pathPoints[1]->position;
    const Vector2 plus = editor().PatternToScreen(Vector2(at.x - d, at.y - d));
    EXPECT_NEAR(marks.marks[0].centreX, plus.x, 0.01f);
    EXPECT_NEAR(marks.marks[0].centreY, plus.y, 0.01f);
    EXPECT_GT(marks.marks[0].centreX, up.x);  // down and to the right of the point
    EXPECT_NEAR(marks.marks[1].radius, kPatternBoundRadius * editor().PixelsPerUnit(), 0.01f);
    // The palette's tip names the item under the pointer.
    const Point rock = PaletteItem(editor().objectGrid, kPatternRock);
    MovePointer(rock.x, rock.y);
    editor().GetToolTip();
    EXPECT_EQ(std::string(GetToolTip().text.CStr()), GetLanguageText("Rock").CStr());
}

}  // namespace
}  // namespace editor_test
