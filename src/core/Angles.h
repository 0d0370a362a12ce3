#pragma once
// Angles and headings on the ground plane.
#include "core/Vector2.h"
#include "core/Vector3.h"

// (cos angle, sin angle).
Vector2 VectorFromAngle(float angle);
// The arc cosine with the argument clamped to [-1, 1].
double SafeAcos(double x);
// The angle between two vectors, through their normalised dot product.
float AngleBetween(const Vector3& a, const Vector3& b);
// The signed turn from a to b, in [-pi, pi]; a turn of exactly pi keeps its sign.
float AngleDifference(float a, float b);
// The signed ground-plane angle of the direction from one point to the other; 0 when
// they are closer than 0.01.
float HeadingBetween(const Vector2& from, const Vector2& to);
