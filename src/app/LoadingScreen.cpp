// The loading screen.
#include "app/LoadingScreen.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/ModelNode.h"

namespace {

constexpr int32_t kModelBoxHalfWidth = 180;
constexpr int32_t kModelBoxTop = 50;
constexpr int32_t kModelBoxBottom = 410;

gfx::ColorValue Grey(float level) { return gfx::ColorValue{level, level, level, 1.0f}; }

}  // namespace

LoadingScreen::LoadingScreen(TimeSource source) : timer_(true, source) {
    light_.diffuse = Grey(1.0f);
    light_.specular = Grey(1.0f);
    light_.ambient = Grey(96.0f / 255.0f);
    Vector3 direction(-1.0f, -0.5f, -0.375f);
    direction.Normalize();
    light_.direction = direction;
}

void LoadingScreen::SetUp() {
    model_ = GetRenderer().LoadModel(ActorPath("Korrin"), 1.0f, 0.0f, 0);
    swimming_ = false;
    AimCamera();
}

// An orthographic view from the model's side: only such a view makes sense with a near
// plane of 0.001 and a view width proportional to the distance.
void LoadingScreen::AimCamera() {
    Sphere bounds = model_ != nullptr ? model_->bounds : Sphere::Empty();
    if (bounds.IsEmpty()) bounds = Sphere({0, 0, 0}, 1.0f);
    const float halfExtent = bounds.radius;
    Vector3 look(0.55f, 0.0f, -0.02f);
    look.Normalize();
    const float distance = 1.2f * halfExtent;
    camera_.kind = Camera::kOrthographic;
    camera_.eye = bounds.centre - look * distance;
    camera_.direction = look;
    camera_.up = Vector3(0.0f, 0.0f, 1.0f);
    camera_.nearPlane = 0.001f;
    camera_.farPlane = 2.0f * halfExtent + 6.0f;
    camera_.viewWidth = 2.1f * distance;
    camera_.viewHeight = 2.1f * distance;
    camera_.projectionChanged = true;
    camera_.viewChanged = true;
}

void LoadingScreen::Show(const String* text) {
    if (!timerStarted_) {
        timer_.Start();
        timerStarted_ = true;
    }
    lastStep_ = std::min(timer_.GetDelta(), kMaxStep);
    if (text != nullptr) statusText_ = *text;
    Renderer& renderer = GetRenderer();
    if (!renderer.GetReady()) return;
    renderer.Clear(clearColour, 1.0f, 3);
    DrawModel();
    DrawTexts();
    renderer.EndFrame();
    renderer.SwapBuffers();
}

void LoadingScreen::AnimateModel() {
    if (rebuild_ || !swimming_) {
        swim_ = AnimationController();
        if (model_ != nullptr) swim_.Play(model_, "Swim", "Swim", true, 0.1f, 0.1f, true);
        swimming_ = true;
        rebuild_ = false;
    }
    swim_.Advance(lastStep_);
}

void LoadingScreen::DrawModel() {
    AnimateModel();
    Renderer& renderer = GetRenderer();
    const IntRect& screen = renderer.GetWindowRect();
    const int32_t middle = (screen.right - screen.left + 1) / 2;
    camera_.viewport = IntRect(middle - kModelBoxHalfWidth, kModelBoxTop, middle + kModelBoxHalfWidth, kModelBoxBottom);
    renderer.SetCamera(camera_);
    Matrix4 shift;
    shift.SetTranslation(Vector3(-2.0f, 0.0f, 0.0f));
    renderer.SetWorldTransform(shift);
    renderer.EnableLighting();
    renderer.SetLight(light_, true, 0);
    if (model_ != nullptr) renderer.RenderModel(model_, true, false);
}

void LoadingScreen::DrawTexts() {
    Renderer& renderer = GetRenderer();
    if (screenCamera != nullptr) renderer.SetCamera(*screenCamera);
    renderer.SetWorldTransform(Matrix4());
    renderer.SetAlphaBlend();
    renderer.DisableLighting();
    const IntRect& screen = renderer.GetWindowRect();
    const float width = float(screen.right - screen.left + 1);
    const float height = float(screen.bottom - screen.top + 1);
    const Font& font = GetFont();
    const Color white = Color::FromRGBA(255, 255, 255, 255);
    const auto measure = [&font](const String& text, float scale) {
        Vector2 size;
        font.GetTextWidth(size, text, scale);
        return size;
    };
    const String title = GetLanguageText("Vorns!");
    const Vector2 titleSize = measure(title, 1.5f);
    renderer.DrawText(title, Vector2((width - titleSize.x) / 2.0f, 0.0f), font, white, 1.5f);
    const String maker = GetLanguageText("ByCorvane");
    const Vector2 makerSize = measure(maker, 0.75f);
    renderer.DrawText(maker, Vector2((width - makerSize.x) / 2.0f, titleSize.y), font, white, 0.75f);
    const Vector2 statusSize = measure(statusText_, 0.75f);
    renderer.DrawText(statusText_, Vector2((width - statusSize.x) / 2.0f, (height - statusSize.y) / 2.0f), font, white,
                      0.75f);
    renderer.SetBlendOff();
}
