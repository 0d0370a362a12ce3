// The pattern editor's pointer layer: which element is under the pointer when several
// overlap, and how presses, releases, the wheel and the Delete key become its events.
#include "battlefield/PatternWindow.h"

#include <cmath>

#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Action.h"
#include "units/PathPoint.h"

namespace {
bool Held(int32_t code) { return GetMouse().IsKeyHeld(code); }
bool IsPress(const InputEvent& input, int32_t button) { return input.kind == kInputDown && input.code == button; }
bool IsRelease(const InputEvent& input, int32_t button) { return input.kind == kInputUp && input.code == button; }
bool HasFacingKind(const PatternObject* object) { return object != nullptr && PatternKindInfo(object->kind).facing; }

template <typename T>
int IndexIn(const Array<T*>& list, const T* element) {
    for (int i = 0; i < list.Count(); ++i) {
        if (list[i] == element) return i;
    }
    return -1;
}

Vector2 ClampToArea(const Vector2& p) {
    return ClampPointToRect(Vector2(kPatternAreaMin, kPatternAreaMin), Vector2(kPatternAreaMax, kPatternAreaMax), p);
}

Vector2 PullOntoRadar(const Vector2& p) {
    const float lengthSquared = p.LengthSquared();
    if (lengthSquared <= kPatternBoundRadius * kPatternBoundRadius) return p;
    return p * (kPatternClampRadius / std::sqrt(lengthSquared));
}
}  // namespace

// Selection over the six candidate lists taken as one sequence.

int32_t PatternWindow::ListSize(int32_t list) const {
    switch (list) {
        case kListPathPoints: return hoverPathPoints.Count();
        case kListObjects: return hoverObjects.Count();
        case kListMapConditionals: return hoverMapConditionals.Count();
        case kListActions: return hoverActions.Count();
        case kListPathPointFacings: return hoverFacings.Count();
        default: return hoverObjectFacings.Count();
    }
}

void PatternWindow::ClearSelection() {
    for (int32_t& index : selection) index = -1;
}

void PatternWindow::SelectDefault(bool reverse) {
    ClearSelection();
    for (int32_t step = 0; step < kListCount; ++step) {
        const int32_t list = reverse ? kListCount - 1 - step : step;
        const int32_t size = ListSize(list);
        if (size == 0) continue;
        selection[list] = reverse ? 0 : size - 1;
        return;
    }
}

void PatternWindow::StepSelection(int32_t direction) {
    int32_t list = 0;
    while (list < kListCount && selection[list] < 0) ++list;
    if (list == kListCount) {
        SelectDefault(direction > 0);
        return;
    }
    int32_t index = selection[list] + direction;
    ClearSelection();
    while (list >= 0 && list < kListCount) {
        if (index >= 0 && index < ListSize(list)) {
            selection[list] = index;
            return;
        }
        list += direction;
        if (list < 0 || list >= kListCount) break;
        index = direction > 0 ? 0 : ListSize(list) - 1;
    }
    SelectDefault(false);
}

void PatternWindow::KeepCurrentSelected() {
    selection[kListPathPoints] = IndexIn(hoverPathPoints, currentPathPoint);
    selection[kListObjects] = IndexIn(hoverObjects, currentObject);
    selection[kListMapConditionals] = IndexIn(hoverMapConditionals, currentMapConditional);
    selection[kListActions] = IndexIn(hoverActions, currentAction);
    selection[kListPathPointFacings] = IndexIn(hoverFacings, currentFacing);
    selection[kListObjectFacings] = IndexIn(hoverObjectFacings, currentObjectFacing);
}

void PatternWindow::ApplyCycle(bool stepFromReverse) {
    const int32_t offset = cycleOffset;
    cycleOffset = 0;
    if (!stepFromReverse) {
        for (int32_t i = 0; i < -offset; ++i) StepSelection(-1);
        for (int32_t i = 0; i < offset; ++i) StepSelection(1);
        return;
    }
    if (offset == 0) return;
    SelectDefault(offset > 0);
    const int32_t steps = (offset > 0 ? offset : -offset) - 1;
    for (int32_t i = 0; i < steps; ++i) StepSelection(offset > 0 ? 1 : -1);
}

void PatternWindow::TakeSelectionAsCurrent() {
    const auto pick = [&](auto& list, int32_t which) {
        return selection[which] >= 0 ? list[selection[which]] : nullptr;
    };
    currentPathPoint = pick(hoverPathPoints, kListPathPoints);
    currentObject = pick(hoverObjects, kListObjects);
    currentMapConditional = pick(hoverMapConditionals, kListMapConditionals);
    currentAction = pick(hoverActions, kListActions);
    currentActionPoint = pick(hoverActionPoints, kListActions);
    currentFacing = pick(hoverFacings, kListPathPointFacings);
    currentObjectFacing = pick(hoverObjectFacings, kListObjectFacings);
}

void PatternWindow::UpdateHover(const Vector2& p) {
    ClearSelection();
    if (!IsIdle()) {
        freeHover = false;
        cycleOffset = 0;
        return;
    }
    if (pattern == nullptr) return;
    freeHover = true;
    if (currentPathPoint != nullptr && currentPathPoint->InstantActionCount() > 0 &&
        currentPathPoint->HitsActionRing(p)) {
        ringAction = currentPathPoint->ActionIconAt(p);
        ringActionPoint = ringAction != nullptr ? currentPathPoint : nullptr;
        freeHover = false;
    }
    if (currentObject != nullptr && currentObject->PropertyCount() > 0 && currentObject->HitsPropertyRing(p)) {
        hoveredProperty = currentObject->HitPropertyIcon(p);
        freeHover = false;
    }
    if (freeHover) {
        hoveredProperty = -1;
        ringAction = nullptr;
        ringActionPoint = nullptr;
    }
    pattern->PathPointsNear(p, hoverPathPoints);
    pattern->ObjectsNear(p, hoverObjects);
    pattern->MapConditionalsNear(p, hoverMapConditionals);
    pattern->ActionsNear(p, hoverActions, hoverActionPoints);
    pattern->FacingHandlesNear(p, hoverFacings);
    pattern->ObjectHandlesNear(p, hoverObjectFacings);
    int32_t total = 0;
    for (int32_t list = 0; list < kListCount; ++list) total += ListSize(list);
    overStack = total >= (freeHover ? 2 : 1);
    if (freeHover) {
        KeepCurrentSelected();
        bool any = false;
        for (int32_t index : selection) any = any || index >= 0;
        if (!any) {
            SelectDefault(false);
            cycleOffset = 0;
        }
        ApplyCycle(false);
    } else {
        ApplyCycle(true);
        bool any = false;
        for (int32_t index : selection) any = any || index >= 0;
        if (!any) return;
        hoveredProperty = -1;
    }
    TakeSelectionAsCurrent();
}

// Posting.

Event* PatternWindow::PostPoint(int32_t type, const Vector2& point) {
    Event* event = PostEvent(type);
    if (event != nullptr) event->position2 = point;
    return event;
}

Event* PatternWindow::PostObjectEvent(int32_t type, const PatternObject& object, const Vector2& point) {
    Event* event = PostPoint(type, point);
    if (event == nullptr) return nullptr;
    event->value = object.kind;
    if (type == kEventControlPickVorn || type == kEventPickPatternObjectLookAt ||
        type == kEventMovePatternObjectLookAt || type == kEventPlacePatternObjectLookAt) {
        event->text = PatternObjectKindNames[object.kind];
        event->value = pattern->ObjectOrdinal(&object);
    }
    return event;
}

// Input.

bool PatternWindow::HandleMouse(const InputEvent& input) {
    if (Window::HandleMouse(input)) return true;
    if (pattern == nullptr) return false;
    const Point screen(input.x, input.y);
    const Vector2 p = ScreenToPattern(screen);
    const bool idle = IsIdle();
    switch (input.kind) {
        case kInputPointerMove:
            if (!idle) HandleDragMove(p);
            if (ContainsPoint(screen) || !idle) UpdateHover(p);
            return false;
        case kInputFrameTick: pattern->LayoutActionRings(); return false;
        case kInputWheel:
            if (!idle) return true;
            if (Event* event = PostEvent(kEventRotateSelection)) event->value = input.code;
            return true;
        case kInputDoubleClick:
            if (idle && input.code == kInputButtonLeft) return HandleDoubleClick(p);
            return true;
        default: break;
    }
    if (IsRelease(input, kInputButtonLeft)) return idle ? HandleIdleLeftRelease(screen) : HandleDragRelease(screen, p);
    if (!idle) return input.kind == kInputDown || input.kind == kInputUp;
    if (IsPress(input, kInputButtonLeft)) return HandleLeftPress(input, p);
    if (IsPress(input, kInputButtonRight)) return HandleRightPress(screen);
    if (IsRelease(input, kInputButtonRight)) return HandleRightRelease(screen, p);
    if (input.IsKeyDown(Mouse::kCodeDelete)) return HandleDeleteKey();
    return false;
}

bool PatternWindow::HandleLeftPress(const InputEvent& input, const Vector2& p) {
    const Point screen(input.x, input.y);
    conditionalGrid->Press(screen);
    priorityGrid->Press(screen);
    const Action* action = currentAction != nullptr ? currentAction : ringAction;
    const PathPoint* actionPoint = currentAction != nullptr ? currentActionPoint : ringActionPoint;
    if (Held(win::kKeyControl)) {
        if (freeHover && currentPathPoint != nullptr) {
            const int32_t index = pattern->FindPathPoint(currentPathPoint);
            if (index == 0) {
                ShowEditorError("CannotOrientOwnVorn");
                return true;
            }
            if (Event* event = PostPoint(kEventControlPickPathPoint, p)) event->value = index;
        } else if (freeHover && HasFacingKind(currentObject)) {
            PostObjectEvent(kEventControlPickVorn, *currentObject, p);
        }
        PlayUiSound("MouseDown.ogg");
        return true;
    }
    if (freeHover && currentPathPoint != nullptr && pattern->FindPathPoint(currentPathPoint) > 0) {
        PostPoint(kEventPickPathPoint, p);
    } else if (freeHover && currentObject != nullptr && currentObject != pattern->ownObject) {
        PostObjectEvent(kEventPickPatternObject, *currentObject, p);
    } else if (freeHover && currentMapConditional != nullptr) {
        if (Event* event = PostPoint(kEventPickMapConditional, p)) event->value = currentMapConditional->kind;
    } else if (action != nullptr && actionPoint != nullptr) {
        if (Event* event = PostPoint(kEventPickAction, p)) {
            int32_t actionIndex = 0;
            event->point = Point(pattern->FindAction(action, actionIndex), actionIndex);
        }
    } else if (currentFacing != nullptr && pattern->FindPathPoint(currentFacing) > 0 && currentFacing->HasFacing()) {
        PostPoint(kEventPickPathPointLookAt, p);
    } else if (HasFacingKind(currentObjectFacing)) {
        PostObjectEvent(kEventPickPatternObjectLookAt, *currentObjectFacing, p);
    } else if (const int32_t kind = objectGrid->FindItemAt(screen); kind >= 0) {
        if (Event* event = PostPoint(kEventPickPatternObjectIcon, p)) event->value = kind;
    } else if (const int32_t test = terrainGrid->FindItemAt(screen); test >= 0) {
        if (Event* event = PostPoint(kEventPickMapConditionalIcon, p)) event->value = test;
    } else if (conditionalGrid->pressed < 0 && priorityGrid->pressed < 0) {
        return ContainsPoint(screen);
    }
    PlayUiSound("MouseDown.ogg");
    return true;
}

bool PatternWindow::HandleRightPress(const Point& screen) {
    priorityGrid->Press(screen);
    pressedPathPoint = nullptr;
    pressedObject = nullptr;
    pressedAction = nullptr;
    if (freeHover && currentPathPoint != nullptr) {
        pressedPathPoint = currentPathPoint;
    } else if (freeHover && HasFacingKind(currentObject)) {
        pressedObject = currentObject;
    } else if (currentAction != nullptr || ringAction != nullptr) {
        pressedAction = currentAction != nullptr ? currentAction : ringAction;
    } else if (priorityGrid->pressed == 0) {
        GetWindowManager().BringToFront(this);
    } else {
        return ContainsPoint(screen);
    }
    PlayUiSound("MouseDown.ogg");
    return true;
}

bool PatternWindow::HandleRightRelease(const Point& screen, const Vector2& p) {
    const bool onPriority = priorityGrid->Release(screen) == 0;
    PathPoint* point = pressedPathPoint;
    PatternObject* object = pressedObject;
    Action* action = pressedAction;
    pressedPathPoint = nullptr;
    pressedObject = nullptr;
    pressedAction = nullptr;
    if (freeHover && point != nullptr && point == currentPathPoint) {
        if (Event* event = PostPoint(kEventEditPathPoint, p)) {
            event->value = pattern->FindPathPoint(point);
            event->point = screen;
        }
    } else if (freeHover && object != nullptr && object == currentObject) {
        if (Event* event = PostObjectEvent(kEventEditPatternObject, *object, p)) event->point = screen;
    } else if (action != nullptr && (action == currentAction || action == ringAction)) {
        if (Event* event = PostPoint(kEventEditAction, p)) event->point = screen;
    } else if (onPriority) {
        PostEvent(kEventOpenPriorityMenu);
    } else {
        return ContainsPoint(screen);
    }
    PlayUiSound("MouseUp.ogg");
    return true;
}

bool PatternWindow::HandleDeleteKey() {
    if (freeHover && currentPathPoint != nullptr) {
        if (pattern->FindPathPoint(currentPathPoint) == 0) {
            ShowEditorError("CannotDeleteOwnVorn");
        } else {
            PostEvent(kEventDeletePathPoint);
        }
        return true;
    }
    if (freeHover && currentObject != nullptr) {
        PostEvent(kEventDeletePatternObject);
        return true;
    }
    if (freeHover && currentMapConditional != nullptr) {
        PostEvent(kEventDeleteMapConditional);
        return true;
    }
    const Action* action = currentAction != nullptr ? currentAction : ringAction;
    if (action != nullptr) {
        int32_t actionIndex = 0;
        const int32_t pointIndex = pattern->FindAction(action, actionIndex);
        if (Event* event = PostEvent(kEventDeleteAction)) event->point = Point(pointIndex, actionIndex);
    } else if (currentFacing != nullptr) {
        PostEvent(kEventDeletePathPointLookAt);
    } else if (currentObjectFacing != nullptr) {
        PostEvent(kEventDeletePatternObjectLookAt);
    } else if (currentObject != nullptr && hoveredProperty >= 0) {
        if (Event* event = PostEvent(kEventDeleteProperty)) {
            event->value = currentObject->kind;
            event->point = Point(pattern->ObjectOrdinal(currentObject), hoveredProperty);
        }
    } else {
        return false;
    }
    return true;
}

void PatternWindow::RefuseObject(const Vector2& p) {
    if (!IsInsidePatternArea(p)) return;
    bool full = false;
    bool onlyOne = false;
    pattern->CanAddObject(&scratchObject, full, onlyOne);
    if (full) {
        ShowEditorError("CannotAddObject");
    } else if (onlyOne) {
        ShowEditorErrorText(GetLanguageText("PlaceOnlyOne") + " " +
                            GetLanguageText(PatternObjectKindNames[scratchObject.kind]).Lowered() + " " +
                            GetLanguageText("inThisPattern"));
    } else {
        PlayUiSound("Illegal.ogg");
    }
}

void PatternWindow::ReleaseObjectDrag(const Vector2& p) {
    PatternObject& object = *dragObject;
    object.SetPosition(p + dragOffset);
    object.PlaceInside(object.position);
    Vector2 result = object.position;
    bool full = false;
    bool onlyOne = false;
    if (!pattern->CanAddObject(&object, full, onlyOne)) {
        result = dragStart;
        PlayUiSound("Illegal.ogg");
    }
    object.SetPosition(dragStart);
    PostObjectEvent(kEventPlacePatternObject, object, result);
}

void PatternWindow::ReleaseMapConditionalDrag(const Vector2& p) {
    MapConditional& condition = *dragMapConditional;
    Vector2 result = PullOntoRadar(ClampToArea(p + dragOffset));
    condition.position = result;
    bool full = false;
    if (!pattern->CanAddMapConditional(&condition, full)) {
        result = dragStart;
        PlayUiSound("Illegal.ogg");
    }
    condition.position = dragStart;
    if (Event* event = PostPoint(kEventPlaceMapConditional, result)) event->value = condition.kind;
}

bool PatternWindow::HandleDragRelease(const Point& screen, const Vector2& p) {
    const Vector2 clamped = ClampToArea(p + dragOffset);
    switch (DragMode()) {
        case kDragNewObject: {
            scratchObject.SetPosition(p);
            bool full = false;
            bool onlyOne = false;
            if (pattern->CanAddObject(&scratchObject, full, onlyOne)) {
                PostObjectEvent(kEventAddPatternObject, scratchObject, p);
            } else {
                RefuseObject(p);
            }
            break;
        }
        case kDragNewMapConditional: {
            scratchMapConditional.position = p;
            bool full = false;
            if (pattern->CanAddMapConditional(&scratchMapConditional, full)) {
                if (Event* event = PostPoint(kEventAddMapConditional, p)) event->value = scratchMapConditional.kind;
            } else if (IsInsidePatternArea(p)) {
                if (full) {
                    ShowEditorError("CannotAddMapConditional");
                } else {
                    PlayUiSound("Illegal.ogg");
                }
            }
            break;
        }
        case kDragNewActionTarget: PostPoint(kEventAddTargetAction, ClampToArea(p)); break;
        case kDragActionTarget: PostPoint(kEventPlaceTargetAction, clamped); break;
        case kDragPathPoint: PostPoint(kEventPlacePathPoint, clamped); break;
        case kDragPathPointFacing: PostPoint(kEventPlacePathPointLookAt, clamped); break;
        case kDragObject:
            if (dragObject != nullptr) ReleaseObjectDrag(p);
            break;
        case kDragMapConditional:
            if (dragMapConditional != nullptr) ReleaseMapConditionalDrag(p);
            break;
        case kDragObjectFacing:
            if (dragObject != nullptr) PostObjectEvent(kEventPlacePatternObjectLookAt, *dragObject, clamped);
            break;
        default: break;
    }
    (void)screen;
    // The place and add events still name what was dragged; they end the drag.
    GetWindowManager().RemoveFromFocusOrder(this);
    GetMouse().drawMarkers = 0;
    GetMouse().ShowCursor();
    return true;
}

bool PatternWindow::HandleIdleLeftRelease(const Point& screen) {
    const int32_t pressedSwitch = conditionalGrid->pressed;
    const int32_t releasedSwitch = conditionalGrid->Release(screen);
    const bool onPriority = priorityGrid->Release(screen) == 0;
    if (releasedSwitch >= 0 && releasedSwitch == pressedSwitch) {
        PostEventInt(kEventPickConditional, releasedSwitch);
        PlayUiSound("MouseUp.ogg");
        return true;
    }
    if (onPriority) {
        PostEvent(kEventOpenPriorityMenu);
        return true;
    }
    return ContainsPoint(screen);
}

bool PatternWindow::HandleDoubleClick(const Vector2& p) {
    bool full = false;
    if (pattern->CanAddPathPoint(p, full)) {
        PostPoint(kEventAddPathPoint, p);
        PlayUiSound("MouseDown.ogg");
        return true;
    }
    if (full && IsInsidePatternArea(p)) {
        ShowEditorError("CannotAddPathPoint");
    } else if (IsInsidePatternArea(p)) {
        PlayUiSound("Illegal.ogg");
    }
    return true;
}

void PatternWindow::HandleDragMove(const Vector2& p) {
    const Vector2 clamped = ClampToArea(p + dragOffset);
    switch (DragMode()) {
        case kDragNewObject: PostObjectEvent(kEventMovePatternObject, scratchObject, p); break;
        case kDragObject: {
            if (dragObject == nullptr) break;
            PatternObject moved;
            moved.kind = dragObject->kind;
            moved.PlaceInside(p + dragOffset);
            PostObjectEvent(kEventMovePatternObject, *dragObject, moved.position);
            break;
        }
        case kDragNewMapConditional:
            if (Event* event = PostPoint(kEventMoveMapConditional, p)) event->value = scratchMapConditional.kind;
            break;
        case kDragMapConditional:
            if (dragMapConditional == nullptr) break;
            if (Event* event = PostPoint(kEventMoveMapConditional, PullOntoRadar(clamped)))
                event->value = dragMapConditional->kind;
            break;
        case kDragNewActionTarget:
        case kDragActionTarget: PostPoint(kEventMoveTargetAction, clamped); break;
        case kDragPathPoint: PostPoint(kEventMovePathPoint, clamped); break;
        case kDragPathPointFacing: PostPoint(kEventMovePathPointLookAt, clamped); break;
        case kDragObjectFacing:
            if (dragObject != nullptr) PostObjectEvent(kEventMovePatternObjectLookAt, *dragObject, clamped);
            break;
        default: break;
    }
}
