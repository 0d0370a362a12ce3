// The pattern editor: construction, palettes, drawing, tool tips and highlights.
#include "battlefield/PatternWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "battlefield/ActionMenu.h"
#include "battlefield/PatternObjectPropertyMenu.h"
#include "battlefield/PriorityMenu.h"
#include "core/Angles.h"
#include "core/IconColors.h"
#include "core/TextTable.h"
#include "core/Tga.h"
#include "engine/AssetPaths.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "ui/ErrorBox.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/Action.h"
#include "units/ChassisTable.h"
#include "units/PathPoint.h"
#include "units/PatternIcons.h"
#include "units/Vorn.h"

namespace {

constexpr float kMarkPulse = 1.6f;
constexpr float kHoverGrowth = 1.5f;
constexpr float kDiagramZoom = 32.0f;
constexpr int32_t kPaletteTopGap = 34;

constexpr const char* kObjectImages[kPatternObjectKindCount] = {
    "TreePatternButton.tga",        "SolarChargerPatternButton.tga", "RockPatternButton.tga",
    "BeaconPatternButton.tga",      "HealthFieldPatternButton.tga",  "GooFieldPatternButton.tga",
    "StaticFieldPatternButton.tga", "FriendPatternIcon.tga",         "EnemyPatternIcon.tga",
    "SoccerBallPatternButton.tga",  "FriendGoalPatternButton.tga",   "EnemyGoalPatternButton.tga"};
constexpr const char* kTerrainImages[kMapConditionKindCount] = {"MapDirtGrassStoneButton.tga",
                                                                "MapSandSnowSwampButton.tga",
                                                                "MapLavaButton.tga",
                                                                "MapWaterButton.tga",
                                                                "MapUpButton.tga",
                                                                "MapDownButton.tga"};
constexpr const char* kSwitchImages[kConditionalCount] = {"Switch1Conditional.tga",
                                                          "Switch2Conditional.tga",
                                                          "SignalConditional.tga",
                                                          "Signal2Conditional.tga",
                                                          "InjuredConditionalButton.tga",
                                                          "OutOfAmmoButton.tga",
                                                          "OutOfAmmo2Button.tga",
                                                          "ReloadingButton.tga",
                                                          "Reloading2Button.tga",
                                                          "TimerRunningConditionalButton.tga",
                                                          "TimerExpiredConditionalButton.tga",
                                                          "HasBallButton.tga"};
constexpr Color kSwitchOffTint = Color(0xFF606060);
constexpr Color kWhite = Color(0xFFFFFFFF);

Player& LocalPlayer() { return GetLocalPlayer(); }

SpriteGrid* MakeGrid(int32_t perRow) {
    SpriteGrid* grid = GetRenderer().CreateSpriteGrid();
    grid->SetLayoutMode(SpriteGrid::kLayoutRows);
    grid->SetItemsPerRow(perRow);
    grid->SetSpacing(0);
    return grid;
}

Sprite* ButtonSprite(const char* image) {
    return CreateUiSprite(PatternWindow::kButtonSize, PatternWindow::kButtonSize, image, Sprite::kAnchorCentre);
}

bool IsSmallChassis(const Vorn* unit) { return unit != nullptr && ChassisTable::SizeClass(unit->chassisType) == 0; }

// Words of a highlight request after the first: an index and an optional tail.
int32_t WordInt(const StringArray& words, int index) {
    if (index >= words.Count()) return -1;
    const long value = std::strtol(words[index].CStr(), nullptr, 10);
    return value >= 0 && value <= kMaxPatternObjects * kMaxPathPoints ? int32_t(value) : -1;
}

}  // namespace

Image SwitchOffImage(const Image& full) {
    Image off = full;
    ClearGreyOuterPixels(off);
    return off;
}

void ShowEditorErrorText(const String& text) {
    PlayUiSound("Illegal.ogg");
    ErrorBox& box = GetErrorBox();
    box.message.Clear();
    box.AddLine(text);
    box.WrapText();
    WindowManager& windows = GetWindowManager();
    windows.OpenWindow(&box);
    windows.RaiseWindow(&box);
}

void ShowEditorError(const char* key) { ShowEditorErrorText(GetLanguageText(key)); }

PatternWindow::PatternWindow() : Window("PatternWindow") {
    closeButton = true;
    backgroundShown = true;
    SetRect(IntRect(80, 200, 80 + kWidth - 1, 200 + kHeight - 1));
    camera_.kind = Camera::kOrthographic;
    camera_.viewWidth = kAreaWidth;
    camera_.viewHeight = kAreaWidth;
    camera_.nearPlane = 0.1f;
    camera_.farPlane = 1000.0f;
    camera_.SetPosition(Vector3(0.0f, 0.0f, 100.0f));
    camera_.SetDirection(Vector3(0.0f, 0.0f, -1.0f));
    camera_.SetUp(Vector3(1.0f, 0.0f, 0.0f));
    scratchObject.Clear();
    scratchMapConditional.Clear();
    Initialize();
}

void PatternWindow::CreateResources() {
    conditionalGrid = MakeGrid(0);
    for (int32_t i = 0; i < kConditionalCount; ++i) {
        conditionalSprites_[i] = ButtonSprite(kSwitchImages[i]);
        conditionalGrid->AddItem(conditionalSprites_[i], ConditionalNames[i], true);
        Image full;
        if (ReadTgaFile(TexturePath(kSwitchImages[i]).CStr(), full) != TgaReadResult::kOk || full.IsEmpty()) continue;
        switchOn_[i] = GetRenderer().CreateTextureImage(full, 1);
        switchOff_[i] = GetRenderer().CreateTextureImage(SwitchOffImage(full), 1);
    }
    priorityGrid = MakeGrid(0);
    for (int32_t digit = 0; digit < kPriorityDigits; ++digit) {
        digitSprites_[digit] = ButtonSprite((String::FromInt(digit) + "Button.tga").CStr());
    }
    prioritySprite_ = digitSprites_[0];
    priorityGrid->AddItem(prioritySprite_, "Priority", true);
    objectGrid = MakeGrid(1);
    for (int32_t i = 0; i < kPatternObjectKindCount; ++i) {
        objectSprites_[i] = ButtonSprite(kObjectImages[i]);
        objectCursors_[i] = ButtonSprite(kObjectImages[i]);
        objectGrid->AddItem(objectSprites_[i], PatternObjectKindNames[i], true);
    }
    terrainGrid = MakeGrid(1);
    for (int32_t i = 0; i < kMapConditionKindCount; ++i) {
        terrainSprites_[i] = ButtonSprite(kTerrainImages[i]);
        terrainCursors_[i] = ButtonSprite(kTerrainImages[i]);
        terrainGrid->AddItem(terrainSprites_[i], MapConditionNames[i], true);
    }
    tile_ = CreateUiSprite(kButtonSize, kButtonSize, "Tile.tga", Sprite::kAnchorTopLeft);
    ring_ = ButtonSprite("ButtonBlackRing.tga");
    const bool own = ownUnitMode;
    ownUnitMode = true;
    SetEditMode(own);
    Refresh();
}

void PatternWindow::ReleaseResources() {
    conditionalGrid = priorityGrid = objectGrid = terrainGrid = nullptr;
    std::fill(std::begin(conditionalSprites_), std::end(conditionalSprites_), nullptr);
    prioritySprite_ = nullptr;
    std::fill(std::begin(digitSprites_), std::end(digitSprites_), nullptr);
    std::fill(std::begin(objectSprites_), std::end(objectSprites_), nullptr);
    std::fill(std::begin(terrainSprites_), std::end(terrainSprites_), nullptr);
    std::fill(std::begin(objectCursors_), std::end(objectCursors_), nullptr);
    std::fill(std::begin(terrainCursors_), std::end(terrainCursors_), nullptr);
    tile_ = nullptr;
    ring_ = nullptr;
    std::fill(std::begin(switchOn_), std::end(switchOn_), nullptr);
    std::fill(std::begin(switchOff_), std::end(switchOff_), nullptr);
    Window::ReleaseResources();
}

void PatternWindow::SetVornPattern(Vorn* unit, Pattern* shown) {
    vorn = unit;
    pattern = shown;
    hoverPathPoints.Clear();
    hoverObjects.Clear();
    hoverMapConditionals.Clear();
    hoverActions.Clear();
    hoverActionPoints.Clear();
    hoverFacings.Clear();
    hoverObjectFacings.Clear();
    currentPathPoint = currentActionPoint = currentFacing = ringActionPoint = pressedPathPoint = nullptr;
    currentObject = currentObjectFacing = pressedObject = nullptr;
    currentMapConditional = nullptr;
    currentAction = ringAction = pressedAction = nullptr;
    dragPathPoint = nullptr;
    dragObject = nullptr;
    dragMapConditional = nullptr;
    dragAction = nullptr;
    hoveredProperty = -1;
    ClearSelection();
    cycleOffset = 0;
    Refresh();
}

void PatternWindow::OnOpen() {
    dragOffset = Vector2();
    ringAction = nullptr;
    ringActionPoint = nullptr;
    pressedPathPoint = nullptr;
    pressedObject = nullptr;
    pressedAction = nullptr;
    Refresh();
}

void PatternWindow::OnClose() {
    if (!IsIdle()) EndDrag();
    // Its menus and the timer box hold elements of the pattern.
    WindowManager& windows = GetWindowManager();
    windows.CloseWindow(&GetActionMenu());
    windows.CloseWindow(&GetPatternObjectPropertyMenu());
    windows.CloseWindow(&GetPriorityMenu());
    // A new timer action whose box closes with the editor was never given its timer.
    TimerEditBox& timerBox = GetTimerEditBox();
    if (timerBox.open) timerBox.Cancel();
    windows.CloseWindow(&timerBox);
}

void PatternWindow::SetEditMode(bool ownUnit) {
    SelectPathIconColours(ownUnit);
    SelectObjectIconColours(ownUnit ? 0 : 1);
    if (ownUnit == ownUnitMode) return;
    ownUnitMode = ownUnit;
    if (objectGrid == nullptr) return;
    const auto swap = [&](int32_t a, int32_t b) {
        Sprite* first = objectGrid->sprites[a];
        objectGrid->SetItemSprite(a, objectGrid->sprites[b]);
        objectGrid->SetItemSprite(b, first);
    };
    swap(kPatternFriend, kPatternEnemy);
    swap(kPatternFriendGoal, kPatternEnemyGoal);
}

void PatternWindow::ApplyChanges() {
    if (pattern == nullptr) return;
    pattern->RebuildLayout();
    pattern->LayoutActionRings();
    ResetPatternPulse();
    if (vorn == nullptr) return;
    vorn->edited = 1;
    vorn->ResetPatternState();
}

IntRect PatternWindow::ViewRect() const { return IntRect(left + kMargin, top + kMargin, right - kMargin, bottom); }

float PatternWindow::PixelsPerUnit() const {
    const IntRect view = ViewRect();
    return float(view.right - view.left) / kAreaWidth;
}

Vector2 PatternWindow::ScreenToPattern(const Point& p) const {
    const IntRect view = ViewRect();
    const float scaleX = float(view.right - view.left) / kAreaWidth;
    const float scaleY = float(view.bottom - view.top) / kAreaWidth;
    const float centreX = float(view.left + view.right) * 0.5f;
    const float centreY = float(view.top + view.bottom) * 0.5f;
    return Vector2((centreY - float(p.y)) / scaleY, (centreX - float(p.x)) / scaleX);
}

Vector2 PatternWindow::PatternToScreen(const Vector2& p) const {
    const IntRect view = ViewRect();
    const float scaleX = float(view.right - view.left) / kAreaWidth;
    const float scaleY = float(view.bottom - view.top) / kAreaWidth;
    const float centreX = float(view.left + view.right) * 0.5f;
    const float centreY = float(view.top + view.bottom) * 0.5f;
    return Vector2(centreX - p.y * scaleX, centreY - p.x * scaleY);
}

bool PatternWindow::IsConditionalOffered(int32_t flag) const {
    if (!LocalPlayer().IsItemAvailable(flag)) return false;
    const bool secondWeapon = flag == kConditionalOutOfAmmo2 || flag == kConditionalReloading2;
    return !(secondWeapon && IsSmallChassis(vorn));
}

bool PatternWindow::IsObjectOffered(int32_t kind) const { return LocalPlayer().IsPatternKindAvailable(kind); }

bool PatternWindow::IsTerrainOffered(int32_t test) const { return LocalPlayer().IsPropertyAvailable(test); }

bool PatternWindow::IsPriorityOffered() const { return LocalPlayer().IsFeatureAvailable(); }

void PatternWindow::Refresh() {
    if (conditionalGrid == nullptr) return;
    for (int32_t i = 0; i < kConditionalCount; ++i) conditionalGrid->SetItemVisible(i, IsConditionalOffered(i));
    priorityGrid->SetItemVisible(0, IsPriorityOffered());
    for (int32_t i = 0; i < kPatternObjectKindCount; ++i) objectGrid->SetItemVisible(i, IsObjectOffered(i));
    for (int32_t i = 0; i < kMapConditionKindCount; ++i) terrainGrid->SetItemVisible(i, IsTerrainOffered(i));
    LayoutPalettes();
    dirty = true;
}

void PatternWindow::LayoutPalettes() {
    conditionalGrid->Layout(Point(left + kMargin, top));
    priorityGrid->Layout(Point(right - kMargin, top));
    objectGrid->Layout(Point(left, top + kPaletteTopGap));
    terrainGrid->Layout(Point(right - kMargin, top + kPaletteTopGap));
}

void PatternWindow::UpdateSwitchImages() {
    if (pattern == nullptr) return;
    for (int32_t i = 0; i < kConditionalCount; ++i) {
        const uint8_t on = pattern->conditionals.flags[i] != 0 ? 1 : 0;
        if (switchesDrawn_ && on == shownSwitches_[i]) continue;
        shownSwitches_[i] = on;
        // Without its picture the button is dimmed while off.
        if (switchOn_[i] == nullptr || switchOff_[i] == nullptr) {
            TintSprite(conditionalSprites_[i], on != 0 ? kWhite : kSwitchOffTint);
            continue;
        }
        conditionalSprites_[i]->SetTexture(on != 0 ? switchOn_[i] : switchOff_[i]);
    }
    switchesDrawn_ = true;
}

void PatternWindow::DrawContents() {
    EnsureResources();
    Renderer& renderer = GetRenderer();
    const IntRect view = ViewRect();
    UseScreenCamera();
    if (tile_ != nullptr) {
        tile_->x = view.left;
        tile_->y = view.top;
        tile_->width = view.right - view.left;
        tile_->height = view.bottom - view.top;
        SetDepthTest(false);
        renderer.DrawSprite(*tile_);
        SetDepthTest(true);
    }
    if (pattern != nullptr) {
        camera_.viewport = view;
        camera_.projectionChanged = true;
        renderer.SetCamera(camera_);
        renderer.ClearViewport(kBackgroundColour, 1.0f, 2);
        renderer.SetWorldTransform(Matrix4());
        PatternDrawParts parts;
        parts.pathPoint = dragPathPoint != nullptr ? dragPathPoint : currentPathPoint;
        parts.pathPointHandle = currentFacing;
        parts.object = dragObject != nullptr ? dragObject : currentObject;
        parts.objectHandle = currentObjectFacing;
        parts.action = dragAction != nullptr ? dragAction : currentAction;
        parts.mapConditional = dragMapConditional != nullptr ? dragMapConditional : currentMapConditional;
        pattern->Draw(kDiagramZoom, parts);
        DrawHoveredElements(kDiagramZoom * HoverEmphasis());
    }
    UseScreenCamera();
    DrawPalettes();
}

float PatternWindow::HoverEmphasis() const { return freeHover && IsIdle() ? kHoverGrowth : 1.0f; }

void PatternWindow::DrawHoveredElements(float zoom) const {
    if (currentObjectFacing != nullptr) DrawObjectWhole(*currentObjectFacing, zoom);
    if (currentFacing != nullptr) {
        DrawFacingHandle(*currentFacing, zoom);
        currentFacing->DrawAimedActions(zoom, false, nullptr);
    }
    if (currentAction != nullptr && currentActionPoint != nullptr) {
        DrawPathPointAsShown(*currentActionPoint, zoom);
        DrawActionIcon(*currentAction, zoom);
    }
    if (currentObject != nullptr) DrawObjectWhole(*currentObject, zoom);
    if (currentPathPoint != nullptr) {
        DrawFacingHandle(*currentPathPoint, zoom);
        currentPathPoint->DrawActionRing(zoom, false, nullptr);
        currentPathPoint->DrawAimedActions(zoom, false, nullptr);
        DrawPathPointAsShown(*currentPathPoint, zoom);
    }
    if (currentMapConditional != nullptr) currentMapConditional->Draw(zoom, 0xFFFFFFFFu);
    if (currentObject != nullptr && hoveredProperty >= 0 && hoveredProperty < kPatternPropertyCount &&
        currentObject->properties[hoveredProperty] != 0) {
        Vector2 places[kPatternPropertyCount];
        currentObject->LayoutPropertyIcons(places);
        currentObject->DrawPropertyIcon(hoveredProperty, zoom);
        DrawPatternSprite(ring_, places[hoveredProperty], IconSize(zoom));
    }
    if (ringAction != nullptr) {
        DrawActionIcon(*ringAction, zoom);
        DrawPatternSprite(ring_, ringAction->point, IconSize(zoom));
    }
}

float PatternWindow::IconSize(float zoom) { return 2.0f * kPatternHitRadius * zoom / kDiagramZoom; }

void PatternWindow::DrawObjectWhole(const PatternObject& object, float zoom) {
    object.DrawFacingLine(zoom);
    object.DrawFacing(zoom);
    object.Draw(zoom, true, false, nullptr);
    object.DrawProperties(zoom);
}

void PatternWindow::DrawFacingHandle(const PathPoint& point, float zoom) const {
    if (!point.HasFacing() || (pattern != nullptr && pattern->FindPathPoint(&point) == 0)) return;
    DrawPatternLine(point.position, point.facing, 0.7f * zoom / kDiagramZoom, 0.2f);
    DrawPatternSprite(CurrentPathIcons().facing, point.facing, kPatternHitRadius * zoom / kDiagramZoom,
                      HeadingBetween(point.position, point.facing));
}

// The unit's own point stands for the unit, so it is shown as the unit's own object.
void PatternWindow::DrawPathPointAsShown(const PathPoint& point, float zoom) const {
    const bool unitPoint = pattern != nullptr && pattern->FindPathPoint(&point) == 0;
    if (unitPoint && pattern->ownObject != nullptr) {
        pattern->ownObject->Draw(zoom, true, false, nullptr);
        return;
    }
    point.Draw(zoom);
}

void PatternWindow::DrawActionIcon(const Action& action, float zoom) {
    if (action.HasKind()) DrawPatternSprite(GetPatternIcons().actionButtons[action.kind], action.point, IconSize(zoom));
}

void PatternWindow::DrawPalettes() {
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    SetDepthTest(false);
    UpdateSwitchImages();
    renderer.DrawSpriteGrid(*objectGrid, true);
    renderer.DrawSpriteGrid(*terrainGrid, true);
    renderer.DrawSpriteGrid(*conditionalGrid, true);
    // The button shows the digit of the priority, kept within the digits there are.
    const int32_t digit = pattern != nullptr ? std::clamp(pattern->priority, 0, kPriorityDigits - 1) : 0;
    if (digitSprites_[digit] != prioritySprite_) {
        prioritySprite_ = digitSprites_[digit];
        priorityGrid->SetItemSprite(0, prioritySprite_);
        priorityGrid->Layout(Point(right - kMargin, top));
    }
    if (priorityGrid->IsShown(0)) renderer.DrawSpriteGrid(*priorityGrid, true);
    renderer.SetBlendOff();
    SetDepthTest(true);
}

void PatternWindow::HitTestControls(const Point& point) {
    if (conditionalGrid != nullptr && IsIdle()) {
        conditionalGrid->UpdateHover(point);
        priorityGrid->UpdateHover(point);
        objectGrid->UpdateHover(point);
        terrainGrid->UpdateHover(point);
    }
    Window::HitTestControls(point);
}

void PatternWindow::GetToolTip() {
    const auto tipFor = [](const SpriteGrid* grid, const String& text) {
        if (grid == nullptr || !grid->IsValidIndex(grid->hovered) || !grid->IsShown(grid->hovered)) return false;
        const IntRect r = grid->sprites[grid->hovered]->GetScreenRect();
        const int32_t growX = (r.right - r.left) / 4;
        const int32_t growY = (r.bottom - r.top) / 4;
        ::GetToolTip().Set(text, IntRect(r.left - growX, r.top - growY, r.right + growX, r.bottom + growY));
        return true;
    };
    for (SpriteGrid* grid : {objectGrid, terrainGrid, conditionalGrid}) {
        if (grid != nullptr && grid->IsValidIndex(grid->hovered) &&
            tipFor(grid, GetLanguageText(grid->names[grid->hovered])))
            return;
    }
    if (tipFor(priorityGrid, GetLanguageText("Priority"))) return;
    Window::GetToolTip();
}

IntRect PatternWindow::PaletteItemRect(const SpriteGrid* grid, int32_t index) const {
    if (grid == nullptr || !grid->IsValidIndex(index) || !grid->IsShown(index)) return IntRect();
    return grid->sprites[index]->GetScreenRect();
}

void PatternWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    if (request.kind != 1 || conditionalGrid == nullptr) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    StringArray words;
    request.name.Split(words, ' ');
    if (words.IsEmpty()) return;
    const String& first = words[0];
    if (first.EqualsNoCase("PatternOutline")) {
        highlighter.AddIntRect(ViewRect(), kMarkPulse);
        return;
    }
    if (first.EqualsNoCase("Priority")) {
        if (priorityGrid->IsShown(0)) highlighter.AddGridItem(*priorityGrid, *prioritySprite_);
        return;
    }
    struct Palette {
        const char* all;
        const char* one;
        SpriteGrid* grid;
    };
    const Palette palettes[] = {{"Objects", "Object", objectGrid},
                                {"MapConditionals", "MapConditional", terrainGrid},
                                {"Conditionals", "Conditional", conditionalGrid}};
    for (const Palette& palette : palettes) {
        if (first.EqualsNoCase(palette.all)) {
            highlighter.AddIntRect(palette.grid->GetBounds(), kMarkPulse);
            return;
        }
        if (!first.EqualsNoCase(palette.one) || words.Count() < 2) continue;
        for (int32_t i = 0; i < palette.grid->Count(); ++i) {
            if (palette.grid->names[i].EqualsNoCase(words[1].CStr()) && palette.grid->IsShown(i))
                highlighter.AddGridItem(*palette.grid, *palette.grid->sprites[i]);
        }
        return;
    }
    if (!HighlightPatternPart(words, highlighter)) Window::GetHighlightShape(request, highlighter);
}

bool PatternWindow::HighlightPatternPart(const StringArray& words, Highlighter& highlighter) {
    const float unit = PixelsPerUnit();
    const auto circle = [&](const Vector2& at, float radius, bool hovered) {
        const Vector2 screen = PatternToScreen(at);
        highlighter.AddCircle(screen, radius * unit * (hovered ? kHoverGrowth : 1.0f), kMarkPulse);
    };
    const String& first = words[0];
    if (first.EqualsNoCase("Radar")) {
        circle(Vector2(), kPatternBoundRadius, false);
        return true;
    }
    if (first.EqualsNoCase("Circle") && words.Count() >= 4) {
        circle(Vector2(words[1].ToFloat(), words[2].ToFloat()), words[3].ToFloat(), false);
        return true;
    }
    if (pattern == nullptr) return false;
    const float diagonal = std::sqrt(2.0f) / 2.0f;
    if (first.EqualsNoCase("PathPoint")) {
        const PathPoint* point = PathPointAt(WordInt(words, 1));
        if (point == nullptr) return true;
        const String tail = words.Count() > 2 ? words[2] : String();
        if (tail.EqualsNoCase("PlusIndicator")) {
            const float d = kPatternHitRadius * diagonal + 0.5f;
            circle(point->position + Vector2(-d, -d), 0.75f, false);
        } else if (tail.EqualsNoCase("ActionRing")) {
            circle(point->position, 4.9f, false);
        } else if (tail.EqualsNoCase("Action")) {
            const int32_t m = WordInt(words, 3);
            if (m >= 0 && m < point->actions.Count()) {
                const Action* action = point->actions[m];
                circle(action->point, kPatternHitRadius, action == currentAction || action == ringAction);
            }
        } else {
            circle(point->position, kPatternHitRadius, point == currentPathPoint);
        }
        return true;
    }
    for (int32_t kind = 0; kind < kPatternObjectKindCount; ++kind) {
        if (!first.EqualsNoCase(PatternObjectKindNames[kind])) continue;
        const PatternObject* object = pattern->FindObjectOfKind(kind, WordInt(words, 1));
        if (object == nullptr) return true;
        const float r = object->Radius();
        const String tail = words.Count() > 2 ? words[2] : String();
        if (tail.EqualsNoCase("OIndicator")) {
            const float d = r * diagonal + 0.5f;
            circle(object->position + Vector2(d, -d), 0.75f, false);
        } else if (tail.EqualsNoCase("PropertyRing")) {
            circle(object->position, 4.9f, false);
        } else if (tail.EqualsNoCase("Property") && words.Count() > 3) {
            Vector2 places[kPatternPropertyCount];
            object->LayoutPropertyIcons(places);
            for (int32_t i = 0; i < kPatternPropertyCount; ++i) {
                if (words[3].EqualsNoCase(PropertyNames[i]) && object->properties[i] != 0)
                    circle(places[i], kPatternHitRadius, object == currentObject && i == hoveredProperty);
            }
        } else {
            circle(object->position, r, object == currentObject);
        }
        return true;
    }
    for (int32_t test = 0; test < kMapConditionKindCount; ++test) {
        if (!first.EqualsNoCase(MapConditionNames[test])) continue;
        const MapConditional* condition = pattern->FindMapConditionalOfKind(test, WordInt(words, 1));
        if (condition != nullptr) circle(condition->position, kPatternHitRadius, condition == currentMapConditional);
        return true;
    }
    return false;
}

int32_t PatternWindow::DragMode() const { return GetMouse().mode; }

bool PatternWindow::IsIdle() const {
    switch (DragMode()) {
        case kDragNewObject:
        case kDragNewMapConditional:
        case kDragNewActionTarget:
        case kDragActionTarget:
        case kDragPathPoint:
        case kDragPathPointFacing:
        case kDragObject:
        case kDragMapConditional:
        case kDragObjectFacing: return false;
        default: return true;
    }
}

PatternWindow& GetPatternWindow() {
    static PatternWindow window;
    return window;
}
