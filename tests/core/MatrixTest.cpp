#include <gtest/gtest.h>

#include <cmath>

#include "core/MathUtil.h"
#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "core/Sphere.h"
#include "core/StringStream.h"
#include "core/Transform2D.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float within = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, within);
    EXPECT_NEAR(actual.y, expected.y, within);
    EXPECT_NEAR(actual.z, expected.z, within);
}

void ExpectNear(const Matrix4& actual, const Matrix4& expected, float within = 1e-5f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.m[i], expected.m[i], within) << "element " << i;
    }
}

// q and -q are the same rotation.
void ExpectSameRotation(const Quaternion& a, const Quaternion& b) {
    const float sign = a.Dot(b) < 0.0f ? -1.0f : 1.0f;
    EXPECT_NEAR(a.x, sign * b.x, 1e-5f);
    EXPECT_NEAR(a.y, sign * b.y, 1e-5f);
    EXPECT_NEAR(a.z, sign * b.z, 1e-5f);
    EXPECT_NEAR(a.w, sign * b.w, 1e-5f);
}

Matrix4 Sample() {
    Matrix4 m = Matrix::RotationZ(0.7f);
    m *= Matrix::RotationY(-0.4f);
    m.Scale(2.0f);
    m.Translate({3, -1, 5});
    return m;
}

TEST(MatrixTest, BuildersAndTranslation) {
    Matrix4 m;
    m.SetTranslation({1, 2, 3});
    EXPECT_EQ(m.GetTranslation(), Vector3(1, 2, 3));
    m.Translate({1, 1, 1});
    EXPECT_EQ(TransformPoint(m, {0, 0, 0}), Vector3(2, 3, 4));

    m.SetScale(3);
    EXPECT_EQ(TransformPoint(m, {1, 2, 3}), Vector3(3, 6, 9));
    EXPECT_EQ(m.m[15], 1.0f);

    // Row vectors: the z rotation turns x toward y.
    ExpectNear(TransformPoint(Matrix::RotationZ(kPi / 2), {1, 0, 0}), {0, 1, 0});
    ExpectNear(TransformPoint(Matrix::RotationY(kPi / 2), {1, 0, 0}), {0, 0, 1});
    const Matrix4 halved = Matrix4() / 2.0f;
    EXPECT_EQ(halved.m[0], 0.5f);
    EXPECT_EQ(halved.m[1], 0.0f);
}

TEST(MatrixTest, ProductsApplyTheLeftMatrixFirst) {
    Matrix4 move;
    move.SetTranslation({1, 0, 0});
    const Matrix4 turn = Matrix::RotationZ(kPi / 2);
    ExpectNear(TransformPoint(Matrix4::Multiply(move, turn), {0, 0, 0}), {0, 1, 0});
    ExpectNear(TransformPoint(Matrix4::Multiply(turn, move), {0, 0, 0}), {1, 0, 0});

    const Matrix4 a = Sample();
    Matrix4 b = Matrix::RotationY(1.1f);
    b.Translate({-2, 4, 0.5f});
    ExpectNear(Matrix4MultiplyAffine(a, b), Matrix4::Multiply(a, b));
    const Vector3 p(0.3f, -7, 2);
    ExpectNear(TransformPoint(Matrix4::Multiply(a, b), p), TransformPoint(b, TransformPoint(a, p)), 1e-4f);
}

TEST(MatrixTest, InverseUndoesTheMatrixAndSingularGivesZero) {
    const Matrix4 m = Sample();
    ExpectNear(Matrix4::Multiply(m, Matrix4Invert(m)), Matrix4());
    const Vector3 p(1, 2, 3);
    ExpectNear(TransformPoint(Matrix4Invert(m), TransformPoint(m, p)), p, 1e-4f);

    Matrix4 flat;
    flat.SetScale(0.0f);
    EXPECT_EQ(Matrix4Invert(flat), Matrix4::Zero());
    // Determinant 0.000001: below the 0.00001 limit.
    Matrix4 tiny;
    tiny.SetScale(0.01f);
    EXPECT_EQ(Matrix4Invert(tiny), Matrix4::Zero());
    // Determinant 0.001: invertible.
    tiny.SetScale(0.1f);
    EXPECT_NEAR(Matrix4Invert(tiny).m[0], 10.0f, 1e-4f);
}

TEST(MatrixTest, TextFormRoundTrips) {
    StringStream out;
    const Matrix4 m = Sample();
    m.WriteText(out);
    StringStream in(out.Text());
    Matrix4 read = Matrix4::Zero();
    read.ReadText(in);
    ExpectNear(read, m, 1e-5f);
}

TEST(MatrixTest, SphereTransformScalesTheRadius) {
    Matrix4 m;
    m.SetScale(3);
    m.Translate({1, 0, 0});
    const Sphere s = Sphere::Transform(m, Sphere({1, 1, 1}, 2));
    EXPECT_EQ(s.centre, Vector3(4, 3, 3));
    EXPECT_FLOAT_EQ(s.radius, 6.0f);
    EXPECT_EQ(Sphere::Transform(Matrix4::Zero(), Sphere({1, 1, 1}, 2)).radius, 0.0f);
}

TEST(MatrixTest, Transform2DRotatesAndMoves) {
    Transform2D t;
    t.SetRotation(kPi / 2);
    const Vector2 p = t.Apply({1, 0});
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 1.0f, 1e-6f);
    t.m[6] = 5;
    t.m[7] = -1;
    const Vector2 q = t.Apply({0, 2});
    EXPECT_NEAR(q.x, 3.0f, 1e-6f);
    EXPECT_NEAR(q.y, -1.0f, 1e-6f);
}

TEST(QuaternionTest, AxisAngleRotatesLikeItsMatrix) {
    EXPECT_EQ(Quaternion::FromAxisAngle({0, 0, 0}, 1.0f), Quaternion(0, 0, 0, 1));
    const Quaternion q = Quaternion::FromAxisAngle({0, 0, 2}, kPi / 2);
    ExpectNear(q.RotateVector({1, 0, 0}), {0, 1, 0});
    const Quaternion r = Quaternion::FromAxisAngle({1, -2, 0.5f}, 1.3f);
    const Vector3 v(0.2f, 3, -1);
    ExpectNear(r.RotateVector(v), TransformPoint(r.ToMatrix(), v));

    Matrix4 m;
    m.FromQuaternion(r);
    ExpectNear(m, r.ToMatrix());
    Matrix4 moved;
    moved.SetTranslation({1, 2, 3});
    moved.RotateByQuaternion(r);
    ExpectNear(TransformPoint(moved, v), r.RotateVector(v + Vector3(1, 2, 3)), 1e-5f);
}

TEST(QuaternionTest, MultiplyComposesRightThenLeft) {
    const Quaternion a = Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2);
    const Quaternion b = Quaternion::FromAxisAngle({1, 0, 0}, kPi / 2);
    // b first: y turns to z, which a leaves alone.
    ExpectNear(Quaternion::Multiply(a, b).RotateVector({0, 1, 0}), {0, 0, 1});
    // a first: y turns to -x, which b leaves alone.
    ExpectNear(Quaternion::Multiply(b, a).RotateVector({0, 1, 0}), {-1, 0, 0});
    const Quaternion h = Quaternion::Multiply(Quaternion(1, 2, 3, 4), Quaternion(5, 6, 7, 8));
    EXPECT_EQ(h, Quaternion(24, 48, 48, -6));
}

TEST(QuaternionTest, FromMatrixRoundTripsThroughEveryBranch) {
    const Quaternion rotations[] = {
        Quaternion::FromAxisAngle({0.3f, -0.5f, 0.8f}, 0.9f),  // trace branch
        // Within 0.002 of a half turn 1 + trace falls below the tolerance and the
        // largest diagonal element picks the branch.
        Quaternion::FromAxisAngle({1, 0.1f, 0.05f}, 3.1405f),   // x largest
        Quaternion::FromAxisAngle({0.1f, 1, -0.1f}, 3.1405f),   // y largest
        Quaternion::FromAxisAngle({0.05f, 0.1f, 1}, -3.1405f),  // z largest
        Quaternion::FromAxisAngle({1, 0, 0}, kPi),              // exact half turns
        Quaternion::FromAxisAngle({0, 1, 0}, kPi),
        Quaternion::FromAxisAngle({0, 0, 1}, kPi),
        Quaternion(),
    };
    for (const Quaternion& q : rotations) {
        ExpectSameRotation(Quaternion::FromMatrix(q.ToMatrix()), q);
    }
}

TEST(QuaternionTest, FromTwoVectorsTurnsOneOntoTheOther) {
    const Vector3 a(1, 2, -0.5f);
    const Vector3 b(-3, 0.5f, 2);
    ExpectNear(Quaternion::FromTwoVectors(a, b).RotateVector(a.Normalized()), b.Normalized());
    // Beyond a right angle the asin alone would give the wrong turn.
    ExpectNear(Quaternion::FromTwoVectors({1, 0, 0}, {-1, 1, 0}).RotateVector({1, 0, 0}),
               Vector3(-1, 1, 0).Normalized());
    EXPECT_EQ(Quaternion::FromTwoVectors({0, 0, 3}, {0, 0, 1}), Quaternion());

    const Quaternion opposite = Quaternion::FromTwoVectors({1, 0, 0}, {-1, 0, 0});
    ExpectSameRotation(opposite, Quaternion(0, 0, 1, std::cos(kPi / 2)));
    ExpectNear(Quaternion::FromTwoVectors({0, 1, 0}, {0, -1, 0}).RotateVector({0, 1, 0}), {0, -1, 0});
}

TEST(QuaternionTest, SlerpTakesTheShorterArc) {
    const Quaternion a = Quaternion::FromAxisAngle({0, 0, 1}, 0.0f);
    const Quaternion b = Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2);
    ExpectSameRotation(Quaternion::Slerp(a, b, 0.5f), Quaternion::FromAxisAngle({0, 0, 1}, kPi / 4));
    ExpectSameRotation(Quaternion::Slerp(a, b, 0.0f), a);
    ExpectSameRotation(Quaternion::Slerp(a, b, 1.0f), b);
    // The same end rotation given as -b still goes the short way.
    const Quaternion negB(-b.x, -b.y, -b.z, -b.w);
    ExpectSameRotation(Quaternion::Slerp(a, negB, 0.5f), Quaternion::FromAxisAngle({0, 0, 1}, kPi / 4));
    // Nearly equal rotations blend linearly.
    const Quaternion close = Quaternion::FromAxisAngle({0, 0, 1}, 0.001f);
    const Quaternion mid = Quaternion::Slerp(a, close, 0.5f);
    EXPECT_NEAR(mid.z, close.z / 2, 1e-6f);
}

}  // namespace
