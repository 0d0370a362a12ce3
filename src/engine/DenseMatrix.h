#pragma once
// A float matrix stored column by column (element (r, c) at r + rows x c), factorised in
// place by Gaussian elimination with scaled partial pivoting. Rows never move: every row
// access goes through the permutation. Pose animations keep their interpolation system
// in one, factorised once and solved for many right-hand sides.
#include <cstdint>

#include "core/Array.h"

class Stream;

class DenseMatrix {
public:
    DenseMatrix() = default;
    // Values sized to rows x columns; no permutation or row scales yet.
    DenseMatrix(int rowCount, int columnCount);

    float& At(int row, int column) { return values[row + rows * column]; }
    float At(int row, int column) const { return values[row + rows * column]; }

    // False for a singular (or not square) matrix; the values are then partly
    // eliminated and the permutation is cleared, so IsFactorised tells the two apart.
    bool Factorise();
    bool IsFactorised() const { return rows > 0 && permutation.Count() == rows; }
    // x sized to the columns; the matrix must be factorised and b hold rows values.
    void Solve(const Array<float>& b, Array<float>& x) const;

    // rows, columns, then values, permutation and row scales, each counted.
    void WriteBinary(Stream& stream) const;
    // A matrix whose parts do not fit its size (or a permutation naming rows it has not)
    // sets the stream's error flag and leaves an empty matrix.
    void ReadBinary(Stream& stream);

    int32_t rows = 0;
    int32_t columns = 0;
    Array<float> values;
    Array<int32_t> permutation;
    Array<float> rowScales;

private:
    int32_t Row(int i) const { return permutation[i]; }
};
