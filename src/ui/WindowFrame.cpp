// The eight-piece border of a window.
#include "ui/WindowFrame.h"

#include <cmath>

#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "platform/gfx/DeviceTypes.h"
#include "ui/UiServices.h"

namespace {

const char* const kImages[WindowFrame::kPieceCount] = {
    "WindowTop.tga",     "WindowBottom.tga",   "WindowLeft.tga",       "WindowRight.tga",
    "WindowTopLeft.tga", "WindowTopRight.tga", "WindowBottomLeft.tga", "WindowBottomRight.tga",
};

// The edge images were drawn for 14-pixel repeats whatever the border's width.
constexpr double kEdgeRepeatPixels = 14.0;

constexpr uint32_t kAddressMirror = 2;
constexpr uint32_t kAddressClamp = 3;

Matrix4 PlaceUnitQuad(float x, float y, float width, float height) {
    Matrix4 matrix;
    matrix[0] = width;
    matrix[5] = height;
    matrix[12] = x;
    matrix[13] = y;
    return matrix;
}

void SetRepeats(Sprite* sprite, float u, float v) {
    if (sprite == nullptr || sprite->quad == nullptr) return;
    sprite->SetTexCoords(0, 0, u, 0, u, v, 0, v);
    GetRenderer().UpdateMeshBuffers(sprite->quad);
}

}  // namespace

int32_t WindowFrame::RepeatCount(int32_t pixels) {
    int32_t count = 1 - int32_t(std::trunc(pixels / -kEdgeRepeatPixels));
    if (count % 2 == 0) ++count;
    return count;
}

bool WindowFrame::IsLoaded() const { return loaded.IsSet(); }

void WindowFrame::LoadTextures() {
    if (!IsLoaded()) {
        for (int i = 0; i < kPieceCount; ++i) {
            pieces[i] = CreateUiSprite(1, 1, kImages[i], Sprite::kAnchorTopLeft);
            pieces[i]->SetTextureAddressMode(i < kTopLeft ? kAddressMirror : kAddressClamp);
        }
        loaded.Set();
    }
    SetColour(colour);
}

void WindowFrame::SetColour(Color newColour) {
    colour = newColour;
    if (!IsLoaded()) return;
    for (Sprite* piece : pieces) {
        TintSprite(piece, newColour);
    }
}

void WindowFrame::SetRect(const IntRect& rect) {
    if (!IsLoaded()) return;
    const int32_t u = RepeatCount(rect.right - rect.left + 1);
    const int32_t v = RepeatCount(rect.bottom - rect.top + 1);
    inner = IntRect(rect.left + 1, rect.top + 1, rect.right - 2, rect.bottom - 2);
    const float iw = float(inner.right - inner.left + 1);
    const float ih = float(inner.bottom - inner.top + 1);
    const float b = float(border);
    const float l = float(inner.left), t = float(inner.top), r = float(inner.right), btm = float(inner.bottom);
    matrices[kTop] = PlaceUnitQuad(l, t - b, iw, b);
    matrices[kBottom] = PlaceUnitQuad(l, btm, iw, b);
    matrices[kLeft] = PlaceUnitQuad(l - b, t, b, ih);
    matrices[kRight] = PlaceUnitQuad(r, t, b, ih);
    matrices[kTopLeft] = PlaceUnitQuad(l - b, t - b, b, b);
    matrices[kTopRight] = PlaceUnitQuad(r, t - b, b, b);
    matrices[kBottomLeft] = PlaceUnitQuad(l - b, btm, b, b);
    matrices[kBottomRight] = PlaceUnitQuad(r, btm, b, b);
    SetRepeats(pieces[kTop], float(u), 1.0f);
    SetRepeats(pieces[kBottom], float(u), 1.0f);
    SetRepeats(pieces[kLeft], 1.0f, float(v));
    SetRepeats(pieces[kRight], 1.0f, float(v));
}

void WindowFrame::Draw() const {
    if (!IsLoaded()) return;
    Renderer& renderer = GetRenderer();
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    for (int i = 0; i < kPieceCount; ++i) {
        if (pieces[i] != nullptr) renderer.DrawSpriteTransformed(*pieces[i], matrices[i]);
    }
    renderer.SetBlendOff();
}
