#pragma once
// The eight-piece border of a window: four edges repeated along the sides and four
// corners, all tinted with one colour.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Matrix4.h"
#include "engine/RendererRef.h"

struct Sprite;

class WindowFrame {
public:
    enum Piece : int32_t { kTop, kBottom, kLeft, kRight, kTopLeft, kTopRight, kBottomLeft, kBottomRight, kPieceCount };
    static constexpr Color kNormalColour = Color(0xFF2B74BA);
    static constexpr Color kHighlightColour = Color(0xFF7BBDFE);
    static constexpr int32_t kDefaultBorder = 14;

    // Makes the eight sprites once, then tints them with the current colour.
    void LoadTextures();
    void SetColour(Color newColour);
    // Lays the pieces out around the window's rectangle (only once they exist).
    void SetRect(const IntRect& rect);
    void Draw() const;

    // The edges' texture repeat count along a side of that many pixels; always odd, so
    // that a mirrored edge ends on the same face of its image as it starts.
    static int32_t RepeatCount(int32_t pixels);
    // The sprites exist and belong to the renderer's present life (a restarted renderer
    // has freed the ones made before).
    bool IsLoaded() const;

    IntRect inner;
    Color colour = Color(0xFFFFFFFF);
    int32_t border = kDefaultBorder;
    RendererMark loaded;  // cleared when the renderer frees the pieces
    Sprite* pieces[kPieceCount] = {};
    Matrix4 matrices[kPieceCount];
};
