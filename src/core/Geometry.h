#pragma once
// Intersection and distance queries over the math records. Result codes: 0 no contact,
// 2 parallel (line and plane tests), 3 contact; side values as stated per query.
#include <span>

#include "core/Ray.h"
#include "core/Segment.h"
#include "core/Sphere.h"
#include "core/Triangle.h"
#include "core/Vector2.h"
#include "core/Vector3.h"

// A capsule: every point within radius of the segment between the two ends.
struct Cylinder {
    Vector3 first;
    Vector3 second;
    float radius = 0.0f;
};

// A 2-D line through point along direction.
struct Line2 {
    Vector2 point;
    Vector2 direction;

    // Parameter of p's projection on the line; 0 for a line without direction.
    float ProjectParam(const Vector2& p) const;
    // Sign (-1, 0, 1) of the cross product of the direction with p - point.
    int Side(const Vector2& p) const;
};

// 1 when the lines are parallel (the unit directions' cross product has a near-zero
// squared length); otherwise 0 with the parameters of the two nearest points.
int LineClosestApproach(const Ray& a, const Ray& b, float& ta, float& tb);

// 0 when the line misses; otherwise 3 with both roots, the smaller in absolute value
// in t0.
int IntersectLineSphere(const Ray& ray, const Sphere& sphere, float& t0, float& t1);
// 3 with side 2 when the sphere lies wholly ahead (origin outside); 3 with side 1 when
// the origin is inside (t0 the root ahead); 0 when it lies behind or is missed.
int IntersectRaySphere(const Ray& ray, const Sphere& sphere, float& t0, float& t1, int& side);
// The ray test on the segment's ray counting only crossings with t in 0..1: 3 when
// one lies there, t0 the first of them, t1 the other root; side 2 when the start is
// outside the sphere, 1 when inside. 0 when no crossing lies on the segment.
int IntersectSegmentSphere(const Segment& segment, const Sphere& sphere, float& t0, float& t1, int& side);

// The line parameter of the point nearest to p, clamped to 0..1 (0 for a segment
// without length).
float SegmentParam(const Vector3& start, const Vector3& end, const Vector3& p);
float SegmentParam(const Vector2& start, const Vector2& end, const Vector2& p);

// Clamped nearest parameters of two segments and the distance between the nearest
// points. For parallel segments ta is the first one's start (0).
float SegmentSegmentClosest(const Segment& a, const Segment& b, float& ta, float& tb);
// The same for a segment and an unbounded line; tl is the line's parameter.
float SegmentLineClosest(const Segment& s, const Ray& line, float& ts, float& tl);

// 3 when the two capsules overlap or touch, else 0.
int CylindersIntersect(const Cylinder& a, const Cylinder& b);
// 3 when the line comes within the cylinder's radius of its axis segment, with t the
// line parameter of that nearest approach; else 0.
int RayHitsCylinder(const Ray& ray, const Cylinder& cylinder, float& t);
// The nearest point of the flat-ended cylinder's surface to p.
Vector3 NearestPointOnCylinder(const Cylinder& cylinder, const Vector3& p);

// The nearest point of the triangle to p, with its barycentric weights (of a, b, c).
Vector3 NearestPointOnTriangle(const Triangle& triangle, const Vector3& p, Vector3* weights = nullptr);

// 0 when the segments are parallel; otherwise ta and tb are set, and the answer is 3
// when both lie in 0..1 (a crossing), else 0.
int SegmentsCross2D(const Vector2& a0, const Vector2& a1, const Vector2& b0, const Vector2& b1, float& ta, float& tb);

// Circles given as (centre x, centre y, radius): 0 when apart, the smaller circle's
// area when it lies inside the other, else the lens area.
float CircleOverlapArea(const Vector3& a, const Vector3& b);

// Barycentric weights of p in the 2-D triangle (a, b, c) by signed areas; zero
// weights for a degenerate triangle.
Vector3 Barycentric2D(const Vector2& p, const Vector2& a, const Vector2& b, const Vector2& c);

// Sign test of barycentric weights: 1 when any is negative (outside); otherwise 0 when
// any is at most the tolerance (on an edge); otherwise -1 (inside).
int SignTest(const Vector3& weights);

// The 2-D form of Sphere::FromPoints: (centre x, centre y, radius), radius -1 for none.
Vector3 BoundingCircle(std::span<const Vector2> points);
