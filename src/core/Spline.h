#pragma once
// Closed Catmull-Rom loops through control points (the fly-by paths).
#include <span>

#include "core/Vector2.h"
#include "core/Vector3.h"

// The point of segment i (taken modulo the count) at t in 0..1, between control
// points i and i + 1; the zero vector for no points.
Vector3 SplinePoint(std::span<const Vector3> points, int i, float t);
Vector2 SplinePoint(std::span<const Vector2> points, int i, float t);
// The sum of steps chord lengths along segment i.
float SplineSegmentLength(std::span<const Vector3> points, int i, int steps);
float SplineSegmentLength(std::span<const Vector2> points, int i, int steps);
// The whole loop: u in 0..1 runs once around every segment.
Vector2 SplineLoopPoint(std::span<const Vector2> points, float u);
// The same point evaluated directly from four control points A, B, C, D.
Vector3 CatmullRom(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d, float t);
