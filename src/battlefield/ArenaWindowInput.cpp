// The battlefield window's input: the player's keys and buttons become battlefield
// commands posted as events; the frame tick moves the camera after what it follows.
#include "battlefield/ArenaWindow.h"
#include "battlefield/ControlTray.h"
#include "battlefield/MiniMap.h"
#include "battlefield/ObjectTray.h"
#include "battlefield/PaintTray.h"
#include "core/Ray.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "game/Game.h"
#include "platform/window/Keys.h"
#include "ui/EditBox.h"
#include "ui/ToolkitWindows.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornSummary.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

constexpr int32_t kCodeF1 = 112;
constexpr int32_t kCodeMusic = 'M';
constexpr int32_t kModeChassis = 2;
constexpr int32_t kModeSavedVorn = 3;
constexpr int32_t kModeSquad = 4;
constexpr int32_t kModeObject = 9;
constexpr int32_t kModeMoving = 14;
constexpr int32_t kModeTurning = Mouse::kModeHighlight;
constexpr int32_t kModeKillTrayVorn = 18;
constexpr int32_t kEdgeMargin = 4;
constexpr float kEdgeScrollDelay = 0.4f;
constexpr float kEdgeScrollSpeed = 100.0f * 0.5f;

bool Held(int32_t code) { return GetMouse().IsKeyHeld(code); }

bool IsPress(const InputEvent& input) { return input.kind == kInputDown || input.kind == kInputDoubleClick; }

int32_t ObjectNumber(const WorldObject* object) { return object != nullptr ? object->id : -1; }

bool ScrollsAtEdges(int32_t mode) {
    switch (mode) {
        case Mouse::kModeNothing:
        case kModeChassis:
        case kModeSavedVorn:
        case kModeSquad:
        case kModeObject:
        case kModeMoving:
        case kModeTurning: return true;
        default: return false;
    }
}

float ChassisRadius(int32_t chassis) {
    const int32_t size = ChassisTable::SizeClass(chassis);
    return size >= 0 ? kChassisRadiusBySize[size] : 0.0f;
}

// The chassis of a saved unit, or -1 when its file will not read.
int32_t SavedVornChassis(const String& name) {
    VornSummary summary;
    return summary.Load(name) ? summary.chassis : -1;
}

bool IsPlaceableKind(int32_t kind) {
    return kind == kKindTree || kind == kKindRock || kind == kKindSolarCharger || kind == kKindSoccerBall ||
           kind == kKindGoal;
}

}  // namespace

Event* ArenaWindow::PostObjectCommand(int32_t type, WorldObject* object, const Vector3& point) {
    Event* event = PostEventPointer(type, object);
    if (event == nullptr) return nullptr;
    event->value = ObjectNumber(object);
    event->position3 = point;
    return event;
}

// The ground commands read the point's x and y as their float pair.
void ArenaWindow::PostGroundPoint(int32_t type, const Vector3& point) {
    if (Event* event = PostEventVector(type, point)) event->position2 = Vector2(point.x, point.y);
}

bool ArenaWindow::HandleMouse(const InputEvent& input) {
    // The letters of a name being typed are no battlefield keys.
    if (EditBox::TakeKeyboard(input)) return true;
    pointerGroundPoint = PointerGroundPoint(input.x, input.y);
    if (flyByRunning && IsPress(input)) {
        flyByRunning = false;
        return true;
    }
    if (input.kind == kInputFrameTick) {
        TickEdgeScroll();
        TickFollow();
        // A stroke carried over a tray paints nothing under it.
        const bool overField = IsUnderPoint(Point(input.x, input.y));
        if (GetPaintTray().open && painting && overField) PostGroundPoint(kEventPaint, pointerGroundPoint);
        if (flyByRunning && gArena != nullptr) {
            const Vector3 point = gArena->GetFlyByPoint(flyByTime, flyByIndex);
            camera->SetTarget(point);
            camera->SetLookAt(point);
        }
    }
    // The camera hears the frame tick too: its held keys and the middle-button drag move
    // and turn it once a frame.
    camera->HandleInput(*this, input);
    if (input.IsKeyDown('1')) {
        GetToolkitWindows().LayOutWindows();
        return true;
    }
    if (input.IsKeyDown(kCodeF1)) {
        PostEvent(kEventToggleHelp);
        return true;
    }
    if (input.kind == kInputDown && HandleKey(input)) return true;
    // A stroke ends with any left release, the tray open or not.
    if (input.IsKeyUp(kInputButtonLeft) && (painting || GetPaintTray().open)) EndPaintStroke();
    if (GetPaintTray().open) {
        // Only a press on the field itself begins a stroke, not one a window over it
        // passed on.
        if (input.IsKeyDown(kInputButtonLeft)) painting = IsUnderPoint(Point(input.x, input.y));
        return input.kind != kInputFrameTick && input.kind != kInputPointerMove ? true : Window::HandleMouse(input);
    }
    if (input.kind == kInputPointerMove) {
        if (objectRemoved) {
            objectRemoved = false;
            ResetVornActionQueues();
        }
        MarkBlockedDrop();
        const int32_t mode = GetMouse().mode;
        WorldObject* carried = static_cast<WorldObject*>(GetMouse().dragObject);
        if (mode == kModeMoving && carried != nullptr) {
            PostObjectCommand(kEventTranslateObject, carried, MovedPosition(input.x, input.y));
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
    if (Window::HandleMouse(input)) return true;
    if (!input.IsKeyDown(kCodeMusic)) return false;
    ToggleMusic();
    return true;
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
        case Mouse::kCodeLeft:
        case Mouse::kCodeRight:
        case Mouse::kCodeUp:
        case Mouse::kCodeDown:
            if (!ctrl || !IsTrainingGame() || gArena == nullptr) return false;
            // The training ground's terrain shift acts at once: it is no battlefield command.
            gArena->ScrollArena(input.code == Mouse::kCodeLeft    ? -1
                                : input.code == Mouse::kCodeRight ? 1
                                                                  : 0,
                                input.code == Mouse::kCodeUp     ? 1
                                : input.code == Mouse::kCodeDown ? -1
                                                                 : 0);
            if (GetMiniMap().open) GetMiniMap().UpdateTerrainImage();
            return true;
        default: break;
    }
    if (GetPaintTray().open) return false;
    Vorn* vorn = VornUnderPointer(input.x, input.y);
    switch (input.code) {
        case win::kKeyR:
        case win::kKeyI:
        case win::kKeyN:
        case win::kKeyH: {
            const int32_t type = input.code == win::kKeyR   ? kEventToggleVornRadar
                                 : input.code == win::kKeyI ? kEventToggleVornConditionals
                                 : input.code == win::kKeyN ? kEventToggleVornPatterns
                                                            : kEventToggleVornHealthGauge;
            // In a mission the enemy's units stay closed, and so do the conditionals and
            // patterns of units the player did not bring from a squad file.
            const bool bySquad = input.code == win::kKeyI || input.code == win::kKeyN;
            const bool allowed =
                vorn != nullptr &&
                (!IsMissionGame() || (vorn->owner == FriendlyPlayer() && (!bySquad || vorn->fromSquad != 0)));
            if (allowed) PostObjectCommand(type, vorn, wrapped);
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
        case win::kKeyG: {
            const Game* game = CurrentGame();
            if (!IsTrainingGame() || (vorn == nullptr && game->DebuggedVorn() == nullptr)) return false;
            // -1 asks to stop debugging: no unit here, or the one already debugged.
            const int32_t number = vorn == nullptr || vorn == game->DebuggedVorn() ? -1 : ObjectNumber(vorn);
            if (Event* event = PostObjectCommand(kEventToggleVornDebug, vorn, wrapped)) event->value = number;
            return true;
        }
        case win::kKeyT: {
            PostEvent(PlacingPlayer() == FriendlyPlayer() ? kEventVornTeamEnemy : kEventVornTeamFriend);
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
        const Vector3 to = MovedPosition(input.x, input.y);
        if (IsSolidKind(carried->kind) && !FitsAt(*carried, to)) {
            carried->PlaceAt(grabStart);
            PlayUiSound("Illegal.ogg");
            mouse.ShowCursor();
            return true;
        }
        PostObjectCommand(kEventEndTranslateObject, carried, to);
        return true;
    }
    if (mouse.mode == kModeTurning && carried != nullptr) {
        PostObjectCommand(kEventEndRotateObject, carried, pointerGroundPoint);
        PlayUiSound("MouseUp.ogg");
        return true;
    }
    return HandleDrop(input);
}

Vector3 ArenaWindow::MovedPosition(int32_t x, int32_t y) {
    if (gArena == nullptr) return pointerGroundPoint - grabOffset;
    const Vector3 grabbed = gArena->PickTerrainPoint(camera->GetPickRay(Vector2(float(x), float(y))), grabHeightOffset);
    Vector3 to = grabbed - grabOffset;
    to.z = gArena->GetGroundHeight(to.x, to.y) + objectHeightOffset;
    return to;
}

bool ArenaWindow::FitsAt(const WorldObject& object, const Vector3& point) const {
    if (gArena == nullptr) return true;
    const CollisionShape shape = gArena->ShapeOnGround(object.kind, Vector2(point.x, point.y), object.GetRadius());
    return gArena->IsPlaceFree(shape, &object);
}

bool ArenaWindow::DropFits(int32_t kind, float radius) const {
    if (gArena == nullptr) return false;
    if (kind == kKindGoal) return true;
    const Vector2 at(pointerGroundPoint.x, pointerGroundPoint.y);
    return gArena->IsPlaceFree(gArena->ShapeOnGround(kind, at, radius), nullptr);
}

void ArenaWindow::MarkBlockedDrop() {
    Mouse& mouse = GetMouse();
    if (GetWindowManager().WindowAt(mouse.position) != this) return;
    const bool ctrl = Held(win::kKeyControl);
    bool blocked = false;
    switch (mouse.mode) {
        case kModeChassis: blocked = !ctrl && !DropFits(kKindVorn, ChassisRadius(mouse.dragIndex)); break;
        case kModeSavedVorn:
            blocked = !ctrl && !DropFits(kKindVorn, ChassisRadius(SavedVornChassis(mouse.dragText)));
            break;
        case kModeObject: blocked = !ctrl && !DropFits(GetObjectTray().carriedKind, 0.0f); break;
        case kModeMoving: {
            // Warned before the release puts a solid object back where it came from.
            const WorldObject* carried = static_cast<const WorldObject*>(mouse.dragObject);
            blocked = carried != nullptr && IsSolidKind(carried->kind) &&
                      !FitsAt(*carried, MovedPosition(mouse.position.x, mouse.position.y));
            break;
        }
        case kModeKillTrayVorn: {
            const Vorn* vorn = static_cast<const Vorn*>(mouse.dragObject);
            blocked = vorn != nullptr && !DropFits(kKindVorn, vorn->GetRadius());
            break;
        }
        default: return;
    }
    if (blocked) mouse.drawMarkers = 1;
}

// A drop out of a tray; after it the pointer carries nothing.
bool ArenaWindow::HandleDrop(const InputEvent& input) {
    Mouse& mouse = GetMouse();
    const bool ctrl = Held(win::kKeyControl);
    const Vector3 ground = pointerGroundPoint;
    const Point screen(input.x, input.y);
    bool refused = false;
    switch (mouse.mode) {
        case kModeChassis: {
            const int32_t chassis = mouse.dragIndex;
            if (ctrl) {
                PostCountMenu(kEventOpenChassisCountMenu, chassis, screen, ground);
            } else if (DropFits(kKindVorn, ChassisRadius(chassis))) {
                if (Event* event = PostEventInt(kEventPlaceNewChassis, chassis)) {
                    event->text = ChassisMarkerName(chassis, PlacingPlayer());
                    event->position3 = ground;
                    event->position2 = Vector2(ground.x, ground.y);
                }
            } else {
                refused = true;
            }
            break;
        }
        case kModeSavedVorn:
            if (ctrl) {
                if (Event* event = PostCountMenu(kEventOpenVornCountMenu, 0, screen, ground)) {
                    event->text = mouse.dragText;
                }
            } else if (DropFits(kKindVorn, ChassisRadius(SavedVornChassis(mouse.dragText)))) {
                if (Event* event = PostEventString(kEventPlaceNewVorn, mouse.dragText)) event->position3 = ground;
            } else {
                refused = true;
            }
            break;
        case kModeSquad:
            if (Event* event = PostEventString(kEventPlaceNewSquad, mouse.dragText)) event->position3 = ground;
            break;
        case kModeObject: {
            const ObjectTray& tray = GetObjectTray();
            if (!IsPlaceableKind(tray.carriedKind)) break;
            if (ctrl) {
                if (Event* event = PostCountMenu(kEventOpenObjectCountMenu, 0, screen, ground)) {
                    event->point = Point(tray.carriedKind, tray.carriedVariant);
                    event->position2 = Vector2(float(input.x), float(input.y));
                }
            } else if (DropFits(tray.carriedKind, 0.0f)) {
                if (Event* event = PostEventVector(kEventPlaceNewObject, ground)) {
                    event->point = Point(tray.carriedKind, tray.carriedVariant);
                    event->position2 = Vector2(ground.x, ground.y);
                }
            } else {
                refused = true;
            }
            break;
        }
        case kModeKillTrayVorn: {
            Vorn* vorn = static_cast<Vorn*>(mouse.dragObject);
            if (vorn != nullptr && DropFits(kKindVorn, vorn->GetRadius())) {
                PostObjectCommand(kEventRestoreKillTrayVorn, vorn, ground);
            } else {
                refused = true;
            }
            break;
        }
        default:
            if (mouse.mode == Mouse::kModeNothing) return false;
            break;
    }
    if (refused) PlayUiSound("Illegal.ogg");
    mouse.ShowCursor();
    return true;
}

Event* ArenaWindow::PostCountMenu(int32_t type, int32_t value, const Point& screen, const Vector3& ground) {
    PlayUiSound("MouseUp.ogg");
    Event* event = PostEventPoint(type, screen);
    if (event == nullptr) return nullptr;
    event->value = value;
    event->position3 = ground;
    return event;
}

void ArenaWindow::TickEdgeScroll() {
    const Mouse& mouse = GetMouse();
    if (!fullScreen || !ScrollsAtEdges(mouse.mode)) return;
    const Point p = mouse.position;
    Vector2 heading(camera->motionMode == WindowCamera::kTilted ? camera->direction.x : camera->up.x,
                    camera->motionMode == WindowCamera::kTilted ? camera->direction.y : camera->up.y);
    if (heading.Length() > 0.00001f) heading.Normalize();
    const Vector2 across(-heading.y, heading.x);
    Vector2 direction;
    int32_t depth = 0;
    if (p.x < left + kEdgeMargin) {
        direction = direction + across;
        depth = left + kEdgeMargin - p.x;
    }
    if (p.x > right - kEdgeMargin) {
        direction = direction - across;
        depth = p.x - right + kEdgeMargin;
    }
    if (p.y < top + kEdgeMargin) {
        direction = direction + heading;
        depth = top + kEdgeMargin - p.y;
    }
    if (p.y > bottom - kEdgeMargin) {
        direction = direction - heading;
        depth = p.y - bottom + kEdgeMargin;
    }
    if (depth == 0 || mouse.active == 0) {
        edgeScrollArmed = false;
        return;
    }
    if (!edgeScrollArmed) {
        edgeScrollArmed = true;
        edgeScrollDelay = kEdgeScrollDelay;
    }
    edgeScrollDelay -= FrameTime();
    if (edgeScrollDelay > 0.0f || direction.Length() < 0.00001f) return;
    direction.Normalize();
    const float step = kEdgeScrollSpeed * FrameTime() * float(depth) / float(kEdgeMargin);
    PostCameraVector(CameraCommand::SetCameraTargetPositionDirect,
                     camera->lookAt + Vector3(direction.x, direction.y, 0.0f) * step);
}

// Only the drags that end on the battlefield: a pattern carried between the unit
// editor's slots, or a point dragged in the pattern editor, ends in its own window, which
// must see the release to let go of the pointer.
bool ArenaWindow::EndsOnBattlefield(int32_t mode) const {
    if (bandActive) return true;
    switch (mode) {
        case kModeChassis:
        case kModeSavedVorn:
        case kModeSquad:
        case kModeObject:
        case kModeMoving:
        case kModeTurning:
        case kModeKillTrayVorn: return true;
        default: return false;
    }
}

bool ArenaWindow::TakeDragRelease(const InputEvent& input) {
    if (!input.IsKeyUp(kInputButtonLeft)) return false;
    // A stroke begun on the field ends wherever the button is let go, over a tray too.
    if (painting) {
        EndPaintStroke();
        return true;
    }
    if (!EndsOnBattlefield(GetMouse().mode)) return false;
    pointerGroundPoint = PointerGroundPoint(input.x, input.y);
    return HandleLeftRelease(input);
}

void ArenaWindow::ReleaseCameraKeys() { camera->ReleaseHeldKeys(); }

void ArenaWindow::EndPaintStroke() {
    painting = false;
    if (GetMiniMap().open) GetMiniMap().UpdateTerrainImage();
}

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
