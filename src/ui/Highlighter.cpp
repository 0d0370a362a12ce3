// Marks drawn as rings of marching dots.
#include "ui/Highlighter.h"

#include <algorithm>
#include <cmath>

#include "core/FileHelpers.h"
#include "engine/AssetPaths.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Game.h"
#include "ui/UiServices.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kWindowShapePulse = 1.6f;
// New marks start this much larger per second of youth and shrink onto their target.
constexpr float kExpansionRate = 150.0f;
constexpr float kSettleSeconds = 0.8f;
constexpr float kLongestPhaseStep = 0.05f;
constexpr float kSmallestDot = 6.0f;
constexpr float kLargestDot = 12.0f;
constexpr int32_t kFewestDots = 8;

uint8_t MixByte(uint8_t a, uint8_t b, float weight) {
    return uint8_t(std::lround(float(a) * weight + float(b) * (1.0f - weight)));
}

Color Mix(Color a, Color b, float weight) {
    return Color::FromRGBA(MixByte(a.Red(), b.Red(), weight), MixByte(a.Green(), b.Green(), weight),
                           MixByte(a.Blue(), b.Blue(), weight), MixByte(a.Alpha(), b.Alpha(), weight));
}

// Slow on small marks, fast on long outlines, so a dot takes a similar time to go round.
float DotSpeed(float perimeter) {
    if (perimeter <= 80.0f) return 40.0f;
    if (perimeter >= 3580.0f) return 223.75f;
    return 40.0f + 183.75f * (perimeter - 80.0f) / 3500.0f;
}

Vector2 WalkRect(const FloatRect& r, float distance, float length) {
    float d = std::fmod(distance, length);
    if (d < 0.0f) d += length;
    const float w = r.right - r.left;
    const float h = r.bottom - r.top;
    if (d <= w) return {r.left + d, r.top};
    d -= w;
    if (d <= h) return {r.right, r.top + d};
    d -= h;
    if (d <= w) return {r.right - d, r.bottom};
    d -= w;
    return {r.left, r.bottom - d};
}

}  // namespace

void Highlighter::AddCircle(const Vector2& centre, float radius, float pulse) {
    HighlightMark mark;
    mark.kind = HighlightMark::kCircle;
    mark.centreX = centre.x;
    mark.centreY = centre.y;
    mark.radius = radius;
    mark.pulse = pulse;
    marks.Append(mark);
}

void Highlighter::AddRect(const FloatRect& rect, float pulse) {
    HighlightMark mark;
    mark.kind = HighlightMark::kRect;
    mark.left = rect.left;
    mark.top = rect.top;
    mark.right = rect.right;
    mark.bottom = rect.bottom;
    mark.pulse = pulse;
    marks.Append(mark);
}

void Highlighter::AddIntRect(const IntRect& rect, float pulse) {
    AddRect(FloatRect{float(rect.left), float(rect.top), float(rect.right), float(rect.bottom)}, pulse);
}

void Highlighter::AddCircleAt(const Point& centre, float radius, float pulse) {
    AddCircle(Vector2(float(centre.x), float(centre.y)), radius, pulse);
}

void Highlighter::AddWindowShape(const SpriteGrid& grid, const Sprite& sprite) {
    const bool hovered = grid.IsValidIndex(grid.hovered) && grid.sprites[grid.hovered] == &sprite;
    const Point centre = sprite.GetScreenCenter();
    AddCircleAt(centre, float(sprite.width) * (hovered ? 0.75f : 0.5f), kWindowShapePulse);
}

void Highlighter::AddGridItem(const SpriteGrid& grid, const Sprite& sprite) {
    const bool hovered = grid.IsValidIndex(grid.hovered) && grid.sprites[grid.hovered] == &sprite;
    IntRect r = sprite.GetScreenRect();
    if (hovered) {
        const int32_t growX = (r.right - r.left) / 4;
        const int32_t growY = (r.bottom - r.top) / 4;
        r = IntRect(r.left - growX, r.top - growY, r.right + growX, r.bottom + growY);
    }
    AddIntRect(r, kWindowShapePulse);
}

void Highlighter::LayOutDots(const HighlightMark& mark, float age, const IntRect& screen,
                             Array<HighlightDot>& dots) const {
    dots.Clear();
    const float expansion = kExpansionRate * std::max(kSettleSeconds - age, 0.0f);
    const bool circle = mark.kind == HighlightMark::kCircle;
    const float radius = mark.radius + expansion;
    FloatRect rect{mark.left - expansion, mark.top - expansion, mark.right + expansion, mark.bottom + expansion};
    rect.left = std::max(rect.left, 0.0f);
    rect.top = std::max(rect.top, 0.0f);
    rect.right = std::min(rect.right, float(screen.right - screen.left));
    rect.bottom = std::min(rect.bottom, float(screen.bottom - screen.top));
    const float length = circle ? 2.0f * radius * kPi : 2.0f * ((rect.right - rect.left) + (rect.bottom - rect.top));
    // A mark clipped away or of no size has no outline to walk.
    if (!(length > 0.0f) || (circle && radius <= 0.0f) || !(mark.pulse > 0.0f)) return;
    const float size = std::clamp(length / 100.0f, kSmallestDot, kLargestDot);
    int32_t count = int32_t(std::min(length / (mark.pulse * size), 1.0e6f));
    if (count < kFewestDots) count = std::min(count * 2, kFewestDots);
    const int32_t drawn = std::max(count - 1, 0);
    if (drawn == 0) return;
    const float spacing = length / float(drawn);
    const float perimeter =
        circle ? 2.0f * kPi * mark.radius : 2.0f * ((mark.right - mark.left) + (mark.bottom - mark.top));
    const float speed = DotSpeed(perimeter);
    for (int32_t i = 0; i < drawn; ++i) {
        const float distance = phase * speed - float(i) * spacing;
        HighlightDot dot;
        dot.size = size;
        float angle = 0.0f;
        if (circle) {
            angle = distance / radius;
            dot.position = Vector2(mark.centreX + radius * std::cos(angle), mark.centreY + radius * std::sin(angle));
        } else {
            angle = 2.0f * kPi * distance / length;
            dot.position = WalkRect(rect, distance, length);
        }
        dot.colour = Mix(colourA, colourB, (std::sin(angle) + 1.0f) * 0.5f);
        dots.Append(dot);
    }
}

void Highlighter::EnsureDotModel() {
    Renderer& renderer = GetRenderer();
    // Highlighters live in long-lived windows; a restarted renderer has freed the old dot.
    if (dot_ != nullptr) return;
    const String path = TexturePath("FlatSphere.tga");
    dot_ = FileExists(path)
               ? renderer.CreateTexturedQuad(QuadRect{-0.5f, -0.5f, 0.5f, 0.5f}, path, 0.0f, 0, 0)
               : renderer.CreateColoredQuad(QuadRect{-0.5f, -0.5f, 0.5f, 0.5f}, Color(0xFFFFFFFF), 0.0f, 0, 0);
    renderer.CreateModelMeshes(dot_);
}

void Highlighter::Draw(float age) {
    const Game* game = CurrentGame();
    phase += std::min(game != nullptr ? game->frameTime : 0.0f, kLongestPhaseStep);
    if (marks.IsEmpty()) return;
    EnsureDotModel();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    const IntRect screen = UiScreenRect();
    Array<HighlightDot> dots;
    for (const HighlightMark& mark : marks) {
        LayOutDots(mark, age, screen, dots);
        for (const HighlightDot& dot : dots) {
            SetQuadColor(*dot_, dot.colour);
            renderer.UpdateMeshBuffers(dot_);
            Matrix4 matrix;
            matrix[0] = dot.size;
            matrix[5] = dot.size;
            matrix[12] = dot.position.x;
            matrix[13] = dot.position.y;
            renderer.SetWorldTransform(matrix);
            renderer.RenderMesh(dot_, false);
        }
    }
    renderer.SetBlendOff();
    SetDepthTest(true);
}
