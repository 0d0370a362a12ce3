// The squad editor.
#include "modes/SquadWindow.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "battlefield/LaunchSquadTray.h"
#include "battlefield/LaunchWindow.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/Angles.h"
#include "core/FileHelpers.h"
#include "core/IconColors.h"
#include "core/Image.h"
#include "core/MathUtil.h"
#include "core/Quaternion.h"
#include "core/Ray.h"
#include "core/TextTable.h"
#include "engine/AssetPaths.h"
#include "engine/ModelNode.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/SceneLighting.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "game/SquadSummary.h"
#include "ui/CountMenuHost.h"
#include "ui/ErrorBox.h"
#include "ui/Highlighter.h"
#include "ui/SquadCountMenu.h"
#include "ui/SquadNameEditBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/VornSummary.h"
#include "world/Arena.h"

namespace {

constexpr int32_t kModeUnitFromTray = 3;
constexpr int32_t kModeTurnMember = 19;
constexpr int32_t kModeMoveMember = 20;
constexpr const char* kFileButtons[] = {"Save", "Clear"};
constexpr const char* kFileImages[] = {"SaveSquadButton.tga", "NoButton64.tga"};
constexpr const char* kLayoutButtons[] = {"Circle", "Line", "Random"};
constexpr const char* kLayoutImages[] = {"LayoutCircleButton.tga", "LayoutLineButton.tga", "LayoutRandomButton.tga"};

Vector2 Ground(const Vector3& point) { return Vector2(point.x, point.y); }

// Kept within the given distance of the squad's centre.
Vector3 PullIn(const Vector3& point, float limit) {
    const float length = Ground(point).Length();
    if (length <= limit) return point;
    const float scale = limit / length;
    return Vector3(point.x * scale, point.y * scale, point.z);
}

float ChassisRadius(int32_t chassis) { return kChassisRadiusBySize[std::max(chassis, 0) % 3]; }

constexpr float kArrowLift = 0.1f;
constexpr float kGroundLift = 0.01f;
constexpr float kOpenLight = 0.75f;
constexpr uint32_t kClearDepthOnly = 2;
// The view looks down on the ground: its quads face up, towards it.
constexpr int kFacingTheView = 1;
constexpr float kWedgeHalf = 1.5f;
constexpr uint32_t kWedgeColour = 0x40FFFFFFu;
constexpr float kRingGrowth = 1.1f;
constexpr int32_t kHoverRings = 4;
constexpr float kRingStep = 0.25f;

float FrameSeconds() {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

Matrix4 GroundTurn(float angle) {
    Matrix4 matrix;
    matrix.FromQuaternion(Quaternion::FromAxisAngle(Vector3(0.0f, 0.0f, 1.0f), angle));
    return matrix;
}

}  // namespace

SquadWindow& GetSquadWindow() {
    static SquadWindow window(GetLocalPlayer());
    return window;
}

SquadWindow::SquadWindow(Player& local) : Window("SquadWindow"), local_(local) {
    Resize(Point(kFirstSize, kFirstSize));
    view.SetPosition(Vector3(0.0f, 0.0f, 50.0f));
    view.SetDirection(Vector3(0.0f, 0.0f, -1.0f));
    view.SetUp(Vector3(0.0f, 1.0f, 0.0f));
    view.nearPlane = 1.0f;
    view.farPlane = 200.0f;
    view.SetFieldOfView(kPi / 4.0f);
    Refresh();
}

int32_t SquadWindow::BudgetLeft() const {
    const int32_t own = squad != nullptr ? squad->totalCost : 0;
    return budget - (launchTrayShown ? launchedCost : own);
}

int32_t SquadWindow::SquadBudget() const { return BudgetLeft() + (squad != nullptr ? squad->totalCost : 0); }

void SquadWindow::OnOpen() {
    if (gArena != nullptr) gArena->SetSquadName("");
    squad = &local_.squads[0];
    ForgetMembersShown();
}

void SquadWindow::OnClose() { ForgetMembersShown(); }

// The members shown may go back to the pool while the editor is shut (a squad sent or
// launched when a countdown ends mid-drag): nothing may turn or move them afterwards.
void SquadWindow::ForgetMembersShown() {
    hoveredMember = nullptr;
    carriedMember = nullptr;
    batch.Clear();
    lineDrag = false;
    circleDrag = false;
    lookAtDrag = false;
}

void SquadWindow::ShowSquad(Squad* shown) {
    if (shown != nullptr) squad = shown;
}

void SquadWindow::Refresh() {
    view.viewport = Rect();
    view.SetAspect(float(std::max(Width(), 1)) / float(std::max(Height(), 1)));
    // Save against the top-right corner, Clear just left of it.
    if (fileButtons != nullptr) {
        for (int32_t i = 0; i < fileButtons->Count(); ++i) {
            Sprite* sprite = fileButtons->sprites[i];
            if (sprite == nullptr) continue;
            const int32_t half = kButtonPixels / 2;
            sprite->x = right - half - i * kButtonPixels;
            sprite->y = top + half;
            if (sprite->anchor == Sprite::kAnchorTopLeft) {
                sprite->x -= half;
                sprite->y -= half;
            }
            sprite->SetSize(kButtonPixels);
        }
    }
    if (layoutButtons != nullptr) layoutButtons->Layout(Point(left, top));
}

void SquadWindow::CreateResources() {
    Renderer& renderer = GetRenderer();
    fileButtons = renderer.CreateSpriteGrid();
    fileButtons->SetLayoutMode(SpriteGrid::kLayoutFree);
    for (int32_t i = 0; i < 2; ++i)
        fileButtons->AddItem(LoadTexture(kButtonPixels, kFileImages[i]), kFileButtons[i], true);
    layoutButtons = renderer.CreateSpriteGrid();
    layoutButtons->SetItemsPerRow(4);
    layoutButtons->SetSpacing(4);
    for (int32_t i = 0; i < 3; ++i) {
        layoutButtons->AddItem(LoadTexture(kButtonPixels, kLayoutImages[i]), kLayoutButtons[i], true);
    }
    area_ = renderer.CreateTexturedQuad(QuadRect{-20.0f, -20.0f, 20.0f, 20.0f}, TexturePath("SquadCircle.tga"), 0.0f, 0,
                                        kFacingTheView);
    if (area_ != nullptr) renderer.CreateModelMeshes(area_);
    wedge_ = renderer.CreateTexturedQuad(QuadRect{-kWedgeHalf, -kWedgeHalf, kWedgeHalf, kWedgeHalf},
                                         TexturePath("FriendPatternWedge.tga"), 0.0f, 0, kFacingTheView);
    if (wedge_ != nullptr) {
        SetQuadColor(*wedge_, Color(kWedgeColour));
        renderer.CreateModelMeshes(wedge_);
    }
    ring_ = renderer.CreateTexturedQuad(QuadRect{-1.0f, -1.0f, 1.0f, 1.0f}, TexturePath("Highlight.tga"), 0.0f, 0,
                                        kFacingTheView);
    if (ring_ != nullptr) renderer.CreateModelMeshes(ring_);
    arrow_ = renderer.LoadModel(ActorModelPath("Arrowhead"), 1.0f, 1.0f, 0);
    if (arrow_ != nullptr) arrow_->local.FromQuaternion(Quaternion::FromAxisAngle(Vector3(0.0f, 1.0f, 0.0f), -kPi / 2));
    ball_ = renderer.LoadModel(ActorModelPath("GreenBall"), 1.0f, 1.0f, 0);
    MakeLayoutPictures();
    Refresh();
}

void SquadWindow::ReleaseResources() {
    fileButtons = nullptr;
    layoutButtons = nullptr;
    area_ = nullptr;
    wedge_ = nullptr;
    ring_ = nullptr;
    arrow_ = nullptr;
    ball_ = nullptr;
    std::fill(std::begin(layoutPictures_), std::end(layoutPictures_), nullptr);
    std::fill(std::begin(plainLayoutPictures_), std::end(plainLayoutPictures_), nullptr);
    Window::ReleaseResources();
}

void SquadWindow::MakeLayoutPictures() {
    Renderer& renderer = GetRenderer();
    for (int32_t i = 0; i < 3; ++i) {
        const String path = TexturePath(kLayoutImages[i]);
        if (!FileExists(path)) continue;
        Image image;
        renderer.LoadImageFile(image, path);
        layoutPictures_[i] = renderer.CreateTextureImage(image, 1);
        ClearGreyOuterPixels(image);
        plainLayoutPictures_[i] = renderer.CreateTextureImage(image, 1);
    }
    shownLayout_ = -1;
}

void SquadWindow::ShowLayoutPictures() {
    if (layoutButtons == nullptr || shownLayout_ == layout) return;
    for (int32_t i = 0; i < 3 && i < layoutButtons->Count(); ++i) {
        const bool now = i == layout;
        if (shownLayout_ >= 0 && now == (i == shownLayout_)) continue;
        const TextureHandle picture = now ? layoutPictures_[i] : plainLayoutPictures_[i];
        Sprite* sprite = layoutButtons->sprites[i];
        if (picture != nullptr && sprite != nullptr) sprite->SetTexture(picture);
    }
    shownLayout_ = layout;
}

// --- placing

Vorn* SquadWindow::AddUnitAt(const String& fileName, Vector3 point, float radius, int32_t budgetLimit) {
    if (squad == nullptr || gArena == nullptr) return nullptr;
    point = PullIn(point, kPlaceLimit);
    if (!squad->CanPlace(point, radius, nullptr)) return nullptr;
    VornSummary summary;
    const bool summed = summary.Load(fileName);
    if (!summed || squad->totalCost + summary.cost > budgetLimit) {
        PlaySound("Illegal.ogg");
        GetLaunchSquadTray().Refresh();
        return nullptr;
    }
    Vorn* unit = gArena->NewVorn(1);
    unit->SetPlayer(&local_);
    if (!unit->LoadFile(fileName)) {
        // A file that does not read gives no unit: no nameless empty member.
        gArena->DestroyObject(unit, false);
        gArena->FlushObjectPools();
        PlaySound("Illegal.ogg");
        return nullptr;
    }
    unit->name = fileName;
    unit->SetPlayer(&local_);
    unit->PrepareForBattle();
    squad->Add(unit);
    unit->SetAngle(HeadingBetween(Vector2(0.0f, 0.0f), Ground(point)));
    unit->SetPosition(point);
    return unit;
}

Vorn* SquadWindow::PlaceNear(const String& fileName, const Vector3& point, float radius) {
    const int32_t limit = SquadBudget();
    if (Vorn* unit = AddUnitAt(fileName, point, radius, limit)) return unit;
    for (int32_t ring = 1; ring <= kRings; ++ring) {
        for (int32_t spot = 0; spot < kSpotsPerRing; ++spot) {
            const float angle = float(spot) * 2.0f * kPi / float(kSpotsPerRing);
            const float distance = float(ring) * radius;
            const Vector3 at(point.x + distance * std::cos(angle), point.y + distance * std::sin(angle), 0.0f);
            if (Vorn* unit = AddUnitAt(fileName, at, radius, limit)) return unit;
        }
    }
    return nullptr;
}

void SquadWindow::PlaceUnits(const String& fileName, int32_t count, float radius) {
    if (count < 1) return;
    TakeLaunchBudget();
    if (count == 1 && layout != kRandom) {
        PlaySound(PlaceNear(fileName, dropPoint, radius) != nullptr ? "Thud.ogg" : "Illegal.ogg");
        return;
    }
    if (layout == kCircle || layout == kLine) {
        pendingName = fileName;
        pendingCount = count;
        pendingRadius = radius;
        (layout == kCircle ? circleDrag : lineDrag) = true;
        GetWindowManager().BringToFront(this);
        return;
    }
    bool any = false;
    for (int32_t i = 0; i < count; ++i) {
        for (int32_t attempt = 0; attempt < kRandomTries; ++attempt) {
            const Vector2 spot = RandomPointInCircle(Vector2(0.0f, 0.0f), Squad::kAreaRadius);
            if (PlaceNear(fileName, Vector3(spot.x, spot.y, 0.0f), radius) != nullptr) {
                any = true;
                break;
            }
        }
    }
    PlaySound(any ? "Thud.ogg" : "Illegal.ogg");
}

void SquadWindow::PlaceLine(const String& fileName, int32_t count, float radius, const Vector3& from,
                            const Vector3& to) {
    batch.Clear();
    const float heading = HeadingBetween(Ground(from), Ground(to));
    Array<Vector3> spots;
    LinePoints(count, from, to, spots);
    for (const Vector3& at : spots) {
        if (Vorn* unit = PlaceNear(fileName, at, radius)) {
            unit->SetAngle(heading);
            batch.Append(unit);
        }
    }
    PlaySound(batch.IsEmpty() ? "Illegal.ogg" : "Thud.ogg");
    batchMidpoint = (from + to) * 0.5f;
}

void SquadWindow::PlaceCircle(const String& fileName, int32_t count, float radius, const Vector3& through) {
    if (count < 1) return;
    Array<Vector3> spots;
    CirclePoints(count, through, spots);
    bool any = false;
    for (const Vector3& at : spots) {
        if (PlaceNear(fileName, at, radius) != nullptr) any = true;
    }
    PlaySound(any ? "Thud.ogg" : "Illegal.ogg");
}

void SquadWindow::LinePoints(int32_t count, const Vector3& from, const Vector3& to, Array<Vector3>& points) {
    points.Clear();
    for (int32_t i = 0; i < count; ++i) {
        // A line of one unit stands at its start.
        const float t = count > 1 ? float(i) / float(count - 1) : 0.0f;
        Vector3 at = from + (to - from) * t;
        at.z = 0.0f;
        points.Append(PullIn(at, kPlaceLimit));
    }
}

void SquadWindow::CirclePoints(int32_t count, const Vector3& through, Array<Vector3>& points) {
    points.Clear();
    if (count < 1) return;
    const float distance = Ground(through).Length();
    float angle = HeadingBetween(Vector2(0.0f, 0.0f), Ground(through));
    for (int32_t i = 0; i < count; ++i) {
        points.Append(PullIn(Vector3(distance * std::cos(angle), distance * std::sin(angle), 0.0f), kPlaceLimit));
        angle += 2.0f * kPi / float(count);
    }
}

float SquadWindow::ArrowRow(const Vector3& from, const Vector3& to, float phase, Array<Vector3>& points) {
    points.Clear();
    const Vector2 along = Ground(to) - Ground(from);
    const int32_t count = int32_t(along.Length());
    for (int32_t i = 0; i < count; ++i) {
        const float t = (float(i) + phase) / float(count);
        points.Append(Vector3(from.x + along.x * t, from.y + along.y * t, kArrowLift));
    }
    return HeadingBetween(Ground(from), Ground(to));
}

void SquadWindow::TurnBatchToward(const Vector3& point) {
    const float heading = HeadingBetween(Ground(batchMidpoint), Ground(point));
    for (Vorn* unit : batch) unit->SetAngle(heading);
}

void SquadWindow::StampRecent(const String& unitName) const { GetVornTray().MarkMostRecentlyUsed(unitName); }

void SquadWindow::LoadSquad(const String& squadName) {
    if (squad == nullptr) return;
    PlaySound("Thud.ogg");
    squad->Load(squadName, SquadBudget());
    ShowSquadMembersLeftOut(squad->leftOut);
    GetSquadTray().MarkMostRecentlyUsed(squadName);
    if (gArena != nullptr) gArena->SetSquadName(squadName.CStr()[0] == '_' ? String() : squadName);
}

// --- commands

void SquadWindow::PickEntry(const String& entry) {
    if (entry == "Save") {
        SquadNameEditBox& box = GetSquadNameEditBox();
        box.members.Clear();
        if (squad != nullptr) box.members = squad->members;
        // Members stand around the squad's own centre: none of a battlefield selection's.
        box.referencePoint = Vector2(0.0f, 0.0f);
        GetWindowManager().OpenWindow(&box);
        GetWindowManager().BringToFront(&box);
    } else if (entry == "Clear") {
        PlaySound("Delete.ogg");
        if (squad != nullptr) squad->DestroyMembers();
    } else {
        for (int32_t i = 0; i < 3; ++i) {
            if (entry == kLayoutButtons[i]) layout = i;
        }
    }
}

void SquadWindow::PlaceMember(const Vector3& position) {
    Vorn* member = carriedMember;
    ReleaseCarried();
    if (member == nullptr || squad == nullptr) return;
    if (!squad->CanPlace(position, member->GetRadius(), member)) {
        member->RestorePreviousState();
        PlaySound("Illegal.ogg");
        return;
    }
    member->SetPosition(position);
    PlaySound("Thud.ogg");
}

// While the launch screens show, their budget and the squads chosen for launch hold.
void SquadWindow::TakeLaunchBudget() {
    WindowManager& manager = GetWindowManager();
    Window* tray = manager.FindWindowByName("LaunchSquadTray");
    launchTrayShown = tray != nullptr && manager.IsOpen(tray);
    if (!launchTrayShown) return;
    budget = GetLaunchWindow().budget;
    launchedCost = GetLaunchSquadTray().TotalCost();
}

void SquadWindow::HandleCommand(Event& event) {
    TakeLaunchBudget();
    switch (event.type) {
        case kEventPickEntry: PickEntry(event.text); return;
        case kEventAddSquadMember:
            PlaySound("Thud.ogg");
            // The dropped unit's own radius: the last circle or line may have been of another size.
            AddUnitAt(event.text, event.position3, float(event.value) / 100.0f, SquadBudget());
            StampRecent(event.text);
            ReleaseCarried();
            return;
        case kEventOpenSquadCountMenu: {
            dropPoint = event.position3;
            SquadCountMenu& menu = GetSquadCountMenu();
            menu.unitName = event.text;
            menu.eventValue = float(event.value) / 100.0f;
            GetWindowManager().OpenWindowAt(&menu, Point(event.point.x, event.point.y));
            GetWindowManager().BringToFront(&menu);
            ReleaseCarried();
            return;
        }
        case kEventLoadSquad:
            LoadSquad(event.text);
            ReleaseCarried();
            return;
        case kEventPickSquadMember:
        case kEventControlPickSquadMember: {
            Vorn* member = squad != nullptr ? squad->MemberAt(event.position3) : nullptr;
            if (member == nullptr) return;
            member->SavePreviousState();
            carriedMember = member;
            grabOffset = event.position3 - member->position;
            grabOffset.z = 0.0f;
            GetMouse().HideCursor(event.type == kEventPickSquadMember ? kModeMoveMember : kModeTurnMember, nullptr);
            return;
        }
        case kEventPlaceSquadMember: PlaceMember(event.position3); return;
        case kEventPlaceSquadMemberLookAt: ReleaseCarried(); return;
        case kEventDeleteSquadMember:
            if (squad == nullptr) return;
            if (Vorn* member = squad->MemberAt(event.position3)) {
                PlaySound("Delete.ogg");
                squad->Remove(member);
            }
            return;
        case kEventPlaceSquadLineOfVorns:
            PlaceLine(pendingName, pendingCount, pendingRadius, dropPoint, event.position3);
            StampRecent(pendingName);
            if (!batch.IsEmpty()) {
                lookAtDrag = true;
                GetWindowManager().BringToFront(this);
            }
            return;
        case kEventPlaceSquadCircleOfVorns:
            PlaceCircle(pendingName, pendingCount, pendingRadius, event.position3);
            StampRecent(pendingName);
            return;
        case kEventPlaceSquadLookAtPoint: TurnBatchToward(event.position3); return;
        default: Window::HandleCommand(event);
    }
}

void SquadWindow::ReleaseCarried() {
    carriedMember = nullptr;
    GetMouse().ShowCursor();
}

// --- input

Vector3 SquadWindow::GroundPointAt(int32_t x, int32_t y) {
    const Vector3 nearPoint = view.Unproject(Vector3(float(x), float(y), 0.0f));
    const Vector3 farPoint = view.Unproject(Vector3(float(x), float(y), 1.0f));
    const Vector3 along = farPoint - nearPoint;
    if (std::fabs(along.z) < 1e-6f) return Vector3();
    const float t = -nearPoint.z / along.z;
    return Vector3(nearPoint.x + along.x * t, nearPoint.y + along.y * t, 0.0f);
}

void SquadWindow::TrackPointer(const InputEvent& input) {
    pointerPoint = GroundPointAt(input.x, input.y);
    clampedPointer = Ground(pointerPoint).Length() * Ground(pointerPoint).Length() > kPointerLimitSquared
                         ? PullIn(pointerPoint, kPointerLimit)
                         : pointerPoint;
    hoveredMember = squad != nullptr ? squad->MemberAt(pointerPoint) : nullptr;
}

bool SquadWindow::HandleDragRelease(const InputEvent& input) {
    const bool press = input.kind == kInputDown && input.code == kInputButtonLeft;
    const bool release = input.kind == kInputUp && input.code == kInputButtonLeft;
    if (lookAtDrag && input.kind == kInputPointerMove) TurnBatchToward(pointerPoint);
    if (press) {
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (!release) return false;
    Event* event = nullptr;
    if (lineDrag) {
        event = PostEventVector(kEventPlaceSquadLineOfVorns, clampedPointer);
        lineDrag = false;
    } else if (circleDrag) {
        event = PostEventVector(kEventPlaceSquadCircleOfVorns, clampedPointer);
        circleDrag = false;
    } else {
        event = PostEventVector(kEventPlaceSquadLookAtPoint, pointerPoint);
        lookAtDrag = false;
        PlaySound("MouseUp.ogg");
    }
    GetWindowManager().RemoveFromFocusOrder(this);
    return event != nullptr;
}

bool SquadWindow::HandleLeftPress(const InputEvent& input) {
    const Point point(input.x, input.y);
    for (SpriteGrid* grid : {fileButtons, layoutButtons}) {
        if (grid == nullptr) continue;
        grid->Press(point);
        if (grid->pressed < 0) continue;
        GetWindowManager().BringToFront(this);
        PlaySound("MouseDown.ogg");
        return true;
    }
    if (hoveredMember == nullptr) return false;
    GetWindowManager().BringToFront(this);
    const bool control = GetMouse().IsKeyHeld(17);
    PostEventVector(control ? kEventControlPickSquadMember : kEventPickSquadMember, pointerPoint);
    PlaySound("MouseDown.ogg");
    return true;
}

bool SquadWindow::HandleLeftRelease(const InputEvent& input) {
    // A press on a button or member brought the editor to the front of the focus order;
    // once released it must let the trays beside it have their presses again.
    GetWindowManager().RemoveFromFocusOrder(this);
    const Point point(input.x, input.y);
    for (SpriteGrid* grid : {fileButtons, layoutButtons}) {
        if (grid == nullptr || grid->pressed < 0) continue;
        const int32_t item = grid->Release(point);
        if (item >= 0) {
            PostEventString(kEventPickEntry, grid->names[item]);
            PlaySound("MouseUp.ogg");
        }
        return true;
    }
    Mouse& mouse = GetMouse();
    switch (mouse.mode) {
        case kModeUnitFromTray: {
            VornSummary summary;
            const float radius = summary.Load(mouse.dragText) ? ChassisRadius(summary.chassis) : 1.5f;
            if (mouse.IsKeyHeld(17) && GetSquadCountMenu().Prepare(mouse.dragText)) {
                Event* event = PostEventString(kEventOpenSquadCountMenu, mouse.dragText);
                if (event != nullptr) {
                    event->position3 = clampedPointer;
                    event->point = point;
                    event->value = int32_t(radius * 100.0f);
                }
            } else if (squad != nullptr && squad->CanPlace(PullIn(pointerPoint, kPlaceLimit), radius, nullptr)) {
                Event* event = PostEventString(kEventAddSquadMember, mouse.dragText);
                if (event != nullptr) {
                    event->position3 = pointerPoint;
                    event->value = int32_t(radius * 100.0f);
                }
            } else {
                PlaySound("Illegal.ogg");
                ReleaseCarried();
            }
            return true;
        }
        case Mouse::kModeSquadButton: {
            SquadSummary summary;
            if (!summary.Load(mouse.dragText) || summary.MinMemberCost() > SquadBudget()) {
                ErrorBox& box = GetErrorBox();
                box.message.Clear();
                box.AddLine(GetLanguageText("SquadTooExpensive"));
                GetWindowManager().OpenWindow(&box);
                PlaySound("Illegal.ogg");
                ReleaseCarried();
            } else {
                PostEventString(kEventLoadSquad, mouse.dragText);
            }
            return true;
        }
        case kModeTurnMember:
            PostEvent(kEventPlaceSquadMemberLookAt);
            PlaySound("MouseUp.ogg");
            return true;
        case kModeMoveMember: {
            const Vector3 target = PullIn(pointerPoint - grabOffset, kPointerLimit);
            if (carriedMember != nullptr && squad != nullptr &&
                squad->CanPlace(target, carriedMember->GetRadius(), carriedMember)) {
                PostEventVector(kEventPlaceSquadMember, target);
            } else {
                if (carriedMember != nullptr) carriedMember->RestorePreviousState();
                PlaySound("Illegal.ogg");
                ReleaseCarried();
            }
            return true;
        }
        default: return false;
    }
}

bool SquadWindow::HandleMouse(const InputEvent& input) {
    TakeLaunchBudget();
    TrackPointer(input);
    if (lineDrag || circleDrag || lookAtDrag) {
        if (HandleDragRelease(input)) return true;
    }
    Mouse& mouse = GetMouse();
    if (input.kind == kInputPointerMove && carriedMember != nullptr) {
        if (mouse.mode == kModeTurnMember) {
            carriedMember->SetAngle(HeadingBetween(Ground(carriedMember->position), Ground(pointerPoint)));
        } else if (mouse.mode == kModeMoveMember) {
            Vector3 target = PullIn(pointerPoint - grabOffset, kPointerLimit);
            target.z = carriedMember->GetRadius();
            carriedMember->SetPosition(target);
            if (squad != nullptr && !squad->CanPlace(target, carriedMember->GetRadius(), carriedMember)) {
                mouse.drawMarkers = 1;
            }
        }
    }
    if (input.kind == kInputPointerMove && ContainsPoint(Point(input.x, input.y))) MarkRefusedDrop(mouse);
    if (input.kind == kInputUp && input.code == kInputButtonLeft) return HandleLeftRelease(input);
    if (input.kind == kInputDown && input.code == Mouse::kCodeDelete && hoveredMember != nullptr &&
        mouse.mode == Mouse::kModeNothing) {
        PostEventVector(kEventDeleteSquadMember, pointerPoint);
        return true;
    }
    if (input.kind == kInputDown && input.code == kInputButtonLeft && HandleLeftPress(input)) return true;
    return Window::HandleMouse(input) || IsCameraInput(input, mouse);
}

void SquadWindow::MarkRefusedDrop(Mouse& mouse) {
    if (squad == nullptr) return;
    if (mouse.mode == kModeUnitFromTray && !mouse.IsKeyHeld(17)) {
        VornSummary summary;
        if (!summary.Load(mouse.dragText)) return;
        const bool fits = squad->CanPlace(PullIn(pointerPoint, kPlaceLimit), ChassisRadius(summary.chassis), nullptr);
        const bool affordable = squad->totalCost + summary.cost <= SquadBudget();
        if (fits && affordable) return;
        mouse.drawMarkers = 1;
        if (!affordable) mouse.addCoinMarker = 1;
        return;
    }
    if (mouse.mode != Mouse::kModeSquadButton) return;
    SquadSummary summary;
    if (!summary.Load(mouse.dragText)) return;
    if (summary.MinMemberCost() > SquadBudget()) {
        mouse.drawMarkers = 1;
        mouse.addCoinMarker = 1;
    } else if (summary.TotalCost() > SquadBudget()) {
        // Only part of the squad fits the budget.
        mouse.drawMarkers = 1;
        mouse.addCoinMarker = 1;
        mouse.shiftMarkers = 1;
    }
}

void SquadWindow::HitTestControls(const Point& point) {
    if (fileButtons != nullptr) fileButtons->UpdateHover(point);
    if (layoutButtons != nullptr) layoutButtons->UpdateHover(point);
    Window::HitTestControls(point);
}

// --- tips and highlights

Point SquadWindow::ToScreen(const Vector3& point) {
    const Vector3 screen = view.Project(point);
    return Point(int32_t(screen.x), int32_t(screen.y));
}

namespace {
constexpr int32_t kBudgetGap = 8;
constexpr float kSmallestBudgetScale = 0.45f;
}  // namespace

// Near the top-left corner, beside the layout buttons that hold the corner itself, and
// clear of the Save and Clear buttons in the top-right one.
IntRect SquadWindow::BudgetRect() const {
    const Vector2 size = MeasureText(BudgetText(), BudgetScale());
    const int32_t x = (layoutButtons != nullptr ? layoutButtons->GetBounds().right : left) + kBudgetGap;
    const int32_t y = top + kBudgetGap;
    return IntRect(x, y, x + int32_t(size.x), y + int32_t(size.y));
}

float SquadWindow::BudgetScale() const {
    const int32_t x = (layoutButtons != nullptr ? layoutButtons->GetBounds().right : left) + kBudgetGap;
    const int32_t end = right - (fileButtons != nullptr ? fileButtons->Count() : 0) * kButtonPixels - kBudgetGap;
    const float width = MeasureText(BudgetText(), kTextScale).x;
    if (width <= float(end - x) || width <= 0.0f) return kTextScale;
    return std::max(kSmallestBudgetScale, kTextScale * float(std::max(end - x, 0)) / width);
}

void SquadWindow::GetToolTip() {
    static const char* const kFileKeys[] = {"SaveSquad", "ClearSquad"};
    static const char* const kLayoutKeys[] = {"CircleLayout", "LineLayout", "RandomLayout"};
    ToolTip& tip = ::GetToolTip();
    if (fileButtons != nullptr && fileButtons->IsValidIndex(fileButtons->hovered)) {
        tip.Set(GetLanguageText(kFileKeys[fileButtons->hovered]),
                fileButtons->sprites[fileButtons->hovered]->GetScreenRect());
    } else if (layoutButtons != nullptr && layoutButtons->IsValidIndex(layoutButtons->hovered)) {
        tip.Set(GetLanguageText(kLayoutKeys[layoutButtons->hovered]),
                layoutButtons->sprites[layoutButtons->hovered]->GetScreenRect());
    } else if (hoveredMember != nullptr) {
        const Point at = ToScreen(hoveredMember->position);
        tip.Set(hoveredMember->name, IntRect(at.x, at.y, at.x + 1, at.y + 1));
    } else {
        Window::GetToolTip();
    }
}

void SquadWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    StringArray words;
    String::Split(request.name.CStr(), words, ' ');
    if (request.kind != 1 || words.IsEmpty()) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    const String& what = words[0];
    const auto buttonRect = [&highlighter](SpriteGrid* grid, int32_t index) {
        if (grid != nullptr && grid->sprites[index] != nullptr) {
            highlighter.AddIntRect(grid->sprites[index]->GetScreenRect(), kMarkPulse);
        }
    };
    if (what.EqualsNoCase("LaunchCircle")) {
        highlighter.AddCircleAt(GetCenter(), float(Width()) * 0.5f, kMarkPulse);
    } else if (what.EqualsNoCase("Layouts")) {
        if (layoutButtons != nullptr) highlighter.AddIntRect(layoutButtons->GetBounds(), kMarkPulse);
    } else if (what.EqualsNoCase("Budget")) {
        highlighter.AddIntRect(BudgetRect(), kMarkPulse);
    } else if (what.EqualsNoCase("Vorn")) {
        Vector3 point(20.0f, 20.0f, 0.0f);
        String memberName;
        for (int32_t i = 1; i < words.Count(); ++i) {
            if (words[i].EqualsNoCase("Offset") && i + 2 < words.Count()) {
                point.x += words[i + 1].ToFloat();
                point.y += words[i + 2].ToFloat();
                i += 2;
            } else if (words[i].EqualsNoCase("Name") && i + 1 < words.Count()) {
                memberName = words[++i];
            }
        }
        Vorn* member = squad != nullptr ? squad->NearestMember(point, memberName.CStr()) : nullptr;
        if (member == nullptr) return;
        const Point centre = ToScreen(member->position);
        const Point edge = ToScreen(member->position + Vector3(member->GetRadius() * 1.25f, 0.0f, 0.0f));
        highlighter.AddCircleAt(centre, float(std::abs(edge.x - centre.x)), kMarkPulse);
    } else {
        for (int32_t i = 0; i < 2; ++i) {
            if (what.EqualsNoCase(kFileButtons[i])) return buttonRect(fileButtons, i);
        }
        for (int32_t i = 0; i < 3; ++i) {
            if (what.EqualsNoCase((String("Layout") + kLayoutButtons[i]).CStr())) return buttonRect(layoutButtons, i);
        }
        Window::GetHighlightShape(request, highlighter);
    }
}

// --- drawing

String SquadWindow::BudgetText() const {
    const int32_t taken = squad != nullptr ? squad->totalCost : 0;
    return String::FromInt(BudgetLeft()) + " " + GetLanguageText("inBudget") + " " + GetLanguageText("AltSeparator") +
           " " + String::FromInt(taken) + " " + GetLanguageText("currentCost");
}

void SquadWindow::AdvanceSpins(float seconds) {
    arrowPhase += seconds * 4.0f;
    while (arrowPhase > 1.0f) arrowPhase -= 1.0f;
    ringTurn = std::fmod(ringTurn + seconds / 3.0f, 2.0f * kPi);
    ringPulse = std::fmod(ringPulse + seconds / 6.0f, kRingStep);
}

void SquadWindow::DrawArrows(const Vector3& from, const Vector3& to) {
    if (arrow_ == nullptr) return;
    Array<Vector3> points;
    const float heading = ArrowRow(from, to, arrowPhase, points);
    Renderer& renderer = GetRenderer();
    for (const Vector3& at : points) {
        Matrix4 matrix = GroundTurn(heading);
        matrix.Translate(at);
        renderer.SetWorldTransform(matrix);
        renderer.RenderModel(arrow_, true, false);
    }
}

void SquadWindow::DrawBalls(const Array<Vector3>& points) {
    if (ball_ == nullptr) return;
    Renderer& renderer = GetRenderer();
    for (const Vector3& at : points) {
        Matrix4 matrix;
        matrix.SetTranslation(at);
        renderer.SetWorldTransform(matrix);
        renderer.RenderModel(ball_, true, false);
    }
}

void SquadWindow::DrawPreviews() {
    Mouse& mouse = GetMouse();
    if (carriedMember != nullptr && mouse.mode == kModeTurnMember) DrawArrows(carriedMember->position, pointerPoint);
    Array<Vector3> spots;
    if (lineDrag) {
        LinePoints(pendingCount, dropPoint, clampedPointer, spots);
        DrawBalls(spots);
    }
    if (circleDrag) {
        CirclePoints(pendingCount, clampedPointer, spots);
        DrawBalls(spots);
    }
    if (lookAtDrag) DrawArrows(batchMidpoint, pointerPoint);
}

void SquadWindow::DrawGroundQuad(Mesh* quad, const Vector3& at, float turn, float scale) {
    Matrix4 matrix = GroundTurn(turn);
    matrix.Scale(scale);
    matrix.Translate(at);
    Renderer& renderer = GetRenderer();
    renderer.SetWorldTransform(matrix);
    renderer.DrawMeshSubsets(quad);
}

// The ground under a member, just above the area so that the two do not fight.
static Vector3 GroundUnder(const Vorn& member) {
    return Vector3(member.position.x, member.position.y,
                   std::max(member.position.z - member.GetRadius(), 0.0f) + kGroundLift);
}

// Members stand on no terrain to take their light from: they stand in the open.
static void LightInTheOpen(Vorn& member) {
    const float* material = GetSecondMaterialColor();
    for (int i = 0; i < 4; ++i) {
        member.litColour[0][i] = i < 3 ? kOpenLight : 0.0f;
        member.litColour[1][i] = material[i];
    }
}

void SquadWindow::DrawMembers() {
    Renderer& renderer = GetRenderer();
    local_.ApplyColors();
    for (Vorn* member : squad->members) {
        if (wedge_ != nullptr) {
            renderer.SetLighting(false);
            renderer.SetAlphaBlend();
            DrawGroundQuad(wedge_, GroundUnder(*member), member->heading - kPi / 2, 1.0f);
            renderer.SetBlendOff();
        }
        UseSceneLight();
        LightInTheOpen(*member);
        renderer.SetLighting(true);
        renderer.SetWorldTransform(Matrix4());
        member->UpdateAnimation();
        member->UpdateBodyAndBall();
        member->Draw(member->position);
    }
}

void SquadWindow::DrawHoverRings() {
    if (ring_ == nullptr || hoveredMember == nullptr) return;
    Renderer& renderer = GetRenderer();
    renderer.SetLighting(false);
    renderer.SetAlphaBlend();
    for (int32_t k = 0; k < kHoverRings; ++k) {
        const float phase = float(k) * kRingStep + ringPulse;
        SetQuadColor(*ring_, Color::FromRGBA(255, 255, 255, uint8_t(255.0f * std::clamp(1.0f - phase, 0.0f, 1.0f))));
        renderer.UpdateMeshBuffers(ring_);
        DrawGroundQuad(ring_, GroundUnder(*hoveredMember), ringTurn, phase * kRingGrowth * hoveredMember->GetRadius());
    }
    renderer.SetBlendOff();
}

void SquadWindow::DrawContents() {
    Renderer& renderer = GetRenderer();
    AdvanceSpins(FrameSeconds());
    renderer.SetCamera(view);
    // The windows behind have left their depths here: the disc and its members are drawn
    // on depths of their own.
    renderer.ClearViewport(Color(0xFF000000), 1.0f, kClearDepthOnly);
    renderer.SetWorldTransform(Matrix4());
    renderer.SetAlphaBlend();
    if (area_ != nullptr) renderer.DrawMeshSubsets(area_);
    renderer.SetBlendOff();
    renderer.SetLighting(false);
    DrawPreviews();
    if (squad != nullptr) DrawMembers();
    DrawHoverRings();
    ShowLayoutPictures();
    renderer.SetLighting(false);
    renderer.SetWorldTransform(Matrix4());
    UseScreenCamera();
    renderer.SetAlphaBlend();
    if (fileButtons != nullptr) renderer.DrawSpriteGrid(*fileButtons, true);
    if (layoutButtons != nullptr) renderer.DrawSpriteGrid(*layoutButtons, true);
    const IntRect budgetRect = BudgetRect();
    DrawUiText(BudgetText(), float(budgetRect.left), float(budgetRect.top), Color(0xFFFFFFFF), BudgetScale());
    renderer.SetBlendOff();
}
