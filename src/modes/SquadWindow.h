#pragma once
// The squad editor: the units of the current squad on a disc of radius 20 seen from
// above. Units come in from the unit tray (one, or several in a circle, a line or at
// random), whole squads from the squad tray; members are moved, turned and deleted.
// Every placement keeps to the squad area, the no-overlap rule and the budget.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "core/Vector3.h"
#include "engine/Camera.h"
#include "engine/TextureHandle.h"
#include "ui/Window.h"

class Mesh;
class Mouse;
class ModelNode;
class Player;
class Squad;
class Vorn;

class SquadWindow : public Window {
public:
    enum Layout : int32_t { kCircle = 0, kLine = 1, kRandom = 2 };
    static constexpr float kPlaceLimit = 19.995f;
    static constexpr float kPointerLimit = 19.9f;
    static constexpr float kPointerLimitSquared = 399.99f;
    static constexpr int32_t kRings = 4;
    static constexpr int32_t kSpotsPerRing = 8;
    static constexpr int32_t kRandomTries = 10;
    static constexpr int32_t kFirstSize = 460;
    static constexpr int32_t kButtonPixels = 32;
    static constexpr float kTextScale = 0.75f;
    static constexpr float kMarkPulse = 1.6f;

    explicit SquadWindow(Player& local);

    void OnOpen() override;
    void OnClose() override;
    void Refresh() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    void GetToolTip() override;

    // The launch screens' budget, less what the squads chosen for launch already take;
    // where no launch tray shows (a lesson's squad editor), less what the edited squad
    // takes.
    int32_t BudgetLeft() const;
    // What a placement into the current squad may spend in all: the budget left and the
    // squad's own cost.
    int32_t SquadBudget() const;
    // The squad edited from now on (the squad tray's edit entry).
    void ShowSquad(Squad* squad);

    // A unit read from its file at the point, facing outward; none (with "Illegal.ogg"
    // when the budget or the file refuses it) when it cannot be placed.
    Vorn* AddUnitAt(const String& fileName, Vector3 point, float radius, int32_t budgetLimit);
    // At the point, else at the first free spot of four rings of eight around it.
    Vorn* PlaceNear(const String& fileName, const Vector3& point, float radius);
    // The count menu's choice: one unit at the drop point, or a circle or line that the
    // next release finishes, or units at random spots.
    void PlaceUnits(const String& fileName, int32_t count, float radius);
    void PlaceLine(const String& fileName, int32_t count, float radius, const Vector3& from, const Vector3& to);
    void PlaceCircle(const String& fileName, int32_t count, float radius, const Vector3& through);
    String BudgetText() const;
    IntRect BudgetRect() const;
    // The budget line's scale: smaller when its numbers would run under the Save and
    // Clear buttons.
    float BudgetScale() const;

    // Where a line or a circle placement tries its units, in order, each kept within the
    // squad area as a placement keeps it.
    static void LinePoints(int32_t count, const Vector3& from, const Vector3& to, Array<Vector3>& points);
    static void CirclePoints(int32_t count, const Vector3& through, Array<Vector3>& points);
    // A row of arrowheads crawling from one point to the other: one per whole unit of
    // ground distance, each at (i + phase) / count of the way, just above the ground.
    // Answers the row's heading.
    static float ArrowRow(const Vector3& from, const Vector3& to, float phase, Array<Vector3>& points);
    // The crawl of the arrow rows and the turn and pulse of the hover rings.
    void AdvanceSpins(float seconds);

    Squad* squad = nullptr;
    int32_t layout = kCircle;
    bool lineDrag = false;
    bool circleDrag = false;
    bool lookAtDrag = false;
    String pendingName;
    int32_t pendingCount = 0;
    float pendingRadius = 0.0f;
    Vector3 dropPoint;
    Array<Vorn*> batch;
    Vector3 batchMidpoint;
    Vector3 pointerPoint;
    Vector3 clampedPointer;
    Vector3 grabOffset;
    Vorn* hoveredMember = nullptr;
    Vorn* carriedMember = nullptr;
    int32_t budget = 0;
    int32_t launchedCost = 0;
    bool launchTrayShown = false;  // as last seen: whether launchedCost holds
    Camera view;
    SpriteGrid* fileButtons = nullptr;
    SpriteGrid* layoutButtons = nullptr;
    float arrowPhase = 0.0f;
    float ringTurn = 0.0f;
    float ringPulse = 0.0f;

private:
    // The pointer shows the refusal marks over a drop that the squad or the budget refuses.
    void MarkRefusedDrop(Mouse& mouse);
    void ForgetMembersShown();
    Vector3 GroundPointAt(int32_t x, int32_t y);
    void TrackPointer(const InputEvent& input);
    bool HandleDragRelease(const InputEvent& input);
    bool HandleLeftPress(const InputEvent& input);
    bool HandleLeftRelease(const InputEvent& input);
    void ReleaseCarried();
    void PickEntry(const String& entry);
    void PlaceMember(const Vector3& position);
    void LoadSquad(const String& squadName);
    void TurnBatchToward(const Vector3& point);
    void StampRecent(const String& unitName) const;
    Point ToScreen(const Vector3& point);
    void DrawPreviews();
    void DrawArrows(const Vector3& from, const Vector3& to);
    void DrawBalls(const Array<Vector3>& points);
    void DrawGroundQuad(Mesh* quad, const Vector3& at, float turn, float scale);
    void DrawMembers();
    void DrawHoverRings();
    void MakeLayoutPictures();
    void TakeLaunchBudget();
    void ShowLayoutPictures();

    Player& local_;
    Mesh* area_ = nullptr;
    Mesh* wedge_ = nullptr;
    Mesh* ring_ = nullptr;
    ModelNode* arrow_ = nullptr;
    ModelNode* ball_ = nullptr;
    // Per layout button: its picture as loaded (the current layout) and without the grey
    // outer ring (the others); the layout they show now, -1 before the first frame.
    TextureHandle layoutPictures_[3] = {};
    TextureHandle plainLayoutPictures_[3] = {};
    int32_t shownLayout_ = -1;
};

SquadWindow& GetSquadWindow();
