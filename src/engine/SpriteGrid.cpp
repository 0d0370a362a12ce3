#include "engine/SpriteGrid.h"

#include <algorithm>
#include <cmath>

#include "engine/Sprite.h"

namespace {

// The circle's angles are worked in single precision, from these floats.
constexpr float kPi = 3.14159265358979f;
constexpr float kHalfPi = 1.57079632679490f;

void CentreAt(Sprite& sprite, int32_t x, int32_t y) {
    sprite.x = x;
    sprite.y = y;
}

}  // namespace

int SpriteGrid::AddItem(Sprite* sprite, const String& name, bool visible) {
    if (sprite != nullptr) sprite->anchor = Sprite::kAnchorCentre;
    sprites.Append(sprite);
    names.Append(name);
    const int index = visibleFlags.Append(visible ? 1 : 0);
    Layout(origin);
    return index;
}

void SpriteGrid::SetItemSprite(int index, Sprite* sprite) {
    if (!IsValidIndex(index) || sprites[index] == sprite) return;
    sprites[index] = sprite;
    if (sprite != nullptr) sprite->anchor = Sprite::kAnchorCentre;
    Layout(origin);
}

void SpriteGrid::SetItemVisible(int index, bool visible) {
    if (!IsValidIndex(index) || (visibleFlags[index] != 0) == visible) return;
    visibleFlags[index] = visible ? 1 : 0;
    Layout(origin);
}

void SpriteGrid::RenameItem(int index, const String& name) {
    if (!IsValidIndex(index) || names[index] == name) return;
    names[index] = name;
    Layout(origin);
}

void SpriteGrid::SetLayoutMode(LayoutMode mode) {
    layoutMode = mode;
    Layout(origin);
}

void SpriteGrid::SetItemsPerRow(int32_t count) {
    itemsPerRow = count;
    Layout(origin);
}

void SpriteGrid::SetRadius(float value) {
    radius = value;
    Layout(origin);
}

void SpriteGrid::SetSpacing(int32_t pixels) {
    horizontalSpacing = verticalSpacing = pixels;
    Layout(origin);
}

void SpriteGrid::Layout(const Point& newOrigin) {
    origin = newOrigin;
    if (layoutMode == kLayoutRows) LayOutRows();
    if (layoutMode == kLayoutCircle) LayOutCircle();
}

void SpriteGrid::LayOutRows() {
    int32_t cellWidth = 0, cellHeight = 0;
    for (int i = 0; i < Count(); ++i) {
        if (!IsShown(i)) continue;
        cellWidth = std::max(cellWidth, sprites[i]->width);
        cellHeight = std::max(cellHeight, sprites[i]->height);
    }
    Point cursor = origin;
    int inRow = 0;
    for (int i = 0; i < Count(); ++i) {
        if (!IsShown(i)) continue;
        CentreAt(*sprites[i], cursor.x + cellWidth / 2, cursor.y + cellHeight / 2);
        if (itemsPerRow >= 1 && ++inRow == itemsPerRow) {
            cursor = Point(origin.x, cursor.y + verticalSpacing + cellHeight);
            inRow = 0;
        } else {
            cursor.x += horizontalSpacing + cellWidth;
        }
    }
}

// The first item straight above the origin (or the bottom item straight below it), the
// rest clockwise on the screen. Offsets
// are truncated toward zero, so 8.66 and -8.66 both land 8 pixels out.
void SpriteGrid::LayOutCircle() {
    const int shown = CountVisible();
    float firstAngle = kHalfPi;
    if (IsValidIndex(ringBottomItem) && IsShown(ringBottomItem)) {
        int before = 0;
        for (int i = 0; i < ringBottomItem; ++i) before += IsShown(i) ? 1 : 0;
        firstAngle = -kHalfPi + (float(before) / float(shown)) * 2.0f * kPi;
    }
    int k = 0;
    for (int i = 0; i < Count(); ++i) {
        if (!IsShown(i)) continue;
        const float angle = firstAngle - (float(k) / float(shown)) * 2.0f * kPi;
        CentreAt(*sprites[i], origin.x + int32_t(std::cos(angle) * radius),
                 origin.y + int32_t(-std::sin(angle) * radius));
        ++k;
    }
}

int SpriteGrid::FindItemAt(const Point& point) const {
    for (int i = 0; i < Count(); ++i) {
        if (IsShown(i) && sprites[i]->Contains(point)) return i;
    }
    return kNoItem;
}

int SpriteGrid::Release(const Point& point) {
    const int32_t wasPressed = pressed;
    pressed = kNotPressed;
    if (wasPressed < 0) return kNoItem;
    return FindItemAt(point) == wasPressed ? wasPressed : kNoItem;
}

int SpriteGrid::CountVisible() const {
    int shown = 0;
    for (int i = 0; i < Count(); ++i) shown += IsShown(i) ? 1 : 0;
    return shown;
}

IntRect SpriteGrid::GetBounds() const {
    IntRect bounds;
    bool first = true;
    for (int i = 0; i < Count(); ++i) {
        if (!IsShown(i)) continue;
        const IntRect rect = sprites[i]->GetScreenRect();
        if (first)
            bounds = rect;
        else
            bounds.Union(rect);
        first = false;
    }
    return bounds;
}
