#pragma once
// The pattern editor: a top view of one pattern of one unit, with the unit at the centre,
// its path points, actions, objects and terrain tests, and around it the palettes of
// switches, objects and terrain tests and the priority button. Every edit is posted as an
// event naming what it touches (object kinds by name and ordinal) and carried out when
// the game hands it back, so that tutorial scripts can expect and replay it.
#include <cstdint>

#include "core/Array.h"
#include "core/Image.h"
#include "core/IntRect.h"
#include "core/Vector2.h"
#include "engine/Camera.h"
#include "engine/TextureHandle.h"
#include "ui/TimerEditBox.h"
#include "ui/Window.h"
#include "units/MapConditional.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"

class Action;
class PathPoint;
class SpriteGrid;
class Vorn;
struct Sprite;

class PatternWindow : public Window, public PatternChangeListener {
public:
    static constexpr int32_t kWidth = 464;
    static constexpr int32_t kHeight = 430;
    static constexpr int32_t kMargin = 32;
    static constexpr int32_t kButtonSize = 32;
    static constexpr float kAreaWidth = 50.0f;
    static constexpr int32_t kPriorityDigits = 10;

    // Pointer drag modes of the editor (the mouse's carry mode while dragging).
    enum DragKind : int32_t {
        kDragNewObject = 0,
        kDragNewMapConditional = 1,
        kDragNewActionTarget = 5,
        kDragActionTarget = 6,
        kDragPathPoint = 7,
        kDragPathPointFacing = 8,
        kDragObject = 10,
        kDragMapConditional = 11,
        kDragObjectFacing = 12,
    };
    // The hover candidate lists, in the order the wheel steps through them.
    enum HoverList : int32_t {
        kListPathPoints = 0,
        kListObjects,
        kListMapConditionals,
        kListActions,
        kListPathPointFacings,
        kListObjectFacings,
        kListCount
    };

    PatternWindow();

    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void OnClose() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    void GetToolTip() override;

    // Shows the pattern of the unit (both may be none) and forgets every hovered,
    // selected and dragged element of the last one.
    void SetVornPattern(Vorn* unit, Pattern* shown);
    // Own-unit colours when true; the friend and enemy palette images change places.
    void SetEditMode(bool ownUnit);
    // After every change: layout, pulse, the unit marked edited and its choice reset.
    void ApplyChanges() override;
    // The timer box's new action, never given its timer, leaves the pattern.
    void DropAction(Action* action) override;

    // The screen rectangle of the diagram and the conversions between its pixels and
    // pattern coordinates (+x up, +y left on the screen).
    IntRect ViewRect() const;
    Vector2 ScreenToPattern(const Point& p) const;
    Vector2 PatternToScreen(const Vector2& p) const;
    float PixelsPerUnit() const;

    // Which palette entries the local player has unlocked for this unit.
    bool IsConditionalOffered(int32_t flag) const;
    bool IsObjectOffered(int32_t kind) const;
    bool IsTerrainOffered(int32_t test) const;
    bool IsPriorityOffered() const;

    // The action menu's choice: a new action of the kind on the path point (refused with
    // a message when the point holds 8). An aimed action's target follows the pointer
    // from the click point until the next left release.
    void AddAction(PathPoint* point, int32_t kind, const Vector2& clickPoint, const Point& screen);

    // The hover pass over the pattern at the pointer (pattern coordinates).
    void UpdateHover(const Vector2& p);
    int32_t DragMode() const;
    bool IsIdle() const;

    Vorn* vorn = nullptr;
    Pattern* pattern = nullptr;
    bool ownUnitMode = true;

    // Hover state.
    Array<PathPoint*> hoverPathPoints;
    Array<PatternObject*> hoverObjects;
    Array<MapConditional*> hoverMapConditionals;
    Array<Action*> hoverActions;
    Array<PathPoint*> hoverActionPoints;
    Array<PathPoint*> hoverFacings;
    Array<PatternObject*> hoverObjectFacings;
    PathPoint* currentPathPoint = nullptr;
    PatternObject* currentObject = nullptr;
    MapConditional* currentMapConditional = nullptr;
    Action* currentAction = nullptr;
    PathPoint* currentActionPoint = nullptr;
    PathPoint* currentFacing = nullptr;
    PatternObject* currentObjectFacing = nullptr;
    int32_t hoveredProperty = -1;
    Action* ringAction = nullptr;
    PathPoint* ringActionPoint = nullptr;
    PathPoint* pressedPathPoint = nullptr;
    PatternObject* pressedObject = nullptr;
    Action* pressedAction = nullptr;
    int32_t selection[kListCount] = {-1, -1, -1, -1, -1, -1};
    bool freeHover = true;
    bool overStack = false;
    int32_t cycleOffset = 0;
    Vector2 dragOffset;

    // Drag state: what is carried and where an object or terrain test started.
    PathPoint* dragPathPoint = nullptr;
    PatternObject* dragObject = nullptr;
    MapConditional* dragMapConditional = nullptr;
    Action* dragAction = nullptr;
    Vector2 dragStart;
    PatternObject scratchObject;
    MapConditional scratchMapConditional;

    SpriteGrid* conditionalGrid = nullptr;
    SpriteGrid* priorityGrid = nullptr;
    SpriteGrid* objectGrid = nullptr;
    SpriteGrid* terrainGrid = nullptr;

private:
    // Input (PatternWindowInput.cpp).
    bool HandleLeftPress(const InputEvent& input, const Vector2& p);
    bool HandleRightPress(const Point& screen);
    bool HandleRightRelease(const Point& screen, const Vector2& p);
    bool HandleDeleteKey();
    bool HandleDragRelease(const Point& screen, const Vector2& p);
    bool HandleIdleLeftRelease(const Point& screen);
    bool HandleDoubleClick(const Vector2& p);
    void HandleDragMove(const Vector2& p);
    void ReleaseObjectDrag(const Vector2& p);
    void ReleaseMapConditionalDrag(const Vector2& p);
    void RefuseObject(const Vector2& p);
    void ApplyCycle(bool stepFromReverse);
    void ClearSelection();
    int32_t ListSize(int32_t list) const;
    void SelectDefault(bool reverse);
    void StepSelection(int32_t direction);
    void TakeSelectionAsCurrent();
    void KeepCurrentSelected();
    Event* PostObjectEvent(int32_t type, const PatternObject& object, const Vector2& point);
    Event* PostPoint(int32_t type, const Vector2& point);
    // Commands (PatternWindowCommands.cpp).
    bool RunPickCommand(Event& event);
    bool RunPathCommand(Event& event);
    bool RunObjectCommand(Event& event);
    bool RunActionCommand(Event& event);
    bool RunMapCommand(Event& event);
    void StartDrag(int32_t mode, float cursorSize, Sprite* cursor);
    void EndDrag();
    PatternObject* ObjectNamed(const Event& event) const;
    PathPoint* PathPointAt(int32_t index) const;
    Action* ActionAt(const Point& indices, PathPoint** point) const;
    void ForgetElement(const void* element);
    void SetCursorMark(bool refused);
    // The timer box for the action, in front at the screen point; added: the action is new.
    void OpenTimerBox(Action* action, bool added, const Point& screen);
    // Drawing and palettes (PatternWindow.cpp).
    void LayoutPalettes();
    void UpdateSwitchImages();
    void DrawPalettes();
    // The elements under the pointer again, over the diagram, grown while the pointer
    // hovers freely.
    float HoverEmphasis() const;
    void DrawHoveredElements(float zoom) const;
    void DrawFacingHandle(const PathPoint& point, float zoom) const;
    void DrawPathPointAsShown(const PathPoint& point, float zoom) const;
    static void DrawObjectWhole(const PatternObject& object, float zoom);
    static void DrawActionIcon(const Action& action, float zoom);
    static float IconSize(float zoom);
    IntRect PaletteItemRect(const SpriteGrid* grid, int32_t index) const;
    bool HighlightPatternPart(const StringArray& words, Highlighter& highlighter);

    Camera camera_;
    Sprite* conditionalSprites_[kConditionalCount] = {};
    Sprite* prioritySprite_ = nullptr;  // the digit shown
    Sprite* digitSprites_[kPriorityDigits] = {};
    Sprite* objectSprites_[kPatternObjectKindCount] = {};
    Sprite* terrainSprites_[kMapConditionKindCount] = {};
    Sprite* objectCursors_[kPatternObjectKindCount] = {};
    Sprite* terrainCursors_[kMapConditionKindCount] = {};
    Sprite* tile_ = nullptr;
    Sprite* ring_ = nullptr;  // frames the hovered ring action and property icon
    TextureHandle switchOn_[kConditionalCount] = {};
    TextureHandle switchOff_[kConditionalCount] = {};
    uint8_t shownSwitches_[kConditionalCount] = {};
    bool switchesDrawn_ = false;
};

PatternWindow& GetPatternWindow();

// A switch button's picture while the switch is off: the grey pixels of its outer ring
// become transparent, so that only its sign stays.
Image SwitchOffImage(const Image& full);

// The error box shows the text of the key alone, after the refusal sound.
void ShowEditorError(const char* key);
void ShowEditorErrorText(const String& text);
