// A horizontal slider.
#include "ui/Slider.h"

#include <algorithm>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Game.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
// The track's image repeats this often across the slider.
constexpr float kBodyRepeats = 64.0f;
}  // namespace

Slider::Slider() : Window("Slider") {
    frameShown = false;
    Resize(Point(kBodyWidth, kHeight));
    Refresh();
}

void Slider::ReleaseResources() {
    handle = nullptr;
    body = nullptr;
    Window::ReleaseResources();
}

void Slider::EnsureSprites() {
    if (handle != nullptr) return;
    handle = CreateUiSprite(handleSize_.x, handleSize_.y, "Handle.tga", Sprite::kAnchorCentre);
    body = CreateUiSprite(bodySize_.x, bodySize_.y, "SliderBody.tga", Sprite::kAnchorTopLeft);
    body->SetTextureAddressMode(1);
    body->SetTexCoords(0, 0, kBodyRepeats, 0, kBodyRepeats, 1, 0, 1);
    if (body->quad != nullptr) GetRenderer().UpdateMeshBuffers(body->quad);
}

void Slider::Refresh() { bodyTopLeft_ = Point(left, top + Height() / 4); }

IntRect Slider::BodyRect() const {
    return IntRect(bodyTopLeft_.x, bodyTopLeft_.y, bodyTopLeft_.x + bodySize_.x, bodyTopLeft_.y + bodySize_.y);
}

Point Slider::HandleCentre() const {
    const IntRect b = BodyRect();
    const int32_t halfHandle = handleSize_.x / 2;
    const float range = maximum - minimum;
    // An empty range leaves the knob at the track's start.
    const float fraction = range > 0.0f ? (value - minimum) / range : 0.0f;
    const int32_t x = int32_t(float(b.right - 2 * halfHandle - b.left + 1) * fraction) + b.left + halfHandle;
    return Point(x, b.GetCenter().y);
}

void Slider::DrawContents() {
    EnsureSprites();
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    body->x = bodyTopLeft_.x;
    body->y = bodyTopLeft_.y;
    body->width = bodySize_.x;
    body->height = bodySize_.y;
    renderer.DrawSprite(*body);
    const Point centre = HandleCentre();
    handle->x = centre.x;
    handle->y = centre.y;
    handle->width = handleSize_.x;
    handle->height = handleSize_.y;
    renderer.DrawSprite(*handle);
}

void Slider::StartSliding(int32_t type, bool& held) {
    PostEvent(type);
    repeatTimer = kRepeatSeconds;
    held = true;
    GetWindowManager().BringToFront(this);
}

bool Slider::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    WindowManager& manager = GetWindowManager();
    if (input.kind == kInputFrameTick) {
        if (dragging) PostEventPoint(kEventSetSlider, p);
        if (slideUpHeld || slideDownHeld) {
            const Game* game = CurrentGame();
            repeatTimer -= game != nullptr ? game->frameTime : Game::kMinFrameTime;
            while (repeatTimer <= 0.0f) {
                repeatTimer += kRepeatSeconds;
                PostEvent(slideUpHeld ? kEventSlideUp : kEventSlideDown);
            }
        }
        return dragging;
    }
    if (input.kind == kInputDown && input.code == kInputButtonLeft) {
        PostEventPoint(kEventSetSlider, p);
        manager.BringToFront(this);
        dragging = true;
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (input.IsKeyDown(Mouse::kCodeLeft)) {
        StartSliding(kEventSlideDown, slideDownHeld);
        return true;
    }
    if (input.IsKeyDown(Mouse::kCodeRight)) {
        StartSliding(kEventSlideUp, slideUpHeld);
        return true;
    }
    if (input.IsKeyUp(Mouse::kCodeLeft) || input.IsKeyUp(Mouse::kCodeRight)) {
        (input.code == Mouse::kCodeLeft ? slideDownHeld : slideUpHeld) = false;
        manager.RemoveFromFocusOrder(this);
        return true;
    }
    if (input.kind == kInputUp && input.code == kInputButtonLeft && dragging) {
        PostEventPoint(kEventSetSlider, p);
        manager.RemoveFromFocusOrder(this);
        dragging = false;
        PlaySound("MouseUp.ogg");
        return true;
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void Slider::HandleCommand(Event& event) {
    const float step = (maximum - minimum) / float(bodySize_.x > 0 ? bodySize_.x : 1);
    const IntRect b = BodyRect();
    switch (event.type) {
        case kEventSlideUp: SetValue(value + step); break;
        case kEventSlideDown: SetValue(value - step); break;
        case kEventSetSlider: {
            const float width = float(b.right - b.left + 1);
            if (width <= 0.0f) {
                SetValue(minimum);
                break;
            }
            SetValue(minimum + (maximum - minimum) * (float(event.point.x - b.left) / width));
            break;
        }
        default: Window::HandleCommand(event);
    }
}

void Slider::GetToolTip() { ::GetToolTip().Set(GetLanguageText(name), Rect()); }

void Slider::Resize(const Point& size) {
    Window::Resize(size);
    handleSize_ = Point(kHandleWidth, size.y);
    bodySize_ = Point(size.x, size.y / 2);
}

void Slider::SetValue(float newValue) {
    if (!(newValue == newValue)) newValue = minimum;
    value = std::clamp(newValue, minimum, std::max(minimum, maximum));
}

void Slider::SetRange(float newMinimum, float newMaximum) {
    minimum = newMinimum;
    maximum = newMaximum;
    SetValue(value);
}

void Slider::SetImages(Color bodyColour, Color handleColour) {
    EnsureSprites();
    TintSprite(body, bodyColour);
    TintSprite(handle, handleColour);
}
