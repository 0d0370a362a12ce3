// How far apart two world objects must stand.
#include "world/ObjectSpacing.h"

#include "world/CollisionShape.h"
#include "world/WorldObject.h"

namespace {

float Extent(const WorldObject& object) {
    const CollisionShape& shape = object.shape;
    float extent = shape.Radius();
    if (shape.kind == CollisionShape::kCylinder) extent += shape.cylinderFirst.Distance(shape.cylinderSecond);
    return extent;
}

}  // namespace

float ContactRadiusSum(const WorldObject& a, const WorldObject& b) {
    // The small margin keeps objects that just touch from counting as overlapping.
    return a.shape.Radius() + b.shape.Radius() + 0.005f;
}

float SeparationDistance(const WorldObject& a, const WorldObject& b, float gap) { return Extent(a) + Extent(b) + gap; }
