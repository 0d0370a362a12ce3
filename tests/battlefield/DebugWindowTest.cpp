// The pattern debugger: its grid of previews sized to the unit's patterns, picking a
// pattern by click, and the step and play buttons.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "battlefield/ControlTray.h"
#include "battlefield/DebugWindow.h"
#include "support/TempFolder.h"
#include "ui/ToolTip.h"
#include "world/SaveFilePaths.h"

namespace editor_test {
namespace {

class DebugWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        unit->SetPatternSlotCount(5);
        debugger().SetVorn(unit);
        GetWindowManager().OpenWindow(&debugger());
        debugger().MoveTo(Point(200, 100));
        debugger().Refresh();
        game.SelectVorn(unit);
        game.debugPaused = 1;
    }
    void TearDown() override {
        debugger().SetVorn(nullptr);
        EditorTest::TearDown();
    }
    static DebugWindow& debugger() { return GetDebugWindow(); }
    Point CellCentre(int i) { return debugger().cells[i].GetCenter(); }
};

TEST_F(DebugWindowTest, TheGridFitsThePatternsAndStopsAtSixteen) {
    // Sizes in pixels: a window spans right - left + 1.
    EXPECT_EQ(debugger().Width() + 1, 5 * 50 + 3);
    EXPECT_EQ(debugger().Height() + 1, 50 + 48 + 6);
    unit->SetPatternSlotCount(9);
    debugger().SetVorn(unit);
    EXPECT_EQ(debugger().Width() + 1, 8 * 50 + 3);
    EXPECT_EQ(debugger().Height() + 1, 2 * 50 + 48 + 6);
    EXPECT_EQ(debugger().CellAt(CellCentre(8)), 8);
    // More patterns than cells: lookups stay within the sixteen shown.
    unit->patternCount = 20;
    debugger().SetVorn(unit);
    EXPECT_EQ(debugger().ShownCount(), DebugWindow::kMaxCells);
    Event& beyond = Scripted("DebugSelectPattern");
    beyond.value = 16;
    debugger().HandleCommand(beyond);
    EXPECT_TRUE(Heard("ILLEGAL"));
    EXPECT_EQ(unit->debuggerPattern, nullptr);
    unit->patternCount = 16;
}

TEST_F(DebugWindowTest, AClickPicksAPatternOnlyWhenPressAndReleaseMeet) {
    unit->debuggerPattern = nullptr;
    Press(CellCentre(1).x, CellCentre(1).y);
    Release(CellCentre(3).x, CellCentre(3).y);
    EXPECT_EQ(unit->debuggerPattern, nullptr);
    Click(CellCentre(3).x, CellCentre(3).y);
    EXPECT_EQ(unit->debuggerPattern, &unit->PatternAt(3));
    // The tip names the pattern by its number from 1 over a cell grown by a quarter.
    GetTextTable().Set("Pattern", "Pattern");
    debugger().GetToolTip();
    EXPECT_EQ(std::string(GetToolTip().text.CStr()), "Pattern 4");
    const IntRect& cell = debugger().cells[3];
    EXPECT_EQ(GetToolTip().rect.left, cell.left - (cell.right - cell.left) / 4);
}

TEST_F(DebugWindowTest, StepRunsOnWithTheDebuggerAndPlayClosesIt) {
    platform_test::TempFolder folder;
    const String base((folder.Path() + "/").c_str());
    SetDataFolders(base, base, base);
    // A step from a world the player stopped keeps the field to go back to, as play does.
    game.playerPaused = 1;
    debugger().HandleCommand(Scripted("UnpauseDebug"));
    EXPECT_TRUE(std::filesystem::exists(folder / "__Temp.SCN"));
    std::filesystem::remove(folder / "__Temp.SCN");
    // The control tray offers play while the debugger holds the world, and pause once a
    // step lets it run. A step from a running world leaves the play point where it began.
    game.debugPaused = 1;
    game.playerPaused = 0;
    const ControlTray& tray = GetControlTray();
    ASSERT_EQ(std::string(tray.EntryName(0).CStr()), "Play");
    EXPECT_TRUE(tray.IsEntryShown(0));
    EXPECT_FALSE(tray.IsEntryShown(1));
    debugger().HandleCommand(Scripted("UnpauseDebug"));
    EXPECT_EQ(game.debugPaused, 0);
    EXPECT_EQ(game.playerPaused, 0);
    EXPECT_FALSE(tray.IsEntryShown(0));
    EXPECT_TRUE(tray.IsEntryShown(1));
    EXPECT_TRUE(debugger().open);
    EXPECT_EQ(game.DebuggedVorn(), unit);
    game.debugPaused = 1;
    debugger().HandleCommand(Scripted("UnpauseNoDebug"));
    EXPECT_FALSE(debugger().open);
    EXPECT_EQ(game.DebuggedVorn(), nullptr);  // closing clears the selection
    EXPECT_EQ(game.debugPaused, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "__Temp.SCN"));
    SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
}

}  // namespace
}  // namespace editor_test
