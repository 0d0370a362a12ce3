#pragma once
// Segments that the matcher compares: a line between two objects of a pattern, and its
// counterpart between two objects of the world (the matcher's own subclass). Lines of
// the two kinds are linked to each other when their end objects correspond.
#include "core/Array.h"
#include "core/Vector2.h"

class PatternObject;

class MatchLine {
public:
    MatchLine() = default;
    MatchLine(const MatchLine&) = default;
    MatchLine& operator=(const MatchLine&) = default;
    virtual ~MatchLine() = default;

    // Stores the ends and caches the unit direction: (1, 0) for a line shorter than
    // 0.001, whose direction rounding would make arbitrary.
    void Set(void* lineOwner, const Vector2& lineStart, const Vector2& lineEnd);

    // Parameter of p's foot on the infinite line, 0 at the start and 1 at the end; 0 for
    // a line without length.
    float ClosestParam(const Vector2& p) const;
    // The foot itself; t receives its parameter when asked for.
    Vector2 ClosestPoint(const Vector2& p, float* t = nullptr) const;
    // +1 when p lies left of the line (positive cross product of the direction with p's
    // offset from the start), -1 when right; a point on the line counts as left so that
    // every point has a side.
    int Side(const Vector2& p) const;
    float Length() const;

    Vector2 start;
    Vector2 end;
    Vector2 direction{1.0f, 0.0f};
    void* owner = nullptr;      // the object the line belongs to
    MatchLine* link = nullptr;  // the linked line of the other kind
};

class PatternLine : public MatchLine {
public:
    // From one object's position to the other's; from an object to itself, a facing line
    // from its position 3 units along its facing direction. The owner is `from`.
    void Set(PatternObject* fromObject, PatternObject* toObject);
    bool IsFacingLine() const { return from == to; }

    PatternObject* from = nullptr;
    PatternObject* to = nullptr;
};

// A pattern's lines; the storage grows by doubling and is kept between builds.
using PatternLineArray = Array<PatternLine>;
