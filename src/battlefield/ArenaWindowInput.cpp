// The battlefield window's input: the player's keys and buttons become battlefield
// commands posted as events; the frame tick moves the camera after what it follows.
#include "battlefield/ArenaWindow.h"
#include "battlefield/MiniMap.h"
#include "battlefield/PaintTray.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "game/Game.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

constexpr int32_t kCodeF1 = 112;
constexpr int32_t kModeMoving = 14;
constexpr int32_t kModeTurning = 15;

bool Held(int32_t code) { return GetMouse().IsKeyHeld(code); }

bool IsPress(const InputEvent& input) { return input.kind == kInputDown || input.kind == kInputDoubleClick; }

int32_t ObjectNumber(const WorldObject* object) { return object != nullptr ? object->id : -1; }

}  // namespace

void ArenaWindow::PostObjectCommand(int32_t type, WorldObject* object, const Vector3& point) {
    Event* event = PostEventPointer(type, object);
    if (event == nullptr) return;
    event->value = ObjectNumber(object);
    event->position3 = point;
}

// The ground commands read the point's x and y as their float pair.
void ArenaWindow::PostGroundPoint(int32_t type, const Vector3& point) {
    if (Event* event = PostEventVector(type, point)) event->position2 = Vector2(point.x, point.y);
}

bool ArenaWindow::HandleMouse(const InputEvent& input) {
    pointerGroundPoint = PointerGroundPoint(input.x, input.y);
    if (flyByRunning && IsPress(input)) {
        flyByRunning = false;
        return true;
    }
    if (input.kind == kInputFrameTick) {
        TickFollow();
        if (GetPaintTray().open && painting) PostGroundPoint(kEventPaint, pointerGroundPoint);
        if (flyByRunning && gArena != nullptr) {
            const Vector3 point = gArena->GetFlyByPoint(flyByTime, flyByIndex);
            camera->SetTarget(point);
            camera->SetLookAt(point);
        }
    } else {
        camera->HandleInput(*this, input);
    }
    if (input.IsKeyDown(kCodeF1)) {
        PostEvent(kEventToggleHelp);
        return true;
    }
    if (input.kind == kInputDown && HandleKey(input)) return true;
    if (GetPaintTray().open) {
        if (input.IsKeyDown(kInputButtonLeft)) painting = true;
        if (input.IsKeyUp(kInputButtonLeft)) {
            painting = false;
            if (GetMiniMap().open) GetMiniMap().UpdateTerrainImage();
        }
        return input.kind != kInputFrameTick && input.kind != kInputPointerMove ? true : Window::HandleMouse(input);
    }
    if (input.kind == kInputPointerMove) {
        if (objectRemoved) {
            objectRemoved = false;
            ResetVornActionQueues();
        }
        const int32_t mode = GetMouse().mode;
        WorldObject* carried = static_cast<WorldObject*>(GetMouse().dragObject);
        if (mode == kModeMoving && carried != nullptr) {
            PostObjectCommand(kEventTranslateObject, carried, pointerGroundPoint - grabOffset);
        }
        if (mode == kModeTurning && carried != nullptr) {
            PostObjectCommand(kEventRotateObject, carried, pointerGroundPoint);
        }
    }
    if (input.kind == kInputCharacter) {
        const int32_t types[] = {kEventSetCameraFollowPreviousFriendVorn, kEventSetCameraFollowNextFriendVorn,
                                 kEventSetCameraFollowPreviousEnemyVorn, kEventSetCameraFollowNextEnemyVorn,
                                 kEventSetCameraFollowMostRecentlyDamagedVorn};
        const char* keys = "[]{}\\";
        for (int i = 0; i < 5; ++i) {
            if (input.code == keys[i]) {
                PostEvent(types[i]);
                return true;
            }
        }
    }
    if (input.IsKeyUp(kInputButtonLeft) && HandleLeftRelease(input)) return true;
    if (input.IsKeyDown(kInputButtonRight)) {
        rightPressedVorn = VornUnderPointer(input.x, input.y);
        if (rightPressedVorn != nullptr) PlayUiSound("MouseDown.ogg");
        return true;
    }
    if (input.IsKeyUp(kInputButtonRight)) {
        Vorn* vorn = VornUnderPointer(input.x, input.y);
        if (vorn != nullptr && vorn == rightPressedVorn) {
            PostObjectCommand(kEventEditVorn, vorn, pointerGroundPoint);
            PlayUiSound("MouseUp.ogg");
        }
        rightPressedVorn = nullptr;
        return true;
    }
    if (input.IsKeyDown(kInputButtonLeft) && HandleLeftPress(input)) return true;
    return Window::HandleMouse(input);
}

bool ArenaWindow::HandleKey(const InputEvent& input) {
    const bool ctrl = Held(win::kKeyControl);
    const bool shift = Held(win::kKeyShift);
    const Vector3 wrapped = WrapPoint(pointerGroundPoint);
    switch (input.code) {
        case win::kKeyC:
            if (ctrl) {
                if (Vorn* vorn = VornUnderPointer(input.x, input.y)) PostObjectCommand(kEventCopyVorn, vorn, wrapped);
            } else {
                PostEventInt(kEventSetCameraMode, CameraType() == kCameraOverhead ? 1 : 0);
            }
            return true;
        case win::kKeyV:
            if (!ctrl) return false;
            PostEventVector(kEventPasteVorn, pointerGroundPoint);
            return true;
        case win::kKeyF:
            if (ctrl) {
                PostEvent(kEventToggleFrameMeter);
                return true;
            }
            break;
        case win::kKeyY:
            if (!ctrl) {
                PostGroundPoint(kEventAddFlyByPoint, wrapped);
            } else {
                PostEvent(shift ? kEventClearFlyByPoints : kEventTestFlyByPoints);
            }
            return true;
        case win::kKeyU:
            if (!ctrl) {
                PostGroundPoint(kEventAddLaunchPoint, wrapped);
                return true;
            }
            if (shift) {
                PostEvent(kEventClearLaunchPoints);
                return true;
            }
            return false;
        default: break;
    }
    if (GetPaintTray().open) return false;
    Vorn* vorn = VornUnderPointer(input.x, input.y);
    switch (input.code) {
        case win::kKeyR:
            if (vorn != nullptr) PostObjectCommand(kEventToggleVornRadar, vorn, wrapped);
            return true;
        case win::kKeyI:
        case win::kKeyN:
        case win::kKeyH: {
            const int32_t type = input.code == win::kKeyI   ? kEventToggleVornConditionals
                                 : input.code == win::kKeyN ? kEventToggleVornPatterns
                                                            : kEventToggleVornHealthGauge;
            if (vorn != nullptr) PostObjectCommand(type, vorn, wrapped);
            return true;
        }
        case win::kKeyF: {
            if (vorn != nullptr) {
                const bool holdsBall = vorn->carryingBall != 0;
                PostObjectCommand(holdsBall ? kEventSetCameraFollowSoccerBall : kEventSetCameraFollowVorn, vorn,
                                  wrapped);
                return true;
            }
            WorldObject* object = ObjectUnderPointer(input.x, input.y);
            if (object != nullptr && object->kind == kKindSoccerBall) {
                PostObjectCommand(kEventSetCameraFollowSoccerBall, object, wrapped);
            } else {
                PostObjectCommand(kEventSetCameraFollowVorn, nullptr, wrapped);
            }
            return true;
        }
        case win::kKeyT: {
            const Game* game = CurrentGame();
            const bool friendly = game != nullptr && gArena != nullptr && gArena->placingPlayer == game->firstPlayer;
            PostEvent(friendly ? kEventVornTeamEnemy : kEventVornTeamFriend);
            return true;
        }
        case win::kKeyP: {
            const Game* game = CurrentGame();
            PostEvent(game != nullptr && game->playerPaused == 0 ? kEventPause : kEventUnpause);
            return true;
        }
        case Mouse::kCodeDelete:
            if (GetMouse().mode != Mouse::kModeNothing) return false;
            if (WorldObject* object = ObjectUnderPointer(input.x, input.y)) {
                PostObjectCommand(kEventDeleteObject, object, wrapped);
            }
            return true;
        default: return false;
    }
}

bool ArenaWindow::HandleLeftRelease(const InputEvent& input) {
    if (bandActive) {
        const Vector3 end =
            gArena != nullptr ? gArena->NearestImage(bandStart, pointerGroundPoint) : pointerGroundPoint;
        Event* event = PostEventVector(kEventEndSelectGroup, end);
        if (event != nullptr) event->position2 = Vector2(bandStart.x, bandStart.y);
        PlayUiSound("MouseUp.ogg");
        return true;
    }
    Mouse& mouse = GetMouse();
    WorldObject* carried = static_cast<WorldObject*>(mouse.dragObject);
    if (mouse.mode == kModeMoving && carried != nullptr) {
        PostObjectCommand(kEventEndTranslateObject, carried, pointerGroundPoint - grabOffset);
        return true;
    }
    if (mouse.mode == kModeTurning && carried != nullptr) {
        PostObjectCommand(kEventEndRotateObject, carried, pointerGroundPoint);
        PlayUiSound("MouseUp.ogg");
        return true;
    }
    (void)input;
    return false;
}

bool ArenaWindow::TakeDragRelease(const InputEvent& input) {
    if (!input.IsKeyUp(kInputButtonLeft)) return false;
    pointerGroundPoint = PointerGroundPoint(input.x, input.y);
    return HandleLeftRelease(input);
}

void ArenaWindow::ReleaseCameraKeys() { camera->ReleaseHeldKeys(); }

bool ArenaWindow::HandleLeftPress(const InputEvent& input) {
    Mouse& mouse = GetMouse();
    if (mouse.mode == kModeTurning) {
        mouse.ShowCursor();
        return true;
    }
    WorldObject* object = ObjectUnderPointer(input.x, input.y);
    if (Held(win::kKeyShift)) {
        if (object != nullptr) {
            PostObjectCommand(kEventToggleSelectedObject, object, pointerGroundPoint);
            PlayUiSound("MouseUp.ogg");
        } else {
            PostEventVector(kEventBeginSelectGroup, pointerGroundPoint);
            PlayUiSound("MouseDown.ogg");
        }
        return true;
    }
    if (object == nullptr) return false;
    PostObjectCommand(Held(win::kKeyControl) ? kEventBeginRotateObject : kEventBeginTranslateObject, object,
                      pointerGroundPoint);
    PlayUiSound("MouseDown.ogg");
    return true;
}
