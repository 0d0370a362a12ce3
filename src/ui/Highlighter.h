#pragma once
// Marks in screen pixels (circles and rectangles), each drawn as a ring of small glowing
// dots that march around its outline in colours shifting between two. Tutorials point
// with it; trays show the entries matching what was typed. Marks live for one draw: the
// owner adds them, draws and clears the list; only the animation phase carries over.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "core/Vector2.h"
#include "engine/RendererRef.h"

class Mesh;
class SpriteGrid;
struct Sprite;

struct HighlightMark {
    enum Kind : int32_t { kCircle = 0, kRect = 1 };
    int32_t kind = kCircle;
    float centreX = 0.0f;
    float centreY = 0.0f;
    float radius = 0.0f;
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float pulse = 1.0f;
};

struct FloatRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// Where the dots of one mark stand this frame.
struct HighlightDot {
    Vector2 position;
    float size = 0.0f;
    Color colour;
};

class Highlighter {
public:
    static constexpr Color kDefaultColourA = Color(0xFF00FFFF);
    static constexpr Color kDefaultColourB = Color(0xC000FFFF);

    void AddCircle(const Vector2& centre, float radius, float pulse);
    void AddRect(const FloatRect& rect, float pulse);
    void AddIntRect(const IntRect& rect, float pulse);
    void AddCircleAt(const Point& centre, float radius, float pulse);
    // A circle over the sprite, larger when it is the grid's hovered item.
    void AddWindowShape(const SpriteGrid& grid, const Sprite& sprite);
    // A rectangle over the sprite, grown to 1.5 times when it is the grid's hovered item.
    void AddGridItem(const SpriteGrid& grid, const Sprite& sprite);
    void Clear() { marks.Clear(); }
    // Advances the phase and draws every mark; age is how long the marks have shown
    // (1 or more once settled: new marks shrink onto their target).
    void Draw(float age);
    // The dots of one mark at the current phase on a screen of that size.
    void LayOutDots(const HighlightMark& mark, float age, const IntRect& screen, Array<HighlightDot>& dots) const;

    Array<HighlightMark> marks;
    float phase = 0.0f;
    Color colourA = kDefaultColourA;
    Color colourB = kDefaultColourB;

private:
    void EnsureDotModel();
    RendererRef<Mesh> dot_;
};
