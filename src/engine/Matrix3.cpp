// 3 x 3 rotations.
#include "engine/Matrix3.h"

#include <cfloat>

#include "core/MathUtil.h"

namespace {

bool Normalised(Vector3& v) {
    if (v.Length() <= Tolerance) return false;
    v.Normalize();
    return true;
}

}  // namespace

void Matrix3::SetRow(int i, const Vector3& row) {
    m[3 * i] = row.x;
    m[3 * i + 1] = row.y;
    m[3 * i + 2] = row.z;
}

Matrix3 Matrix3::Multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 out;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out.m[3 * r + c] = a.m[3 * r] * b.m[c] + a.m[3 * r + 1] * b.m[3 + c] + a.m[3 * r + 2] * b.m[6 + c];
        }
    }
    return out;
}

bool Matrix3::Orthonormalize(float tolerance, int limit) {
    Vector3 rows[3] = {Row(0), Row(1), Row(2)};
    for (Vector3& row : rows) {
        if (!Normalised(row)) return false;
    }
    // The cross products stay those of the first normalised rows for every pass.
    Vector3 crosses[3];
    for (int i = 0; i < 3; ++i) {
        crosses[i] = rows[(i + 1) % 3].Cross(rows[(i + 2) % 3]);
        if (!Normalised(crosses[i])) return false;
    }
    float previous = FLT_MAX;
    for (int pass = 0; pass < limit; ++pass) {
        const Vector3 before[3] = {rows[0], rows[1], rows[2]};
        for (int i = 0; i < 3; ++i) {
            rows[i] = (rows[i] + crosses[i]) * 0.5f;
            if (!Normalised(rows[i])) return false;
        }
        const float d01 = rows[0].Dot(rows[1]), d02 = rows[0].Dot(rows[2]), d12 = rows[1].Dot(rows[2]);
        const float error = d01 * d01 + d02 * d02 + d12 * d12;
        if (error < tolerance) {
            for (int i = 0; i < 3; ++i) SetRow(i, rows[i]);
            return true;
        }
        if (error >= previous) {
            for (int i = 0; i < 3; ++i) SetRow(i, before[i]);
            return false;
        }
        previous = error;
    }
    return false;
}
