#include "world/ObjectShape.h"

namespace {

CollisionShape UprightCylinder(const Vector3& p, float height, float radius) {
    CollisionShape shape;
    shape.kind = 1;
    shape.cylinderFirst = p;
    shape.cylinderSecond = p + Vector3(0, 0, height);
    shape.cylinderRadius = radius;
    return shape;
}

// A sphere resting on the ground point.
CollisionShape RestingSphere(const Vector3& p, float radius) {
    CollisionShape shape;
    shape.kind = 0;
    shape.sphereCentre = p + Vector3(0, 0, radius);
    shape.sphereRadius = radius;
    return shape;
}

}  // namespace

CollisionShape ShapeForObjectKind(int kind, const Vector3& p, float r) {
    switch (kind) {
        case 0:  // tree
            return UprightCylinder(p, 8.0f, 2.6f);
        case 1:  // rock
            return UprightCylinder(p, 2.6f, 2.0f);
        case 2:  // solar charger
            return UprightCylinder(p, 2.5f, 1.2f);
        case 7:  // soccer ball
            return RestingSphere(p, 0.75f);
        case 8:  // goal
            return RestingSphere(p, 8.0f);
        default: return RestingSphere(p, r);
    }
}
