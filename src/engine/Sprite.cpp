// Sprites.
#include "engine/Sprite.h"

#include "engine/Mesh.h"

Sprite::Sprite(const IntRect& rect)
    : x(rect.left), y(rect.top), width(rect.right - rect.left + 1), height(rect.bottom - rect.top + 1) {}

void SetQuadColor(Mesh& quad, Color colour) {
    quad.changeBits.SetSize(quad.vertices.Count());
    for (int i = 0; i < quad.vertices.Count(); ++i) {
        quad.vertices[i].color = colour;
        quad.changeBits[i] |= kVertexChangeColor;
    }
    quad.dirty = 1;
}

void Sprite::SetColor(Color colour) {
    if (quad != nullptr) SetQuadColor(*quad, colour);
}
