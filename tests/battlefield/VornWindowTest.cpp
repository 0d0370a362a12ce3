// The unit editor: pattern slots dragged, cleared and opened, weapons and chassis chosen
// through their menus, and a chassis change that asks before it takes anything.
#include <gtest/gtest.h>

#include <algorithm>

#include "EditorFixture.h"
#include "battlefield/AmmoTray.h"
#include "battlefield/ChassisMenu.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/SpriteGrid.h"
#include "support/TempFolder.h"
#include "ui/ConfirmChangeVornChassisMenu.h"
#include "ui/Highlighter.h"
#include "ui/VornNameEditBox.h"
#include "ui/WeaponMenu.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "world/SaveFilePaths.h"

namespace editor_test {
namespace {

class VornWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        GetWindowManager().CloseWindow(&GetPatternWindow());
        window().vorn = unit;
        GetWindowManager().OpenWindow(&window());
        window().MoveTo(Point(100, 40));
        window().Refresh();
    }
    static VornWindow& window() { return GetVornWindow(); }
    Point SlotCentre(int slot) { return window().SlotRect(slot).GetCenter(); }
    void GiveSecondWeaponAction(int slot) {
        Pattern& pattern = unit->PatternAt(slot);
        PathPoint* point = pattern.AddPathPoint();
        point->position = Vector2(5.0f, 0.0f);
        point->facing = point->position;
        point->AddAction()->kind = kActionFire2;
    }
    Event& Choice(int index) {
        Event& event = Scripted("PickEntry");
        event.value = index;
        return event;
    }
};

TEST_F(VornWindowTest, SlotsAreCopiedByDragClearedAndOpened) {
    GiveSecondWeaponAction(2);
    // A right click opens the slot in the pattern editor below the unit editor.
    Press(SlotCentre(2).x, SlotCentre(2).y, win::MouseButton::Right);
    Release(SlotCentre(2).x, SlotCentre(2).y, win::MouseButton::Right);
    PatternWindow& editor = GetPatternWindow();
    ASSERT_TRUE(editor.open);
    EXPECT_EQ(editor.pattern, &unit->PatternAt(2));
    EXPECT_EQ(editor.top, window().bottom + 26);
    // Dragging slot 2 onto slot 5 copies it; the editor follows to slot 5.
    Drag(SlotCentre(2), SlotCentre(5));
    EXPECT_EQ(unit->PatternAt(5).pathPoints.Count(), 2);
    EXPECT_EQ(unit->PatternAt(2).pathPoints.Count(), 2);
    EXPECT_EQ(editor.pattern, &unit->PatternAt(5));
    EXPECT_EQ(window().selectedSlot, 5);
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
    // Delete over the unit's current pattern clears it and the unit has none.
    unit->currentPattern = &unit->PatternAt(2);
    MovePointer(SlotCentre(2).x, SlotCentre(2).y);
    TapKey(Mouse::kCodeDelete);
    EXPECT_FALSE(unit->PatternAt(2).IsEnabled());
    EXPECT_EQ(unit->currentPattern, nullptr);
    EXPECT_TRUE(Heard("DELETE"));
    // Scripts name slots the unit does not have.
    Event& stray = Scripted("CopyPattern");
    stray.point = Point(0, unit->patternCount);
    window().HandleCommand(stray);
    EXPECT_TRUE(Heard("ILLEGAL"));
}

TEST_F(VornWindowTest, ASmallChassisAsksFirstAndTakesWhatItCannotHold) {
    GiveSecondWeaponAction(0);
    unit->PatternAt(1).conditionals.flags[kConditionalReloading2] = 1;
    unit->SetWeaponKind(1, kWeaponVornLauncher);
    window().HandleCommand(Scripted("SelectChassis"));
    ChassisMenu& menu = GetChassisMenu();
    ASSERT_TRUE(menu.open);
    menu.HandleCommand(Choice(0));
    ConfirmChangeVornChassisMenu& question = GetConfirmChangeVornChassisMenu();
    ASSERT_TRUE(question.open);
    EXPECT_EQ(unit->chassisType, 1);  // nothing changes before the answer
    EXPECT_TRUE(question.losses[ConfirmChangeVornChassisMenu::kLosesSecondWeaponActions]);
    EXPECT_TRUE(question.losses[ConfirmChangeVornChassisMenu::kLosesSecondWeaponConditionals]);
    EXPECT_TRUE(question.losses[ConfirmChangeVornChassisMenu::kLosesLaunchers]);
    EXPECT_FALSE(question.losses[ConfirmChangeVornChassisMenu::kLosesMediumLauncherAmmo]);
    const std::string asked = question.title.CStr();
    EXPECT_NE(asked.find("ChangeChassisSize?\nRemoveFireSecondWeaponActions\n"), std::string::npos);
    EXPECT_EQ(asked.find("RemoveOneOrMorePatterns"), std::string::npos);
    EXPECT_EQ(asked.substr(asked.size() - 9), "Continue?");
    question.HandleCommand(Choice(YesNoMenu::kYes));
    EXPECT_EQ(unit->chassisType, 0);
    EXPECT_FALSE(unit->UsesWeapon2Actions());
    EXPECT_FALSE(unit->UsesWeapon2Conditionals());
    EXPECT_EQ(unit->weapons[1].kind, kWeaponLaser);
    EXPECT_EQ(unit->weapons[1].ammoName, Weapon::NoAmmoText());
    EXPECT_EQ(unit->patternCount, GetLocalPlayer().GetMaxPatternCount(0));
    // The small unit's weapon menu offers no launcher.
    window().HandleCommand(Scripted("SelectWeapon"));
    WeaponMenu& weapons = GetWeaponMenu();
    ASSERT_TRUE(weapons.open);
    EXPECT_FALSE(weapons.items->IsShown(kWeaponVornLauncher));
    EXPECT_TRUE(weapons.items->IsShown(kWeaponMissileLauncher));
    weapons.HandleCommand(Choice(kWeaponMissileLauncher));
    EXPECT_EQ(unit->weapons[0].kind, kWeaponMissileLauncher);
    EXPECT_FALSE(weapons.open);
    // A second weapon place the small chassis does not have is refused.
    Event& second = Scripted("SelectWeapon");
    second.value = 1;
    window().HandleCommand(second);
    EXPECT_TRUE(Heard("ILLEGAL"));
}

TEST_F(VornWindowTest, AChangeWithNothingToLoseIsAppliedAtOnce) {
    window().HandleCommand(Scripted("SelectChassis"));
    GetChassisMenu().HandleCommand(Choice(2));
    EXPECT_FALSE(GetConfirmChangeVornChassisMenu().open);
    EXPECT_EQ(unit->chassisType, 2);
    EXPECT_EQ(unit->costEdited, 1);
    // The unit the question was about left the editor: a late "Yes" changes nothing.
    window().ChangeVornChassis(MakeUnit(1), 0);
    EXPECT_EQ(unit->chassisType, 2);
}

TEST_F(VornWindowTest, TheAmmoTrayListsOnlySmallerSavedUnits) {
    platform_test::TempFolder folder;
    SetDataFolders(String((folder.Path() + "/").c_str()), "Squads\\", "Scenarios\\");
    Vorn* small = MakeUnit(0);
    ASSERT_TRUE(small->SaveFile("Scout"));
    ASSERT_TRUE(MakeUnit(1)->SaveFile("Brute"));
    unit->SetWeaponKind(0, kWeaponVornLauncher);
    window().HandleCommand(Scripted("SelectAmmo"));
    AmmoTray& tray = GetAmmoTray();
    ASSERT_TRUE(tray.open);
    ASSERT_EQ(tray.summaries.Count(), 1);
    EXPECT_EQ(tray.summaries[0].fileName, String("Scout"));
    Event& pick = Scripted("PickTrayEntry");
    pick.text = "SCOUT";
    tray.HandleCommand(pick);
    EXPECT_FALSE(tray.open);
    EXPECT_EQ(tray.vorn, nullptr);  // the shut tray holds no unit that may be freed
    EXPECT_EQ(unit->weapons[0].ammoName, String("Scout"));
    window().HandleCommand(Scripted("DeleteAmmo"));
    EXPECT_EQ(unit->weapons[0].ammoName, Weapon::NoAmmoText());
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

TEST_F(VornWindowTest, SavingWarnsOfTooManyPatternsButStillAsksTheName) {
    GetLocalPlayer().SetUpgradeLevel(FindUpgradeItem("MediumVornPatternCount"), 0);
    const int limit = GetLocalPlayer().GetMaxPatternCount(unit->chassisType);
    for (int slot = 0; slot <= limit && slot < unit->patternCount; ++slot) GiveSecondWeaponAction(slot);
    ASSERT_GT(unit->CountEnabledPatterns(), limit);
    Event& save = Scripted("SaveVorn");
    save.point = Point(300, 300);
    window().HandleCommand(save);
    EXPECT_EQ(ErrorTextKeepingBox(), "TooManyPatterns");
    EXPECT_EQ(GetErrorBox().nextWindow, &GetVornNameEditBox());
    EXPECT_EQ(GetVornNameEditBox().unit, unit);
}

}  // namespace
}  // namespace editor_test

namespace editor_test {
namespace {

class VornWindowSlotTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        GetWindowManager().CloseWindow(&GetPatternWindow());
        GetVornWindow().vorn = unit;
        GetWindowManager().OpenWindow(&GetVornWindow());
        GetVornWindow().MoveTo(Point(100, 40));
        GetVornWindow().Refresh();
    }
};

TEST_F(VornWindowSlotTest, ADragReleasedOutsideTheSlotsCopiesNothing) {
    VornWindow& window = GetVornWindow();
    PathPoint* point = unit->PatternAt(1).AddPathPoint();
    point->position = Vector2(3.0f, 3.0f);
    point->facing = point->position;
    const Point from = window.SlotRect(1).GetCenter();
    Press(from.x, from.y);
    EXPECT_EQ(GetMouse().mode, Mouse::kModePattern);
    MovePointer(700, 600);
    Release(700, 600);
    EXPECT_EQ(GetMouse().mode, Mouse::kModeNothing);
    int enabled = 0;
    for (int slot = 0; slot < unit->patternCount; ++slot) enabled += unit->PatternAt(slot).IsEnabled() ? 1 : 0;
    EXPECT_EQ(enabled, 1);
    // Highlights name the slot and the texts.
    Highlighter marks;
    HighlightRequest request;
    request.kind = 1;
    request.name = "Pattern 3";
    window.GetHighlightShape(request, marks);
    request.name = "Pattern 99";
    window.GetHighlightShape(request, marks);
    ASSERT_EQ(marks.marks.Count(), 1);
    EXPECT_NEAR(marks.marks[0].left, float(window.SlotRect(3).left), 1.0f);
}

TEST_F(VornWindowTest, TheCostLineStaysAboveThePatternSlotsWithATallFont) {
    Font& font = GetFont();
    const float shipped = font.lineHeight;
    font.lineHeight = 32.0f;  // the game's own font cell
    Highlighter marks;
    HighlightRequest request;
    request.kind = 1;
    request.name = "Cost";
    window().GetHighlightShape(request, marks);
    font.lineHeight = shipped;
    ASSERT_EQ(marks.marks.Count(), 1);
    EXPECT_LE(marks.marks[0].bottom, float(window().SlotRect(0).top));
}

// In letters as wide and lines as high as the shipped font's, with the shipped titles: no
// weapon of a full weapon menu covers "Pick a weapon", and a chassis button grown under the
// pointer covers no more of "Pick a chassis" than it does at rest.
TEST_F(VornWindowTest, TheWeaponAndChassisMenusKeepTheirButtonsOffTheirTitles) {
    Font& font = GetFont();
    std::fill(std::begin(font.widths), std::end(font.widths), int8_t{17});
    font.spacing = 1;
    font.lineHeight = 32.0f;
    const auto covered = [](const IntRect& a, const IntRect& b) {
        const int32_t across = std::min(a.right, b.right) - std::max(a.left, b.left);
        const int32_t down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
        return across > 0 && down > 0 ? across * down : 0;
    };
    window().HandleCommand(Scripted("SelectWeapon"));
    WeaponMenu& weapons = GetWeaponMenu();
    ASSERT_TRUE(weapons.open);
    ASSERT_EQ(weapons.items->CountVisible(), kWeaponKindCount);
    const String weaponsTitle = weapons.title;
    weapons.title = "Pick a weapon";
    const IntRect weaponsNamed = weapons.ToolTipKeepClear();
    for (int i = 0; i < weapons.items->Count(); ++i) {
        EXPECT_EQ(covered(weapons.DrawnItemRect(i), weaponsNamed), 0)
            << weapons.items->names[i].CStr() << " covers the title";
    }
    weapons.title = weaponsTitle;
    weapons.HandleCommand(Choice(-1));

    window().HandleCommand(Scripted("SelectChassis"));
    ChassisMenu& chassis = GetChassisMenu();
    ASSERT_TRUE(chassis.open);
    ASSERT_EQ(chassis.items->CountVisible(), 3);
    const String chassisTitle = chassis.title;
    chassis.title = "Pick a chassis";
    const IntRect chassisNamed = chassis.ToolTipKeepClear();
    for (int i = 0; i < chassis.items->Count(); ++i) {
        if (!chassis.items->IsShown(i)) continue;
        chassis.items->hovered = SpriteGrid::kNoItem;
        const int32_t atRest = covered(chassis.DrawnItemRect(i), chassisNamed);
        chassis.items->hovered = i;
        EXPECT_LE(covered(chassis.DrawnItemRect(i), chassisNamed), atRest)
            << chassis.items->names[i].CStr() << " grows over the title";
    }
    chassis.title = chassisTitle;
    chassis.HandleCommand(Choice(-1));
    ui_test::UseMeasuringFont();
}

TEST_F(VornWindowSlotTest, ASmallUnitsLauncherHasNoAmmunitionToList) {
    platform_test::TempFolder folder;
    SetDataFolders(String((folder.Path() + "/").c_str()), "Squads\\", "Scenarios\\");
    ASSERT_TRUE(MakeUnit(0)->SaveFile("Scout"));
    Vorn* small = MakeUnit(0);
    AmmoTray& tray = GetAmmoTray();
    tray.vorn = small;
    tray.RebuildSource();
    EXPECT_EQ(tray.summaries.Count(), 0);
    tray.vorn = nullptr;  // the unit goes with the test's arena
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

}  // namespace
}  // namespace editor_test
