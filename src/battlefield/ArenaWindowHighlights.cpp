// What the battlefield window tells about the objects under the pointer: the arena's
// highlighted object, a unit's tool tip, and the marks a tutorial asks for by words.
#include <cmath>
#include <cstdlib>

#include "battlefield/ArenaWindow.h"
#include "battlefield/GameKind.h"
#include "battlefield/MarkRequest.h"
#include "battlefield/PaintTray.h"
#include "core/TextTable.h"
#include "engine/Mouse.h"
#include "game/Event.h"
#include "game/Game.h"
#include "ui/Highlighter.h"
#include "ui/ToolTip.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

constexpr float kMarkPulse = 1.6f;
constexpr float kCylinderMarkShare = 0.8f;
constexpr float kSphereMarkScale = 1.25f;

}  // namespace

void ArenaWindow::HitTestControls(const Point& point) {
    if (!GetPaintTray().open && gArena != nullptr) {
        WorldObject* object = ObjectUnderPointer(point.x, point.y);
        if (object != gArena->mouseHighlight) {
            if (Event* event = PostEventPointer(kEventSetMouseHighlightObject, object)) {
                event->value = object != nullptr ? object->id : -1;
            }
        }
    }
    Window::HitTestControls(point);
}

void ArenaWindow::GetToolTip() {
    WorldObject* highlighted = gArena != nullptr ? gArena->mouseHighlight : nullptr;
    if (highlighted == nullptr || highlighted->kind != kKindVorn) {
        Window::GetToolTip();
        return;
    }
    Vorn& unit = *static_cast<Vorn*>(highlighted);
    const Game* game = CurrentGame();
    const bool ownSquadUnit = unit.owner == FriendlyPlayer() && unit.fromSquad != 0;
    if (!ownSquadUnit && (game == nullptr || !game->ShowsObjectToolTips())) {
        Window::GetToolTip();
        return;
    }
    IntRect rect;
    if (!UnitScreenRect(unit, rect)) return;
    String text = unit.name;
    if (IsCurrentGame("TutorialGame")) {
        bool found = false;
        const String translated = GetLanguageTextFound(unit.name, found);
        if (found) text = translated;
    }
    ::GetToolTip().Set(text, rect);
}

float ArenaWindow::ScreenRadius(const Vector3& centre, float radius) {
    Vector3 side, upAxis, back;
    camera->GetAxes(side, upAxis, back);
    const Vector3 middle = camera->Project(centre);
    const Vector3 edge = camera->Project(centre + side * radius);
    return std::hypot(edge.x - middle.x, edge.y - middle.y);
}

void ArenaWindow::MarkGroundCircle(const Vector3& centre, float radius, Highlighter& highlighter) {
    const Vector3 screen = camera->Project(centre);
    highlighter.AddCircle(Vector2(screen.x, screen.y), ScreenRadius(centre, radius), kMarkPulse);
}

void ArenaWindow::GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) {
    StringArray words;
    request.name.Split(words, ' ');
    if (gArena == nullptr || words.IsEmpty()) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    const Vector3 middle = PointerGroundPoint(GetCenter().x, GetCenter().y);
    if (words[0].EqualsNoCase("Circle") && words.Count() == 4) {
        const Vector3 at = gArena->NearestImage(middle, Vector3(words[1].ToFloat(), words[2].ToFloat(), 0.0f));
        MarkGroundCircle(gArena->GroundPoint(at.x, at.y), words[3].ToFloat(), highlighter);
        return;
    }
    MarkRequest mark;
    Vector3 image;
    WorldObject* found = nullptr;
    if (MarkRequest::Read(words, mark)) found = mark.Find(*gArena, middle, FriendlyPlayer(), EnemyPlayer(), image);
    if (found == nullptr) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    const CollisionShape& shape = found->shape;
    Vector3 centre = image;
    float radius = shape.Radius() * kSphereMarkScale;
    if (shape.kind == CollisionShape::kCylinder) {
        const float length = (shape.cylinderSecond - shape.cylinderFirst).Length();
        radius = kCylinderMarkShare * (length * 0.5f + shape.cylinderRadius);
        centre.z += length * 0.5f;
    }
    MarkGroundCircle(centre, radius, highlighter);
}
