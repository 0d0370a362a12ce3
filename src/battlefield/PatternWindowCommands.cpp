// The pattern editor's commands: each event posted by its pointer layer, or by a
// tutorial script by name, carried out on the pattern. Indices and kinds come from
// scripts as well as from the pointer, so each is checked; an event naming nothing the
// pattern holds is refused with the refusal sound.
#include "battlefield/ActionMenu.h"
#include "battlefield/PatternObjectPropertyMenu.h"
#include "battlefield/PatternWindow.h"
#include "battlefield/PriorityMenu.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "ui/TimerEditBox.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "world/Arena.h"

namespace {
constexpr float kPointCursorSize = 1.4f;
constexpr float kHandleCursorSize = 0.7f;

Vector2 ClampToArea(const Vector2& p) {
    return ClampPointToRect(Vector2(kPatternAreaMin, kPatternAreaMin), Vector2(kPatternAreaMax, kPatternAreaMax), p);
}

void Refuse() { PlayUiSound("Illegal.ogg"); }
void PlaceSound() { PlayUiSound("Thud.ogg"); }
void RemoveSound() { PlayUiSound("Delete.ogg"); }

void OpenInFront(Window& window) {
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&window);
    windows.RaiseWindow(&window);
}

}  // namespace

// The timer's box takes the keys and clicks until it is closed, wherever the pointer is.
void PatternWindow::OpenTimerBox(Action* action, bool added, const Point& screen) {
    TimerEditBox& box = GetTimerEditBox();
    box.action = action;
    box.listener = this;
    box.newAction = added;
    box.MoveTo(screen);
    OpenInFront(box);
    GetWindowManager().BringToFront(&box);
    GetMouse().ShowCursor();
}

void PatternWindow::DropAction(Action* action) {
    if (pattern == nullptr) return;
    for (PathPoint* point : pattern->pathPoints) {
        if (point->actions.Find(action) < 0) continue;
        ForgetElement(action);
        point->RemoveAction(action);
        ApplyChanges();
        return;
    }
}

PathPoint* PatternWindow::PathPointAt(int32_t index) const {
    if (pattern == nullptr || index < 0 || index >= pattern->pathPoints.Count()) return nullptr;
    return pattern->pathPoints[index];
}

Action* PatternWindow::ActionAt(const Point& indices, PathPoint** point) const {
    PathPoint* owner = PathPointAt(indices.x);
    if (owner == nullptr || indices.y < 0 || indices.y >= owner->actions.Count()) return nullptr;
    if (point != nullptr) *point = owner;
    return owner->actions[indices.y];
}

PatternObject* PatternWindow::ObjectNamed(const Event& event) const {
    if (pattern == nullptr) return nullptr;
    for (int32_t kind = 0; kind < kPatternObjectKindCount; ++kind) {
        if (event.text.EqualsNoCase(PatternObjectKindNames[kind])) return pattern->FindObjectOfKind(kind, event.value);
    }
    return nullptr;
}

void PatternWindow::StartDrag(int32_t mode, float cursorSize, Sprite* cursor) {
    if (cursor != nullptr) cursor->SetSize(int32_t(cursorSize * 2.0f * PixelsPerUnit()));
    GetMouse().HideCursor(mode, cursor);
    GetWindowManager().BringToFront(this);
}

void PatternWindow::EndDrag() {
    dragPathPoint = nullptr;
    dragObject = nullptr;
    dragMapConditional = nullptr;
    dragAction = nullptr;
    GetMouse().drawMarkers = 0;
    GetMouse().ShowCursor();
}

void PatternWindow::SetCursorMark(bool refused) { GetMouse().drawMarkers = refused ? 1 : 0; }

// An element leaving the pattern leaves every reference the editor keeps.
void PatternWindow::ForgetElement(const void* element) {
    const auto forget = [element](auto*& reference) {
        if (reference == element) reference = nullptr;
    };
    forget(currentPathPoint);
    forget(currentObject);
    forget(currentMapConditional);
    forget(currentAction);
    forget(currentActionPoint);
    forget(currentFacing);
    forget(currentObjectFacing);
    forget(ringAction);
    forget(ringActionPoint);
    forget(pressedPathPoint);
    forget(pressedObject);
    forget(pressedAction);
    forget(dragPathPoint);
    forget(dragObject);
    forget(dragMapConditional);
    forget(dragAction);
    if (currentAction == nullptr) currentActionPoint = nullptr;
    if (ringAction == nullptr) ringActionPoint = nullptr;
    hoverPathPoints.Clear();
    hoverObjects.Clear();
    hoverMapConditionals.Clear();
    hoverActions.Clear();
    hoverActionPoints.Clear();
    hoverFacings.Clear();
    hoverObjectFacings.Clear();
    ClearSelection();
}

void PatternWindow::HandleCommand(Event& event) {
    if (pattern == nullptr) {
        Window::HandleCommand(event);
        return;
    }
    if (event.type == kEventRotateSelection) {
        cycleOffset += event.value;
        return;
    }
    if (event.type == kEventPickConditional) {
        if (event.value < 0 || event.value >= kConditionalCount) {
            Refuse();
            return;
        }
        uint8_t& flag = pattern->conditionals.flags[event.value];
        flag = flag != 0 ? 0 : 1;
        ApplyChanges();
        return;
    }
    if (event.type == kEventOpenPriorityMenu) {
        PriorityMenu& menu = GetPriorityMenu();
        menu.pattern = pattern;
        menu.listener = this;
        menu.MoveTo(prioritySprite_ != nullptr ? prioritySprite_->GetScreenCenter() : GetCenter());
        OpenInFront(menu);
        return;
    }
    if (RunPickCommand(event) || RunPathCommand(event) || RunObjectCommand(event) || RunActionCommand(event) ||
        RunMapCommand(event))
        return;
    Window::HandleCommand(event);
}

bool PatternWindow::RunPickCommand(Event& event) {
    const Vector2 point = event.position2;
    switch (event.type) {
        case kEventControlPickVorn:
        case kEventPickPatternObjectLookAt: {
            PatternObject* object = ObjectNamed(event);
            if (object == nullptr || !PatternKindInfo(object->kind).facing) {
                Refuse();
                return true;
            }
            if (event.type == kEventControlPickVorn) object->facing = ClampToArea(point);
            dragObject = object;
            currentObjectFacing = object;
            StartDrag(kDragObjectFacing, kHandleCursorSize, nullptr);
            return true;
        }
        case kEventPickPathPoint: {
            PathPoint* picked = currentPathPoint;
            if (picked == nullptr || pattern->FindPathPoint(picked) <= 0) {
                Refuse();
                return true;
            }
            dragPathPoint = picked;
            dragOffset = picked->position - point;
            StartDrag(kDragPathPoint, kPointCursorSize, nullptr);
            return true;
        }
        case kEventControlPickPathPoint: {
            PathPoint* picked = PathPointAt(event.value);
            if (picked == nullptr || event.value == 0) {
                Refuse();
                return true;
            }
            picked->facing = ClampToArea(point);
            dragPathPoint = picked;
            currentFacing = picked;
            dragOffset = Vector2();
            StartDrag(kDragPathPointFacing, kHandleCursorSize, nullptr);
            ApplyChanges();
            return true;
        }
        case kEventPickPathPointLookAt: {
            PathPoint* picked = currentFacing;
            if (picked == nullptr || pattern->FindPathPoint(picked) <= 0 || !picked->HasFacing()) {
                Refuse();
                return true;
            }
            dragPathPoint = picked;
            dragOffset = picked->facing - point;
            StartDrag(kDragPathPointFacing, kHandleCursorSize, nullptr);
            return true;
        }
        case kEventPickPatternObjectIcon:
            if (event.value < 0 || event.value >= kPatternObjectKindCount) {
                Refuse();
                return true;
            }
            scratchObject.Clear();
            scratchObject.kind = event.value;
            scratchObject.SetPosition(point);
            dragOffset = Vector2();
            StartDrag(kDragNewObject, scratchObject.Radius(), objectCursors_[event.value]);
            return true;
        case kEventPickPatternObject: {
            PatternObject* picked = currentObject;
            if (picked == nullptr || picked == pattern->ownObject || picked->kind != event.value) {
                Refuse();
                return true;
            }
            dragObject = picked;
            dragStart = picked->position;
            dragOffset = picked->position - point;
            StartDrag(kDragObject, picked->Radius(), objectCursors_[picked->kind]);
            return true;
        }
        case kEventPickMapConditionalIcon:
            if (event.value < 0 || event.value >= kMapConditionKindCount) {
                Refuse();
                return true;
            }
            scratchMapConditional.Clear();
            scratchMapConditional.kind = event.value;
            scratchMapConditional.position = point;
            dragOffset = Vector2();
            StartDrag(kDragNewMapConditional, kPointCursorSize, terrainCursors_[event.value]);
            return true;
        case kEventPickMapConditional: {
            MapConditional* picked = currentMapConditional;
            if (picked == nullptr || picked->kind != event.value) {
                Refuse();
                return true;
            }
            dragMapConditional = picked;
            dragStart = picked->position;
            dragOffset = picked->position - point;
            StartDrag(kDragMapConditional, kPointCursorSize, terrainCursors_[picked->kind]);
            return true;
        }
        case kEventPickAction: {
            PathPoint* owner = nullptr;
            Action* action = ActionAt(event.point, &owner);
            if (action == nullptr) {
                Refuse();
                return true;
            }
            dragAction = action;
            currentAction = action;
            currentActionPoint = owner;
            dragOffset = action->point - point;
            StartDrag(kDragActionTarget, kPointCursorSize, nullptr);
            return true;
        }
        default: return false;
    }
}

bool PatternWindow::RunPathCommand(Event& event) {
    const Vector2 point = ClampToArea(event.position2);
    switch (event.type) {
        case kEventAddPathPoint: {
            bool full = false;
            if (!pattern->CanAddPathPoint(event.position2, full)) {
                Refuse();
                return true;
            }
            PlaceSound();
            PathPoint* added = pattern->AddPathPoint();
            added->position = point;
            added->facing = point;
            ApplyChanges();
            return true;
        }
        case kEventEditPathPoint: {
            PathPoint* edited = PathPointAt(event.value);
            if (edited == nullptr) {
                Refuse();
                return true;
            }
            ActionMenu& menu = GetActionMenu();
            menu.Prepare(this, edited, vorn, event.position2);
            menu.MoveTo(event.point);
            OpenInFront(menu);
            return true;
        }
        case kEventMovePathPoint:
        case kEventPlacePathPoint:
            if (dragPathPoint == nullptr || (event.type == kEventMovePathPoint && DragMode() != kDragPathPoint)) {
                Refuse();
                return true;
            }
            dragPathPoint->SetPosition(point);
            if (event.type == kEventPlacePathPoint) {
                PlaceSound();
                dragOffset = Vector2();
                EndDrag();
            }
            ApplyChanges();
            return true;
        case kEventDeletePathPoint:
            if (currentPathPoint == nullptr || pattern->FindPathPoint(currentPathPoint) <= 0) {
                Refuse();
                return true;
            }
            RemoveSound();
            {
                PathPoint* removed = currentPathPoint;
                ForgetElement(removed);
                pattern->RemovePathPoint(removed);
            }
            ApplyChanges();
            return true;
        case kEventMovePathPointLookAt:
        case kEventPlacePathPointLookAt:
            if (dragPathPoint == nullptr ||
                (event.type == kEventMovePathPointLookAt && DragMode() != kDragPathPointFacing)) {
                Refuse();
                return true;
            }
            dragPathPoint->facing = point;
            if (event.type == kEventPlacePathPointLookAt) {
                PlaceSound();
                dragOffset = Vector2();
                EndDrag();
            }
            ApplyChanges();
            return true;
        case kEventDeletePathPointLookAt:
            if (currentFacing == nullptr) {
                Refuse();
                return true;
            }
            RemoveSound();
            currentFacing->facing = currentFacing->position;
            ApplyChanges();
            return true;
        default: return false;
    }
}

bool PatternWindow::RunObjectCommand(Event& event) {
    const Vector2 point = event.position2;
    switch (event.type) {
        case kEventAddPatternObject: {
            if (event.value < 0 || event.value >= kPatternObjectKindCount || gArena == nullptr) {
                Refuse();
                return true;
            }
            scratchObject.kind = event.value;
            scratchObject.SetPosition(point);
            bool full = false;
            bool onlyOne = false;
            if (!pattern->CanAddObject(&scratchObject, full, onlyOne)) {
                Refuse();
                return true;
            }
            PlaceSound();
            PatternObject* added = gArena->NewPatternObject();
            added->CopyFrom(scratchObject);
            pattern->AddObject(added);
            ApplyChanges();
            return true;
        }
        case kEventEditPatternObject: {
            PatternObject* edited = currentObject;
            if (edited == nullptr || !PatternKindInfo(edited->kind).facing || edited == pattern->ownObject) {
                Refuse();
                return true;
            }
            PatternObjectPropertyMenu& menu = GetPatternObjectPropertyMenu();
            menu.Prepare(this, edited, ownUnitMode);
            menu.MoveTo(event.point);
            OpenInFront(menu);
            return true;
        }
        case kEventMovePatternObject: {
            const bool scratch = DragMode() == kDragNewObject;
            PatternObject* moved = scratch ? &scratchObject : dragObject;
            if (moved == nullptr || (!scratch && DragMode() != kDragObject)) {
                Refuse();
                return true;
            }
            moved->SetPosition(point);
            if (!scratch) moved->PlaceInside(point);
            bool full = false;
            bool onlyOne = false;
            SetCursorMark(moved->IsInsideArea() && !pattern->CanAddObject(moved, full, onlyOne));
            return true;
        }
        case kEventPlacePatternObject:
            if (dragObject == nullptr || dragObject->kind != event.value) {
                Refuse();
                return true;
            }
            PlaceSound();
            dragObject->SetPosition(point);
            dragOffset = Vector2();
            EndDrag();
            ApplyChanges();
            return true;
        case kEventDeletePatternObject:
            if (currentObject == nullptr || currentObject == pattern->ownObject) {
                Refuse();
                return true;
            }
            RemoveSound();
            {
                PatternObject* removed = currentObject;
                ForgetElement(removed);
                pattern->RemoveObject(removed);
            }
            ApplyChanges();
            return true;
        case kEventMovePatternObjectLookAt:
        case kEventPlacePatternObjectLookAt: {
            PatternObject* object = ObjectNamed(event);
            const bool dragging = event.type == kEventPlacePatternObjectLookAt || DragMode() == kDragObjectFacing;
            if (object == nullptr || object != dragObject || !dragging) {
                Refuse();
                return true;
            }
            object->facing = ClampToArea(point);
            if (event.type == kEventPlacePatternObjectLookAt) {
                PlaceSound();
                dragOffset = Vector2();
                EndDrag();
            }
            ApplyChanges();
            return true;
        }
        case kEventDeletePatternObjectLookAt:
            if (currentObjectFacing == nullptr) {
                Refuse();
                return true;
            }
            RemoveSound();
            currentObjectFacing->facing = currentObjectFacing->position;
            ApplyChanges();
            return true;
        case kEventDeleteProperty: {
            PatternObject* object = event.value >= 0 && event.value < kPatternObjectKindCount
                                        ? pattern->FindObjectOfKind(event.value, event.point.x)
                                        : nullptr;
            if (object == nullptr || event.point.y < 0 || event.point.y >= kPatternPropertyCount) {
                Refuse();
                return true;
            }
            RemoveSound();
            object->SetProperty(event.point.y, false);
            hoveredProperty = -1;
            ApplyChanges();
            return true;
        }
        default: return false;
    }
}

bool PatternWindow::RunActionCommand(Event& event) {
    const Vector2 point = ClampToArea(event.position2);
    switch (event.type) {
        case kEventEditAction: {
            Action* action =
                pressedAction != nullptr ? pressedAction : (currentAction != nullptr ? currentAction : ringAction);
            if (action == nullptr || action->kind != kActionSetTimer) return true;
            OpenTimerBox(action, false, event.point);
            return true;
        }
        case kEventDeleteAction: {
            PathPoint* owner = nullptr;
            Action* action = ActionAt(event.point, &owner);
            if (action == nullptr) {
                Refuse();
                return true;
            }
            RemoveSound();
            ForgetElement(action);
            owner->RemoveAction(action);
            ApplyChanges();
            return true;
        }
        case kEventAddTargetAction:
        case kEventMoveTargetAction:
        case kEventPlaceTargetAction: {
            const int32_t mode = DragMode();
            const bool allowed =
                event.type != kEventMoveTargetAction || mode == kDragNewActionTarget || mode == kDragActionTarget;
            if (dragAction == nullptr || !allowed) {
                Refuse();
                return true;
            }
            dragAction->point = point;
            if (event.type != kEventMoveTargetAction) {
                PlaceSound();
                dragOffset = Vector2();
                EndDrag();
            }
            ApplyChanges();
            return true;
        }
        default: return false;
    }
}

bool PatternWindow::RunMapCommand(Event& event) {
    const Vector2 point = event.position2;
    switch (event.type) {
        case kEventAddMapConditional: {
            if (event.value < 0 || event.value >= kMapConditionKindCount || gArena == nullptr) {
                Refuse();
                return true;
            }
            scratchMapConditional.kind = event.value;
            scratchMapConditional.position = point;
            bool full = false;
            if (!pattern->CanAddMapConditional(&scratchMapConditional, full)) {
                Refuse();
                return true;
            }
            PlaceSound();
            MapConditional* added = gArena->NewMapConditional();
            *added = scratchMapConditional;
            pattern->AddMapConditional(added);
            ApplyChanges();
            return true;
        }
        case kEventMoveMapConditional: {
            const bool scratch = DragMode() == kDragNewMapConditional;
            MapConditional* moved = scratch ? &scratchMapConditional : dragMapConditional;
            if (moved == nullptr || (!scratch && DragMode() != kDragMapConditional)) {
                Refuse();
                return true;
            }
            moved->position = point;
            bool full = false;
            SetCursorMark(IsInsidePatternArea(point) && !pattern->CanAddMapConditional(moved, full));
            return true;
        }
        case kEventPlaceMapConditional:
            if (dragMapConditional == nullptr || dragMapConditional->kind != event.value) {
                Refuse();
                return true;
            }
            PlaceSound();
            dragMapConditional->position = point;
            dragOffset = Vector2();
            EndDrag();
            ApplyChanges();
            return true;
        case kEventDeleteMapConditional:
            if (currentMapConditional == nullptr) {
                Refuse();
                return true;
            }
            RemoveSound();
            {
                MapConditional* removed = currentMapConditional;
                ForgetElement(removed);
                pattern->RemoveMapConditional(removed);
            }
            ApplyChanges();
            return true;
        default: return false;
    }
}

// The action menu's choice: a new action on the path point.
void PatternWindow::AddAction(PathPoint* point, int32_t kind, const Vector2& clickPoint, const Point& screen) {
    if (pattern == nullptr || pattern->FindPathPoint(point) < 0) return;
    Action* action = point->actions.Count() < PathPoint::kMaxActions ? point->AddAction() : nullptr;
    if (action == nullptr) {
        ShowEditorError("CannotAddAction");
        return;
    }
    action->kind = kind;
    action->point = point->position;
    if (IsAimedActionKind(kind)) {
        dragAction = action;
        currentAction = action;
        currentActionPoint = point;
        currentPathPoint = nullptr;
        action->point = ClampToArea(clickPoint);
        dragOffset = Vector2();
        StartDrag(kDragNewActionTarget, 1.4f, nullptr);
    } else if (kind == kActionSetTimer) {
        OpenTimerBox(action, true, screen);
    }
    ApplyChanges();
}
