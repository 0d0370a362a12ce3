#pragma once
// An ordered list of named sprites that behaves like a bar of buttons: it lays the
// visible ones out in rows of uniform cells or on a circle around an origin, and answers
// which item is under the pointer, hovered, pressed and released on. The renderer
// creates and owns grids; the sprites stay the renderer's too (a grid only refers to
// them, and centres them: every item's sprite is anchored at its centre).
#include <cstdint>

#include "core/Array.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "core/String.h"

struct Sprite;

class SpriteGrid {
public:
    enum LayoutMode : int32_t {
        kLayoutRows = 0,
        kLayoutCircle = 1,
        // Nothing is placed automatically: the owner sets the positions.
        kLayoutFree = 2,
    };
    static constexpr int32_t kNoItem = -1;
    static constexpr int32_t kNotPressed = -2;

    SpriteGrid() = default;

    // Appends the item, centres its sprite's anchor and lays out again; its index.
    int AddItem(Sprite* sprite, const String& name, bool visible);
    // These three ignore an index outside the items; each lays out again only when the
    // value changes.
    void SetItemSprite(int index, Sprite* sprite);
    void SetItemVisible(int index, bool visible);
    void RenameItem(int index, const String& name);

    // Each stores the value and lays out again.
    void SetLayoutMode(LayoutMode mode);
    // Below 1: one endless row.
    void SetItemsPerRow(int32_t count);
    void SetRadius(float value);
    // Both the horizontal and the vertical spacing.
    void SetSpacing(int32_t pixels);

    // Stores the origin (the rows' top-left or the circle's centre) and places the
    // visible items by the layout mode.
    void Layout(const Point& newOrigin);

    // The first visible item, in list order, whose sprite contains the point, else -1.
    int FindItemAt(const Point& point) const;
    void UpdateHover(const Point& point) { hovered = FindItemAt(point); }
    void Press(const Point& point) { pressed = FindItemAt(point); }
    // The pressed item when the point is still over it, else -1; the press ends.
    int Release(const Point& point);

    int CountVisible() const;
    // The union of the visible items' screen rectangles; all zero when none is visible.
    IntRect GetBounds() const;

    int Count() const { return sprites.Count(); }
    bool IsValidIndex(int index) const { return index >= 0 && index < sprites.Count(); }
    // Visible, with a sprite to show and hit.
    bool IsShown(int index) const { return visibleFlags[index] != 0 && sprites[index] != nullptr; }

    int32_t hovered = kNoItem;
    int32_t pressed = kNotPressed;
    Point origin;
    int32_t layoutMode = kLayoutRows;
    int32_t itemsPerRow = 0;
    int32_t horizontalSpacing = 1;
    int32_t verticalSpacing = 1;
    float radius = 0.0f;
    // In a circle: the item laid straight below the origin, the others following it
    // clockwise in their order, so that it keeps its place however many are shown;
    // kNoItem (or a hidden item): the first shown item straight above the origin.
    int32_t ringBottomItem = kNoItem;
    Array<Sprite*> sprites;  // the renderer's
    Array<String> names;
    Array<uint8_t> visibleFlags;

private:
    void LayOutRows();
    void LayOutCircle();
};
