// The small map of the whole arena.
#include "battlefield/MiniMap.h"

#include <limits>

#include "battlefield/ArenaWindow.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "world/Arena.h"

MiniMap::MiniMap() : Window("MiniMap") {
    closeButton = true;
    backgroundShown = true;
    resizable = false;
    Resize(Point(kMapSize, kMapSize + kButtonSize));
    Refresh();
}

void MiniMap::Refresh() { mapRect = IntRect(left, top, left + kMapSize, top + kMapSize); }

void MiniMap::UpdateTerrainImage() { ++terrainImageUpdates; }

Vector2 MiniMap::FractionsAt(const Point& point) const {
    const float width = float(mapRect.right - mapRect.left + 1);
    const float height = float(mapRect.bottom - mapRect.top + 1);
    return Vector2(float(point.x - mapRect.left) / width, 1.0f - float(point.y - mapRect.top) / height);
}

bool MiniMap::IsOnMap(const Point& point) const {
    const Vector2 f = FractionsAt(point);
    return f.x >= 0.0f && f.x <= 1.0f && f.y >= 0.0f && f.y <= 1.0f;
}

Vector3 MiniMap::ArenaPointAt(const Point& point) const {
    if (gArena == nullptr) return Vector3();
    const Vector2 f = FractionsAt(point);
    const Vector2 at = gArena->PointAtFraction(f.x, f.y);
    return gArena->GroundPoint(at.x, at.y);
}

int32_t MiniMap::ButtonAt(const Point& point) const {
    const int32_t y = point.y - (top + kMapSize);
    const int32_t x = point.x - left;
    if (y < 0 || y >= kButtonSize || x < 0 || x >= kButtonSize * kButtonCount) return -1;
    return x / kButtonSize;
}

bool MiniMap::HandleMouse(const InputEvent& input) {
    if (Window::HandleMouse(input)) return true;
    const Point point(input.x, input.y);
    if (input.kind == kInputFrameTick) {
        if (dragging && IsOnMap(point)) PostEventVector(kEventSetCameraTargetPosition, ArenaPointAt(point));
        return false;
    }
    if (input.IsKeyDown(kInputButtonLeft)) {
        if (IsOnMap(point)) {
            PostEventVector(kEventSetCameraTargetPosition, ArenaPointAt(point));
            PlayUiSound("MouseDown.ogg");
            return true;
        }
        pressedButton = ButtonAt(point);
        if (pressedButton < 0) return false;
        GetWindowManager().BringToFront(this);
        PlayUiSound("MouseDown.ogg");
        return true;
    }
    if (input.IsKeyUp(kInputButtonLeft)) {
        if (dragging) {
            const float far = std::numeric_limits<float>::max();
            PostEventVector(kEventEndMoveCamera, IsOnMap(point) ? ArenaPointAt(point) : Vector3(far, far, far));
            PlayUiSound("MouseUp.ogg");
        }
        if (pressedButton >= 0) {
            GetWindowManager().RemoveFromFocusOrder(this);
            if (ButtonAt(point) == pressedButton) {
                GetArenaWindow().PostEventInt(kEventSetCameraMode, pressedButton);
                PlayUiSound("MouseUp.ogg");
            }
            pressedButton = -1;
        }
        GetMouse().ShowCursor();
        return true;
    }
    if (input.kind == kInputWheel) {
        ArenaWindow& battlefield = GetArenaWindow();
        battlefield.CurrentCamera().HandleInput(battlefield, input);
        return true;
    }
    return false;
}

void MiniMap::HandleCommand(Event& event) {
    if (event.type == kEventSetCameraTargetPosition) {
        dragging = true;
        GetArenaWindow().PostEventVector(kEventSetCameraTargetPosition, event.position3);
        GetWindowManager().BringToFront(this);
        return;
    }
    if (event.type == kEventEndMoveCamera) {
        dragging = false;
        GetWindowManager().RemoveFromFocusOrder(this);
        return;
    }
    Window::HandleCommand(event);
}

MiniMap& GetMiniMap() {
    static MiniMap miniMap;
    return miniMap;
}
