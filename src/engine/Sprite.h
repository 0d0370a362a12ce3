#pragma once
// A textured rectangle on the screen in integer pixels, drawn through a unit quad mesh
// (0, 0) to (1, 1) scaled to its size. The renderer creates and owns sprites.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"

class Mesh;

// Every vertex of the quad takes the colour and is marked for upload.
void SetQuadColor(Mesh& quad, Color colour);

struct Sprite {
    static constexpr int32_t kAnchorTopLeft = 0;
    static constexpr int32_t kAnchorCentre = 1;

    Sprite() = default;
    // Anchored at the top-left corner; both corners belong to the rectangle.
    explicit Sprite(const IntRect& rect);

    // Every vertex of the quad takes the colour and is marked for upload.
    void SetColor(Color colour);

    int32_t anchor = kAnchorTopLeft;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    Mesh* quad = nullptr;  // owned by the renderer
};
