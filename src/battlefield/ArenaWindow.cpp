// The battlefield window: cameras, selection and camera follow.
#include "battlefield/ArenaWindow.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "battlefield/SelectionTray.h"
#include "battlefield/SquadTray.h"
#include "battlefield/VornTray.h"
#include "core/Geometry.h"
#include "core/Ray.h"
#include "engine/CameraGround.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/PlayerRoster.h"
#include "ui/WindowManager.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kSquadFormRadius = 20.0f;

void SetUpCamera(WindowCamera& camera, float maximum, float farPlane, float fieldOfView) {
    camera.maximumHeight = maximum;
    camera.minimumHeight = 8.0f * 1.5f + 25.0f;
    camera.zoom = maximum;
    camera.nearPlane = 8.0f * 0.25f;
    camera.farPlane = farPlane;
    camera.SetFieldOfView(fieldOfView);
    camera.SetPosition(Vector3(0.0f, 0.0f, maximum));
}

float RelativeZoom(const WindowCamera& camera) {
    const float range = camera.maximumHeight - camera.minimumHeight;
    return range > 0.0f ? (camera.zoom - camera.minimumHeight) / range : 0.0f;
}

Vector3 ArenaCentreOnGround() {
    if (gArena == nullptr) return Vector3();
    const Vector2 centre = gArena->PointAtFraction(0.5f, 0.5f);
    return gArena->GroundPoint(centre.x, centre.y);
}

bool IsFriendly(const Vorn& vorn) {
    return CurrentGame() != nullptr && vorn.owner != nullptr && vorn.owner == ArenaWindow::FriendlyPlayer();
}

bool IsBandSelectable(int kind) {
    return kind == kKindTree || kind == kKindRock || kind == kKindSolarCharger || kind == kKindVorn;
}

// A selected unit on its way into the squad's formation.
struct FormingUnit {
    Vorn* unit;
    Vector2 place;  // in the formation, at the image nearest the first unit
    Vector3 stood;  // where it stood before
    bool stays = false;
};

std::vector<FormingUnit> GatherFormingUnits(const Array<WorldObject*>& selection) {
    std::vector<FormingUnit> squad;
    for (WorldObject* object : selection) {
        if (object->kind != kKindVorn) continue;
        Vorn* vorn = static_cast<Vorn*>(object);
        const Vector3 reference = squad.empty() ? vorn->position : squad.front().unit->position;
        const Vector3 image = gArena->NearestImage(reference, vorn->position);
        squad.push_back({vorn, Vector2(image.x, image.y), vorn->position});
    }
    return squad;
}

// Pulls the places of a squad spread wider than the formation's radius towards the centre
// of their bounding circle, and answers that centre.
Vector2 PullIntoFormation(std::vector<FormingUnit>& squad) {
    std::vector<Vector2> places;
    for (const FormingUnit& each : squad) places.push_back(each.place);
    const Vector3 circle = BoundingCircle(std::span<const Vector2>(places));
    const Vector2 centre(circle.x, circle.y);
    if (circle.z <= kSquadFormRadius) return centre;
    for (FormingUnit& each : squad) {
        const Vector2 offset = each.place - centre;
        if (std::fabs(offset.x) < 0.00001f && std::fabs(offset.y) < 0.00001f) continue;
        const float distance = offset.Length();
        each.place = centre + offset * (1.0f / distance) * (distance * kSquadFormRadius / circle.z);
    }
    return centre;
}

// The free ground nearest the unit's place inside the squad's circle, clear of everything
// standing but the ignored units, else the free ground nearest where it stood.
bool FormUnit(const FormingUnit& each, const Vector3& area, std::span<const WorldObject* const> ignored) {
    const float radius = each.unit->GetRadius();
    Vector3 ground;
    if (!gArena->FindFreeGround(Vector3(each.place.x, each.place.y, 0.0f), radius, ignored, &area, ground) &&
        !gArena->FindFreeGround(each.stood, radius, ignored, nullptr, ground)) {
        return false;
    }
    each.unit->PlaceAt(ground);
    return true;
}

// The units that stay stand where they stood, on the ground; the others form in turn, and
// those still to form are about to move: no obstacle to the others. Answers the index of
// the first unit that finds no ground, -1 when every one formed.
int FormEachUnit(const std::vector<FormingUnit>& squad, const Vector3& area) {
    std::vector<const WorldObject*> movers;
    for (const FormingUnit& each : squad) {
        if (!each.stays) {
            movers.push_back(each.unit);
            continue;
        }
        each.unit->PlaceAt(gArena->GroundPoint(each.stood.x, each.stood.y));
    }
    size_t formed = 0;
    for (size_t i = 0; i < squad.size(); ++i) {
        if (squad[i].stays) continue;
        if (!FormUnit(squad[i], area, std::span<const WorldObject* const>(movers).subspan(formed))) return int(i);
        ++formed;
    }
    return -1;
}

}  // namespace

ArenaWindow::ArenaWindow() : Window("ArenaWindow") {
    const float overheadMaximum = 82.5f;
    const float tiltedMaximum = 120.0f;
    SetUpCamera(overhead_, overheadMaximum, overheadMaximum + 25.0f + 8.0f, kPi / 3.0f);
    const float tiltedFar = (tiltedMaximum + 25.0f + 8.0f) / std::cos(kPi / 4.0f + (kPi / 7.0f) / 2.0f);
    SetUpCamera(tilted_, tiltedMaximum, tiltedFar, kPi / 7.0f);
    overhead_.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
    camera = &tilted_;
    tilted_.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
    ResetCamera();
    closeButton = false;
    movable = false;
}

void ArenaWindow::OnOpen() {
    SetFullScreen(true);
    if (gArena != nullptr) {
        gArena->SetScenarioName("");
        gArena->SetSquadName("");
        gArena->mouseHighlight = nullptr;
        // A snapshot left by an earlier visit or session is no place to go back to.
        gArena->ForgetLastPlayPoint();
    }
    painting = false;
    ResetCameras();
    if (Game* game = CurrentGame()) game->SetPaused(true);
    GetVornTray().closeButton = true;
    GetSquadTray().closeButton = true;
}

void ArenaWindow::OnClose() {
    painting = false;
    if (gArena == nullptr) return;
    gArena->ClearBattlefield(false);
    // The field is gone, and its snapshot need not stay in the player's folder.
    gArena->ForgetLastPlayPoint();
    if (const Game* game = CurrentGame()) gArena->SetPlacingPlayer(game->firstPlayer);
}

void ArenaWindow::Refresh() {
    const float width = float(right - left + 1);
    const float height = float(bottom - top + 1);
    for (WindowCamera* each : {static_cast<WindowCamera*>(&overhead_), static_cast<WindowCamera*>(&tilted_)}) {
        each->viewport = Rect();
        each->SetAspect(height > 0.0f ? width / height : 1.0f);
    }
}

float ArenaWindow::FrameTime() const {
    const Game* game = CurrentGame();
    return game != nullptr ? game->frameTime : 0.0f;
}

void ArenaWindow::PostCameraVector(CameraCommand command, const Vector3& value) {
    int32_t type = kEventSetCameraTargetPositionDirect;
    if (command == CameraCommand::SetCameraView) type = kEventSetCameraView;
    if (command == CameraCommand::SetCameraUp) type = kEventSetCameraUp;
    PostEventVector(type, value);
}

void ArenaWindow::PostCameraZoom(float heightChange, int32_t notches) {
    if (Event* event = PostEventInt(kEventZoomCamera, notches)) event->position2 = Vector2(heightChange, 0.0f);
}

bool ArenaWindow::IsSelected(const WorldObject* object) const {
    return object != nullptr && selection_.Find(const_cast<WorldObject*>(object)) >= 0;
}

void ArenaWindow::Select(WorldObject* object) {
    if (object == nullptr) return;
    selection_.AddUnique(object);
    SelectionTray& tray = GetSelectionTray();
    GetWindowManager().OpenWindow(&tray);
    tray.Refresh();
}

void ArenaWindow::Deselect(const WorldObject* object) {
    const int index = selection_.Find(const_cast<WorldObject*>(object));
    if (index < 0) return;
    selection_.RemoveAt(index);
    SelectionTray& tray = GetSelectionTray();
    if (selection_.Count() == 0) {
        GetWindowManager().CloseWindow(&tray);
        return;
    }
    tray.Refresh();
}

void ArenaWindow::ClearSelection() { selection_.Clear(); }

void ArenaWindow::DeleteSelection() {
    // Removal tells this window through the arena, which edits the list: walk a copy.
    const Array<WorldObject*> doomed = selection_;
    for (WorldObject* object : doomed) object->Remove(0);
    GetSelectionTray().Refresh();
    selection_.Clear();
}

void ArenaWindow::ToggleVIPStatusSelection() {
    for (WorldObject* object : selection_) {
        if (object->kind != kKindVorn) continue;
        Vorn* vorn = static_cast<Vorn*>(object);
        vorn->vip = vorn->vip != 0 ? 0 : 1;
    }
}

Vector3 ArenaWindow::FormSquadSelection() {
    if (gArena == nullptr) return Vector3();
    std::vector<FormingUnit> squad = GatherFormingUnits(selection_);
    if (squad.empty()) return Vector3();
    const Vector2 centre = PullIntoFormation(squad);
    const Vector3 area(centre.x, centre.y, kSquadFormRadius);
    // Those formed before a unit that finds no ground took it for a mover and may stand
    // where it stays: the forming starts over with it in everyone's way. Each start keeps
    // one more unit back, so it ends.
    for (int stuck = FormEachUnit(squad, area); stuck >= 0; stuck = FormEachUnit(squad, area))
        squad[size_t(stuck)].stays = true;
    // One that stayed inside another since before the forming is lifted onto it, as a unit
    // placed there would be.
    for (const FormingUnit& each : squad) {
        if (each.stays) gArena->SettleObject(each.unit);
    }
    return Vector3(centre.x, centre.y, 0.0f);
}

void ArenaWindow::SetFollowVorn(Vorn* vorn) {
    followVorn_ = vorn;
    overhead_.ResetSpring();
    tilted_.ResetSpring();
}

void ArenaWindow::SetFollowObject(WorldObject* object) {
    followObject_ = object;
    overhead_.ResetSpring();
    tilted_.ResetSpring();
}

void ArenaWindow::StopFollowing() {
    if (followVorn_ == nullptr && followObject_ == nullptr) return;
    SetFollowVorn(nullptr);
    SetFollowObject(nullptr);
}

void ArenaWindow::ForgetObject(const WorldObject* object) {
    if (object == nullptr) return;
    const int index = selection_.Find(const_cast<WorldObject*>(object));
    if (index >= 0) selection_.RemoveAt(index);
    if (followObject_ == object) followObject_ = nullptr;
    if (followVorn_ == object) followVorn_ = nullptr;
    if (rightPressedVorn == object) rightPressedVorn = nullptr;
}

void ArenaWindow::SetCameraType(int32_t mode) {
    WindowCamera* wanted = mode == kCameraOverhead ? static_cast<WindowCamera*>(&overhead_) : &tilted_;
    if (wanted != camera) {
        WindowCamera& old = *camera;
        const Vector3 heading = old.motionMode == WindowCamera::kTilted
                                    ? Vector3(old.direction.x, old.direction.y, 0.0f)
                                    : Vector3(old.up.x, old.up.y, 0.0f);
        wanted->SetHeading(heading);
        const Vector3 target = WrapPoint(old.target);
        wanted->SetTarget(target);
        wanted->SetLookAt(target);
        const float relative = RelativeZoom(old);
        wanted->SetZoom(wanted->minimumHeight + relative * (wanted->maximumHeight - wanted->minimumHeight));
        camera = wanted;
    }
    camera->ResetView();
}

void ArenaWindow::ResetCamera() {
    const Vector3 centre = ArenaCentreOnGround();
    camera->SetTarget(centre);
    camera->SetLookAt(centre);
    camera->ResetView();
}

void ArenaWindow::ResetCameras() {
    const float width = gArena != nullptr ? gArena->WorldWidth() : 0.0f;
    const float depth = gArena != nullptr ? gArena->WorldHeight() : 0.0f;
    const Vector3 centre = WrapPoint(Vector3(width * 0.5f, depth * 0.5f, 0.0f));
    for (WindowCamera* each : {static_cast<WindowCamera*>(&overhead_), static_cast<WindowCamera*>(&tilted_)}) {
        each->ResetSpring();
        each->SetTarget(centre);
        each->SetLookAt(centre);
        each->SetZoom(each->maximumHeight);
        each->SetHeading(Vector3(0.0f, 1.0f, 0.0f));
    }
    StopFollowing();
}

void ArenaWindow::ResetToTiltedCamera() {
    if (camera != &tilted_) SetCameraType(kCameraTilted);
    tilted_.ResetView();
    tilted_.SetHeading(Vector3(0.0f, 1.0f, 0.0f));
    ResetCamera();
}

void ArenaWindow::AimCamera(const Vector3& lookFrom, const Vector3& target) {
    StopFollowing();
    const Vector3 heading(target.x - lookFrom.x, target.y - lookFrom.y, 0.0f);
    camera->SetHeading(heading);
    camera->SetTarget(WrapPoint(target));
    camera->SetLookAt(WrapPoint(lookFrom));
}

void ArenaWindow::LookAtPoint(int32_t x, int32_t y) {
    const Vector3 point = WrapPoint(PointerGroundPoint(x, y));
    camera->SetTarget(point);
    camera->SetLookAt(point);
}

void ArenaWindow::LookAtUnitsOf(const Player& owner) {
    if (gArena == nullptr) return;
    Vector3 sum;
    Vector3 first;
    int32_t count = 0;
    for (WorldObject* object : gArena->Objects()) {
        if (object->kind != kKindVorn || object->removed || static_cast<Vorn*>(object)->owner != &owner) continue;
        if (count == 0) first = object->position;
        // Units standing over a wrapped edge are counted on the first one's side.
        sum = sum + gArena->NearestImage(first, object->position);
        ++count;
    }
    if (count == 0) return;
    const Vector3 mean = WrapPoint(sum * (1.0f / float(count)));
    const Vector3 middle = gArena->GroundPoint(mean.x, mean.y);
    const Vector2 centre = gArena->PointAtFraction(0.5f, 0.5f);
    const Vector3 heading(centre.x - middle.x, centre.y - middle.y, 0.0f);
    StopFollowing();
    if (heading.x * heading.x + heading.y * heading.y > 1.0f) camera->SetHeading(heading);
    camera->SetTarget(middle);
    camera->SetLookAt(middle);
}

namespace {

Vorn* WalkTeam(const Vorn* from, bool friendly, int step) {
    if (gArena == nullptr) return nullptr;
    const int count = gArena->ObjectCount();
    if (count == 0) return nullptr;
    const int index = from != nullptr ? gArena->FindObjectIndex(from) : -1;
    int start = step > 0 ? 0 : count - 1;
    if (index >= 0) start = (index + step + count) % count;
    for (int i = 0; i < count; ++i) {
        WorldObject* object = gArena->ObjectAt((start + i * step + count * count) % count);
        if (object->kind != kKindVorn) continue;
        Vorn* vorn = static_cast<Vorn*>(object);
        if (IsFriendly(*vorn) == friendly) return vorn;
    }
    return nullptr;
}

}  // namespace

Player* ArenaWindow::FriendlyPlayer() {
    const Game* game = CurrentGame();
    return game != nullptr && game->firstPlayer != nullptr ? game->firstPlayer : &GetLocalPlayer();
}

Player* ArenaWindow::EnemyPlayer() {
    const Game* game = CurrentGame();
    return game != nullptr && game->secondPlayer != nullptr ? game->secondPlayer : &GetOpponentPlayer();
}

Player* ArenaWindow::PlacingPlayer() {
    if (gArena != nullptr && gArena->placingPlayer != nullptr) return gArena->placingPlayer;
    return FriendlyPlayer();
}

Vorn* ArenaWindow::FindNextTeamVorn(const Vorn* after, bool friendly) { return WalkTeam(after, friendly, 1); }

Vorn* ArenaWindow::FindPreviousTeamVorn(const Vorn* before, bool friendly) { return WalkTeam(before, friendly, -1); }

void ArenaWindow::TickFollow() {
    if (gArena == nullptr) return;
    if (followVorn_ != nullptr) {
        camera->SetTarget(gArena->GroundPoint(followVorn_->position.x, followVorn_->position.y));
    }
    if (followObject_ != nullptr) {
        camera->SetTarget(gArena->GroundPoint(followObject_->position.x, followObject_->position.y));
    }
}

bool ArenaWindow::UnitScreenRect(const Vorn& unit, IntRect& rect) {
    if (gArena == nullptr) return false;
    Vector3 side, upAxis, back;
    camera->GetAxes(side, upAxis, back);
    const float radius = unit.GetRadius();
    const Point pointer = GetMouse().position;
    int64_t best = -1;
    for (int i = 0; i < 9; ++i) {
        const Vector3 centre = gArena->ImageOfPoint(unit.position, i);
        const Vector3 screen = camera->Project(centre);
        if (screen.z < 0.0f || screen.z > 1.0f || !std::isfinite(screen.x) || !std::isfinite(screen.y)) continue;
        const float size = std::fabs(camera->Project(centre + side * radius).x - screen.x);
        const IntRect image(int32_t(screen.x - size), int32_t(screen.y - size), int32_t(screen.x + size),
                            int32_t(screen.y + size));
        const bool inWindow = image.right >= left && image.left <= right && image.bottom >= top && image.top <= bottom;
        if (!inWindow) continue;
        const int64_t dx = pointer.x - std::clamp(pointer.x, image.left, image.right);
        const int64_t dy = pointer.y - std::clamp(pointer.y, image.top, image.bottom);
        const int64_t distance = dx * dx + dy * dy;
        if (best >= 0 && distance >= best) continue;
        best = distance;
        rect = image;
    }
    return best >= 0;
}

void ArenaWindow::EndSelectGroup(const Vector3& end) {
    bandActive = false;
    if (gArena == nullptr) return;
    const Vector2 start(bandStart.x, bandStart.y);
    const Vector2 centre = (start + Vector2(end.x, end.y)) * 0.5f;
    const float radius = (start - centre).Length();
    const Array<WorldObject*> objects = gArena->Objects();
    for (WorldObject* object : objects) {
        if (!IsBandSelectable(object->kind)) continue;
        const Vector3 image = gArena->NearestImage(bandStart, object->position);
        if ((Vector2(image.x, image.y) - centre).Length() <= radius) Select(object);
    }
}

Vector3 ArenaWindow::WrapPoint(const Vector3& point) const {
    return gArena != nullptr ? gArena->WrapPosition(point) : point;
}

Vector3 ArenaWindow::PointerGroundPoint(int32_t x, int32_t y) {
    const Ray ray = camera->GetPickRay(Vector2(float(x), float(y)));
    if (gArena == nullptr) return GetCameraGround().PickGroundPoint(ray);
    return gArena->PickTerrainPoint(ray, 0.0f);
}

WorldObject* ArenaWindow::ObjectUnderPointer(int32_t x, int32_t y) {
    if (gArena == nullptr) return nullptr;
    return gArena->PickObjectOnRay(camera->GetPickRay(Vector2(float(x), float(y))));
}

Vorn* ArenaWindow::VornUnderPointer(int32_t x, int32_t y) {
    if (gArena == nullptr) return nullptr;
    return gArena->PickVornOnRay(camera->GetPickRay(Vector2(float(x), float(y))));
}

void ResetVornActionQueues() {
    if (gArena != nullptr) {
        for (WorldObject* object : gArena->Objects()) {
            if (object->kind == kKindVorn) static_cast<Vorn*>(object)->ClearActionQueue();
        }
    }
    if (Game* game = CurrentGame()) game->RechooseSelectedVornPattern();
}

ArenaWindow& GetArenaWindow() {
    static ArenaWindow window;
    return window;
}
