#include "engine/Mouse.h"

#include <algorithm>
#include <iterator>

#include "core/Vector2.h"
#include "engine/AssetPaths.h"
#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "platform/gfx/Device.h"
#include "platform/window/Keys.h"
#include "platform/window/Message.h"
#include "platform/window/SystemWindow.h"

namespace {

// The classic wheel unit: one notch.
constexpr int kWheelDeltaPerNotch = 120;

constexpr int kCursorSide = 16;

int32_t ButtonCode(win::MouseButton button) {
    switch (button) {
        case win::MouseButton::Left: return kInputButtonLeft;
        case win::MouseButton::Right: return kInputButtonRight;
        case win::MouseButton::Middle: return kInputButtonMiddle;
    }
    return kInputButtonLeft;
}

bool IsEditingKey(int32_t code) { return code >= Mouse::kCodeDelete && code <= Mouse::kCodeDown; }

// An arrow of the classic shape: a black outline around white, pointing up and left.
bool InArrow(int x, int y) { return y < 12 ? x <= y : (y < 16 && x >= 3 && x <= 5 && y - x < 11); }

bool OnArrowEdge(int x, int y) {
    if (!InArrow(x, y)) return false;
    return !InArrow(x - 1, y) || !InArrow(x + 1, y) || !InArrow(x, y - 1) || !InArrow(x, y + 1);
}

}  // namespace

Mouse::Mouse() {
    for (int i = 0; i < kKeyCount; ++i) keyMap[i] = uint8_t(i);
}

Mouse::~Mouse() = default;

bool Mouse::IsPlacingMode(int32_t mode) {
    switch (mode) {
        case 2:
        case 3:
        case 4:
        case 9:
        case 14:
        case 15: return true;
        default: return false;
    }
}

int32_t Mouse::TranslateKey(int virtualKey) {
    switch (virtualKey) {
        case win::kKeyDelete: return kCodeDelete;
        case win::kKeyLeft: return kCodeLeft;
        case win::kKeyRight: return kCodeRight;
        case win::kKeyUp: return kCodeUp;
        case win::kKeyDown: return kCodeDown;
        case win::kKeyHome: return kCodeHome;
        case win::kKeyEnd: return kCodeEnd;
        default: return virtualKey;
    }
}

win::CursorImage Mouse::OwnCursorImage() {
    win::CursorImage image;
    image.width = kCursorSide;
    image.height = kCursorSide;
    image.rgba.assign(size_t(kCursorSide) * kCursorSide * 4, 0);
    for (int y = 0; y < kCursorSide; ++y) {
        for (int x = 0; x < kCursorSide; ++x) {
            if (!InArrow(x, y)) continue;
            uint8_t* pixel = &image.rgba[(size_t(y) * kCursorSide + size_t(x)) * 4];
            const uint8_t shade = OnArrowEdge(x, y) ? 0 : 255;
            pixel[0] = shade;
            pixel[1] = shade;
            pixel[2] = shade;
            pixel[3] = 255;
        }
    }
    return image;
}

void Mouse::Queue(int32_t kind, int32_t code) {
    InputEvent event;
    event.Set(kind, code, position);
    events.Append(event);
    eventModifiers.Append(uint8_t((heldKeys[win::kKeyShift] != 0 ? 1 : 0) | (heldKeys[win::kKeyControl] != 0 ? 2 : 0) |
                                  (heldKeys[win::kKeyAlt] != 0 ? 4 : 0)));
}

void Mouse::PollPosition() {
    previousPosition = position;
    drawMarkers = 0;
    addCoinMarker = 0;
    shiftMarkers = 0;
    events.Clear();
    eventModifiers.Clear();
    handlingEvent_ = -1;
    if (active && window_ != nullptr) {
        const win::Point pointer = window_->PointerPosition();
        position = Point(pointer.x, pointer.y);
    }
    Queue(kInputPointerMove, 0);
}

void Mouse::HandleMessage(const win::Message& message) {
    if (message.kind == win::MessageKind::Activate) {
        active = message.active ? 1 : 0;
        if (!active) ReleaseHeldKeys();
    }
    position = active ? Point(message.x, message.y) : previousPosition;
    switch (message.kind) {
        case win::MessageKind::ButtonDown: Queue(kInputDown, ButtonCode(message.button)); break;
        case win::MessageKind::ButtonUp: Queue(kInputUp, ButtonCode(message.button)); break;
        case win::MessageKind::DoubleClick: Queue(kInputDoubleClick, ButtonCode(message.button)); break;
        case win::MessageKind::Wheel: Queue(kInputWheel, message.wheelDelta / kWheelDeltaPerNotch); break;
        case win::MessageKind::KeyDown: HandleKeyDown(message); break;
        case win::MessageKind::KeyUp: {
            const int32_t code = TranslateKey(message.key);
            if (code > 0 && code < kKeyCount) heldKeys[code] = 0;
            Queue(kInputUp, code);
            break;
        }
        case win::MessageKind::Char: Queue(kInputCharacter, message.character); break;
        default: break;
    }
}

void Mouse::HandleKeyDown(const win::Message& message) {
    const int32_t code = TranslateKey(message.key);
    if (code > 0 && code < kKeyCount) heldKeys[code] = 1;
    // Auto-repeats reach the windows only as characters, and only for the editing keys:
    // an edit box moves its caret on each, a button must not fire again.
    if (!message.repeat) Queue(kInputDown, code);
    if (!message.altDown && IsEditingKey(code)) Queue(kInputCharacter, code);
}

void Mouse::UpdateCursor() {
    Queue(kInputFrameTick, 0);
    ApplyCursorShape();
    requestedCursor = kCursorSystem;
}

void Mouse::ApplyCursorShape() {
    if (window_ == nullptr) return;
    if (requestedCursor == kCursorOwn && appliedCursor_ != kCursorOwn) {
        if (window_->SetCursorImage(OwnCursorImage())) appliedCursor_ = kCursorOwn;
    } else if (requestedCursor != kCursorOwn && appliedCursor_ == kCursorOwn) {
        window_->SetArrowCursor();
        appliedCursor_ = kCursorSystem;
    }
}

void Mouse::HideCursor(int32_t carriedMode, Sprite* sprite) {
    markerScale = 1.0f;
    mode = carriedMode;
    carriedSprite = sprite;
    if (window_ == nullptr) return;
    while (window_->IsCursorVisible()) window_->ShowCursor(false);
}

void Mouse::ShowCursor() {
    carriedSprite = nullptr;
    previousMode = mode;
    mode = kModeNothing;
    if (window_ == nullptr) return;
    while (!window_->IsCursorVisible()) window_->ShowCursor(true);
}

void Mouse::AddHeldKeyListener(HeldKeyListener* listener) {
    if (listener == nullptr) return;
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) return;
    listeners_.push_back(listener);
}

void Mouse::RemoveHeldKeyListener(HeldKeyListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void Mouse::ReleaseHeldKeys() {
    std::fill(std::begin(heldKeys), std::end(heldKeys), 0);
    // A copy: a listener may remove itself (or another) while it is told.
    const std::vector<HeldKeyListener*> listeners = listeners_;
    for (HeldKeyListener* listener : listeners) listener->ReleaseHeldKeys();
}

void Mouse::LoadCursorSprites() {
    Renderer& renderer = GetRenderer();
    markerSprite = renderer.CreateSprite(kMarkerSize, TexturePath("X.tga"), Sprite::kAnchorCentre);
    coinSprite = renderer.CreateSprite(kMarkerSize, TexturePath("DollarSign.tga"), Sprite::kAnchorCentre);
}

void Mouse::Draw() {
    Renderer& renderer = GetRenderer();
    renderer.SetCamera(GetScreenCamera());
    gfx::Device& device = renderer.GetDevice();
    device.SetRenderState(gfx::RenderState::ZEnable, 0u);
    if (carriedSprite != nullptr) DrawCarriedSprite(*carriedSprite);
    if (mode == kModePattern || mode == kModeSquadButton) DrawCarriedItem();
    if (drawMarkers) DrawMarkers();
    device.SetRenderState(gfx::RenderState::ZEnable, 1u);
}

// While Control is held (placing many), two smaller copies stack toward the upper right.
void Mouse::DrawCarriedSprite(const Sprite& sprite) const {
    Renderer& renderer = GetRenderer();
    const Vector2 pointer(float(position.x), float(position.y));
    const float s = markerScale;
    const Vector2 toUpperRight(float(sprite.width) * s, -float(sprite.height) * s);
    if (IsKeyHeld(win::kKeyControl)) {
        renderer.DrawSpriteRotated(sprite, pointer + toUpperRight * 0.5f, Vector2(0.5f * s, 0.5f * s), 0.0f, Vector2(),
                                   Matrix4());
        renderer.DrawSpriteRotated(sprite, pointer + toUpperRight * 0.3f, Vector2(0.75f * s, 0.75f * s), 0.0f,
                                   Vector2(), Matrix4());
    }
    renderer.DrawSpriteRotated(sprite, pointer, Vector2(s, s), 0.0f, Vector2(), Matrix4());
}

// A carried pattern's box is kept whole on the screen; a squad's may reach past it.
void Mouse::DrawCarriedItem() {
    if (painter_ == nullptr) return;
    IntRect box(position.x - kCarriedBoxHalf, position.y - kCarriedBoxHalf, position.x + kCarriedBoxHalf,
                position.y + kCarriedBoxHalf);
    if (mode == kModeSquadButton) {
        painter_->DrawCarriedSquad(box);
        return;
    }
    const IntRect& screen = GetRenderer().GetWindowRect();
    const Point shift(std::max(0, screen.left - box.left) - std::max(0, box.right - screen.right),
                      std::max(0, screen.top - box.top) - std::max(0, box.bottom - screen.bottom));
    box = IntRect(box.left + shift.x, box.top + shift.y, box.right + shift.x, box.bottom + shift.y);
    painter_->DrawCarriedPattern(box);
    // The pattern was drawn through the unit editor's camera; the markers are pixels.
    GetRenderer().SetCamera(GetScreenCamera());
}

// The markers refuse a drop: a cross, and a coin when it is a matter of cost. Shifted,
// they sit a quarter of 48 pixels down and left at two thirds of the size.
void Mouse::DrawMarkers() const {
    Renderer& renderer = GetRenderer();
    Vector2 place(float(position.x), float(position.y));
    float scale = markerScale;
    if (shiftMarkers) {
        place += Vector2(-12.0f * markerScale, 12.0f * markerScale);
        scale = markerScale / 1.5f;
    }
    if (addCoinMarker && coinSprite != nullptr) {
        renderer.DrawSpriteRotated(*coinSprite, place, Vector2(scale, scale), 0.0f, Vector2(), Matrix4());
    }
    if (markerSprite != nullptr) {
        renderer.DrawSpriteRotated(*markerSprite, place, Vector2(scale, scale), 0.0f, Vector2(), Matrix4());
    }
}

bool Mouse::IsKeyHeld(int32_t code) const {
    if (handlingEvent_ >= 0 && handlingEvent_ < eventModifiers.Count()) {
        const uint8_t held = eventModifiers[handlingEvent_];
        if (code == win::kKeyShift) return (held & 1) != 0;
        if (code == win::kKeyControl) return (held & 2) != 0;
        if (code == win::kKeyAlt) return (held & 4) != 0;
    }
    return code >= 0 && code < kKeyCount && heldKeys[code] != 0;
}

Mouse& GetMouse() {
    static Mouse mouse;
    return mouse;
}
