#pragma once
// The collision shape of a world object: a sphere (kind 0) or a cylinder (kind 1)
// tested as a capsule. Only the fields of the current kind are meaningful; any other
// kind hits nothing.
//
// This header is read by the core's object-shape table, whose local helpers are named
// after the sphere and cylinder records: it declares neither of those names.
#include <cstdint>

#include "core/Color.h"
#include "core/Vector3.h"
#include "world/ContactRecord.h"

struct Ray;

struct CollisionShape {
    static constexpr int32_t kSphere = 0;
    static constexpr int32_t kCylinder = 1;

    int32_t kind = 0;
    Vector3 sphereCentre;
    float sphereRadius = 0.0f;
    Vector3 cylinderFirst;
    Vector3 cylinderSecond;
    float cylinderRadius = 0.0f;

    // Each setter changes the kind and its own fields; the other kind's fields stay.
    void SetSphere(const Vector3& centre, float radius);
    void SetCylinder(const Vector3& first, const Vector3& second, float radius);
    // The current kind's radius; nothing for other kinds.
    void SetRadius(float radius);
    // The current kind's radius; 0 for other kinds.
    float Radius() const {
        if (kind == kSphere) {
            return sphereRadius;
        }
        return kind == kCylinder ? cylinderRadius : 0.0f;
    }
    // A sphere's centre, a cylinder's midpoint, the zero vector for other kinds.
    Vector3 Centre() const {
        if (kind == kSphere) {
            return sphereCentre;
        }
        return kind == kCylinder ? (cylinderFirst + cylinderSecond) * 0.5f : Vector3();
    }
    // The current kind's part of the record as a capsule: a sphere is one of no length
    // (both ends at its centre); kinds other than 0 give the cylinder part.
    struct Part {
        Vector3 first;
        Vector3 second;
        float radius = 0.0f;
    };
    Part Geometry() const;

    // The reference point (a sphere's centre, a cylinder's first end) goes to point; a
    // cylinder keeps its axis.
    void MoveTo(const Vector3& point);
    // A sphere's centre; a cylinder's axis point nearest to point; the zero vector for
    // other kinds.
    Vector3 ClosestPointTo(const Vector3& point) const;

    // To the wrapped image nearest reference, by the arena's wrap rules: a sphere's
    // centre, or each cylinder end on its own. Nothing happens while there is no arena.
    void WrapNear(const Vector3& reference);
    // Folds the shape back into the arena range, point by point as WrapNear.
    void WrapIntoArena();

    // True when the shapes overlap (touching counts). This shape is the moving one:
    // with a contact record, its stop position and contact point are filled; the other
    // object is left for the caller.
    bool Intersects(const CollisionShape& other, ContactRecord* contact = nullptr) const;
    // On a hit, point := the ray's point at the hit parameter.
    bool HitByRay(const Ray& ray, Vector3& point) const;

    // Draws the shape translucent in colour, moved by offset (the arena's debug view).
    void DrawDebug(Color colour, const Vector3& offset) const;
};
