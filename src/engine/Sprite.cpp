// Sprites.
#include "engine/Sprite.h"

#include "engine/Material.h"
#include "engine/Mesh.h"

namespace {

TextureStageSettings* FirstStage(Mesh* quad) {
    Material* material = quad != nullptr ? quad->GetMaterial() : nullptr;
    return material != nullptr && !material->stages.IsEmpty() ? &material->stages[0] : nullptr;
}

}  // namespace

void SetQuadColor(Mesh& quad, Color colour) {
    quad.changeBits.SetSize(quad.vertices.Count());
    for (int i = 0; i < quad.vertices.Count(); ++i) {
        quad.vertices[i].color = colour;
        quad.changeBits[i] |= kVertexChangeColor;
    }
    quad.dirty = 1;
}

Sprite::Sprite(const IntRect& rect)
    : x(rect.left), y(rect.top), width(rect.right - rect.left + 1), height(rect.bottom - rect.top + 1) {}

void Sprite::SetRect(const IntRect& rect) {
    const Point place = anchor == kAnchorCentre ? rect.GetCenter() : rect.TopLeft();
    x = place.x;
    y = place.y;
    width = rect.right - rect.left + 1;
    height = rect.bottom - rect.top + 1;
}

IntRect Sprite::GetScreenRect() const {
    const int32_t left = anchor == kAnchorCentre ? x - width / 2 : x;
    const int32_t top = anchor == kAnchorCentre ? y - height / 2 : y;
    return IntRect(left, top, left + width, top + height);
}

void Sprite::SetTexture(TextureHandle texture) {
    if (TextureStageSettings* stage = FirstStage(quad)) stage->texture = texture;
}

void Sprite::SetAlphaOperation(uint32_t operation) {
    if (TextureStageSettings* stage = FirstStage(quad)) stage->alphaOp = operation;
}

void Sprite::SetTextureAddressMode(uint32_t mode) {
    if (TextureStageSettings* stage = FirstStage(quad)) stage->addressU = stage->addressV = mode;
}

void Sprite::SetColor(Color colour) {
    if (quad != nullptr) SetQuadColor(*quad, colour);
}

void Sprite::SetTexCoords(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3) {
    if (quad == nullptr || quad->vertices.Count() < 4) return;
    const Vector2 corners[4] = {{u0, v0}, {u1, v1}, {u2, v2}, {u3, v3}};
    quad->changeBits.SetSize(quad->vertices.Count());
    for (int i = 0; i < 4; ++i) {
        Vector2Array& coords = quad->vertices[i].texCoords;
        if (coords.IsEmpty()) coords.Append(corners[i]);
        coords[0] = corners[i];
        quad->changeBits[i] |= kVertexChangeTexCoords;
    }
    quad->dirty = 1;
}
