// Pop-up menus chosen by mouse and by key, confirmation answers, and deletions from the
// scenario list, including one that fails on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "UiTestSupport.h"
#include "core/FileHelpers.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/GameListener.h"
#include "platform/sys/FileSystem.h"
#include "platform/window/Keys.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/ConfirmDeleteScenarioMenu.h"
#include "ui/ConfirmEscapeMenu.h"
#include "ui/PopUpMenu.h"
#include "ui/ScenarioListBox.h"
#include "ui/WindowManager.h"
#include "world/SaveFilePaths.h"

namespace {

using ui_test::UiTest;

class ChoiceMenu : public PopUpMenu {
public:
    ChoiceMenu() : PopUpMenu("ChoiceMenu", 48, 96.0f) {
        Initialize();
        for (const char* item : {"North", "East", "South", "West"}) AddItem("Item.tga", item);
    }
    void OnChoice(int32_t index) override {
        choices.push_back(index);
        GetWindowManager().CloseWindow(this);
    }
    std::vector<int32_t> choices;
};

class MenuTest : public UiTest {
protected:
    Point ItemCentre(const PopUpMenu& menu, int index) { return menu.items->sprites[index]->GetScreenCenter(); }
};

TEST_F(MenuTest, ItemsStandClockwiseOnTheRingFromTheTop) {
    ChoiceMenu menu;
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    EXPECT_EQ(menu.centre, Point(400, 300));
    // Item k at angle pi/2 - 2 pi k / 4: (0, -96), (96, 0), (0, 96), (-96, 0).
    EXPECT_EQ(ItemCentre(menu, 0), Point(400, 300 - 96));
    EXPECT_EQ(ItemCentre(menu, 1), Point(400 + 96, 300));
    EXPECT_EQ(ItemCentre(menu, 2), Point(400, 300 + 96));
    EXPECT_EQ(ItemCentre(menu, 3), Point(400 - 96, 300));
    // Near a corner it stays on the screen: the square of 2 x (96 + 48) keeps the border.
    GetWindowManager().OpenWindowAt(&menu, Point(0, 0));
    EXPECT_EQ(menu.left, 14 + 4);
}

// Menus are moved to the pointer before they open, and outlive a renderer restart.
TEST_F(MenuTest, AMenuMovedAfterARendererRestartOpensWithItsWholeRingRemade) {
    ChoiceMenu menu;
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    GetWindowManager().CloseWindow(&menu);
    GetRenderer().ReleaseAll();
    menu.MoveTo(Point(300, 300));
    GetWindowManager().OpenWindow(&menu);
    ASSERT_EQ(menu.ItemCount(), 4);
    EXPECT_EQ(ItemCentre(menu, 1), Point(300 + 96, 300));
}

TEST_F(MenuTest, AClickOnAnItemChoosesItAndTheOpeningReleaseDoesNothing) {
    ChoiceMenu menu;
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    Release(400, 300);  // the release of the click that opened the menu
    EXPECT_TRUE(menu.open);
    const Point east = ItemCentre(menu, 1);
    Click(east.x, east.y);
    ASSERT_EQ(menu.choices.size(), 1u);
    EXPECT_EQ(menu.choices[0], 1);
    EXPECT_EQ(game.posted.back().text, "East");
    EXPECT_FALSE(menu.open);
}

TEST_F(MenuTest, AClickBesideTheItemsAbortsAndEscapeChoosesNothingSilently) {
    ChoiceMenu menu;
    Window under("Under");
    under.SetRectValues(100, 100, 900, 700);
    GetWindowManager().OpenWindow(&under);
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    Click(800, 650);  // outside the menu, over another window: still the menu's
    EXPECT_FALSE(menu.open);
    EXPECT_TRUE(menu.choices.empty());
    EXPECT_EQ(game.posted.back().type, kEventAbortMenu);

    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    TakeSounds();
    TapKey(win::kKeyEscape);
    ASSERT_EQ(menu.choices.size(), 1u);
    EXPECT_EQ(menu.choices[0], -1);
    EXPECT_TRUE(TakeSounds().empty());
}

TEST_F(MenuTest, ForgedChoicesOutsideTheItemsAreIgnored) {
    ChoiceMenu menu;
    GetWindowManager().OpenWindowAt(&menu, Point(400, 300));
    Event* event = menu.PostEventInt(kEventPickEntry, 7);
    ASSERT_NE(event, nullptr);
    game.DispatchEvents();
    EXPECT_TRUE(menu.choices.empty());
    EXPECT_TRUE(menu.open);
}

// The control tray hears of the restored pause, so that it shows Pause, not Play.
struct ControlsHeard final : GameListener {
    void OnControlsChanged() override { ++changes; }
    int changes = 0;
};

TEST_F(MenuTest, LeavingTheEscapeMenuWithoutYesRestoresThePause) {
    ConfirmEscapeMenu& menu = GetConfirmEscapeMenu();
    ControlsHeard tray;
    GameListener* const views = GetGameListener();
    SetGameListener(&tray);
    game.resumePaused = 0;
    game.playerPaused = 1;
    GetWindowManager().OpenWindow(&menu);
    GetWindowManager().BringToFront(&menu);
    EXPECT_EQ(menu.GetCenter(), Point(512, 384));  // centred on the screen
    TapKey(win::kKeyEscape);
    EXPECT_FALSE(menu.open);
    EXPECT_EQ(game.playerPaused, 0);
    EXPECT_EQ(tray.changes, 1);
    SetGameListener(views);
    GetWindowManager().OpenWindow(&menu);
    const Point yes = ItemCentre(menu, 0);
    Click(yes.x, yes.y);
    EXPECT_EQ(game.Types().back(), kEventEscape);
}

class ScenarioDeleteTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        std::filesystem::create_directories(folder_ / "Scenarios");
        for (const char* file : {"Alpha.SCN", "beta.scn", "__Temp.SCN", "__temp.scn", "Gamma.txt"}) {
            std::ofstream(folder_ / ("Scenarios/" + std::string(file))) << "x";
        }
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        GetScenarioListBox().Refresh();
    }
    void TearDown() override {
        working_.reset();
        MenuTest::TearDown();
    }
    // Points at the list's entry, presses and releases Delete, then answers Yes.
    void DeleteByKey(int entry) {
        ScenarioListBox& list = GetScenarioListBox();
        const Point cell = list.cellRects[entry].GetCenter();
        MovePointer(cell.x, cell.y);
        TapKey(win::kKeyDelete);
        ConfirmDeleteScenarioMenu& menu = GetConfirmDeleteScenarioMenu();
        ASSERT_TRUE(menu.open);
        const Point yes = ItemCentre(menu, 0);
        Click(yes.x, yes.y);
        EXPECT_FALSE(menu.open);
    }
    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

TEST_F(ScenarioDeleteTest, TheSnapshotIsNeverListedAndOtherExtensionsAreSkipped) {
    const StringArray& items = GetScenarioListBox().items;
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(items[0], "__temp");  // differs from the snapshot's title in case only
    EXPECT_EQ(items[1], "Alpha");
    EXPECT_EQ(items[2], "beta");
}

TEST_F(ScenarioDeleteTest, DeletingAListedScenarioRemovesItsFileAndEntry) {
    GetWindowManager().OpenWindow(&GetScenarioListBox());
    DeleteByKey(1);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "Scenarios/Alpha.SCN"));
    EXPECT_EQ(GetScenarioListBox().FindEntryByName("Alpha"), -1);
    EXPECT_EQ(GetScenarioListBox().items.Count(), 2);
}

TEST_F(ScenarioDeleteTest, AFileThatWillNotGoStaysListedAndSoundsIllegal) {
    ASSERT_TRUE(sys::SetReadOnly((folder_ / "Scenarios/Alpha.SCN").c_str(), true));
    GetWindowManager().OpenWindow(&GetScenarioListBox());
    TakeSounds();
    DeleteByKey(1);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Scenarios/Alpha.SCN"));
    EXPECT_GE(GetScenarioListBox().FindEntryByName("Alpha"), 0);
    bool illegal = false;
    for (const std::string& sound : TakeSounds()) illegal = illegal || sound.find("ILLEGAL") != std::string::npos;
    EXPECT_TRUE(illegal);
}

TEST_F(ScenarioDeleteTest, ADeleteEventNamingNoEntryOpensNothing) {
    ScenarioListBox& list = GetScenarioListBox();
    GetWindowManager().OpenWindow(&list);
    list.PostEventString(kEventDeleteTrayEntry, "..\\..\\Options");
    game.DispatchEvents();
    EXPECT_FALSE(GetConfirmDeleteScenarioMenu().open);
    // Even if the menu is given such a name, nothing outside the folder is touched.
    std::ofstream(folder_ / "Options.txt") << "keep";
    ConfirmDeleteScenarioMenu& menu = GetConfirmDeleteScenarioMenu();
    menu.name = "../Options";
    menu.OnChoice(0);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Options.txt"));
}

}  // namespace
