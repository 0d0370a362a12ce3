#pragma once
// Small vector helpers shared by the units, the battlefield, the editors and the scenes:
// interpolation, a ray's crossing with a height, random directions and a point on a ring.
#include "core/Array.h"
#include "core/Ray.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

// a + t (b - a).
Vector3 Vec3Lerp(float t, const Vector3& a, const Vector3& b);
// Component-wise a - b.
Vector4 Vec4Subtract(const Vector4& a, const Vector4& b);
// Where the ray meets the plane z = height; the ray's origin when it runs parallel to it.
Vector3 RayHitHeightPlane(const Ray& ray, float height);
// A direction of unit length drawn from the game's generator: three draws in [-1, 1]
// (z, then y, then x) from the cube, not uniformly over the sphere, again while the
// vector is near zero.
Vector3 RandomUnitVector();
// A point at the distance of `to` from `from`, in the direction of `to` turned by a
// random angle in [-spread / 2, spread / 2]; `to` itself when the two points coincide.
Vector2 RandomAimDirection(const Vector2& from, const Vector2& to, float spread);
// The point at the angle on the closed polygon of the ring's first 8 points, interpolated
// between neighbours (2 pi / 8 apart). A ring of fewer than 8 points gives its first
// point (the origin when it is empty); so does an angle that is no number.
Vector3 PointOnRing8(const Array<Vector3>& ring, float angle);
