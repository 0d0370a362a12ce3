// The drawing, sound and text services every window of the toolkit shares.
#include "ui/UiServices.h"

#include "audio/EffectSounds.h"
#include "core/Debugger.h"
#include "core/FileHelpers.h"
#include "engine/AssetPaths.h"
#include "engine/Camera.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Game.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "world/Arena.h"

namespace {
uint32_t gFrameCounter = 0;
}

IntRect UiScreenRect() {
    const Renderer& renderer = GetRenderer();
    // Asking must not make a device: one made before start-up would keep the real one out.
    if (!renderer.HasDevice()) return IntRect(0, 0, Renderer::kHeadlessWidth - 1, Renderer::kHeadlessHeight - 1);
    return renderer.GetWindowRect();
}

void UseScreenCamera() {
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(GetScreenCamera());
    renderer.DisableLighting();
}

void PlayUiSound(const char* name) { PlayEffectSound(LoadEffectSound(SoundPath(name)), 1.0f, 0); }

void PlayBattleSound(const char* name) {
    PlayEffectSound(LoadEffectSound(SoundPath(name)), gArena != nullptr ? gArena->effectVolume : 1.0f, 0);
}

Sprite* CreateUiSprite(int32_t width, int32_t height, const String& image, int32_t anchor) {
    const String path = TexturePath(image);
    if (FileExists(path)) return GetRenderer().CreateSprite(width, height, path, anchor);
    Debugger::Instance().Line((String("Window image missing: ") + path).CStr());
    return GetRenderer().CreateSprite(width, height, String(), anchor);
}

Vector2 MeasureText(const String& text, float scale) {
    Vector2 size;
    GetFont().GetTextWidth(size, text, scale);
    return size;
}

float FontLineHeight() { return GetFont().lineHeight; }

void DrawUiText(const String& text, float x, float y, Color colour, float scale) {
    GetRenderer().DrawText(text, Vector2(x, y), GetFont(), colour, scale);
}

void DrawTextCentred(const String& text, const Vector2& centre, float scale) {
    const Vector2 size = MeasureText(text, scale);
    DrawUiText(text, centre.x - size.x * 0.5f, centre.y - scale * FontLineHeight() * 0.5f, Color(0xFFFFFFFF), scale);
}

uint32_t UiFrameCounter() { return gFrameCounter; }

void AdvanceUiFrameCounter() { ++gFrameCounter; }

void SetDepthTest(bool on) { GetRenderer().GetDevice().SetRenderState(gfx::RenderState::ZEnable, on ? 1u : 0u); }

void SetDepthAlways(bool always) {
    GetRenderer().GetDevice().SetRenderState(gfx::RenderState::ZFunc,
                                             always ? gfx::Compare::Always : gfx::Compare::LessEqual);
}

namespace {
win::SystemWindow* gSystemWindow = nullptr;
}

void SetUiSystemWindow(win::SystemWindow* window) { gSystemWindow = window; }

void MovePointer(const Point& point) {
    GetMouse().position = point;
    if (gSystemWindow != nullptr) gSystemWindow->SetPointerPosition(point.x, point.y);
}

void TintSprite(Sprite* sprite, Color colour) {
    if (sprite == nullptr || sprite->quad == nullptr) return;
    sprite->SetColor(colour);
    GetRenderer().UpdateMeshBuffers(sprite->quad);
}

bool IsTutorialGame() {
    const Game* game = CurrentGame();
    return game != nullptr && game->modeName.EqualsNoCase("TutorialGame");
}
