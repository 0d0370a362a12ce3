// The renderer's text: the bitmap font's glyph quads and drawing text with them.
#include <array>

#include "core/Debugger.h"
#include "engine/Font.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/TextObserver.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/DeviceTexture.h"
#include "platform/gfx/States.h"

namespace {

// The font texture's loader numbers: its own size, one level, point filter with mirror
// U and V, box mip filter with mirror U and V.
constexpr int kFilterPoint = 2;
constexpr int kFilterBox = 5;
constexpr int kFilterMirrorUV = 0x30000;

// A glyph's pixels fall on screen pixels under the pixel camera only half a texel in.
constexpr float kTexelCentre = 0.5f;

// Text is drawn between sprites, figures and 3-D views, each of which leaves blending
// and lighting as it likes: without blending a glyph's clear texels cover what lies
// behind it, and lit, its colour is lost. The run sets what it needs and hands the
// caller's settings back.
class TextStates {
public:
    explicit TextStates(gfx::Device& device) : device_(device) {
        for (size_t i = 0; i < kSaved.size(); ++i) saved_[i] = device_.GetRenderState(kSaved[i]);
        device_.SetRenderState(gfx::RenderState::AlphaBlendEnable, 1u);
        device_.SetRenderState(gfx::RenderState::SrcBlend, gfx::Blend::SrcAlpha);
        device_.SetRenderState(gfx::RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
        device_.SetRenderState(gfx::RenderState::AlphaTestEnable, 0u);
        device_.SetRenderState(gfx::RenderState::Lighting, 0u);
    }
    ~TextStates() {
        for (size_t i = 0; i < kSaved.size(); ++i) device_.SetRenderState(kSaved[i], saved_[i]);
    }
    TextStates(const TextStates&) = delete;
    TextStates& operator=(const TextStates&) = delete;

private:
    static constexpr std::array<gfx::RenderState, 5> kSaved = {
        gfx::RenderState::AlphaBlendEnable, gfx::RenderState::SrcBlend, gfx::RenderState::DestBlend,
        gfx::RenderState::AlphaTestEnable, gfx::RenderState::Lighting};
    gfx::Device& device_;
    std::array<uint32_t, kSaved.size()> saved_{};
};

}  // namespace

void Renderer::LoadFont(Font& font, const String& textureFile, int spacing) {
    bool hasAlpha = false;
    TextureHandle texture = CreateTextureImage(textureFile, hasAlpha, -1, -1, 1, kFilterPoint, kFilterMirrorUV,
                                               kFilterBox, kFilterMirrorUV, true);
    if (texture == nullptr || texture->texture == nullptr) return;
    const float textureWidth = float(texture->texture->Width());
    const float textureHeight = float(texture->texture->Height());
    const int cellWidth = int(texture->texture->Width()) / Font::kCellsPerSide;
    const int cellHeight = int(texture->texture->Height()) / Font::kCellsPerSide;
    const String widthFile = textureFile.StripExtension() + ".dat";
    if (!font.ReadWidths(widthFile)) {
        Debugger::Instance().Line((String("Font widths missing or short in ") + widthFile + "; the rest are 0").CStr());
    }
    for (int code = Font::kFirstPrintable; code <= Font::kLastPrintable; ++code) {
        const int column = code % Font::kCellsPerSide, row = code / Font::kCellsPerSide;
        const float width = float(font.widths[code]);
        Material* material = CreateTexturedMaterial(textureFile, -1, -1);
        // The text colour's alpha fades the glyph.
        material->stages[0].alphaOp = uint32_t(gfx::TextureOp::Modulate);
        Mesh* quad = CreateQuad(QuadRect{0, 0, width, float(cellHeight)}, material, 0.0f, 0, 0);
        CreateModelMeshes(quad);
        const float centre = (float(column) + 0.5f) * float(cellWidth) / textureWidth;
        const float half = width / textureWidth * 0.5f;
        const float top = float(row * cellHeight) / textureHeight;
        const float bottom = float((row + 1) * cellHeight) / textureHeight;
        SetMeshTexCoord(quad, 0, centre - half, top, 0);
        SetMeshTexCoord(quad, 1, centre + half, top, 0);
        SetMeshTexCoord(quad, 2, centre + half, bottom, 0);
        SetMeshTexCoord(quad, 3, centre - half, bottom, 0);
        UpdateMeshBuffers(quad);
        font.glyphs[code] = quad;
    }
    font.lineHeight = float(cellHeight);
    font.spacing = spacing;
}

void Renderer::DrawText(const String& text, const Vector2& position, const Font& font, Color colour, float scale) {
    if (text.IsEmpty()) return;
    ReportDrawnText(text, position, font, colour, scale);
    const TextStates states(GetDevice());
    Vector2 pen = position;
    for (int i = 0; i < text.CharCount(); ++i) {
        const unsigned char code = static_cast<unsigned char>(text[i]);
        if (code == '\n') {
            pen.x = position.x;
            pen.y += font.lineHeight * scale;
            continue;
        }
        if (!Font::IsPrintable(code)) continue;
        Mesh* glyph = font.glyphs[code];
        if (glyph != nullptr) {
            Matrix4 place;
            place[0] = scale;
            place[5] = scale;
            place.Translate(Vector3(pen.x + kTexelCentre, pen.y + kTexelCentre, 0.0f));
            SetWorldMatrix(place);
            // A glyph keeps the last colour it was drawn in, so text in one colour
            // uploads nothing.
            if (!glyph->vertices.IsEmpty() && glyph->vertices[0].color != colour) {
                SetQuadColor(*glyph, colour);
                UpdateMeshBuffers(glyph);
            }
            RenderMesh(glyph, true);
        }
        pen.x += font.Advance(code, scale);
    }
}
