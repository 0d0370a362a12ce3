// A list box driven through the real input path: scrolling by wheel, arrows and handle,
// picking, type-ahead, delete and right clicks, and the recent row.
#include <gtest/gtest.h>

#include <cstdio>

#include "UiTestSupport.h"
#include "core/TextTable.h"
#include "platform/window/Keys.h"
#include "ui/ListBox.h"
#include "ui/WindowManager.h"

namespace {

using ui_test::UiTest;

class TestList : public ListBox {
public:
    explicit TestList(const StringArray& names, bool withRecentRow = false)
        : ListBox("TestList", 8, 100, withRecentRow), names_(names) {
        Initialize();
        MoveTo(Point(100, 100));
    }
    void Fill() override { items = names_; }
    void PickEntry(int32_t entry, const String& text) override {
        picked = entry;
        pickedText = text;
    }
    int32_t picked = -9;
    String pickedText;

private:
    StringArray names_;
};

StringArray Numbered(int count) {
    StringArray names;
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Item%03d", i);
        names.Append(name);
    }
    return names;
}

StringArray Fruit() {
    StringArray names;
    for (const char* name : {"apple", "banana", "berry", "cherry"}) names.Append(name);
    return names;
}

// Layout of the 8-row list at (100, 100): cells 12 high (16 x 0.75) every 16 pixels from
// x 116; the scroll column is x 100..115; the up arrow's centre (108, 108), the down
// arrow's (108, 215); the handle's track runs from y 124, 75 pixels long.
constexpr int kCellX = 150;
int CellY(int row) { return 100 + 16 * row + 6; }

class TrayInputTest : public UiTest {
protected:
    // The recent list stamps entries with the frame counter, which frame ticks advance.
    void AdvanceFrames() { Frame(); }
};

TEST_F(TrayInputTest, TheWheelAndTheArrowsScrollButNeverPastTheLastPage) {
    TestList list(Numbered(200));
    GetWindowManager().OpenWindow(&list);
    ASSERT_EQ(list.Rect(), IntRect(100, 100, 215, 223));
    MovePointer(kCellX, CellY(3));
    scripted->TurnWheel(-3);
    Frame();
    EXPECT_EQ(list.scrollPosition, 3);
    scripted->TurnWheel(5);
    Frame();
    EXPECT_EQ(list.scrollPosition, 0);
    Click(108, 215);  // down arrow
    EXPECT_EQ(list.scrollPosition, 1);
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&list));
    list.SetScroll(1000);
    EXPECT_EQ(list.scrollPosition, 192);  // (200 rows - 8 shown) x 1 column
}

TEST_F(TrayInputTest, DraggingTheHandleScrollsByTrackPosition) {
    TestList list(Numbered(200));
    GetWindowManager().OpenWindow(&list);
    MovePointer(108, 160);
    Press(108, 160);
    // Row = trunc((160 - 124) / (75 / 192)) = trunc(92.16) = 92.
    EXPECT_EQ(list.scrollPosition, 92);
    EXPECT_TRUE(GetWindowManager().IsCapturingMouse(&list));
    MovePointer(108, 500);  // far below the track: the last page
    EXPECT_EQ(list.scrollPosition, 192);
    Release(108, 500);
    EXPECT_FALSE(list.handleDrag);
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&list));
}

TEST_F(TrayInputTest, AListThatFitsItsRowsTakesAColumnPressWithoutADrag) {
    TestList exact(Numbered(8));
    GetWindowManager().OpenWindow(&exact);
    MovePointer(108, 160);
    Press(108, 160);
    EXPECT_FALSE(exact.handleDrag);
    EXPECT_FALSE(GetWindowManager().IsCapturingMouse(&exact));
    EXPECT_EQ(exact.scrollPosition, 0);
    Release(108, 160);
    exact.Render();  // the handle's place needs no division either
}

TEST_F(TrayInputTest, ClickingAnEntryPicksItAndAnEmptyCellPicksNothing) {
    TestList list(Fruit());
    GetWindowManager().OpenWindow(&list);
    Click(kCellX, CellY(2));
    EXPECT_EQ(list.picked, 2);
    EXPECT_EQ(list.pickedText, "berry");
    ASSERT_GE(game.posted.size(), 2u);
    EXPECT_EQ(game.posted[0].type, kEventGrabTrayEntry);
    EXPECT_EQ(game.posted[1].type, kEventPickTrayEntry);
    EXPECT_EQ(game.posted[1].value, 2);
    Click(kCellX, CellY(6));
    EXPECT_EQ(game.posted.back().value, -1);
    EXPECT_EQ(game.posted.back().text, GetLanguageText("NoEntry").CStr());
    EXPECT_EQ(list.picked, -1);
}

TEST_F(TrayInputTest, TypingFindsTheFirstEntryStartingWithTheTypedText) {
    TestList list(Numbered(200));
    GetWindowManager().OpenWindow(&list);
    MovePointer(kCellX, CellY(1));
    Type("item15");
    EXPECT_EQ(list.scrollPosition, 150);
    EXPECT_EQ(list.typedText, "item15");
    EXPECT_EQ(game.posted.back().type, kEventPlaceMouseInTray);
    Type("z");  // no match: the typed text soon goes
    EXPECT_FLOAT_EQ(list.typeAheadTimer, Tray::kTypeAheadMissSeconds - game.frameTime);

    TestList fruit(Fruit());
    GetWindowManager().CloseWindow(&list);
    GetWindowManager().OpenWindow(&fruit);
    MovePointer(kCellX, CellY(1));
    Type("be");
    TapKey(win::kKeyReturn);
    EXPECT_EQ(fruit.picked, 2);
    EXPECT_EQ(fruit.pickedText, "berry");
}

TEST_F(TrayInputTest, DeleteAndRightClicksNameTheEntryPressedAndReleasedOn) {
    TestList list(Fruit());
    GetWindowManager().OpenWindow(&list);
    MovePointer(kCellX, CellY(1));
    TapKey(win::kKeyDelete);
    ASSERT_FALSE(game.posted.empty());
    EXPECT_EQ(game.posted.back().type, kEventDeleteTrayEntry);
    EXPECT_EQ(game.posted.back().text, "banana");
    game.posted.clear();
    Press(kCellX, CellY(0), win::MouseButton::Right);
    Release(kCellX, CellY(3), win::MouseButton::Right);  // another entry: nothing
    EXPECT_TRUE(game.posted.empty());
    Press(kCellX, CellY(0), win::MouseButton::Right);
    Release(kCellX, CellY(0), win::MouseButton::Right);
    ASSERT_EQ(game.posted.size(), 1u);
    EXPECT_EQ(game.posted[0].type, kEventEditTrayEntry);
    EXPECT_EQ(game.posted[0].text, "apple");
    TapKey(win::kKeyEscape);
    EXPECT_EQ(list.picked, -1);
    EXPECT_EQ(list.pickedText, "");
}

TEST_F(TrayInputTest, AFullRecentRowReplacesItsLeastRecentlyUsedAndStaysSorted) {
    // One column: the recent row holds one record. A wider tray keeps several.
    class Grid : public Tray {
    public:
        Grid() : Tray("Grid", 3, 2, Point(32, 32), 1.5f, true, true) { Initialize(); }
        String EntryName(int32_t entry) const override { return kNames[entry]; }
        int32_t EntryCount() const override { return 5; }
        const char* kNames[5] = {"Echo", "Delta", "Charlie", "Bravo", "Alpha"};
    } grid;
    grid.MarkMostRecentlyUsed("Echo");
    AdvanceFrames();
    grid.MarkMostRecentlyUsed("Bravo");
    AdvanceFrames();
    grid.MarkMostRecentlyUsed("Delta");
    AdvanceFrames();
    grid.MarkMostRecentlyUsed("Echo");  // used again: Bravo is now the oldest
    AdvanceFrames();
    grid.MarkMostRecentlyUsed("Alpha");
    ASSERT_EQ(grid.recent.Count(), 3);
    EXPECT_EQ(grid.recent[0].name, "Alpha");
    EXPECT_EQ(grid.recent[1].name, "Delta");
    EXPECT_EQ(grid.recent[2].name, "Echo");
    EXPECT_EQ(grid.recentRects.Count(), 3);
}

}  // namespace
