#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/Frame.h"
#include "core/Geometry.h"
#include "core/MathUtil.h"
#include "core/Plane.h"
#include "core/Spline.h"
#include "core/Vector3Array.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float within = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, within);
    EXPECT_NEAR(actual.y, expected.y, within);
    EXPECT_NEAR(actual.z, expected.z, within);
}

const Plane kGround({0, 0, 1}, 0);

TEST(GeometryTest, RayAgainstPlane) {
    float t = -7;
    EXPECT_EQ(Ray({0, 0, 5}, {0, 0, -2}).IntersectPlane(kGround, t), 3);
    EXPECT_FLOAT_EQ(t, 2.5f);
    t = -7;
    EXPECT_EQ(Ray({0, 0, 5}, {1, 0, 0}).IntersectPlane(kGround, t), 2);
    EXPECT_EQ(t, -7.0f);

    const Ray ray({0, 0, 0}, {2, 0, -4});
    EXPECT_EQ(ray.inverseDirection, Vector3(0.5f, kFloatMax, -0.25f));
    EXPECT_FLOAT_EQ(Ray({0, 0, 0}, {2, 0, 0}).ClosestParam({3, 5, 0}), 1.5f);
    EXPECT_EQ(Ray({0, 0, 0}, {2, 0, 0}).ClosestPoint({3, 5, 0}), Vector3(3, 0, 0));
    EXPECT_EQ(Ray({1, 1, 1}, {0, 0, 0}).ClosestParam({3, 5, 0}), 0.0f);
}

TEST(GeometryTest, PlanesSidesAndProjection) {
    EXPECT_EQ(kGround.ClassifyPoint({0, 0, 1}), -1);
    EXPECT_EQ(kGround.ClassifyPoint({0, 0, -1}), 1);
    EXPECT_EQ(kGround.ClassifyPoint({5, 5, 0.000005f}), 0);
    EXPECT_EQ(kGround.ClassifySphere(Sphere({0, 0, 2}, 2)), 0);
    EXPECT_EQ(kGround.ClassifySphere(Sphere({0, 0, 2.5f}, 2)), -1);
    EXPECT_EQ(kGround.ClassifySphere(Sphere({0, 0, -2.5f}, 2)), 1);
    EXPECT_EQ(ProjectPointOntoPlane(Plane::FromNormalAndPoint({0, 0, 1}, {0, 0, 3}), {1, 2, 7}), Vector3(1, 2, 3));

    const Plane fromCorners = Plane::FromTriangle(Triangle({0, 0, 2}, {1, 0, 2}, {0, 1, 2}));
    EXPECT_EQ(fromCorners.normal, Vector3(0, 0, 1));
    EXPECT_FLOAT_EQ(fromCorners.d, -2.0f);
    EXPECT_EQ(TriangleNormal({0, 0, 0}, {0, 0, 4}, {0, 3, 0}), Vector3(-1, 0, 0));
    EXPECT_EQ(TriangleNormal({1, 1, 1}, {2, 2, 2}, {3, 3, 3}), Vector3(0, 0, 0));
}

TEST(GeometryTest, RayAgainstSphere) {
    const Sphere sphere({10, 0, 0}, 2);
    float t0 = 0;
    float t1 = 0;
    int side = 0;
    EXPECT_EQ(IntersectRaySphere(Ray({0, 0, 0}, {1, 0, 0}), sphere, t0, t1, side), 3);
    EXPECT_EQ(side, 2);
    EXPECT_FLOAT_EQ(t0, 8.0f);
    EXPECT_FLOAT_EQ(t1, 12.0f);

    EXPECT_EQ(IntersectRaySphere(Ray({10, 0, 0}, {1, 0, 0}), sphere, t0, t1, side), 3);
    EXPECT_EQ(side, 1);
    EXPECT_FLOAT_EQ(t0, 2.0f);

    EXPECT_EQ(IntersectRaySphere(Ray({20, 0, 0}, {1, 0, 0}), sphere, t0, t1, side), 0);
    EXPECT_EQ(IntersectRaySphere(Ray({0, 0, 0}, {0, 1, 0}), sphere, t0, t1, side), 0);

    EXPECT_EQ(IntersectLineSphere(Ray({11, 0, 0}, {1, 0, 0}), sphere, t0, t1), 3);
    EXPECT_FLOAT_EQ(t0, 1.0f);
    EXPECT_FLOAT_EQ(t1, -3.0f);

    EXPECT_EQ(Ray({0, 3, 0}, {1, 0, 0}).HitsSphere(sphere, 1.0f), 3);
    EXPECT_EQ(Ray({0, 3, 0}, {1, 0, 0}).HitsSphere(sphere, 0.9f), 0);
}

TEST(GeometryTest, SegmentAgainstSphereCountsOnlyCrossingsOnTheSegment) {
    const Sphere sphere({10, 0, 0}, 2);
    float t0 = 0;
    float t1 = 0;
    int side = 0;
    EXPECT_EQ(IntersectSegmentSphere({{0, 0, 0}, {20, 0, 0}}, sphere, t0, t1, side), 3);
    EXPECT_EQ(side, 2);
    EXPECT_FLOAT_EQ(t0, 0.4f);
    EXPECT_EQ(IntersectSegmentSphere({{0, 0, 0}, {5, 0, 0}}, sphere, t0, t1, side), 0);
    EXPECT_EQ(IntersectSegmentSphere({{10, 0, 0}, {20, 0, 0}}, sphere, t0, t1, side), 3);
    EXPECT_EQ(side, 1);
    EXPECT_FLOAT_EQ(t0, 0.2f);
    EXPECT_EQ(IntersectSegmentSphere({{9.5f, 0, 0}, {10.5f, 0, 0}}, sphere, t0, t1, side), 0);

    const Segment path({0, 0, 0}, {10, 0, 0});
    EXPECT_EQ(path.PointPulledBack(0.5f), Vector3(4.995f, 0, 0));
    EXPECT_EQ(Segment({1, 1, 1}, {1, 1, 1}).PointPulledBack(0.5f), Vector3(1, 1, 1));
    EXPECT_EQ(path.ClosestPoint({-3, 4, 0}), Vector3(0, 0, 0));
}

TEST(GeometryTest, ClosestApproaches) {
    float ta = 0;
    float tb = 0;
    EXPECT_EQ(LineClosestApproach(Ray({0, 0, 0}, {1, 0, 0}), Ray({5, -3, 2}, {0, 2, 0}), ta, tb), 0);
    EXPECT_FLOAT_EQ(ta, 5.0f);
    EXPECT_FLOAT_EQ(tb, 1.5f);
    EXPECT_EQ(LineClosestApproach(Ray({0, 0, 0}, {1, 0, 0}), Ray({0, 1, 0}, {-3, 0, 0}), ta, tb), 1);

    EXPECT_FLOAT_EQ(SegmentSegmentClosest({{0, 0, 0}, {10, 0, 0}}, {{5, -1, 3}, {5, 1, 3}}, ta, tb), 3.0f);
    EXPECT_FLOAT_EQ(ta, 0.5f);
    EXPECT_FLOAT_EQ(tb, 0.5f);
    // Clamped at the ends, and parallel segments still give their distance.
    EXPECT_FLOAT_EQ(SegmentSegmentClosest({{0, 0, 0}, {1, 0, 0}}, {{4, 0, 0}, {4, 5, 0}}, ta, tb), 3.0f);
    EXPECT_FLOAT_EQ(SegmentSegmentClosest({{0, 0, 0}, {1, 0, 0}}, {{0.5f, 2, 0}, {3, 2, 0}}, ta, tb), 2.0f);

    EXPECT_FLOAT_EQ(SegmentParam(Vector2(0, 0), Vector2(4, 0), Vector2(5, 3)), 1.0f);
    EXPECT_FLOAT_EQ(SegmentParam(Vector3(0, 0, 0), Vector3(4, 0, 0), Vector3(1, 3, 0)), 0.25f);
}

TEST(GeometryTest, CylinderTests) {
    const Cylinder post{{0, 0, 0}, {0, 0, 5}, 1};
    EXPECT_EQ(CylindersIntersect(post, {{3, 0, 0}, {3, 0, 5}, 2}), 3);
    EXPECT_EQ(CylindersIntersect(post, {{3, 0, 0}, {3, 0, 5}, 1.9f}), 0);
    EXPECT_EQ(CylindersIntersect(post, {{-5, 1.5f, 2}, {5, 1.5f, 2}, 0.5f}), 3);
    EXPECT_EQ(CylindersIntersect(post, {{-5, 1.5f, 9}, {5, 1.5f, 9}, 0.5f}), 0);

    float t = -1;
    EXPECT_EQ(RayHitsCylinder(Ray({-10, 0.5f, 2}, {1, 0, 0}), post, t), 3);
    EXPECT_FLOAT_EQ(t, 10.0f);
    EXPECT_EQ(RayHitsCylinder(Ray({-10, 0, 7}, {1, 0, 0}), post, t), 0);
}

TEST(GeometryTest, NearestPointOfACylinderInEachRegion) {
    const Cylinder c{{0, 0, 0}, {0, 0, 10}, 2};
    ExpectNear(NearestPointOnCylinder(c, {1, 0, -3}), {1, 0, 0});
    ExpectNear(NearestPointOnCylinder(c, {4, 0, -3}), {2, 0, 0});
    ExpectNear(NearestPointOnCylinder(c, {0, 3, 12}), {0, 2, 10});
    ExpectNear(NearestPointOnCylinder(c, {0, 1, 12}), {0, 1, 10});
    ExpectNear(NearestPointOnCylinder(c, {5, 0, 4}), {2, 0, 4});
    // Inside: the nearest of the wall and the two end discs.
    ExpectNear(NearestPointOnCylinder(c, {1.5f, 0, 5}), {2, 0, 5});
    ExpectNear(NearestPointOnCylinder(c, {0.5f, 0, 0.2f}), {0.5f, 0, 0});
    ExpectNear(NearestPointOnCylinder(c, {0.5f, 0, 9.9f}), {0.5f, 0, 10});
    ExpectNear(NearestPointOnCylinder(c, {0, 0, 1}), {0, 0, 0});
    const Vector3 side = NearestPointOnCylinder(c, {0, 0, 5});
    EXPECT_FLOAT_EQ(side.z, 5.0f);
    EXPECT_NEAR(std::hypot(side.x, side.y), 2.0f, 1e-5f);
}

TEST(GeometryTest, TrianglesNearestPointAndRayHits) {
    const Triangle tri({0, 0, 0}, {4, 0, 0}, {0, 4, 0});
    Vector3 weights;
    ExpectNear(NearestPointOnTriangle(tri, {1, 1, 5}, &weights), {1, 1, 0});
    ExpectNear(weights, {0.5f, 0.25f, 0.25f});
    ExpectNear(NearestPointOnTriangle(tri, {3, 3, 1}, &weights), {2, 2, 0});
    ExpectNear(weights, {0, 0.5f, 0.5f});
    ExpectNear(NearestPointOnTriangle(tri, {-1, -1, 0}), {0, 0, 0});
    ExpectNear(NearestPointOnTriangle(tri, {2, -3, 0}), {2, 0, 0});

    float t = 0;
    float miss = -1;
    EXPECT_EQ(Ray({1, 1, 5}, {0, 0, -1}).IntersectTriangle(tri, t, miss), 3);
    EXPECT_FLOAT_EQ(t, 5.0f);
    EXPECT_EQ(miss, 0.0f);
    EXPECT_EQ(Ray({5, 5, 5}, {0, 0, -1}).IntersectTriangle(tri, t, miss), 0);
    EXPECT_FLOAT_EQ(miss, 1.5f);
    EXPECT_EQ(Ray({1, 1, 5}, {1, 0, 0}).IntersectTriangle(tri, t, miss), 2);
    // A wall (normal along x) drops x instead.
    const Triangle wall({3, 0, 0}, {3, 2, 0}, {3, 0, 2});
    EXPECT_EQ(Ray({0, 0.5f, 0.5f}, {1, 0, 0}).IntersectTriangle(wall, t, miss), 3);
    EXPECT_FLOAT_EQ(t, 3.0f);
}

TEST(GeometryTest, TwoDimensionalQueries) {
    const Line2 line{{0, 0}, {2, 0}};
    EXPECT_FLOAT_EQ(line.ProjectParam({3, 7}), 1.5f);
    EXPECT_EQ(line.Side({1, 1}), 1);
    EXPECT_EQ(line.Side({1, -1}), -1);

    float ta = 0;
    float tb = 0;
    EXPECT_EQ(SegmentsCross2D({0, 0}, {4, 0}, {1, -1}, {1, 1}, ta, tb), 3);
    EXPECT_FLOAT_EQ(ta, 0.25f);
    EXPECT_FLOAT_EQ(tb, 0.5f);
    EXPECT_EQ(SegmentsCross2D({0, 0}, {4, 0}, {1, 1}, {1, 3}, ta, tb), 0);
    EXPECT_FLOAT_EQ(tb, -0.5f);
    EXPECT_EQ(SegmentsCross2D({0, 0}, {4, 0}, {0, 1}, {4, 1}, ta, tb), 0);

    ExpectNear(Barycentric2D({1, 1}, {0, 0}, {4, 0}, {0, 4}), {0.5f, 0.25f, 0.25f});
    EXPECT_EQ(SignTest({0.5f, 0.25f, 0.25f}), -1);
    EXPECT_EQ(SignTest({0.5f, 0.5f, 0}), 0);
    EXPECT_EQ(SignTest({1.5f, -0.5f, 0}), 1);

    Frame frame;
    frame.origin = {1, 1, 0};
    frame.x = {0, 1, 0};
    frame.y = {-1, 0, 0};
    EXPECT_EQ(frame.ToLocal({1, 3, 5}), Vector3(2, 0, 5));
}

TEST(GeometryTest, CircleOverlapArea) {
    EXPECT_EQ(CircleOverlapArea({0, 0, 1}, {3, 0, 1}), 0.0f);
    EXPECT_EQ(CircleOverlapArea({0, 0, 1}, {2, 0, 1}), 0.0f);
    EXPECT_FLOAT_EQ(CircleOverlapArea({0, 0, 5}, {1, 0, 1}), kPi);
    EXPECT_FLOAT_EQ(CircleOverlapArea({1, 0, 1}, {0, 0, 5}), kPi);
    // Two unit circles one apart: each segment has a 120 degree angle, so the lens is
    // 2 (pi / 3 - sqrt(3) / 4).
    EXPECT_NEAR(CircleOverlapArea({0, 0, 1}, {1, 0, 1}), 2.0f * kPi / 3.0f - std::sqrt(3.0f) / 2.0f, 1e-5f);
    // Unequal radii: the lens is symmetric in its two circles.
    EXPECT_NEAR(CircleOverlapArea({0, 0, 2}, {2.5f, 0, 1}), CircleOverlapArea({2.5f, 0, 1}, {0, 0, 2}), 1e-5f);
}

TEST(GeometryTest, BoundingSpheresAndCircles) {
    EXPECT_EQ(Sphere::FromPoints({}).radius, -1.0f);
    const Vector3 one[] = {{3, 4, 5}};
    const Sphere single = Sphere::FromPoints(one);
    EXPECT_EQ(single.centre, Vector3(3, 4, 5));
    EXPECT_EQ(single.radius, 0.0f);

    Vector3Array points;
    points.Add({-1, 0, 0});
    points.Add({1, 0, 0});
    points.Add({0, 0.5f, 0});
    const Sphere pair = Sphere::FromPoints(points);
    EXPECT_EQ(pair.centre, Vector3(0, 0, 0));
    EXPECT_EQ(pair.radius, 1.0f);

    points.Add({0, 0, 3});
    points.Add({2, 2, 2});
    points.Add({-1, -2, 0.5f});
    const Sphere grown = Sphere::FromPoints(points);
    for (const Vector3& p : points) {
        EXPECT_LE(grown.centre.Distance(p), grown.radius * 1.0001f);
    }

    const Vector2 flat[] = {{0, 0}, {4, 0}, {2, 1}};
    EXPECT_EQ(BoundingCircle(flat), Vector3(2, 0, 2));
    EXPECT_EQ(BoundingCircle({}).z, -1.0f);
}

TEST(GeometryTest, SphereMerge) {
    Sphere s = Sphere::Empty();
    s.Merge(Sphere::Empty());
    EXPECT_TRUE(s.IsEmpty());
    s.Merge(Sphere({1, 0, 0}, 1));
    EXPECT_EQ(s.centre, Vector3(1, 0, 0));
    s.Merge(Sphere::Empty());
    EXPECT_EQ(s.radius, 1.0f);

    s.Merge(Sphere({1.5f, 0, 0}, 0.2f));
    EXPECT_EQ(s.centre, Vector3(1, 0, 0)) << "an enclosed sphere changes nothing";
    s.Merge(Sphere({5, 0, 0}, 1));
    EXPECT_EQ(s.centre, Vector3(3, 0, 0));
    EXPECT_EQ(s.radius, 3.0f);
    s.Merge(Sphere({3, 0, 0}, 10));
    EXPECT_EQ(s.radius, 10.0f) << "an enclosing sphere replaces it";

    EXPECT_EQ(Sphere::Overlaps(Sphere({0, 0, 0}, 1), Sphere({3, 0, 0}, 2)), 3);
    EXPECT_EQ(Sphere::Overlaps(Sphere({0, 0, 0}, 1), Sphere({3, 0, 0}, 1.9f)), 0);
}

TEST(GeometryTest, SplinesPassThroughTheirControlPoints) {
    Vector3Array loop;
    loop.Add({0, 0, 0});
    loop.Add({10, 0, 2});
    loop.Add({10, 10, 4});
    loop.Add({0, 10, 1});
    for (int i = 0; i < 4; ++i) {
        ExpectNear(SplinePoint(loop, i, 0.0f), loop[i]);
        ExpectNear(SplinePoint(loop, i, 1.0f), loop[(i + 1) % 4], 1e-4f);
    }
    ExpectNear(SplinePoint(loop, -1, 0.0f), loop[3]);
    ExpectNear(SplinePoint(loop, 6, 0.0f), loop[2]);
    EXPECT_EQ(SplinePoint(std::span<const Vector3>(), 0, 0.5f), Vector3());

    const Vector3 line[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    EXPECT_NEAR(SplineSegmentLength(line, 1, 50), 1.0f, 1e-5f);
    ExpectNear(SplinePoint(line, 1, 0.5f), {1.5f, 0, 0});

    const Vector2 flat[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    const Vector2 quarter = SplineLoopPoint(flat, 0.25f);
    EXPECT_NEAR(quarter.x, 4.0f, 1e-5f);
    EXPECT_NEAR(quarter.y, 0.0f, 1e-5f);
    const Vector2 mid = SplinePoint(std::span<const Vector2>(flat), 0, 0.5f);
    EXPECT_NEAR(mid.x, SplineLoopPoint(flat, 0.125f).x, 1e-5f);
    EXPECT_GT(SplineSegmentLength(std::span<const Vector2>(flat), 0, 20), 4.0f);
}

}  // namespace
