// Dense factorisation and solving.
#include "engine/DenseMatrix.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/Stream.h"
#include "engine/BinaryFields.h"

namespace {

// Pivots at or below this are treated as zero.
constexpr float kPivotTolerance = 0.00001f;
// The pose systems are (keys + 4) square; a key file holds at most a few hundred keys.
constexpr int32_t kMaxSide = 4096;

}  // namespace

DenseMatrix::DenseMatrix(int rowCount, int columnCount) : rows(rowCount), columns(columnCount) {
    if (rows > 0 && columns > 0) values.SetSize(rows * columns);
}

bool DenseMatrix::Factorise() {
    permutation.SetSize(rows);
    rowScales.SetSize(rows);
    if (rows < 1 || rows != columns) {
        permutation.Clear();
        return false;
    }
    for (int i = 0; i < rows; ++i) {
        float big = 0.0f;
        for (int c = 0; c < columns; ++c) big = std::max(big, std::fabs(At(i, c)));
        if (big <= kPivotTolerance) {
            permutation.Clear();
            return false;
        }
        rowScales[i] = 1.0f / big;
        permutation[i] = i;
    }
    for (int k = 0; k < columns - 1; ++k) {
        int best = k;
        float bestValue = 0.0f;
        for (int i = k; i < rows; ++i) {
            const float value = std::fabs(At(Row(i), k)) * rowScales[Row(i)];
            if (value > bestValue) {
                bestValue = value;
                best = i;
            }
        }
        if (bestValue <= kPivotTolerance) {
            permutation.Clear();
            return false;
        }
        std::swap(permutation[k], permutation[best]);
        const int pivotRow = Row(k);
        for (int i = k + 1; i < rows; ++i) {
            const int row = Row(i);
            const float f = At(row, k) / At(pivotRow, k);
            At(row, k) = f;
            if (std::fabs(f) <= kPivotTolerance) continue;
            for (int c = k + 1; c < columns; ++c) At(row, c) -= f * At(pivotRow, c);
        }
    }
    if (std::fabs(At(Row(rows - 1), columns - 1)) <= kPivotTolerance) {
        permutation.Clear();
        return false;
    }
    return true;
}

void DenseMatrix::Solve(const Array<float>& b, Array<float>& x) const {
    x.SetSize(columns);
    if (!IsFactorised() || b.Count() < rows) return;
    Array<float> y(rows);
    y.SetSize(rows);
    for (int i = 0; i < rows; ++i) {
        float sum = b[Row(i)];
        for (int k = 0; k < i; ++k) sum -= At(Row(i), k) * y[k];
        y[i] = sum;
    }
    for (int i = rows - 1; i >= 0; --i) {
        float sum = y[i];
        for (int k = i + 1; k < columns; ++k) sum -= At(Row(i), k) * x[k];
        x[i] = sum / At(Row(i), i);
    }
}

void DenseMatrix::WriteBinary(Stream& stream) const {
    WriteInt32(stream, rows);
    WriteInt32(stream, columns);
    WriteFloatArray(stream, values);
    WriteIntArray(stream, permutation);
    WriteFloatArray(stream, rowScales);
}

void DenseMatrix::ReadBinary(Stream& stream) {
    rows = ReadCount(stream, kMaxSide);
    columns = ReadCount(stream, kMaxSide);
    ReadFloatArray(stream, values, kMaxSide * kMaxSide);
    ReadIntArray(stream, permutation, kMaxSide);
    ReadFloatArray(stream, rowScales, kMaxSide);
    bool valid = values.Count() == rows * columns && (rows == 0 || rows == columns);
    valid = valid && (permutation.Count() == 0 || permutation.Count() == rows);
    valid = valid && (rowScales.Count() == 0 || rowScales.Count() == rows);
    for (int32_t row : permutation) valid = valid && row >= 0 && row < rows;
    if (valid && !stream.HasError()) return;
    stream.SetError();
    *this = DenseMatrix();
}
