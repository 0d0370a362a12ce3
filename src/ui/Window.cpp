// The base of every window: frame, background, close button, drags and event posting.
#include "ui/Window.h"

#include <cmath>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "platform/window/Keys.h"
#include "ui/Highlighter.h"
#include "ui/TextBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

int32_t gNextWindowId = 0;

constexpr float kMarkPulse = 1.6f;
constexpr float kCentreMarkRadius = 16.0f;
// Screens of this many lines or fewer keep windows one pixel from the edge, not four.
constexpr int32_t kSmallScreenLines = 769;
constexpr int32_t kCursorModeMoving = 17;
constexpr int32_t kCursorModeResizing = 16;
constexpr float kMessageScale = 1.5f;

const TextBox* OpenTextBoxOtherThan(const Window* window) {
    const TextBox* box = TextBox::Instance();
    if (box == nullptr || box == window || !box->open) return nullptr;
    return box;
}

}  // namespace

Point PreviousPointerPosition() { return GetMouse().previousPosition; }

Window::Window() : Window(String("Window")) {}

Window::Window(const String& windowName) : id(gNextWindowId++), name(windowName) {
    GetWindowManager().RegisterWindow(this);
}

Window::~Window() { GetWindowManager().ForgetWindow(this); }

void Window::Initialize() {
    frame.colour = WindowFrame::kNormalColour;
    dirty = true;
    if (HasResources()) {
        frame.LoadTextures();
        CreateBackground();
    }
    UpdateLayout();
}

void Window::EnsureResources() {
    ForgetStaleResources();
    if (resourcesMade_) return;
    resourcesMade_ = true;
    resourcesCurrent_.Set();
    frame.LoadTextures();
    CreateBackground();
    controls = GetRenderer().CreateSpriteGrid();
    controls->hovered = SpriteGrid::kNoItem;
    controls->pressed = SpriteGrid::kNotPressed;
    controls->SetLayoutMode(SpriteGrid::kLayoutFree);
    closeSprite = CreateUiSprite(kCloseButtonSize, kCloseButtonSize, "CloseButton.tga", Sprite::kAnchorCentre);
    controls->AddItem(closeSprite, String(), true);
    dirty = true;
    UpdateLayout();
    CreateResources();
}

// A window outlives the renderer that made its sprites: after a restart they are freed.
void Window::ForgetStaleResources() {
    if (resourcesMade_ && !resourcesCurrent_.IsSet()) ReleaseResources();
}

bool Window::HasResources() const { return resourcesMade_ && resourcesCurrent_.IsSet(); }

void Window::CreateResources() {}

void Window::ReleaseResources() {
    resourcesMade_ = false;
    resourcesCurrent_.Clear();
    controls = nullptr;
    closeSprite = nullptr;
    background = nullptr;
    frame.loaded.Clear();
    for (Sprite*& piece : frame.pieces) piece = nullptr;
    dirty = true;
}

void Window::OnOpen() {}
void Window::OnClose() {}
void Window::OnBeginMove() {}
void Window::OnMove() {}
void Window::OnEndMove() { Refresh(); }
void Window::OnBeginResize() {}
void Window::OnResize() { Refresh(); }
void Window::OnEndResize() { Refresh(); }
void Window::Refresh() {}
void Window::DrawContents() {}

void Window::Render() {
    EnsureResources();
    Renderer& renderer = GetRenderer();
    UpdateLayout();
    UseScreenCamera();
    if (backgroundShown) DrawBackground();
    UseScreenCamera();
    if (frameShown) frame.Draw();
    DrawContents();
    UseScreenCamera();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    renderer.DrawSpriteGrid(*controls, false);
    renderer.SetBlendOff();
    SetDepthTest(true);
}

void Window::UpdateLayout() {
    if (fullScreen) {
        const IntRect screen = UiScreenRect();
        SetRect(IntRect(0, 0, screen.right - screen.left, screen.bottom - screen.top));
    } else if (dirty) {
        backgroundMatrix = Matrix4();
        backgroundMatrix[0] = float(right - left + 1) + 2.0f;
        backgroundMatrix[5] = float(bottom - top + 1) + 2.0f;
        backgroundMatrix[12] = float(left) - 1.0f;
        backgroundMatrix[13] = float(top) - 1.0f;
        frame.SetRect(Rect());
    }
    PlaceCloseButton();
}

// A window may put a grid of its own in place of the one the close button was made
// in; item 0 of that grid is one of its own buttons and must be left alone.
bool Window::HoldsCloseButton() const {
    return controls != nullptr && closeSprite != nullptr && controls->Count() > 0 &&
           controls->sprites[0] == closeSprite;
}

void Window::PlaceCloseButton() {
    if (!HoldsCloseButton()) return;
    controls->SetItemVisible(0, closeButton && !fullScreen);
    closeSprite->x = right + frame.border / 2;
    closeSprite->y = top + 1 - frame.border / 2;
}

void Window::CreateBackground() {
    if (background != nullptr) return;
    background = GetRenderer().CreateColoredQuad(QuadRect{0, 0, 1, 1}, kBackgroundColour, 0.0f, 0, 0);
    GetRenderer().CreateModelMeshes(background);
}

void Window::DrawBackground() {
    if (!backgroundShown || background == nullptr) return;
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    renderer.SetWorldTransform(backgroundMatrix);
    renderer.RenderMesh(background, false);
    renderer.SetBlendOff();
    SetDepthTest(true);
}

bool Window::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    const bool leftPress = input.kind == kInputDown && input.code == kInputButtonLeft;
    const bool leftRelease = input.kind == kInputUp && input.code == kInputButtonLeft;
    if (dragMode != kDragNone) {
        const bool moving = dragMode == kDragMoving;
        if (input.kind == kInputFrameTick) {
            const Point previous = PreviousPointerPosition();
            PostEventPoint(moving ? kEventMoveWindow : kEventResizeWindow, Point(p.x - previous.x, p.y - previous.y));
            return false;
        }
        if (leftRelease) {
            PostEvent(moving ? kEventEndMoveWindow : kEventEndResizeWindow);
            PlaySound("MouseUp.ogg");
            if (!moving) GetMouse().ShowCursor();
        }
        return true;
    }
    if (leftPress && controls != nullptr) {
        controls->Press(p);
        if (controls->pressed >= 0) {
            GetWindowManager().BringToFront(this);
            PlaySound("MouseDown.ogg");
            return true;
        }
    }
    if (leftPress && movable && GetMoveHandleRect().Contains(p)) {
        PostEvent(kEventBeginMoveWindow);
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (leftPress && resizable && GetResizeHandleRect().Contains(p)) {
        PostEvent(kEventBeginResizeWindow);
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (leftRelease && controls != nullptr && controls->pressed >= 0) {
        const int released = controls->Release(p);
        GetWindowManager().RemoveFromFocusOrder(this);
        if (released == 0 && HoldsCloseButton()) {
            PostEvent(kEventCloseWindow);
            PlaySound("MouseUp.ogg");
            return true;
        }
    }
    if (closeButton && input.IsKeyDown('X') && GetMouse().IsKeyHeld(win::kKeyControl)) {
        PostEvent(kEventCloseWindow);
        return true;
    }
    return false;
}

void Window::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventBeginMoveWindow:
            dragMode = kDragMoving;
            GetMouse().HideCursor(kCursorModeMoving, nullptr);
            OnBeginMove();
            manager.BringToFront(this);
            break;
        case kEventMoveWindow:
            MoveTo(Point(left + event.point.x, top + event.point.y));
            OnMove();
            break;
        case kEventEndMoveWindow:
            OnEndMove();
            dragMode = kDragNone;
            GetMouse().ShowCursor();
            manager.RemoveFromFocusOrder(this);
            break;
        case kEventBeginResizeWindow:
            dragMode = kDragResizing;
            GetMouse().HideCursor(kCursorModeResizing, nullptr);
            OnBeginResize();
            manager.BringToFront(this);
            break;
        case kEventResizeWindow:
            SetRectValues(left, top, right + event.point.x, bottom + event.point.y);
            OnResize();
            break;
        case kEventEndResizeWindow:
            OnEndResize();
            dragMode = kDragNone;
            GetMouse().ShowCursor();
            manager.RemoveFromFocusOrder(this);
            break;
        case kEventCloseWindow:
            manager.CloseWindow(this);
            GetMouse().ShowCursor();
            dragMode = kDragNone;
            break;
        default: break;
    }
}

void Window::HitTestControls(const Point& point) {
    if (controls != nullptr) controls->UpdateHover(point);
}

void Window::SetHighlightColour() { SetFrameColour(WindowFrame::kHighlightColour); }

void Window::SetNormalColour() { SetFrameColour(WindowFrame::kNormalColour); }

void Window::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind == 0 || (request.kind == 1 && request.name.EqualsNoCase("#InnerOutline"))) {
        highlighter.AddIntRect(Rect(), kMarkPulse);
    } else if (request.kind != 1) {
        return;
    } else if (request.name.EqualsNoCase("#Center")) {
        highlighter.AddCircleAt(GetCenter(), kCentreMarkRadius, kMarkPulse);
    } else if (request.name.EqualsNoCase("#Outline")) {
        const int32_t grow = frame.border / 2;
        highlighter.AddIntRect(IntRect(left - grow, top - grow, right + grow, bottom + grow), kMarkPulse);
    } else if (request.name.EqualsNoCase("#Close") && HoldsCloseButton()) {
        highlighter.AddWindowShape(*controls, *closeSprite);
    }
}

void Window::GetToolTip() {
    ToolTip& tip = ::GetToolTip();
    if (!HoldsCloseButton() || !controls->IsShown(0) || controls->hovered != 0) {
        tip.Clear();
        return;
    }
    const IntRect r = closeSprite->GetScreenRect();
    const int32_t growX = (r.right - r.left) / 4;
    const int32_t growY = (r.bottom - r.top) / 4;
    tip.Set(GetLanguageText("CloseWindow"), IntRect(r.left - growX, r.top - growY, r.right + growX, r.bottom + growY));
}

void Window::SetRect(const IntRect& rect) {
    left = rect.left;
    top = rect.top;
    right = rect.right;
    bottom = rect.bottom;
    frame.SetRect(rect);
    dirty = true;
}

bool Window::ContainsPoint(const Point& point) const {
    if (!frameShown) return Rect().Contains(point);
    if (HoldsCloseButton() && controls->IsShown(0) && closeSprite->Contains(point)) {
        return true;
    }
    const int32_t grow = frame.border - 3;
    return IntRect(left - grow, top - grow, right + grow, bottom + grow).Contains(point);
}

Point Window::OnScreenPlace(const Point& point) const {
    const IntRect screen = UiScreenRect();
    const int32_t lines = screen.bottom - screen.top + 1;
    const bool small = lines < kSmallScreenLines;
    const int32_t margin = small ? 1 : 4;
    const int32_t b = frame.border;
    const int32_t width = Width();
    const int32_t height = Height();
    int32_t textBoxOffset = 0;
    bool mayPassBottom = false;
    if (const TextBox* box = OpenTextBoxOtherThan(this)) {
        textBoxOffset = box->bottom - 4 + b - (small ? 1 : 0);
        mayPassBottom = name.EqualsNoCase("PatternWindow");
    }
    int32_t x = point.x;
    const int32_t xLow = b + 4;
    const int32_t xHigh = screen.right - screen.left - 4 - b - width;
    if (x < xLow) {
        x = xLow;
    } else if (x > xHigh) {
        x = xHigh;
    }
    int32_t y = point.y;
    int32_t yLow = margin + b + textBoxOffset;
    int32_t yHigh = screen.bottom + (mayPassBottom ? 2 : -margin) - b - height - screen.top;
    if (small && this == TextBox::Instance()) {
        yLow = b - 1;
        yHigh = screen.bottom - margin - b - height - screen.top;
    }
    if (y < yLow) {
        y = yLow;
    } else if (y > yHigh) {
        y = yHigh;
    }
    return Point(x, y);
}

void Window::MoveTo(const Point& point) {
    const Point place = OnScreenPlace(point);
    SetRect(IntRect(place.x, place.y, place.x + Width(), place.y + Height()));
    OnEndMove();
}

void Window::Resize(const Point& size) {
    const IntRect screen = UiScreenRect();
    const int32_t b = frame.border;
    int32_t x = left;
    if (x < b) {
        x = b;
    } else if (x > screen.right - size.x - b - screen.left + 1) {
        x = screen.right - size.x - b - screen.left + 1;
    }
    int32_t y = top;
    if (y < b) {
        y = b;
    } else if (y > screen.bottom - size.y - b - screen.top + 1) {
        y = screen.bottom - size.y - b - screen.top + 1;
    }
    SetRect(IntRect(x, y, x + size.x - 1, y + size.y - 1));
    dirty = true;
}

void Window::CentreOnScreen() {
    const IntRect s = UiScreenRect();
    MoveTo(Point((s.right - s.left - Width()) / 2, (s.bottom - s.top - Height()) / 2));
}

void Window::MoveToBottomCentre() {
    const IntRect s = UiScreenRect();
    MoveTo(Point((s.right - s.left - Width()) / 2, s.bottom - s.top - Height()));
}

void Window::MoveToScreenCentre() {
    const IntRect s = UiScreenRect();
    MoveTo(Point((s.right - s.left + 1) / 2, (s.bottom - s.top + 1) / 2));
}

void Window::PlaceBelow(const Window& other, int32_t gap) { MoveTo(Point(other.left, other.bottom + gap)); }

void Window::PlaceLeftOf(const Window& other, int32_t gap) { MoveTo(Point(other.left - gap - 1 - Width(), other.top)); }

void Window::SetRectValues(int32_t newLeft, int32_t newTop, int32_t newRight, int32_t newBottom) {
    SetRect(IntRect(newLeft, newTop, newRight, newBottom));
}

void Window::SetFullScreen(bool on) {
    if (on != fullScreen) {
        if (on) {
            savedRect = Rect();
            const IntRect s = UiScreenRect();
            SetRect(IntRect(0, 0, s.right - s.left, s.bottom - s.top));
        } else {
            SetRect(savedRect);
        }
    }
    frameShown = !on;
    fullScreen = on;
    UpdateLayout();
    Refresh();
}

void Window::SetFrameColour(Color colour) {
    frame.SetColour(colour);
    dirty = true;
}

IntRect Window::GetMoveHandleRect() const { return IntRect(left - frame.border, top - frame.border, right, top - 1); }

IntRect Window::GetResizeHandleRect() const {
    return IntRect(right, bottom, right + frame.border, bottom + frame.border);
}

bool Window::IsUnderPoint(const Point& point) const { return GetWindowManager().WindowAt(point) == this; }

void Window::DrawMessageLine(const String& text, int32_t line) const {
    const IntRect s = UiScreenRect();
    float offset = 0.0f;
    if (const TextBox* box = OpenTextBoxOtherThan(this)) offset = float(box->bottom + frame.border - 4);
    const float y = (float(line) + 0.5f) * (kMessageScale * FontLineHeight()) + offset;
    DrawTextCentred(text, Vector2(0.5f * float(s.right - s.left + 1), y), kMessageScale);
}

Event* Window::PostEvent(int32_t type) {
    Game* game = CurrentGame();
    if (game == nullptr) return nullptr;
    Event* event = game->NewEvent();
    if (event == nullptr) return nullptr;
    event->type = type;
    event->target = this;
    game->PostEvent(event);
    return event;
}

Event* Window::PostEventInt(int32_t type, int32_t value) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->value = value;
    return event;
}

Event* Window::PostEventPoint(int32_t type, const Point& point) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->point = point;
    return event;
}

Event* Window::PostEventPosition(int32_t type, const Point& point) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->position2 = Vector2(float(point.x), float(point.y));
    return event;
}

Event* Window::PostEventVector(int32_t type, const Vector3& vector) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->position3 = vector;
    return event;
}

Event* Window::PostEventPointer(int32_t type, void* pointer) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->object = static_cast<WorldObject*>(pointer);
    return event;
}

Event* Window::PostEventString(int32_t type, const String& text) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->text = text;
    return event;
}

void Window::PlaySound(const char* soundName) { PlayUiSound(soundName); }
