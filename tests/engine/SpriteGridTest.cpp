// Sprites' screen rectangles and the sprite grid's layouts and hit tests, headless.
#include <gtest/gtest.h>

#include <vector>

#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"

namespace {

Sprite Sized(int width, int height) { return Sprite(IntRect(0, 0, width - 1, height - 1)); }

Point CentreOf(const Sprite& sprite) { return Point(sprite.x, sprite.y); }

TEST(SpriteTest, ScreenRectangleByAnchorWithBothEdgesInside) {
    Sprite corner(IntRect(10, 20, 19, 24));  // 10 x 5 at (10, 20)
    EXPECT_EQ(corner.GetScreenRect(), IntRect(10, 20, 20, 25));
    EXPECT_TRUE(corner.Contains(Point(20, 25)));
    EXPECT_FALSE(corner.Contains(Point(21, 25)));
    EXPECT_FALSE(corner.Contains(Point(10, 19)));
    Sprite centred = Sized(9, 5);
    centred.anchor = Sprite::kAnchorCentre;
    centred.SetRect(IntRect(10, 20, 18, 24));  // centre (14, 22)
    EXPECT_EQ(CentreOf(centred), Point(14, 22));
    EXPECT_EQ(centred.GetScreenRect(), IntRect(10, 20, 19, 25));  // 14 - 9 / 2 = 10
    EXPECT_EQ(centred.GetScreenCenter(), Point(14, 22));
}

class SpriteGridTest : public ::testing::Test {
protected:
    // Items of the given widths, all 10 high, in a fresh grid.
    void Add(std::vector<int> widths) {
        for (int width : widths) {
            sprites_.push_back(Sized(width, 10));
        }
        for (Sprite& sprite : sprites_) grid_.AddItem(&sprite, "item", true);
    }

    std::vector<Sprite> sprites_;
    SpriteGrid grid_;
};

TEST_F(SpriteGridTest, RowsOfUniformCellsSkipHiddenItems) {
    sprites_.reserve(4);
    Add({10, 40, 20, 30});
    grid_.SetItemVisible(1, false);  // the widest, hidden: no cell and no width
    grid_.SetSpacing(5);
    grid_.SetItemsPerRow(2);
    // Cells 30 x 10: (0 + 15, 5), (35 + 15, 5), then the next row 5 + 10 down.
    EXPECT_EQ(CentreOf(sprites_[0]), Point(15, 5));
    EXPECT_EQ(CentreOf(sprites_[2]), Point(50, 5));
    EXPECT_EQ(CentreOf(sprites_[3]), Point(15, 20));
    grid_.SetItemsPerRow(0);  // one endless row
    grid_.Layout(Point(100, 50));
    EXPECT_EQ(CentreOf(sprites_[3]), Point(100 + 70 + 15, 55));
    EXPECT_EQ(grid_.GetBounds(), IntRect(110, 50, 200, 60));
}

TEST_F(SpriteGridTest, CircleStartsAboveAndTurnsClockwiseTruncatingOffsets) {
    sprites_.reserve(4);
    Add({4, 4, 4, 4});
    grid_.SetRadius(10);
    grid_.SetLayoutMode(SpriteGrid::kLayoutCircle);
    grid_.Layout(Point(100, 100));
    EXPECT_EQ(CentreOf(sprites_[0]), Point(100, 90));
    EXPECT_EQ(CentreOf(sprites_[1]), Point(110, 100));
    EXPECT_EQ(CentreOf(sprites_[2]), Point(100, 110));
    EXPECT_EQ(CentreOf(sprites_[3]), Point(90, 100));
    // Three shown: the second at cos(-pi/6) x 10 = 8.66 right and 5 down, truncated.
    grid_.SetItemVisible(3, false);
    EXPECT_EQ(CentreOf(sprites_[1]), Point(108, 105));
    EXPECT_EQ(CentreOf(sprites_[2]), Point(92, 105));
}

TEST_F(SpriteGridTest, FreeLayoutLeavesThePositionsToTheOwner) {
    sprites_.reserve(2);
    Add({10, 10});
    grid_.SetLayoutMode(SpriteGrid::kLayoutFree);
    sprites_[1].x = 300;
    sprites_[1].y = 7;
    grid_.Layout(Point(50, 50));
    grid_.SetItemVisible(0, false);
    EXPECT_EQ(CentreOf(sprites_[1]), Point(300, 7));
    EXPECT_EQ(grid_.FindItemAt(Point(300, 7)), 1);
}

TEST_F(SpriteGridTest, ReleaseAnswersOnlyOverThePressedItem) {
    sprites_.reserve(4);
    Add({10, 10, 10, 10});  // centres 5, 16, 27, 38 along y = 5
    grid_.Press(Point(27, 5));
    EXPECT_EQ(grid_.Release(Point(38, 5)), -1);
    grid_.Press(Point(27, 5));
    EXPECT_EQ(grid_.Release(Point(29, 8)), 2);
    EXPECT_EQ(grid_.pressed, SpriteGrid::kNotPressed);
    EXPECT_EQ(grid_.Release(Point(27, 5)), -1);
    grid_.Press(Point(500, 5));  // pressed on nothing
    EXPECT_EQ(grid_.Release(Point(500, 5)), -1);
}

TEST_F(SpriteGridTest, HiddenItemsAndBadIndicesAreNeverHit) {
    sprites_.reserve(3);
    Add({10, 10, 10});
    grid_.SetItemVisible(1, false);
    grid_.UpdateHover(Point(16, 5));  // the third moved up into the hidden one's cell
    EXPECT_EQ(grid_.hovered, 2);
    // Indices outside the items change nothing.
    Sprite stray = Sized(50, 50);
    grid_.SetItemSprite(3, &stray);
    grid_.SetItemSprite(-1, &stray);
    grid_.SetItemVisible(-7, false);
    grid_.SetItemVisible(99, true);
    grid_.RenameItem(3, "x");
    EXPECT_EQ(grid_.Count(), 3);
    EXPECT_EQ(grid_.CountVisible(), 2);
    EXPECT_EQ(stray.anchor, Sprite::kAnchorTopLeft);
    grid_.SetItemVisible(0, false);
    grid_.SetItemVisible(2, false);
    EXPECT_EQ(grid_.FindItemAt(Point(5, 5)), -1);
    EXPECT_EQ(grid_.GetBounds(), IntRect(0, 0, 0, 0));
}

}  // namespace
