#pragma once
// A 4 x 4 matrix of floats, row-major, in the row-vector convention: a point is
// multiplied from the left (p' = p M), so elements 12, 13, 14 hold the translation and
// an affine matrix has 0 in elements 3, 7, 11 and 1 in element 15.
#include "core/Vector3.h"

class Stream;
struct Quaternion;

struct Matrix4 {
    // Identity on construction.
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    bool operator==(const Matrix4& o) const = default;

    static Matrix4 Zero();

    void SetIdentity();
    // The identity with v as its translation.
    void SetTranslation(const Vector3& v);
    // Adds v to the translation.
    void Translate(const Vector3& v);
    Vector3 GetTranslation() const { return {m[12], m[13], m[14]}; }
    // s on the first three diagonal elements, 1 at element 15, 0 elsewhere.
    void SetScale(float s);
    // this = this x the uniform scale matrix of s.
    void Scale(float s);

    // The full product a x b (a is applied first).
    static Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
    Matrix4& operator*=(const Matrix4& o);
    Matrix4 operator/(float s) const;

    // The rotation matrix of q (q need not be of unit length).
    void FromQuaternion(const Quaternion& q);
    // this = this x the rotation matrix of q.
    void RotateByQuaternion(const Quaternion& q);

    // "< m0, m1, ..., m15 >"
    void WriteText(Stream& stream) const;
    void ReadText(Stream& stream);
    // Sixteen little-endian 4-byte floats in element order.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};

namespace Matrix {
// Rotation about y: m0 = cos, m2 = sin, m8 = -sin, m10 = cos.
Matrix4 RotationY(float angle);
// Rotation about z (the world's up axis): m0 = cos, m1 = sin, m4 = -sin, m5 = cos.
Matrix4 RotationZ(float angle);
}  // namespace Matrix

// The product of two affine matrices: rotation parts multiplied, translation = a's
// translation x b's rotation + b's translation; elements 3, 7, 11 = 0 and 15 = 1.
Matrix4 Matrix4MultiplyAffine(const Matrix4& a, const Matrix4& b);
// The adjugate (transposed cofactors) of m; det receives m's determinant. Callers
// pick their own singular test before dividing.
Matrix4 Matrix4Adjugate(const Matrix4& m, float& det);
// The inverse by adjugate / determinant; the zero matrix when the absolute
// determinant is 0.00001 or less.
Matrix4 Matrix4Invert(const Matrix4& m);
// (x, y, z, 1) M without the fourth column.
inline Vector3 TransformPoint(const Matrix4& matrix, const Vector3& p) {
    const float* m = matrix.m;
    return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
            p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}
