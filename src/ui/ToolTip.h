#pragma once
// The one tool tip: the text of whatever the pointer rests on, shown above it once the
// pointer has rested for the window's delay.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"
#include "core/String.h"
#include "core/Vector2.h"

class SpriteGrid;
struct Sprite;

class ToolTip {
public:
    void Clear();
    void Set(const String& newText, const IntRect& area);
    // The sprite's rectangle, grown by a quarter on every side when it is the grid's
    // hovered item (drawn enlarged).
    void SetForItem(const String& newText, const SpriteGrid& grid, const Sprite& sprite);
    // Once per frame: asks the window under the pointer for its text and times it, and
    // places it above (or below) its rectangle, kept a few pixels inside the screen.
    void Update(float frameSeconds);
    // Hands a shown tip to the screen texts, to be drawn over everything on a backdrop.
    void Draw() const;

    bool shown = false;
    String previousText;
    String text;
    Color colour = Color(0xFFFFFFFF);
    float timer = 0.0f;
    IntRect rect;
    Vector2 position;
};

ToolTip& GetToolTip();
