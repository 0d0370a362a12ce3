// The camera: projections to known pixels, the frustum planes and sphere culling,
// picking rays, and the near-plane clamp.
#include <gtest/gtest.h>

#include <cmath>

#include "core/MathUtil.h"
#include "core/Plane.h"
#include "engine/Camera.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectPlane(const Plane& plane, float a, float b, float c, float d) {
    ExpectNear(plane.normal, {a, b, c});
    EXPECT_NEAR(plane.d, d, 1e-4f);
}

// Eye at `eye` looking along -z with y up, near 1, far 10, a 2 x 2 view and a
// 100 x 100 pixel viewport.
Camera LookingDown(const Vector3& eye, int32_t kind = Camera::kPerspective) {
    Camera camera;
    camera.kind = kind;
    camera.SetPosition(eye);
    camera.SetDirection({0, 0, -1});
    camera.SetUp({0, 1, 0});
    camera.viewWidth = 2.0f;
    camera.viewHeight = 2.0f;
    camera.viewport = IntRect(0, 0, 99, 99);
    return camera;
}

TEST(CameraTest, DefaultFrustumCullsSpheres) {
    Camera camera;
    camera.viewWidth = 2.0f;
    camera.viewHeight = 2.0f;
    camera.UpdateFrustum();
    ASSERT_EQ(camera.frustumPlanes.Count(), 6);
    ExpectPlane(camera.frustumPlanes[0], 0, 0, 1, -1);
    ExpectPlane(camera.frustumPlanes[1], 0, 0, -1, 10);
    for (int i = 2; i < 6; ++i) EXPECT_NEAR(camera.frustumPlanes[i].d, 0.0f, 1e-5f);

    EXPECT_EQ(camera.TestSphere(Sphere({0, 0, 5}, 1)), -1);
    EXPECT_EQ(camera.TestSphere(Sphere({0, 0, 10}, 1)), 0);
    EXPECT_EQ(camera.TestSphere(Sphere({0, 0, 20}, 1)), 1);
    EXPECT_EQ(camera.TestSphere(Sphere({30, 0, 5}, 1)), 1);
    // Distance to the near plane equal to the radius: touching counts as crossing.
    EXPECT_EQ(camera.TestSphere(Sphere({0, 0, 3}, 2)), 0);
}

TEST(CameraTest, SidePlanesPointInward) {
    Camera camera = LookingDown({0, 0, 0});
    camera.UpdateFrustum();
    const Array<Plane>& p = camera.frustumPlanes;
    ExpectPlane(p[0], 0, 0, -1, -1);
    ExpectPlane(p[1], 0, 0, 1, 10);
    const float h = std::sqrt(0.5f);
    ExpectPlane(p[2], h, 0, -h, 0);
    ExpectPlane(p[3], -h, 0, -h, 0);
    ExpectPlane(p[4], 0, h, -h, 0);
    ExpectPlane(p[5], 0, -h, -h, 0);

    camera.kind = Camera::kOrthographic;
    camera.frustumChanged = true;
    camera.UpdateFrustum();
    ExpectPlane(p[2], 1, 0, 0, 1);
    ExpectPlane(p[3], -1, 0, 0, 1);
    ExpectPlane(p[4], 0, 1, 0, 1);
    ExpectPlane(p[5], 0, -1, 0, 1);
    EXPECT_EQ(camera.TestSphere(Sphere({0.5f, 0, -5}, 0.2f)), -1);
    EXPECT_EQ(camera.TestSphere(Sphere({1.1f, 0, -5}, 0.2f)), 0);
    EXPECT_EQ(camera.TestSphere(Sphere({1.5f, 0, -5}, 0.2f)), 1);
}

TEST(CameraTest, PerspectiveProjectsToKnownPixels) {
    Camera camera = LookingDown({0, 0, 0});
    ExpectNear(camera.Project({0, 0, -5}), {50, 50, 8.0f / 9.0f});
    const Vector3 right = camera.Project({1, 0, -2});
    EXPECT_NEAR(right.x, 75.0f, 1e-3f);
    EXPECT_NEAR(right.y, 50.0f, 1e-3f);
    EXPECT_NEAR(right.z, 5.0f / 9.0f, 1e-5f);
    EXPECT_NEAR(camera.Project({0, 1, -1}).y, 0.0f, 1e-3f);  // y up is screen up
    EXPECT_NEAR(camera.Project({0, 0, -1}).z, 0.0f, 1e-5f);
    EXPECT_NEAR(camera.Project({0, 0, -10}).z, 1.0f, 1e-5f);

    // Moving the eye is seen by the next projection.
    camera.SetPosition({1, 0, 0});
    EXPECT_NEAR(camera.Project({1, 0, -5}).x, 50.0f, 1e-3f);
    ExpectNear(camera.Unproject({75, 50, 5.0f / 9.0f}), {2, 0, -2}, 1e-3f);
}

TEST(CameraTest, OrthographicAndScreenViews) {
    Camera ortho = LookingDown({0, 0, 10}, Camera::kOrthographic);
    ortho.viewWidth = 20.0f;
    ortho.viewHeight = 20.0f;
    const Vector3 p = ortho.Project({5, -5, 0});
    EXPECT_NEAR(p.x, 75.0f, 1e-3f);
    EXPECT_NEAR(p.y, 75.0f, 1e-3f);
    EXPECT_NEAR(p.z, 1.0f, 1e-5f);  // at the far plane, 10 from the eye

    Camera screen;
    screen.SetScreenView(IntRect(0, 0, 1023, 767), true);
    EXPECT_EQ(screen.viewport, IntRect(0, 0, 1023, 767));
    ExpectNear(screen.Project({0, 0, 0.5f}), {0, 0, 0.5f});
    ExpectNear(screen.Project({100, 700, 0}), {100, 700, 0});
    // The inverse of a large pixel view is no singular matrix.
    ExpectNear(screen.Unproject({100, 700, 0.25f}), {100, 700, 0.25f}, 1e-2f);

    Camera keep;
    keep.SetScreenViewSize(Point(640, 480), false);
    EXPECT_EQ(keep.viewport, IntRect(-1, -1, -1, -1));
    EXPECT_FLOAT_EQ(keep.viewWidth, 640.0f);
    ExpectNear(keep.eye, {320, 240, 0});
}

TEST(CameraTest, PickRaysHitTheGroundUnderThePixel) {
    Camera camera = LookingDown({0, 0, 10});
    const Ray ray = camera.GetPickRay({75, 25});
    ExpectNear(ray.origin, {0, 0, 10});
    EXPECT_NEAR(ray.direction.Length(), 1.0f, 1e-5f);
    float t = 0.0f;
    ASSERT_EQ(ray.IntersectPlane(Plane({0, 0, 1}, 0), t), 3);
    ExpectNear(ray.PointAt(t), {5, 5, 0}, 1e-3f);

    Camera ortho = LookingDown({0, 0, 10}, Camera::kOrthographic);
    ortho.SetDirection({0, 0, -2});
    ortho.viewWidth = 20.0f;
    ortho.viewHeight = 20.0f;
    const Ray straight = ortho.GetPickRay({75, 25});
    ExpectNear(straight.origin, {5, 5, 10}, 1e-3f);
    ExpectNear(straight.direction, {0, 0, -2});
}

TEST(CameraTest, ZeroNearIsClampedForPerspective) {
    Camera camera = LookingDown({0, 0, 0});
    camera.nearPlane = 0.0f;
    camera.SetFieldOfView(kPi * 0.5f);
    EXPECT_TRUE(std::isfinite(camera.viewHeight));
    EXPECT_GT(camera.viewHeight, 0.0f);
    camera.UpdateProjection();
    for (float element : camera.projection.m) EXPECT_TRUE(std::isfinite(element));
    EXPECT_EQ(camera.TestSphere(Sphere({0, 0, -5}, 1)), -1);
    for (const Plane& plane : camera.frustumPlanes) EXPECT_TRUE(std::isfinite(plane.d));
    EXPECT_NEAR(camera.Project({0, 0, -5}).x, 50.0f, 1e-3f);

    Camera screen;
    screen.SetScreenView(IntRect(0, 0, 99, 99), true);
    EXPECT_EQ(screen.EffectiveNear(), 0.0f);  // pixel views keep their near plane at 0
}

TEST(CameraTest, ViewSizeSetters) {
    Camera camera;
    camera.viewWidth = 4.0f;
    camera.viewHeight = 3.0f;
    camera.SetFieldOfView(2.0f * std::atan(0.5f));  // height = 2 near tan = 1
    EXPECT_NEAR(camera.viewHeight, 1.0f, 1e-5f);
    EXPECT_NEAR(camera.viewWidth, 4.0f / 3.0f, 1e-5f);
    camera.SetAspect(2.0f);
    EXPECT_NEAR(camera.viewWidth, 2.0f, 1e-5f);
    EXPECT_NEAR(camera.viewHeight, 1.0f, 1e-5f);
}

TEST(CameraTest, ClipPlanesStopAtThirtyTwo) {
    Camera camera;
    for (int i = 0; i < 33; ++i) camera.AddClipPlane(Plane({0, 0, 1}, float(i)));
    EXPECT_EQ(camera.clipPlanes.Count(), 32);
    EXPECT_EQ(camera.clipPlaneMask, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(camera.clipPlanes[31].d, 31.0f);
    camera.ClearClipPlanes();
    EXPECT_EQ(camera.clipPlanes.Count(), 0);
    EXPECT_EQ(camera.clipPlaneMask, 0u);
    camera.AddClipPlane(Plane({1, 0, 0}, 0));
    EXPECT_EQ(camera.clipPlaneMask, 1u);
}

}  // namespace
