// The battlefield window's commands: what each event the window posted, or a script or a
// peer posted in its name, does to the battlefield.
#include <cmath>

#include "battlefield/ArenaWindow.h"
#include "battlefield/ChassisPlacingMenu.h"
#include "battlefield/DebugWindow.h"
#include "battlefield/ObjectCountMenu.h"
#include "battlefield/PaintTray.h"
#include "battlefield/PatternWindow.h"
#include "battlefield/SquadTray.h"
#include "battlefield/UserError.h"
#include "battlefield/VornTray.h"
#include "battlefield/VornWindow.h"
#include "core/Angles.h"
#include "core/MathUtil.h"
#include "core/StringStream.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "game/Game.h"
#include "platform/sys/Random.h"
#include "ui/KillTray.h"
#include "ui/SquadNameEditBox.h"
#include "ui/UiServices.h"
#include "ui/VornCountMenu.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/PatternIcons.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/FlyByPoint.h"
#include "world/ObjectKind.h"
#include "world/SoccerBall.h"
#include "world/SolarCharger.h"
#include "world/Tree.h"

namespace {

// Commands after which the camera keeps following what it followed.
bool KeepsFollowing(int32_t type) {
    switch (type) {
        case kEventSetCameraUp:
        case kEventSetCameraView:
        case kEventSetCameraMode:
        case kEventZoomCamera:
        case kEventSetCameraFollowVorn:
        case kEventSetCameraFollowSoccerBall:
        case kEventSetCameraFollowNextFriendVorn:
        case kEventSetCameraFollowPreviousFriendVorn:
        case kEventSetCameraFollowNextEnemyVorn:
        case kEventSetCameraFollowPreviousEnemyVorn:
        case kEventSetCameraFollowMostRecentlyDamagedVorn:
        case kEventEditVorn:
        case kEventPaint:
        case kEventClearFlyByPoints: return true;
        default:
            return type >= kEventSetMouseHighlightObject && type <= kEventVornTeamEnemy &&
                   type != kEventToggleSelectedObject;
    }
}

void Refuse() { PlayUiSound("Illegal.ogg"); }

void OpenCountMenu(Window& menu, const Point& screenPoint) {
    menu.MoveTo(screenPoint);
    GetWindowManager().OpenWindow(&menu);
    GetWindowManager().BringToFront(&menu);
}

Vorn* AsVorn(WorldObject* object) {
    return object != nullptr && object->kind == kKindVorn ? static_cast<Vorn*>(object) : nullptr;
}

// A script or a peer may name an object the arena no longer lists.
WorldObject* ListedObject(WorldObject* object) {
    if (object == nullptr || gArena == nullptr) return nullptr;
    return gArena->FindObjectIndex(object) >= 0 ? object : nullptr;
}

bool DebuggerOpen() { return GetDebugWindow().open; }

bool KillTrayHolds(const KillTray& tray, const WorldObject* object) {
    for (int32_t i = 0; i < tray.VornCount(); ++i) {
        if (tray.GetVorn(i) == object) return true;
    }
    return false;
}

}  // namespace

void ArenaWindow::HandleCommand(Event& event) {
    if (event.type < kEventSetCameraTargetPosition || event.type > kEventRestoreKillTrayVorn) return;
    if (!KeepsFollowing(event.type)) StopFollowing();
    RunCommand(event);
}

void ArenaWindow::RunCommand(Event& event) {
    if (event.type <= kEventZoomCamera) {
        RunCameraCommand(event);
    } else if (event.type <= kEventSetCameraFollowMostRecentlyDamagedVorn) {
        RunFollowCommand(event);
    } else if (event.type >= kEventSetMouseHighlightObject && event.type <= kEventVornTeamEnemy) {
        RunToggleCommand(event);
    } else if (event.type >= kEventPaint) {
        RunPointCommand(event);
    } else if (event.type >= kEventPlaceNewObject && event.type <= kEventDeleteObject) {
        RunObjectCommand(event);
    } else {
        RunPlacingCommand(event);
    }
}

void ArenaWindow::RunCameraCommand(Event& event) {
    WindowCamera& view = *camera;
    switch (event.type) {
        case kEventSetCameraTargetPosition: view.SetTarget(WrapPoint(event.position3)); break;
        case kEventSetCameraTargetPositionDirect:
            view.SetTarget(WrapPoint(event.position3));
            view.SetLookAt(WrapPoint(event.position3));
            break;
        case kEventSetCameraUp: view.SetUp(event.position3); break;
        case kEventSetCameraView: view.SetDirection(event.position3); break;
        case kEventSetCameraMode:
            if (event.value == 2) {
                // Back to the field's own copy, whatever frame the target was left in.
                view.SetTarget(WrapPoint(view.target));
                view.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
            } else if (event.value == kCameraOverhead || event.value == kCameraTilted) {
                SetCameraType(event.value);
            } else {
                Refuse();
            }
            break;
        case kEventZoomCamera:
            if (std::isfinite(event.position2.x)) view.SetZoom(view.zoom + event.position2.x);
            break;
        default: break;
    }
}

void ArenaWindow::RunFollowCommand(Event& event) {
    const Game* game = CurrentGame();
    switch (event.type) {
        case kEventSetCameraFollowVorn:
            SetFollowVorn(AsVorn(ListedObject(event.object)));
            SetFollowObject(nullptr);
            return;
        case kEventSetCameraFollowSoccerBall: SetFollowObject(ListedObject(event.object)); return;
        case kEventSetCameraFollowNextFriendVorn: SetFollowVorn(FindNextTeamVorn(GetFollowVorn(), true)); break;
        case kEventSetCameraFollowPreviousFriendVorn: SetFollowVorn(FindPreviousTeamVorn(GetFollowVorn(), true)); break;
        case kEventSetCameraFollowNextEnemyVorn: SetFollowVorn(FindNextTeamVorn(GetFollowVorn(), false)); break;
        case kEventSetCameraFollowPreviousEnemyVorn: SetFollowVorn(FindPreviousTeamVorn(GetFollowVorn(), false)); break;
        case kEventSetCameraFollowMostRecentlyDamagedVorn:
            SetFollowVorn(game != nullptr ? game->lastDamagedVorn : nullptr);
            break;
        default: return;
    }
    SetFollowObject(nullptr);
}

void ArenaWindow::BeginTranslate(Event& event) {
    WorldObject* object = ListedObject(event.object);
    if (object == nullptr) {
        selection_.Clear();
        return;
    }
    Mouse& mouse = GetMouse();
    mouse.HideCursor(event.type == kEventBeginTranslateObject ? 14 : 15, nullptr);
    mouse.dragObject = object;
    if (event.type == kEventBeginTranslateObject) {
        const Vector3& point = event.position3;
        grabHeightOffset = point.z - gArena->GetGroundHeight(point.x, point.y);
        objectHeightOffset = object->position.z - gArena->GetGroundHeight(object->position.x, object->position.y);
        grabOffset = point - object->position;
        mouse.dragOrigin = Point(int32_t(object->position.x), int32_t(object->position.y));
        grabStart = object->position;
    }
    if (Vorn* vorn = AsVorn(object)) vorn->ResetPatternState();
    ResetVornActionQueues();
}

void ArenaWindow::RotateCarried(const Vector3& point) {
    WorldObject* object = ListedObject(static_cast<WorldObject*>(GetMouse().dragObject));
    if (object == nullptr) return;
    const Vector3 image = gArena->NearestImage(object->position, point);
    const float heading = HeadingBetween(Vector2(object->position.x, object->position.y), Vector2(image.x, image.y));
    if (!std::isfinite(heading)) return;
    if (object->kind == kKindSoccerBall) {
        // The ball's looks come from its rolling rotation, not from a heading.
        static_cast<SoccerBall*>(object)->orientation = Quaternion::FromAxisAngle(Vector3(0.0f, 0.0f, 1.0f), heading);
        ResetVornActionQueues();
        return;
    }
    const float turn = heading - object->heading;
    object->heading = heading;
    switch (object->kind) {
        case kKindTree: static_cast<Tree*>(object)->RotateFires(turn); break;
        case kKindSolarCharger: static_cast<SolarCharger*>(object)->RotateSmokes(turn); break;
        case kKindGoal: object->PlaceAt(object->position); break;
        case kKindVorn: AsVorn(object)->ResetPatternState(); break;
        default: break;
    }
    ResetVornActionQueues();
}

void ArenaWindow::RunObjectCommand(Event& event) {
    Mouse& mouse = GetMouse();
    WorldObject* carried = ListedObject(static_cast<WorldObject*>(mouse.dragObject));
    switch (event.type) {
        case kEventPlaceNewObject:
            // Kind and variant come from a script or a tray: both are checked.
            if (event.point.x < 0 || event.point.x >= kKindNone || event.point.y < 0 || event.point.y > 6) {
                Refuse();
                return;
            }
            gArena->PlaceObjectAt(event.point.x, event.point.y, event.position3);
            PlayUiSound("Thud.ogg");
            mouse.ShowCursor();
            ResetVornActionQueues();
            return;
        case kEventOpenObjectCountMenu: {
            mouse.ShowCursor();
            if (event.point.x < 0 || event.point.x >= kKindNone || event.point.y < 0 || event.point.y > 6) {
                Refuse();
                return;
            }
            ObjectCountMenu& menu = GetObjectCountMenu();
            menu.kind = event.point.x;
            menu.variant = event.point.y;
            menu.placePoint = event.position3;
            OpenCountMenu(menu, Point(int32_t(event.position2.x), int32_t(event.position2.y)));
            return;
        }
        case kEventBeginTranslateObject:
        case kEventBeginRotateObject: BeginTranslate(event); return;
        case kEventTranslateObject:
        case kEventEndTranslateObject:
            if (carried != nullptr && mouse.mode == 14) {
                carried->PlaceAt(event.position3);
                if (Vorn* vorn = AsVorn(carried)) vorn->ResetPatternState();
                if (event.type == kEventEndTranslateObject) PlayUiSound("Thud.ogg");
                ResetVornActionQueues();
            }
            if (event.type == kEventEndTranslateObject) mouse.ShowCursor();
            return;
        case kEventRotateObject:
            if (mouse.mode == 15) RotateCarried(event.position3);
            return;
        case kEventEndRotateObject:
            ResetVornActionQueues();
            mouse.ShowCursor();
            return;
        case kEventDeleteObject:
            if (WorldObject* object = ListedObject(event.object)) {
                object->Remove(0);
                PlayUiSound("Delete.ogg");
                objectRemoved = true;
            }
            return;
        default: return;
    }
}

void ArenaWindow::RunPlacingCommand(Event& event) {
    Mouse& mouse = GetMouse();
    switch (event.type) {
        case kEventPlaceNewVorn:
            if (gArena->PlaceVornAt(event.text, event.position3, PlacingPlayer()) == nullptr) return;
            PlayUiSound("Thud.ogg");
            GetVornTray().MarkMostRecentlyUsed(event.text);
            ResetVornActionQueues();
            return;
        case kEventOpenVornCountMenu: {
            mouse.ShowCursor();
            VornCountMenu& menu = GetVornCountMenu();
            menu.unitName = event.text;
            menu.placePoint = event.position3;
            OpenCountMenu(menu, event.point);
            return;
        }
        case kEventOpenChassisCountMenu: {
            mouse.ShowCursor();
            if (!ChassisTable::IsValid(event.value)) {
                Refuse();
                return;
            }
            ChassisPlacingMenu& menu = GetChassisPlacingMenu();
            menu.chassis = event.value;
            menu.placePoint = event.position3;
            OpenCountMenu(menu, event.point);
            return;
        }
        case kEventEditVorn:
            if (Vorn* vorn = AsVorn(ListedObject(event.object))) EditVorn(vorn);
            return;
        case kEventCopyVorn:
            if (Vorn* vorn = AsVorn(ListedObject(event.object))) CopyVorn(*vorn);
            return;
        case kEventPasteVorn: PasteVorn(); return;
        case kEventPlaceNewChassis:
            if (!ChassisTable::IsValid(event.value)) {
                Refuse();
                return;
            }
            if (gArena->PlaceChassisAt(event.value, event.position3, PlacingPlayer()) == nullptr) return;
            PlayUiSound("Thud.ogg");
            ResetVornActionQueues();
            return;
        case kEventPlaceNewSquad: {
            StringArray leftOut;
            StringArray noRoom;
            gArena->LoadSquadFile(event.text, event.position3, PlacingPlayer(), &leftOut, &noRoom);
            gArena->SetSquadName(event.text);
            PlayUiSound("Thud.ogg");
            GetSquadTray().MarkMostRecentlyUsed(event.text);
            ResetVornActionQueues();
            ShowSquadMembersLeftOut(leftOut, noRoom);
            return;
        }
        case kEventBeginSelectGroup:
            selection_.Clear();
            bandStart = event.position3;
            bandActive = true;
            return;
        case kEventEndSelectGroup: EndSelectGroup(event.position3); return;
        default: return;
    }
}

void ArenaWindow::RunToggleCommand(Event& event) {
    Game* game = CurrentGame();
    WorldObject* object = ListedObject(event.object);
    Vorn* vorn = AsVorn(object);
    switch (event.type) {
        case kEventSetMouseHighlightObject: gArena->mouseHighlight = object; return;
        case kEventToggleSelectedObject:
            if (object == nullptr) return;
            if (IsSelected(object)) {
                Deselect(object);
            } else {
                Select(object);
            }
            return;
        case kEventToggleHelp: helpShown = !helpShown; return;
        case kEventToggleFrameMeter: frameMeterShown = !frameMeterShown; return;
        case kEventToggleVornDebug: ToggleVornDebug(vorn); return;
        case kEventToggleVornRadar:
            if (vorn != nullptr) vorn->showPatternBackground = vorn->showPatternBackground != 0 ? 0 : 1;
            return;
        case kEventToggleVornConditionals:
            if (vorn != nullptr) vorn->showIcons = vorn->showIcons != 0 ? 0 : 1;
            return;
        case kEventToggleVornPatterns:
            if (vorn != nullptr) vorn->showPatternBubble = vorn->showPatternBubble != 0 ? 0 : 1;
            return;
        case kEventToggleVornHealthGauge:
            if (vorn != nullptr) vorn->showHealthBar = vorn->showHealthBar != 0 ? 0 : 1;
            return;
        case kEventToggleCollisions: gArena->collisionDebug = !gArena->collisionDebug; return;
        case kEventOpenConsoleWindow:
            if (Window* console = GetWindowManager().FindWindowByName("ConsoleWindow")) {
                GetWindowManager().OpenWindow(console);
            }
            return;
        case kEventPause:
            if (DebuggerOpen()) {
                Refuse();
            } else if (game != nullptr) {
                game->SetPaused(true);
            }
            return;
        case kEventUnpause:
            if (DebuggerOpen()) {
                Refuse();
                return;
            }
            // The last play point is the moment the game runs again.
            gArena->SaveScenario("__Temp");
            if (game != nullptr) game->SetPaused(false);
            return;
        case kEventVornTeamFriend:
        case kEventVornTeamEnemy:
            // A game that names no sides of its own plays the local player against the
            // computer player.
            gArena->SetPlacingPlayer(event.type == kEventVornTeamFriend ? FriendlyPlayer() : EnemyPlayer());
            return;
        default: return;
    }
}

void ArenaWindow::RunPointCommand(Event& event) {
    const Vector2 point = event.position2;
    switch (event.type) {
        case kEventPaint:
            gArena->ApplyTerrainBrush(Vector3(point.x, point.y, 0.0f), GetPaintTray().brush);
            PlayUiSound("Swish.ogg");
            return;
        case kEventAddLaunchPoint: gArena->ToggleLaunchPoint(point, true); return;
        case kEventClearLaunchPoints:
            gArena->ClearLaunchPoints();
            PlayUiSound("Delete.ogg");
            return;
        case kEventAddFlyByPoint:
            gArena->ToggleFlyByPoint(Vector3(point.x, point.y, 0.0f), true);
            gArena->StartFlyByIfAny();
            return;
        case kEventClearFlyByPoints:
            gArena->ClearFlyByPoints();
            gArena->StartFlyByIfAny();
            PlayUiSound("Delete.ogg");
            return;
        case kEventTestFlyByPoints: TestFlyBy(); return;
        case kEventRestoreKillTrayVorn:
            RestoreKillTrayVorn(event);
            GetMouse().ShowCursor();
            return;
        default: return;
    }
}

void ArenaWindow::TestFlyBy() {
    if (gArena->flyByPoints.Count() == 0) {
        ResetCamera();
        return;
    }
    flyByIndex = 0;
    flyByTime = 0.0f;
    flyByRunning = true;
    gArena->StartFlyBy();
    const Vector3 first = gArena->flyByPoints[0]->position;
    camera->SetTarget(first);
    camera->SetLookAt(first);
}

void ArenaWindow::EditVorn(Vorn* vorn) {
    WindowManager& windows = GetWindowManager();
    DebugWindow& debugger = GetDebugWindow();
    if (debugger.open && debugger.vorn != vorn) windows.CloseWindow(&debugger);
    // It showed a pattern of the unit edited before.
    windows.CloseWindow(&GetPatternWindow());
    VornWindow& editor = GetVornWindow();
    editor.vorn = vorn;
    windows.OpenWindow(&editor);
    // A unit with no drawn copy zooms from the editor's own place.
    IntRect from = editor.Rect();
    UnitScreenRect(*vorn, from);
    if (Game* game = CurrentGame()) game->StartBackgroundFade(from, editor.Rect());
}

// The copy is kept in memory, whole, so that nothing the player did not save appears
// among his unit files, and a paste still works after the source's file has gone.
void ArenaWindow::CopyVorn(Vorn& vorn) {
    StringStream text;
    Vorn::writingOwnFile = true;
    vorn.Save(text);
    Vorn::writingOwnFile = false;
    copiedVorn_ = text.Text();
}

void ArenaWindow::PasteVorn() {
    if (copiedVorn_.IsEmpty() || gArena == nullptr) {
        Refuse();
        return;
    }
    Vorn* vorn = gArena->NewVorn(0);
    StringStream text(copiedVorn_.CStr());
    const Vector2 at(pointerGroundPoint.x, pointerGroundPoint.y);
    const auto fits = [&] {
        const float radius = kChassisRadiusBySize[ChassisTable::SizeClass(vorn->chassisType)];
        return gArena->IsPlaceFree(gArena->ShapeOnGround(kKindVorn, at, radius), nullptr);
    };
    if (!vorn->Load(text) || !vorn->HasValidChassis() || !fits()) {
        // What the reading took from the pools for the patterns (points, actions, pattern
        // objects, map conditions) goes back with the unit.
        vorn->Reset();
        gArena->FreeObject(vorn);
        Refuse();
        return;
    }
    // The paste goes by its source's name, as a unit placed from that file would; an edited
    // source's copy stays edited, so that it is saved whole.
    vorn->SetPlayer(PlacingPlayer());
    vorn->PrepareForBattle();
    vorn->SetAngle(float(sys::Rand()) / float(sys::kRandMax) * 2.0f * kPi);
    vorn->PlaceAt(gArena->GroundPoint(at.x, at.y));
    gArena->AddObject(vorn);
    PlayUiSound("Thud.ogg");
    ResetVornActionQueues();
}

void ArenaWindow::ToggleVornDebug(Vorn* vorn) {
    Game* game = CurrentGame();
    if (game == nullptr) return;
    WindowManager& windows = GetWindowManager();
    game->debugPaused = 0;
    if (vorn != game->DebuggedVorn()) {
        game->SelectVorn(nullptr);
        windows.CloseWindow(&GetDebugWindow());
        game->SelectVorn(vorn);
    } else {
        game->SelectVorn(nullptr);
    }
    ResetPatternPulse();
    VornWindow& editor = GetVornWindow();
    if (game->DebuggedVorn() == nullptr) {
        windows.CloseWindow(&GetDebugWindow());
    } else if (editor.open && editor.vorn != game->DebuggedVorn()) {
        windows.CloseWindow(&editor);
    }
}

void ArenaWindow::RestoreKillTrayVorn(Event& event) {
    KillTray& tray = GetKillTray();
    // Only a unit the kill tray holds can come back; anything else is already listed
    // or was never a casualty.
    if (event.object == nullptr || !KillTrayHolds(tray, event.object)) return;
    Vorn* vorn = static_cast<Vorn*>(event.object);
    gArena->AddObject(vorn);
    tray.RemoveVorn(vorn);
    if (tray.VornCount() == 0) GetWindowManager().CloseWindow(&tray);
    vorn->PlaceAt(event.position3);
    PlayUiSound("Thud.ogg");
    vorn->ResetPatternState();
    // It left the battle destroyed: it comes back rearmed and at full health.
    vorn->RestartInPlace();
    ResetVornActionQueues();
}
