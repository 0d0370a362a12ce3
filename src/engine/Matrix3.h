#pragma once
// A 3 x 3 rotation of floats, stored row by row (nine floats, as in memory and on disk).
#include "core/Vector3.h"

struct Matrix3 {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    bool operator==(const Matrix3&) const = default;
    Vector3 Row(int i) const { return {m[3 * i], m[3 * i + 1], m[3 * i + 2]}; }
    void SetRow(int i, const Vector3& row);
    // The row-vector product a x b.
    static Matrix3 Multiply(const Matrix3& a, const Matrix3& b);

    // Makes the rows an orthonormal basis by averaging each row with the normalised
    // cross product of the other two, pass after pass. True on convergence (the summed
    // squared dot products of the rows below the tolerance). A row of zero length fails
    // with the matrix unchanged; a pass that makes things worse ends with the rows before
    // it; the limit reached leaves the matrix unchanged.
    bool Orthonormalize(float tolerance, int limit);
};
