#pragma once
// A textured rectangle on the screen in integer pixels, drawn through a unit quad mesh
// (0, 0) to (1, 1) scaled to its size. The renderer creates and owns sprites.
#include <cstdint>

#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Point.h"
#include "engine/TextureHandle.h"

class Mesh;

// Every vertex of the quad takes the colour and is marked for upload.
void SetQuadColor(Mesh& quad, Color colour);

struct Sprite {
    static constexpr int32_t kAnchorTopLeft = 0;
    static constexpr int32_t kAnchorCentre = 1;

    Sprite() = default;
    // Anchored at the top-left corner; both corners belong to the rectangle.
    explicit Sprite(const IntRect& rect);

    // Forgets the quad (the renderer still owns it).
    void ClearMesh() { quad = nullptr; }
    // Position by the anchor (the corner, or the centre by integer division); size as
    // in the constructor.
    void SetRect(const IntRect& rect);
    void SetSize(int32_t size) { width = height = size; }
    // The covered rectangle; its right and bottom edges are x + width and y + height.
    IntRect GetScreenRect() const;
    Point GetScreenCenter() const { return GetScreenRect().GetCenter(); }
    // Both edges inclusive.
    bool Contains(const Point& point) const { return GetScreenRect().Contains(point); }

    // These write the quad material's first stage; nothing happens without a quad.
    void SetTexture(TextureHandle texture);
    void SetAlphaOperation(uint32_t operation);
    // Both U and V, in the device's numbering (wrap 1, mirror 2, clamp 3).
    void SetTextureAddressMode(uint32_t mode);

    // Every vertex of the quad takes the colour and is marked for upload.
    void SetColor(Color colour);
    // (u, v) for the corners in vertex order: top-left, top-right, bottom-right,
    // bottom-left.
    void SetTexCoords(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3);

    int32_t anchor = kAnchorTopLeft;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    Mesh* quad = nullptr;  // owned by the renderer
};
