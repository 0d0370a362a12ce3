#pragma once
// The battlefield window: shows the arena through an overhead or a tilted camera, keeps
// the selected objects, lets the camera follow a unit or the ball, and turns the player's
// input into battlefield commands. Every command comes back through HandleCommand as an
// event, so that tutorials and network games can watch or script it by name.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "core/Vector3.h"
#include "engine/CameraCommandTarget.h"
#include "engine/OverheadCamera.h"
#include "engine/TiltedCamera.h"
#include "ui/ToolkitWindows.h"
#include "ui/Window.h"
#include "world/ArenaDrawView.h"
#include "world/Terrain.h"

class Event;
class ModelNode;
class Player;
class Vorn;
class WorldObject;

class ArenaWindow : public Window, public CameraCommandTarget, public BattlefieldView, public ArenaDrawView {
public:
    enum CameraMode : int32_t { kCameraOverhead = 0, kCameraTilted = 1 };

    ArenaWindow();

    void ReleaseResources() override;
    void OnOpen() override;
    void OnClose() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;

    bool IsOpen() const override { return open; }
    bool TakeDragRelease(const InputEvent& input) override;
    bool WantsKeyHelp() const override { return helpShown; }
    void AimCamera(const Vector3& lookFrom, const Vector3& target) override;
    void ReleaseCameraKeys() override;

    float FrameTime() const override;
    void PostCameraVector(CameraCommand command, const Vector3& value) override;
    void PostCameraZoom(float heightChange, int32_t notches) override;

    // The selection: each object at most once, in the order selected. Selecting opens
    // the selection tray; deselecting the last entry closes it.
    bool IsSelected(const WorldObject* object) const;
    void Select(WorldObject* object);
    void Deselect(const WorldObject* object);
    void ClearSelection();
    const Array<WorldObject*>& Selection() const { return selection_; }
    void DeleteSelection();
    void ToggleVIPStatusSelection();
    // Pulls the selected units into a circle of radius 20 when they spread wider, each onto
    // free ground; one that finds none stays where it stood, and no other forms onto it.
    // The answer is the centre of their bounding circle.
    Vector3 FormSquadSelection();

    // What the camera follows; every change lets both cameras' springs come to rest.
    void SetFollowVorn(Vorn* vorn);
    Vorn* GetFollowVorn() const { return followVorn_; }
    void SetFollowObject(WorldObject* object);
    WorldObject* GetFollowObject() const { return followObject_; }
    void StopFollowing();

    void SetCameraType(int32_t mode);
    int32_t CameraType() const { return camera == &overhead_ ? kCameraOverhead : kCameraTilted; }
    WindowCamera& CurrentCamera() { return *camera; }
    void ResetCameras();
    void ResetCamera();
    void ResetToTiltedCamera();
    // The terrain point under (x, y) of the screen becomes the camera's target and look-at.
    void LookAtPoint(int32_t x, int32_t y);
    // The camera looks at the middle of the player's units, facing the arena's centre:
    // a squad just landed is the first thing its player sees.
    void LookAtUnitsOf(const Player& owner);
    // The four points where the view meets the plane at that height.
    void ViewCornersAtHeight(float height, Vector3 (&corners)[4]) const override;
    // The target's image in the eye's frame: the eye is kept inside the field, the target
    // may lie in another copy of it (a field shrunk under the camera).
    Vector3 CameraTarget() const override;
    bool ShowsPointMarkers() const override;
    bool HighlightsUnderMouse() const override;
    void SelectedObjects(Array<WorldObject*>& out) const override { out = selection_; }
    WorldObject* EditedUnit() const override;
    // One arrow per unit of length from start to end, crawling with the pulse phase.
    void DrawGroundLine(const Vector3& start, const Vector3& end);

    // The screen rectangle of the unit's wrapped copy in view nearest the pointer; false
    // when no copy is in view.
    bool UnitScreenRect(const Vorn& unit, IntRect& rect);

    // Drops every reference the window keeps to an object leaving the arena.
    void ForgetObject(const WorldObject* object);
    // The paint stroke is over: the mini-map shows what it painted.
    void EndPaintStroke();
    // Another player takes the seat: the unit copied for the one before is not his to paste.
    void ForgetCopiedVorn() { copiedVorn_.Clear(); }

    // The game's first player (the local player without a game) and its opponent.
    static Player* FriendlyPlayer();
    static Player* EnemyPlayer();
    // The team new units join: the arena's placing team, else the friendly player.
    static Player* PlacingPlayer();

    // Walk the arena's list round once from the unit after (or before) the given one and
    // answer the first unit of the friendly player (or of anyone else).
    static Vorn* FindNextTeamVorn(const Vorn* after, bool friendly);
    static Vorn* FindPreviousTeamVorn(const Vorn* before, bool friendly);

    // The frame's work outside the commands: edge scrolling and camera follow.
    void TickEdgeScroll();
    void TickFollow();

    Vorn* rightPressedVorn = nullptr;  // the unit under the last right press
    bool objectRemoved = false;
    bool helpShown = false;
    bool frameMeterShown = false;
    bool bandActive = false;
    bool painting = false;  // a paint stroke begun on the field, until the left button is let go
    bool flyByRunning = false;
    int32_t flyByIndex = 0;
    float flyByTime = 0.0f;
    Vector3 bandStart;
    float grabHeightOffset = 0.0f;
    float objectHeightOffset = 0.0f;
    Vector3 grabOffset;
    Vector3 grabStart;  // where a moved object goes back to when its drop is refused
    float edgeScrollDelay = 0.0f;
    bool edgeScrollArmed = false;
    int32_t frameCount = 0;
    float frameMeterTime = 0.0f;
    float framesPerSecond = 0.0f;
    Color frameMeterColour = Color(0xFF00FF00);
    String frameMeterText;
    float pulsePhase = 0.0f;
    float circlePhase = 0.0f;
    Array<TerrainPoint> brushMarkers;

private:
    float ScreenRadius(const Vector3& centre, float radius);
    void MarkGroundCircle(const Vector3& centre, float radius, Highlighter& highlighter);
    void LoadMarkerModels();
    void StepCamera();
    void SetSoundListener();
    void DrawBrushMarkers();
    void DrawBandCircle();
    void DrawMarkerAt(ModelNode* model, const Vector3& point, float angle);
    void UpdateFrameMeter();
    void DrawPointerCoordinates();
    bool HandleDrop(const InputEvent& input);
    bool EndsOnBattlefield(int32_t mode) const;
    Event* PostCountMenu(int32_t type, int32_t value, const Point& screen, const Vector3& ground);
    bool DropFits(int32_t kind, float radius) const;
    bool FitsAt(const WorldObject& object, const Vector3& point) const;
    Vector3 MovedPosition(int32_t x, int32_t y);
    void MarkBlockedDrop();
    void RunCommand(Event& event);
    void RunCameraCommand(Event& event);
    void RunFollowCommand(Event& event);
    void RunObjectCommand(Event& event);
    void RunPlacingCommand(Event& event);
    void RunToggleCommand(Event& event);
    void RunPointCommand(Event& event);
    void EndSelectGroup(const Vector3& end);
    void BeginTranslate(Event& event);
    void RotateCarried(const Vector3& point);
    void EditVorn(Vorn* vorn);
    void CopyVorn(Vorn& vorn);
    void PasteVorn();
    void ToggleVornDebug(Vorn* vorn);
    void RestoreKillTrayVorn(Event& event);
    void TestFlyBy();
    Vector3 WrapPoint(const Vector3& point) const;
    Vector3 PointerGroundPoint(int32_t x, int32_t y);
    WorldObject* ObjectUnderPointer(int32_t x, int32_t y);
    Vorn* VornUnderPointer(int32_t x, int32_t y);
    bool HandleKey(const InputEvent& input);
    bool HandleLeftRelease(const InputEvent& input);
    bool HandleLeftPress(const InputEvent& input);
    Event* PostObjectCommand(int32_t type, WorldObject* object, const Vector3& point);
    void PostGroundPoint(int32_t type, const Vector3& point);

    OverheadCamera overhead_;
    TiltedCamera tilted_;
    Array<WorldObject*> selection_;
    Vorn* followVorn_ = nullptr;
    WorldObject* followObject_ = nullptr;
    bool markersLoaded_ = false;
    ModelNode* ballMarker_ = nullptr;
    ModelNode* brushMarker_ = nullptr;
    ModelNode* arrowMarker_ = nullptr;
    // The unit copied last, in its file's whole text form; empty before the first copy.
    String copiedVorn_;
};

ArenaWindow& GetArenaWindow();
// Every unit empties its action queue and the game re-chooses its selected unit's
// pattern, so that units choose afresh after an edit of the battlefield.
void ResetVornActionQueues();
