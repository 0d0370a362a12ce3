#include "world/CollisionShape.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/Ray.h"

#include "engine/Renderer.h"
#include "support/StandInModels.h"
#include "world/Arena.h"
#include "world/ObjectShape.h"
#include "world/Terrain.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

CollisionShape SphereShape(const Vector3& centre, float radius) {
    CollisionShape shape;
    shape.SetSphere(centre, radius);
    return shape;
}

CollisionShape CylinderShape(const Vector3& first, const Vector3& second, float radius) {
    CollisionShape shape;
    shape.SetCylinder(first, second, radius);
    return shape;
}

// The pair tests leave the other object to the arena's queries.
WorldObject* const kUntouched = reinterpret_cast<WorldObject*>(0x1234);

TEST(ObjectShapeTest, ShapesOfObjectKinds) {
    const Vector3 ground(5, 6, 1);
    const CollisionShape tree = ShapeForObjectKind(0, ground, 99);
    EXPECT_EQ(tree.kind, 1);
    EXPECT_EQ(tree.cylinderFirst, ground);
    EXPECT_EQ(tree.cylinderSecond, Vector3(5, 6, 9));
    EXPECT_FLOAT_EQ(tree.cylinderRadius, 2.6f);
    EXPECT_FLOAT_EQ(ShapeForObjectKind(1, ground, 0).cylinderRadius, 2.0f);
    EXPECT_FLOAT_EQ(ShapeForObjectKind(2, ground, 0).cylinderSecond.z, 3.5f);

    const CollisionShape ball = ShapeForObjectKind(7, ground, 99);
    EXPECT_EQ(ball.kind, 0);
    EXPECT_EQ(ball.sphereCentre, Vector3(5, 6, 1.75f));
    EXPECT_FLOAT_EQ(ShapeForObjectKind(8, ground, 0).sphereRadius, 8.0f);
    const CollisionShape unit = ShapeForObjectKind(3, ground, 1.5f);
    EXPECT_EQ(unit.sphereCentre, Vector3(5, 6, 2.5f));
    EXPECT_FLOAT_EQ(unit.sphereRadius, 1.5f);
}

}  // namespace

TEST(CollisionShapeTest, RecordOperationsFollowTheKind) {
    CollisionShape shape = CylinderShape({1, 2, 3}, {1, 2, 7}, 0.5f);
    EXPECT_FLOAT_EQ(shape.Radius(), 0.5f);
    ExpectNear(shape.Centre(), {1, 2, 5});
    ExpectNear(shape.ClosestPointTo({9, 2, 6}), {1, 2, 6});
    ExpectNear(shape.ClosestPointTo({1, 2, -4}), {1, 2, 3});
    shape.MoveTo({10, 0, 0});
    ExpectNear(shape.cylinderFirst, {10, 0, 0});
    ExpectNear(shape.cylinderSecond, {10, 0, 4});
    ExpectNear(shape.Geometry().second, {10, 0, 4});

    // Setting the other kind leaves the cylinder fields as they were.
    shape.SetSphere({4, 4, 4}, 2.0f);
    shape.SetRadius(3.0f);
    EXPECT_FLOAT_EQ(shape.sphereRadius, 3.0f);
    EXPECT_FLOAT_EQ(shape.cylinderRadius, 0.5f);
    ExpectNear(shape.ClosestPointTo({0, 0, 0}), {4, 4, 4});
    ExpectNear(shape.Geometry().first, {4, 4, 4});
    ExpectNear(shape.Geometry().second, {4, 4, 4});
    EXPECT_FLOAT_EQ(shape.Geometry().radius, 3.0f);

    shape.kind = 2;
    shape.SetRadius(9.0f);
    EXPECT_EQ(shape.Radius(), 0.0f);
    ExpectNear(shape.Centre(), {0, 0, 0});
    EXPECT_FALSE(shape.Intersects(SphereShape({4, 4, 4}, 100.0f)));
    EXPECT_FALSE(SphereShape({4, 4, 4}, 100.0f).Intersects(shape));
    Vector3 hit;
    EXPECT_FALSE(shape.HitByRay(Ray({0, 0, 0}, {1, 1, 1}), hit));
}

TEST(CollisionShapeTest, SphereAgainstSphere) {
    ContactRecord contact;
    contact.otherObject = kUntouched;
    // Exactly touching counts: R = 3, push along +X.
    EXPECT_TRUE(SphereShape({0, 0, 0}, 1).Intersects(SphereShape({3, 0, 0}, 2), &contact));
    ExpectNear(contact.stopPosition, {-0.005f, 0, 0});
    ExpectNear(contact.contactPoint, {1, 0, 0});
    EXPECT_EQ(contact.otherObject, kUntouched);

    EXPECT_FALSE(SphereShape({0, 0, 0}, 1).Intersects(SphereShape({3.01f, 0, 0}, 2), &contact));

    // Overlapping: the stop lies R + 0.005 from B's centre, the contact B.radius / R of
    // the way back from B's centre along n.
    EXPECT_TRUE(SphereShape({0, 0, 0}, 1).Intersects(SphereShape({0, 2, 0}, 2), &contact));
    ExpectNear(contact.stopPosition, {0, -1.005f, 0});
    ExpectNear(contact.contactPoint, {0, 2.0f - 4.0f / 3.0f, 0});

    // Same centre: pushed along +X.
    EXPECT_TRUE(SphereShape({5, 5, 5}, 1).Intersects(SphereShape({5, 5, 5}, 2), &contact));
    ExpectNear(contact.stopPosition, {1.995f, 5, 5});
    ExpectNear(contact.contactPoint, {3, 5, 5});

    EXPECT_TRUE(SphereShape({0, 0, 0}, 1).Intersects(SphereShape({1, 1, 0}, 1), nullptr));
}

TEST(CollisionShapeTest, NoRadiusSumKeepsTheMoverInPlace) {
    ContactRecord contact;
    // A probe of radius 0 on a point of radius 0: no division by the radius sum.
    EXPECT_TRUE(SphereShape({1, 1, 1}, 0).Intersects(SphereShape({1, 1, 1}, 0), &contact));
    ExpectNear(contact.stopPosition, {1, 1, 1});
    ExpectNear(contact.contactPoint, {1, 1, 1});

    EXPECT_TRUE(SphereShape({0, 0, 0}, 0.000002f).Intersects(SphereShape({0.000001f, 0, 0}, 0.000003f), &contact));
    EXPECT_EQ(contact.stopPosition, Vector3(0, 0, 0));
    EXPECT_EQ(contact.contactPoint, Vector3(0.000001f, 0, 0));

    // A probe on the axis of a line-thin cylinder touches it; the contact is B's centre.
    EXPECT_TRUE(SphereShape({0, 0, 2}, 0).Intersects(CylinderShape({0, 0, 0}, {0, 0, 10}, 0), &contact));
    ExpectNear(contact.stopPosition, {0, 0, 2});
    ExpectNear(contact.contactPoint, {0, 0, 5});
    EXPECT_TRUE(std::isfinite(contact.contactPoint.x));

    // A thin sweep through a point: the mover stays at its first end.
    EXPECT_TRUE(CylinderShape({-1, 0, 0}, {1, 0, 0}, 0).Intersects(SphereShape({0, 0, 0}, 0), &contact));
    ExpectNear(contact.stopPosition, {-1, 0, 0});
    ExpectNear(contact.contactPoint, {0, 0, 0});
}

TEST(CollisionShapeTest, SphereAgainstCylinder) {
    const CollisionShape post = CylinderShape({0, 0, 0}, {0, 0, 10}, 1.5f);
    ContactRecord contact;
    EXPECT_TRUE(SphereShape({0, 2, 5}, 1).Intersects(post, &contact));
    ExpectNear(contact.stopPosition, {0, 2.505f, 5});
    ExpectNear(contact.contactPoint, {0, 1.2f, 5});
    EXPECT_FALSE(SphereShape({0, 2.6f, 5}, 1).Intersects(post, &contact));

    // Beyond the second end the end point is the nearest point of the axis.
    EXPECT_TRUE(SphereShape({0, 0, 12}, 1).Intersects(post, &contact));
    ExpectNear(contact.stopPosition, {0, 0, 12.505f});
    ExpectNear(contact.contactPoint, {0, 0, 11.2f});

    // Centre on a vertical axis: pushed along +X.
    EXPECT_TRUE(SphereShape({0, 0, 5}, 1).Intersects(post, &contact));
    ExpectNear(contact.stopPosition, {-2.505f, 0, 5});
    ExpectNear(contact.contactPoint, {-1.5f, 0, 5});

    // Centre on a level axis along X: pushed along the ground-plane perpendicular +Y.
    EXPECT_TRUE(SphereShape({4, 0, 0}, 1).Intersects(CylinderShape({0, 0, 0}, {10, 0, 0}, 1), &contact));
    ExpectNear(contact.stopPosition, {4, -2.005f, 0});
    ExpectNear(contact.contactPoint, {4, -1, 0});

    // Centre on a cylinder of no length: pushed along +X.
    EXPECT_TRUE(SphereShape({3, 3, 3}, 1).Intersects(CylinderShape({3, 3, 3}, {3, 3, 3}, 1), &contact));
    ExpectNear(contact.stopPosition, {0.995f, 3, 3});
}

TEST(CollisionShapeTest, MovingCylinderAgainstSphere) {
    const CollisionShape sweep = CylinderShape({0, 0, 0}, {10, 0, 0}, 1);
    ContactRecord contact;
    contact.otherObject = kUntouched;
    // First reaches distance R = 2 from the centre at x = 4.
    EXPECT_TRUE(sweep.Intersects(SphereShape({6, 0, 0}, 1), &contact));
    ExpectNear(contact.stopPosition, {3.995f, 0, 0});
    ExpectNear(contact.contactPoint, {4.9975f, 0, 0});
    EXPECT_EQ(contact.otherObject, kUntouched);

    // Touching near the second end stops 0.005 short of the first contact.
    EXPECT_TRUE(sweep.Intersects(SphereShape({11.5f, 0, 0}, 1), &contact));
    ExpectNear(contact.stopPosition, {9.495f, 0, 0});

    EXPECT_FALSE(sweep.Intersects(SphereShape({5, 3.5f, 0}, 1), &contact));

    // Both ends inside: no crossing on the path, so the stop is at the second end.
    EXPECT_TRUE(CylinderShape({5.5f, 0, 0}, {6.5f, 0, 0}, 1).Intersects(SphereShape({6, 0, 0}, 1), &contact));
    ExpectNear(contact.stopPosition, {6.495f, 0, 0});

    // No length: the sphere of its own radius at its midpoint.
    EXPECT_TRUE(CylinderShape({2, 0, 0}, {2, 0, 0}, 1).Intersects(SphereShape({4, 0, 0}, 1), &contact));
    ExpectNear(contact.stopPosition, {1.995f, 0, 0});
}

TEST(CollisionShapeTest, MovingCylinderAgainstCylinder) {
    const CollisionShape sweep = CylinderShape({0, 0, 0}, {10, 0, 0}, 1);
    ContactRecord contact;
    // Across the side of a post: the widened post (R = 2) is reached at x = 4.
    EXPECT_TRUE(sweep.Intersects(CylinderShape({6, 0, -5}, {6, 0, 5}, 1), &contact));
    ExpectNear(contact.stopPosition, {3.995f, 0, 0});
    ExpectNear(contact.contactPoint, {4.9975f, 0, 0});

    EXPECT_FALSE(sweep.Intersects(CylinderShape({6, 2.5f, -5}, {6, 2.5f, 5}, 1), &contact));

    // Passing under the post's first end: the end's sphere is met first, at t = 0.52.
    EXPECT_TRUE(
        CylinderShape({0, 0, 0}, {10, 0, 0}, 0.5f).Intersects(CylinderShape({6, 0, 0.6f}, {6, 0, 10}, 0.5f), &contact));
    ExpectNear(contact.stopPosition, {5.195f, 0, 0});
    ExpectNear(contact.contactPoint, {5.5975f, 0, 0.3f});

    // No length: a sphere against the post.
    EXPECT_TRUE(CylinderShape({0, 0, 0}, {0, 0, 0}, 1).Intersects(CylinderShape({2, 0, -5}, {2, 0, 5}, 1), &contact));
    ExpectNear(contact.stopPosition, {-0.005f, 0, 0});

    EXPECT_TRUE(sweep.Intersects(CylinderShape({6, 0, -5}, {6, 0, 5}, 1), nullptr));
}

TEST(CollisionShapeTest, RayPicking) {
    Vector3 point;
    EXPECT_TRUE(SphereShape({10, 0, 0}, 2).HitByRay(Ray({0, 0, 0}, {1, 0, 0}), point));
    ExpectNear(point, {8, 0, 0});
    EXPECT_FALSE(SphereShape({10, 0, 0}, 2).HitByRay(Ray({0, 0, 0}, {-1, 0, 0}), point));
    EXPECT_FALSE(SphereShape({10, 3, 0}, 2).HitByRay(Ray({0, 0, 0}, {1, 0, 0}), point));

    // The capsule test answers the ray's point nearest the axis.
    const CollisionShape post = CylinderShape({10, 0, 0}, {10, 0, 5}, 1);
    EXPECT_TRUE(post.HitByRay(Ray({0, 0, 2}, {1, 0, 0}), point));
    ExpectNear(point, {10, 0, 2});
    EXPECT_FALSE(post.HitByRay(Ray({0, 3, 2}, {1, 0, 0}), point));
}

TEST(CollisionShapeTest, WrapMovesAcrossEachEdge) {
    Arena arena;
    arena.GetTerrain().Resize(16, 16);  // 160 x 160 world units
    Arena* const saved = gArena;
    gArena = &arena;

    CollisionShape ball = SphereShape({159, 80, 3}, 1);
    ball.WrapNear({1, 80, 0});
    ExpectNear(ball.sphereCentre, {-1, 80, 3});
    ball.WrapNear({159, 80, 0});
    ExpectNear(ball.sphereCentre, {159, 80, 3});
    ball.SetSphere({80, 2, 3}, 1);
    ball.WrapNear({80, 158, 0});
    ExpectNear(ball.sphereCentre, {80, 162, 3});
    ball.SetSphere({80, 158, 3}, 1);
    ball.WrapNear({80, 2, 0});
    ExpectNear(ball.sphereCentre, {80, -2, 3});

    // Each cylinder end on its own.
    CollisionShape post = CylinderShape({159, 159, 0}, {1, 1, 5}, 1);
    post.WrapNear({1, 1, 0});
    ExpectNear(post.cylinderFirst, {-1, -1, 0});
    ExpectNear(post.cylinderSecond, {1, 1, 5});

    post.SetCylinder({-1, 170, 0}, {165, -3, 5}, 1);
    post.WrapIntoArena();
    ExpectNear(post.cylinderFirst, {159, 10, 0});
    ExpectNear(post.cylinderSecond, {5, 157, 5});
    ball.SetSphere({-0.5f, -0.5f, 7}, 1);
    ball.WrapIntoArena();
    ExpectNear(ball.sphereCentre, {159.5f, 159.5f, 7});

    gArena = saved;
}

TEST(CollisionShapeTest, DebugDrawingRendersTheShapeModel) {
    const world_test::StandInModels models({}, {"CollisionSphere", "CollisionCylinder"});
    Renderer& renderer = GetRenderer();
    const int before = renderer.renderModelCount;
    CylinderShape({1, 2, 3}, {1, 2, 7}, 0.5f).DrawDebug(Color::FromRGBA(255, 0, 0, 255), {10, 0, 0});
    EXPECT_TRUE(renderer.IsAlphaBlendOn());
    const Matrix4& world = renderer.GetWorldTransform();
    // Z turned onto the axis (already +Z) and scaled by (radius, radius, length).
    EXPECT_FLOAT_EQ(world[0], 0.5f);
    EXPECT_FLOAT_EQ(world[5], 0.5f);
    EXPECT_FLOAT_EQ(world[10], 4.0f);
    ExpectNear(world.GetTranslation(), {11, 2, 3});

    // A level axis along +X: the model's Z runs along X.
    CylinderShape({0, 0, 0}, {2, 0, 0}, 1).DrawDebug(Color(), {0, 0, 0});
    ExpectNear(TransformPoint(renderer.GetWorldTransform(), {0, 0, 1}), {2, 0, 0});

    SphereShape({1, 1, 1}, 2).DrawDebug(Color(), {0, 0, 1});
    ExpectNear(TransformPoint(renderer.GetWorldTransform(), {1, 0, 0}), {3, 1, 2});
    EXPECT_EQ(renderer.renderModelCount, before + 3);

    CollisionShape none;
    none.kind = 7;
    none.DrawDebug(Color(), {0, 0, 0});
    EXPECT_EQ(renderer.renderModelCount, before + 3);
}
