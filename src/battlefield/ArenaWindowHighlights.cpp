// What the battlefield window tells about the objects under the pointer: the arena's
// highlighted object, a unit's tool tip, and the marks a tutorial asks for by words.
#include <cmath>
#include <cstdlib>

#include "battlefield/ArenaWindow.h"
#include "battlefield/GameKind.h"
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

int32_t KindNamed(const String& word) {
    for (int32_t kind = 0; kind < kObjectKindCount; ++kind) {
        if (word.EqualsNoCase(ObjectKindNames[kind])) return kind;
    }
    return -1;
}

struct MarkRequest {
    bool units = false;
    int32_t kind = -1;  // -1 any kind
    bool kindNamed = false;
    String name;
    Vector2 offset;
    int32_t team = 0;  // 0 any, 1 friend, 2 enemy
};

// The words after "Object" or "Vorn"; false for a word out of place.
bool ReadMarkRequest(const StringArray& words, MarkRequest& request) {
    for (int32_t i = 1; i < words.Count(); ++i) {
        const String& word = words[i];
        const bool hasNext = i + 1 < words.Count();
        if (word.EqualsNoCase("Type") && hasNext) {
            request.kindNamed = true;
            request.kind = KindNamed(words[++i]);
        } else if (word.EqualsNoCase("Name") && hasNext) {
            request.name = words[++i];
        } else if (word.EqualsNoCase("Team") && hasNext) {
            request.team = words[++i].EqualsNoCase("Friend") ? 1 : 2;
        } else if (word.EqualsNoCase("Offset") && i + 2 < words.Count()) {
            request.offset = request.offset + Vector2(words[i + 1].ToFloat(), words[i + 2].ToFloat());
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

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
    mark.units = words[0].EqualsNoCase("Vorn");
    if ((!mark.units && !words[0].EqualsNoCase("Object")) || !ReadMarkRequest(words, mark)) {
        Window::GetHighlightShape(request, highlighter);
        return;
    }
    const Vector3 from = middle + Vector3(mark.offset.x, mark.offset.y, 0.0f);
    Vector3 image;
    WorldObject* found = nullptr;
    if (mark.units) {
        const Player* team = mark.team == 1 ? FriendlyPlayer() : mark.team == 2 ? EnemyPlayer() : nullptr;
        found = gArena->NearestVornNamed(from, &image, team, mark.name.CStr());
    } else if (mark.kindNamed) {
        found = mark.kind >= 0 ? gArena->NearestObjectOfKind(from, &image, mark.kind) : nullptr;
    } else {
        found = gArena->NearestObject(from, &image);
    }
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
