#include "core/Matrix4.h"

#include <cmath>

#include "core/MathStreamIO.h"
#include "core/MathUtil.h"
#include "core/Quaternion.h"

namespace {

// A determinant this small gives an inverse of no use; callers treat the zero matrix
// as "no inverse". Fixed rather than the process-wide tolerance, which some callers
// loosen for their own tests.
constexpr float kSingularDeterminant = 0.00001f;

}  // namespace

Matrix4 Matrix4::Zero() {
    Matrix4 zero;
    for (float& element : zero.m) {
        element = 0.0f;
    }
    return zero;
}

void Matrix4::SetIdentity() { *this = Matrix4(); }

void Matrix4::SetTranslation(const Vector3& v) {
    SetIdentity();
    m[12] = v.x;
    m[13] = v.y;
    m[14] = v.z;
}

void Matrix4::Translate(const Vector3& v) {
    m[12] += v.x;
    m[13] += v.y;
    m[14] += v.z;
}

void Matrix4::SetScale(float s) {
    *this = Zero();
    m[0] = s;
    m[5] = s;
    m[10] = s;
    m[15] = 1.0f;
}

void Matrix4::Scale(float s) {
    Matrix4 scale;
    scale.SetScale(s);
    *this = Multiply(*this, scale);
}

Matrix4 Matrix4::Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[row * 4 + k] * b.m[k * 4 + col];
            }
            r.m[row * 4 + col] = sum;
        }
    }
    return r;
}

Matrix4& Matrix4::operator*=(const Matrix4& o) {
    *this = Multiply(*this, o);
    return *this;
}

Matrix4 Matrix4::operator/(float s) const {
    Matrix4 r;
    for (int i = 0; i < 16; ++i) {
        r.m[i] = m[i] / s;
    }
    return r;
}

void Matrix4::FromQuaternion(const Quaternion& q) { *this = q.ToMatrix(); }

void Matrix4::RotateByQuaternion(const Quaternion& q) { *this = Multiply(*this, q.ToMatrix()); }

void Matrix4::WriteText(Stream& stream) const { WriteFloatsText(stream, m, 16); }

void Matrix4::ReadText(Stream& stream) { ReadFloatsText(stream, m, 16); }

void Matrix4::WriteBinary(Stream& stream) const { WriteFloatsBinary(stream, m, 16); }

void Matrix4::ReadBinary(Stream& stream) { ReadFloatsBinary(stream, m, 16); }

namespace Matrix {

Matrix4 RotationY(float angle) {
    Matrix4 r = Matrix4::Zero();
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    r.m[0] = c;
    r.m[2] = s;
    r.m[5] = 1.0f;
    r.m[8] = -s;
    r.m[10] = c;
    r.m[15] = 1.0f;
    return r;
}

Matrix4 RotationZ(float angle) {
    Matrix4 r = Matrix4::Zero();
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    r.m[10] = 1.0f;
    r.m[15] = 1.0f;
    return r;
}

}  // namespace Matrix

Matrix4 Matrix4MultiplyAffine(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k) {
                sum += a.m[row * 4 + k] * b.m[k * 4 + col];
            }
            // The translation row also picks up b's translation.
            r.m[row * 4 + col] = row == 3 ? sum + b.m[12 + col] : sum;
        }
        r.m[row * 4 + 3] = row == 3 ? 1.0f : 0.0f;
    }
    return r;
}

Matrix4 Matrix4Adjugate(const Matrix4& matrix, float& det) {
    const float* m = matrix.m;
    // 2 x 2 determinants of the top two rows and of the bottom two rows.
    const float s0 = m[0] * m[5] - m[4] * m[1];
    const float s1 = m[0] * m[6] - m[4] * m[2];
    const float s2 = m[0] * m[7] - m[4] * m[3];
    const float s3 = m[1] * m[6] - m[5] * m[2];
    const float s4 = m[1] * m[7] - m[5] * m[3];
    const float s5 = m[2] * m[7] - m[6] * m[3];
    const float c5 = m[10] * m[15] - m[14] * m[11];
    const float c4 = m[9] * m[15] - m[13] * m[11];
    const float c3 = m[9] * m[14] - m[13] * m[10];
    const float c2 = m[8] * m[15] - m[12] * m[11];
    const float c1 = m[8] * m[14] - m[12] * m[10];
    const float c0 = m[8] * m[13] - m[12] * m[9];
    det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    Matrix4 r;
    r.m[0] = m[5] * c5 - m[6] * c4 + m[7] * c3;
    r.m[1] = -m[1] * c5 + m[2] * c4 - m[3] * c3;
    r.m[2] = m[13] * s5 - m[14] * s4 + m[15] * s3;
    r.m[3] = -m[9] * s5 + m[10] * s4 - m[11] * s3;
    r.m[4] = -m[4] * c5 + m[6] * c2 - m[7] * c1;
    r.m[5] = m[0] * c5 - m[2] * c2 + m[3] * c1;
    r.m[6] = -m[12] * s5 + m[14] * s2 - m[15] * s1;
    r.m[7] = m[8] * s5 - m[10] * s2 + m[11] * s1;
    r.m[8] = m[4] * c4 - m[5] * c2 + m[7] * c0;
    r.m[9] = -m[0] * c4 + m[1] * c2 - m[3] * c0;
    r.m[10] = m[12] * s4 - m[13] * s2 + m[15] * s0;
    r.m[11] = -m[8] * s4 + m[9] * s2 - m[11] * s0;
    r.m[12] = -m[4] * c3 + m[5] * c1 - m[6] * c0;
    r.m[13] = m[0] * c3 - m[1] * c1 + m[2] * c0;
    r.m[14] = -m[12] * s3 + m[13] * s1 - m[14] * s0;
    r.m[15] = m[8] * s3 - m[9] * s1 + m[10] * s0;
    return r;
}

Matrix4 Matrix4Invert(const Matrix4& matrix) {
    float det = 0.0f;
    Matrix4 r = Matrix4Adjugate(matrix, det);
    if (std::fabs(det) <= kSingularDeterminant) {
        return Matrix4::Zero();
    }
    const float inv = 1.0f / det;
    for (float& element : r.m) {
        element *= inv;
    }
    return r;
}
