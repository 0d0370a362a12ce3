#pragma once
// One thing placed in a pattern around the unit: its kind, place, facing and properties.
// Pooled in the arena's "PatternObject" pool.
#include <cstdint>

#include "core/Vector2.h"

struct Sprite;
class Stream;
class WorldObject;

enum PatternObjectKind : int32_t {
    kPatternTree = 0,
    kPatternSolarCharger,
    kPatternRock,
    kPatternBeacon,
    kPatternHealthField,
    kPatternGooField,
    kPatternStaticField,
    kPatternFriend,
    kPatternEnemy,
    kPatternSoccerBall,
    kPatternFriendGoal,
    kPatternEnemyGoal,
};
constexpr int kPatternObjectKindCount = 12;

extern const char* const PatternObjectKindNames[kPatternObjectKindCount];

// What the pattern rules know of a kind. radius: size and hit radius in the pattern;
// facing: has a facing handle; bounded: lies within the bound radius; exclusive: may not
// overlap another exclusive object (and counts as solid); single: at most one per pattern.
struct PatternObjectKindInfo {
    float radius;
    bool facing;
    bool bounded;
    bool exclusive;
    bool single;
};
// The row of the kind; kind 0's for a kind outside the table.
const PatternObjectKindInfo& PatternKindInfo(int32_t kind);

enum PatternProperty : int32_t {
    kPropertyInjured = 0,
    kPropertyNotInjured,
    kPropertySmallChassis,
    kPropertyMediumChassis,
    kPropertyLargeChassis,
    kPropertyVIP,
    kPropertyNotVIP,
    kPropertyHasBall,
};
constexpr int kPatternPropertyCount = 8;

extern const char* const PropertyNames[kPatternPropertyCount];

class PatternObject {
public:
    static constexpr int kPropertyCount = kPatternPropertyCount;

    // Loads the shared icons once, then the defaults of Clear.
    PatternObject();

    // Kind 0 at the origin, facing point (1, 0), no properties, no matcher state.
    void Clear();
    void Reset() { Clear(); }
    // Kind, position, facing point and properties.
    void CopyFrom(const PatternObject& other);

    float Radius() const { return PatternKindInfo(kind).radius; }
    // False, kind unchanged, when the text is no kind's name (exact case).
    bool SetKindByName(const char* text);

    // Setting a flag clears the others of its group (Injured/NotInjured; the three
    // chassis sizes; VIP/NotVIP); HasBall stands alone. Clearing touches that flag only.
    void SetProperty(int index, bool on);
    void ClearProperties();
    int PropertyCount() const;
    bool SameProperties(const PatternObject& other) const;

    // The facing handle has been pulled out of the icon.
    bool HasFacing() const;
    // Unit vector toward the facing point; (1, 0) for kinds without facing or a point on
    // the position.
    Vector2 FacingDirection() const;
    // An unset facing point travels with the object.
    void SetPosition(const Vector2& point);
    // Clamped into the editing area, and for bounded kinds pulled inside the bound radius.
    void PlaceInside(const Vector2& point);
    // Pulled inside the bound radius whatever the kind.
    void ClampToRadius();
    bool IsInsideArea() const;

    // Property icons sit on a ring around the object.
    float PropertyRingRadius() const;
    bool HitsPropertyRing(const Vector2& point) const;
    // Places of the set properties' icons, in property order clockwise from angle 0;
    // places of flags that are not set are left as they were.
    void LayoutPropertyIcons(Vector2 places[kPatternPropertyCount]) const;
    // The set property whose icon lies under the point, or -1.
    int HitPropertyIcon(const Vector2& point) const;

    void Draw(float zoom, bool selected, bool alwaysShowProperties, Sprite* badge) const;
    void DrawPropertyIcon(int index, float zoom) const;
    void DrawProperties(float zoom) const;
    void DrawFacing(float zoom) const;
    void DrawFacingLine(float zoom) const;

    // Kind word, position, facing point, the set properties' names, "End", each followed
    // by a blank; no indent, no line end.
    static void Write(Stream& stream, const PatternObject& object);
    // An unknown kind word gives kind 0; the first word that is no property's ends the
    // object and is consumed. False when the text stops short of that word.
    static bool Read(Stream& stream, PatternObject& object);

    int32_t kind = kPatternTree;
    Vector2 position;
    Vector2 facing{1.0f, 0.0f};  // the tip of the facing handle
    uint8_t properties[kPropertyCount] = {};

    // Matcher state of the last run: this object's share of the cost, the position of
    // its partner in the world layout (-1 none), and the partner.
    float cost = 0.0f;
    int32_t matchedIndex = -1;
    WorldObject* linkedObject = nullptr;
};
