// One thing placed in a pattern: its kind table, property flags, facing, placement in
// the editing area, icons and text form.
#include "units/PatternObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <numbers>

#include "core/Angles.h"
#include "core/Stream.h"
#include "core/String.h"
#include "units/Pattern.h"
#include "units/PatternIcons.h"
#include "units/PatternLimits.h"

const char* const PatternObjectKindNames[kPatternObjectKindCount] = {
    "Tree",        "SolarCharger", "Rock",  "Beacon",     "HealthField", "GooField",
    "StaticField", "Friend",       "Enemy", "SoccerBall", "FriendGoal",  "EnemyGoal",
};

const char* const PropertyNames[kPatternPropertyCount] = {
    "Injured", "NotInjured", "SmallChassis", "MediumChassis", "LargeChassis", "VIP", "NotVIP", "HasBall",
};

namespace {

constexpr PatternObjectKindInfo kKindInfo[kPatternObjectKindCount] = {
    {2.6f, false, true, true, false},    // Tree
    {1.2f, false, true, true, false},    // SolarCharger
    {2.0f, false, true, true, false},    // Rock
    {1.65f, false, false, false, true},  // Beacon
    {8.0f, false, true, false, false},   // HealthField
    {8.0f, false, true, false, false},   // GooField
    {8.0f, false, true, false, false},   // StaticField
    {1.4f, true, true, true, false},     // Friend
    {1.4f, true, true, true, false},     // Enemy
    {0.75f, false, true, true, false},   // SoccerBall
    {2.5f, false, false, false, true},   // FriendGoal
    {2.5f, false, false, false, true},   // EnemyGoal
};

// Each property's group; setting a flag clears the others of its group. HasBall has a
// group of its own.
constexpr int kPropertyGroup[kPatternPropertyCount] = {0, 0, 1, 1, 1, 2, 2, 3};

// Property icons are as wide as a path point's icon at every zoom.
constexpr float kPropertyIconSize = 2.8f;
constexpr float kFullCircle = 2.0f * std::numbers::pi_v<float>;

}  // namespace

const PatternObjectKindInfo& PatternKindInfo(int32_t kind) {
    if (kind < 0 || kind >= kPatternObjectKindCount) {
        return kKindInfo[0];
    }
    return kKindInfo[kind];
}

PatternObject::PatternObject() { LoadPatternObjectIcons(); }

void PatternObject::Clear() {
    kind = kPatternTree;
    position = Vector2();
    facing = Vector2(1.0f, 0.0f);
    ClearProperties();
    cost = 0.0f;
    matchedIndex = -1;
    linkedObject = nullptr;
}

void PatternObject::CopyFrom(const PatternObject& other) {
    kind = other.kind;
    position = other.position;
    facing = other.facing;
    std::copy(std::begin(other.properties), std::end(other.properties), std::begin(properties));
}

bool PatternObject::SetKindByName(const char* text) {
    for (int32_t i = 0; i < kPatternObjectKindCount; ++i) {
        if (std::strcmp(text, PatternObjectKindNames[i]) == 0) {
            kind = i;
            return true;
        }
    }
    return false;
}

void PatternObject::SetProperty(int index, bool on) {
    if (index < 0 || index >= kPropertyCount) {
        return;
    }
    if (on) {
        for (int i = 0; i < kPropertyCount; ++i) {
            if (kPropertyGroup[i] == kPropertyGroup[index]) {
                properties[i] = 0;
            }
        }
    }
    properties[index] = on ? 1 : 0;
}

void PatternObject::ClearProperties() { std::fill(std::begin(properties), std::end(properties), uint8_t(0)); }

int PatternObject::PropertyCount() const {
    return static_cast<int>(
        std::count_if(std::begin(properties), std::end(properties), [](uint8_t p) { return p != 0; }));
}

bool PatternObject::SameProperties(const PatternObject& other) const {
    return std::equal(std::begin(properties), std::end(properties), std::begin(other.properties));
}

bool PatternObject::HasFacing() const {
    const float radius = Radius();
    return position.DistanceSquared(facing) > radius * radius;
}

Vector2 PatternObject::FacingDirection() const {
    if (!PatternKindInfo(kind).facing) {
        return Vector2(1.0f, 0.0f);
    }
    const Vector2 offset = facing - position;
    const float length = offset.Length();
    if (length <= 0.00001f) {
        return Vector2(1.0f, 0.0f);
    }
    return offset.DivideBy(length);
}

void PatternObject::SetPosition(const Vector2& point) {
    if (!HasFacing()) {
        facing = point;
    }
    position = point;
}

namespace {

// p pulled toward the origin to just inside the bound radius when it lies beyond it.
Vector2 PulledInsideBound(const Vector2& p) {
    const float length = p.Length();
    if (length <= kPatternBoundRadius) {
        return p;
    }
    return p * (kPatternClampRadius / length);
}

}  // namespace

void PatternObject::PlaceInside(const Vector2& point) {
    Vector2 place =
        ClampPointToRect(Vector2(kPatternAreaMin, kPatternAreaMin), Vector2(kPatternAreaMax, kPatternAreaMax), point);
    if (PatternKindInfo(kind).bounded) {
        place = PulledInsideBound(place);
    }
    SetPosition(place);
}

void PatternObject::ClampToRadius() { SetPosition(PulledInsideBound(position)); }

bool PatternObject::IsInsideArea() const { return IsInsidePatternArea(position); }

float PatternObject::PropertyRingRadius() const {
    // The icons' circle plus half an icon, so that the ring encloses them.
    return 1.5f * Radius() + kPatternHitRadius + 0.5f * kPropertyIconSize;
}

bool PatternObject::HitsPropertyRing(const Vector2& point) const {
    if (PropertyCount() == 0) {
        return false;
    }
    const float d2 = point.DistanceSquared(position);
    const float ring = PropertyRingRadius();
    return d2 >= kPatternHitRadius * kPatternHitRadius && d2 < ring * ring;
}

void PatternObject::LayoutPropertyIcons(Vector2 places[kPatternPropertyCount]) const {
    const int count = PropertyCount();
    if (count == 0) {
        return;
    }
    const float radius = 1.5f * Radius() + kPatternHitRadius;
    const float step = kFullCircle / static_cast<float>(count);
    float angle = 0.0f;
    for (int i = 0; i < kPropertyCount; ++i) {
        if (properties[i]) {
            places[i] = position + Vector2(std::cos(angle), std::sin(angle)) * radius;
            angle -= step;
        }
    }
}

int PatternObject::HitPropertyIcon(const Vector2& point) const {
    Vector2 places[kPatternPropertyCount];
    LayoutPropertyIcons(places);
    const float half = 0.5f * kPropertyIconSize;
    for (int i = 0; i < kPropertyCount; ++i) {
        if (properties[i] && std::fabs(point.x - places[i].x) <= half && std::fabs(point.y - places[i].y) <= half) {
            return i;
        }
    }
    return -1;
}

void PatternObject::Draw(float zoom, bool selected, bool alwaysShowProperties, Sprite* badge) const {
    const PatternIconSet& icons = CurrentObjectIcons(kind);
    const float size = 2.0f * Radius() * zoom / 32.0f;
    const uint32_t colour = (uint32_t(icons.alpha) << 24) | 0xFFFFFFu;
    if (PatternKindInfo(kind).facing && HasFacing()) {
        // The wedge image points up the screen's y axis.
        const float wedgeBase = -0.5f * std::numbers::pi_v<float>;
        DrawPatternSprite(icons.wedge, position, size, HeadingBetween(position, facing) + wedgeBase, colour);
    } else {
        DrawPatternSprite(icons.icon, position, size, 0.0f, colour);
    }
    if (badge && (alwaysShowProperties || (!selected && PropertyCount() > 0))) {
        // At the icon's lower right corner.
        DrawPatternSprite(badge, position + Vector2(Radius(), -Radius()), size / 3.0f);
    }
}

void PatternObject::DrawPropertyIcon(int index, float zoom) const {
    if (index < 0 || index >= kPropertyCount || !properties[index]) {
        return;
    }
    Vector2 places[kPatternPropertyCount];
    LayoutPropertyIcons(places);
    const PatternIcons& shared = GetPatternIcons();
    Sprite* sprite = kind == kPatternEnemy ? shared.enemyProperties[index] : shared.friendProperties[index];
    DrawPatternSprite(sprite, places[index], zoom * 0.0875f);
}

void PatternObject::DrawProperties(float zoom) const {
    if (PropertyCount() == 0) {
        return;
    }
    DrawPatternSprite(GetPatternIcons().whiteO, position, 2.0f * PropertyRingRadius() * zoom / 32.0f);
    for (int i = 0; i < kPropertyCount; ++i) {
        DrawPropertyIcon(i, zoom);
    }
}

void PatternObject::DrawFacing(float zoom) const {
    if (!PatternKindInfo(kind).facing || !HasFacing()) {
        return;
    }
    DrawPatternSprite(CurrentObjectIcons(kind).facing, facing, zoom / 32.0f * 1.4f);
}

void PatternObject::DrawFacingLine(float zoom) const {
    if (!PatternKindInfo(kind).facing || !HasFacing()) {
        return;
    }
    DrawPatternLine(position, facing, 0.7f * zoom / 32.0f, 0.2f);
}

void PatternObject::Write(Stream& stream, const PatternObject& object) {
    const int32_t kind = object.kind >= 0 && object.kind < kPatternObjectKindCount ? object.kind : 0;
    stream << PatternObjectKindNames[kind] << " ";
    object.position.WriteText(stream);
    stream << " ";
    object.facing.WriteText(stream);
    stream << " ";
    for (int i = 0; i < kPropertyCount; ++i) {
        if (object.properties[i]) {
            stream << PropertyNames[i] << " ";
        }
    }
    stream << "End ";
}

namespace {

int PropertyOfName(const String& word) {
    for (int i = 0; i < kPatternPropertyCount; ++i) {
        if (std::strcmp(word.CStr(), PropertyNames[i]) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

bool PatternObject::Read(Stream& stream, PatternObject& object) {
    String word;
    String::ReadToken(stream, word);
    if (word.IsEmpty()) {
        return false;
    }
    if (!object.SetKindByName(word.CStr())) {
        object.kind = kPatternTree;
    }
    Vector2 place = object.position;
    place.ReadText(stream);
    object.SetPosition(place);
    object.facing.ReadText(stream);
    object.ClearProperties();
    while (!stream.HasError()) {
        String::ReadToken(stream, word);
        const int property = PropertyOfName(word);
        if (property < 0) {
            // The word that ends the object may run into the end of a file.
            return !word.IsEmpty();
        }
        object.SetProperty(property, true);
    }
    return false;
}
