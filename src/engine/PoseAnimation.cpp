// Pose sets: building and evaluating the interpolation, and their binary form.
#include "engine/PoseAnimation.h"

#include <algorithm>
#include <cmath>

#include "core/MathUtil.h"
#include "core/Ray.h"
#include "core/Stream.h"
#include "engine/BinaryFields.h"

namespace {

// Keys that lie within this share of the largest spread of a line (or plane) are taken
// to lie on it.
constexpr float kFitShare = 0.1428571f;
constexpr float kOrthonormalTolerance = 0.01f;
constexpr int kOrthonormalPasses = 10;

void WriteVector(Stream& stream, const Vector3& v) { v.WriteBinary(stream); }

Vector3 ReadVector(Stream& stream) { return {ReadFloat(stream), ReadFloat(stream), ReadFloat(stream)}; }

Vector3 Component(const Vector3& v, int c) {
    return c == 0 ? Vector3(v.x, 0, 0) : c == 1 ? Vector3(0, v.y, 0) : Vector3(0, 0, v.z);
}

float Coordinate(const Vector3& v, int c) { return c == 0 ? v.x : c == 1 ? v.y : v.z; }

bool SameRotation(const Matrix3& a, const Matrix3& b) {
    for (int e = 0; e < 9; ++e) {
        if (a.m[e] != b.m[e]) return false;
    }
    return true;
}

}  // namespace

// --- tracks

void PoseTrack::WriteBinary(Stream& stream) const {
    WriteCountedString(stream, name);
    WriteInt32(stream, keys.Count());
    for (const PoseTrackKey& key : keys) {
        WriteVector(stream, key.point);
        WriteFloat(stream, key.duration);
    }
}

void PoseTrack::ReadBinary(Stream& stream) {
    name = ReadCountedString(stream);
    keys.Clear();
    for (int32_t n = ReadCount(stream, kMaxStoredRecords); n > 0 && !stream.HasError(); --n) {
        PoseTrackKey key;
        key.point = ReadVector(stream);
        // A negative duration would move the track backwards in time.
        key.duration = std::max(ReadFloat(stream), 0.0f);
        if (!stream.HasError()) keys.Append(key);
    }
}

// --- building

int PoseAnimation::FindTrack(const String& trackName) const {
    for (int i = 0; i < tracks.Count(); ++i) {
        if (String::EqualsNoCaseString(tracks[i].name, trackName)) return i;
    }
    return -1;
}

void PoseAnimation::RemoveDuplicateKeys() {
    for (int i = 0; i < keys.Count(); ++i) {
        for (int j = i + 1; j < keys.Count();) {
            if (VectorsNearlyEqual(keys[i].position, keys[j].position)) {
                keys.RemoveAt(j);
            } else {
                ++j;
            }
        }
    }
}

bool PoseAnimation::FitsLine(int first, int second, float tolerance) {
    lineOrigin = keys[first].position;
    lineDirection = keys[second].position - keys[first].position;
    const Ray line(lineOrigin, lineDirection);
    for (const PoseKey& key : keys) {
        if (line.ClosestPoint(key.position).Distance(key.position) > tolerance) return false;
    }
    for (PoseKey& key : keys) key.reduced = Vector3(line.ClosestParam(key.position), 0, 0);
    return true;
}

// The plane through the key farthest from the line of the other two. Its normal is made
// of unit length, so that projections onto it are true projections.
bool PoseAnimation::FitsPlane(int first, int second, float tolerance) {
    const Vector3& a = keys[first].position;
    const Vector3& b = keys[second].position;
    int best = -1;
    float bestArea = -1.0f;
    Vector3 normal;
    for (int k = 0; k < keys.Count(); ++k) {
        if (k == first || k == second) continue;
        const Vector3& p = keys[k].position;
        const Vector3 cross = (b - p).Cross(a - p);
        if (cross.Length() > bestArea) {
            bestArea = cross.Length();
            best = k;
            normal = cross;
        }
    }
    if (best < 0 || normal.Length() <= Tolerance) return false;
    normal.Normalize();
    plane = Plane::FromNormalAndPoint(normal, keys[best].position);
    for (const PoseKey& key : keys) {
        if (ProjectPointOntoPlane(plane, key.position).Distance(key.position) > tolerance) return false;
    }
    planeFrame.origin = ProjectPointOntoPlane(plane, Vector3());
    const float ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
    const int axis = ax <= ay && ax <= az ? 0 : ay <= az ? 1 : 2;
    Vector3 first3 = ProjectPointOntoPlane(plane, Component(Vector3(1, 1, 1), axis)) - planeFrame.origin;
    first3.Normalize();
    Vector3 second3 = normal.Cross(first3);
    second3.Normalize();
    planeFrame.x = first3;
    planeFrame.y = second3;
    planeFrame.z = normal;
    for (PoseKey& key : keys) {
        const Vector3 local = planeFrame.ToLocal(key.position);
        key.reduced = Vector3(local.x, local.y, 0);
    }
    return true;
}

void PoseAnimation::ChooseDimension() {
    dimension = 3;
    if (keys.Count() < 2) return;
    int first = 0, second = 1;
    float farthest = -1.0f;
    for (int i = 0; i < keys.Count(); ++i) {
        for (int j = i + 1; j < keys.Count(); ++j) {
            const float d = keys[i].position.Distance(keys[j].position);
            if (d > farthest) {
                farthest = d;
                first = i;
                second = j;
            }
        }
    }
    const float tolerance = farthest * kFitShare;
    if (FitsLine(first, second, tolerance)) {
        dimension = 1;
    } else if (keys.Count() >= 3 && FitsPlane(first, second, tolerance)) {
        dimension = 2;
    } else {
        for (PoseKey& key : keys) key.reduced = key.position;
    }
}

void PoseAnimation::BuildSystem() {
    const int n = keys.Count();
    keyDistances.SetSize(n * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) keyDistances[i * n + j] = i == j ? 0.0f : keys[i].reduced.Distance(keys[j].reduced);
    }
    const int side = dimension + n + 1;
    system = DenseMatrix(side, side);
    for (float& value : system.values) value = 0.0f;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) system.At(i, j) = keyDistances[i * n + j];
        system.At(n, i) = 1.0f;
        system.At(i, n) = 1.0f;
        for (int c = 0; c < dimension; ++c) {
            system.At(n + 1 + c, i) = Coordinate(keys[i].reduced, c);
            system.At(i, n + 1 + c) = Coordinate(keys[i].reduced, c);
        }
    }
    system.Factorise();
    keyColumns.Clear();
    nodeTurns.Clear();
    rightHandSide.SetSize(side);
    weights.SetSize(side);
    kernelValues.SetSize(n);
}

void PoseAnimation::Build() {
    RemoveDuplicateKeys();
    hasOffsets = 0;
    for (PoseKey& key : keys) {
        key.reduced = key.position;
        if (!key.offset.IsNearZero()) hasOffsets = 1;
    }
    ChooseDimension();
    BuildSystem();
}

// --- evaluation

Vector3 PoseAnimation::Reduce(const Vector3& point) const {
    if (dimension == 1) return {Ray(lineOrigin, lineDirection).ClosestParam(point), 0, 0};
    if (dimension == 2) {
        const Vector3 local = planeFrame.ToLocal(point);
        return {local.x, local.y, 0};
    }
    return point;
}

void PoseAnimation::BuildEvaluationTables() {
    const int n = keys.Count(), side = system.rows;
    keyColumns.SetSize(n * side);
    rightHandSide.SetSize(side);
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < side; ++i) rightHandSide[i] = i == k ? 1.0f : 0.0f;
        system.Solve(rightHandSide, weights);
        for (int i = 0; i < side; ++i) keyColumns[k * side + i] = weights[i];
    }
    int nodes = keys[0].rotations.Count();
    for (const PoseKey& key : keys) nodes = std::min(nodes, key.rotations.Count());
    nodeTurns.SetSize(nodes);
    for (int m = 0; m < nodes; ++m) {
        nodeTurns[m] = 0;
        for (const PoseKey& key : keys) nodeTurns[m] |= SameRotation(key.rotations[m], keys[0].rotations[m]) ? 0 : 1;
    }
}

void PoseAnimation::ComputeShares(const Vector3& reducedPoint) {
    const int n = keys.Count(), side = system.rows;
    if (keyColumns.Count() != n * side) BuildEvaluationTables();
    kernelValues.SetSize(n);
    for (int i = 0; i < n; ++i) kernelValues[i] = reducedPoint.Distance(keys[i].reduced);
    keyShares.SetSize(n);
    for (int k = 0; k < n; ++k) {
        const float* column = &keyColumns[k * side];
        float share = column[n];
        for (int i = 0; i < n; ++i) share += column[i] * kernelValues[i];
        for (int c = 0; c < dimension; ++c) share += column[n + 1 + c] * Coordinate(reducedPoint, c);
        keyShares[k] = share;
    }
}

template <typename KeyValue>
float PoseAnimation::Interpolate(KeyValue valueOfKey) const {
    float value = 0.0f;
    for (int k = 0; k < keys.Count(); ++k) value += keyShares[k] * valueOfKey(keys[k]);
    return value;
}

const PoseKey& PoseAnimation::NearestKey(const Vector3& reducedPoint) const {
    int nearest = 0;
    for (int i = 1; i < keys.Count(); ++i) {
        if (keys[i].reduced.Distance(reducedPoint) < keys[nearest].reduced.Distance(reducedPoint)) nearest = i;
    }
    return keys[nearest];
}

PoseKey PoseAnimation::Evaluate(const Vector3& point) {
    PoseKey result;
    if (keys.IsEmpty()) return result;
    const int n = keys.Count();
    const Vector3 reducedPoint = Reduce(point);
    const bool solvable = n > 1 && system.IsFactorised() && system.rows == dimension + n + 1;
    if (!solvable) {
        result = n == 1 ? keys[0] : NearestKey(reducedPoint);
        if (!hasOffsets) result.offset = Vector3();
        return result;
    }
    ComputeShares(reducedPoint);
    const int nodes = nodeTurns.Count();
    result.rotations.SetSize(nodes);
    for (int m = 0; m < nodes; ++m) {
        Matrix3& rotation = result.rotations[m];
        if (nodeTurns[m] == 0) {
            rotation = keys[0].rotations[m];
            continue;
        }
        for (int e = 0; e < 9; ++e) {
            rotation.m[e] = Interpolate([m, e](const PoseKey& key) { return key.rotations[m].m[e]; });
        }
        rotation.Orthonormalize(kOrthonormalTolerance, kOrthonormalPasses);
    }
    if (hasOffsets) {
        float offset[3];
        for (int c = 0; c < 3; ++c)
            offset[c] = Interpolate([c](const PoseKey& key) { return Coordinate(key.offset, c); });
        result.offset = Vector3(offset[0], offset[1], offset[2]);
    }
    result.position = point;
    result.reduced = reducedPoint;
    return result;
}

// --- binary form

void PoseAnimation::WriteBinary(Stream& stream) const {
    WriteCountedString(stream, name);
    WriteInt32(stream, keys.Count());
    for (const PoseKey& key : keys) {
        WriteVector(stream, key.offset);
        WriteInt32(stream, key.rotations.Count());
        for (const Matrix3& rotation : key.rotations) {
            for (float value : rotation.m) WriteFloat(stream, value);
        }
        WriteVector(stream, key.position);
        WriteVector(stream, key.reduced);
    }
    WriteFloatArray(stream, keyDistances);
    WriteFloatArray(stream, kernelValues);
    system.WriteBinary(stream);
    WriteFloatArray(stream, rightHandSide);
    WriteFloatArray(stream, weights);
    WriteVector(stream, lineOrigin);
    WriteVector(stream, lineDirection);
    WriteVector(stream, plane.normal);
    WriteFloat(stream, plane.d);
    planeFrame.WriteBinary(stream);
    WriteInt32(stream, dimension);
    WriteByte(stream, hasOffsets ? 1 : 0);
    WriteInt32(stream, tracks.Count());
    for (const PoseTrack& track : tracks) track.WriteBinary(stream);
}

void PoseAnimation::ReadBinary(Stream& stream) {
    name = ReadCountedString(stream);
    keys.Clear();
    for (int32_t n = ReadCount(stream, kMaxKeys); n > 0 && !stream.HasError(); --n) {
        PoseKey key;
        key.offset = ReadVector(stream);
        for (int32_t m = ReadCount(stream, kMaxNodes); m > 0 && !stream.HasError(); --m) {
            Matrix3 rotation;
            for (float& value : rotation.m) value = ReadFloat(stream);
            key.rotations.Append(rotation);
        }
        key.position = ReadVector(stream);
        key.reduced = ReadVector(stream);
        if (!stream.HasError()) keys.Append(key);
    }
    ReadFloatArray(stream, keyDistances, kMaxKeys * kMaxKeys);
    ReadFloatArray(stream, kernelValues, kMaxKeys);
    system.ReadBinary(stream);
    keyColumns.Clear();
    nodeTurns.Clear();
    ReadFloatArray(stream, rightHandSide, kMaxKeys + 4);
    ReadFloatArray(stream, weights, kMaxKeys + 4);
    lineOrigin = ReadVector(stream);
    lineDirection = ReadVector(stream);
    plane.normal = ReadVector(stream);
    plane.d = ReadFloat(stream);
    planeFrame.ReadBinary(stream);
    dimension = ReadInt32(stream);
    hasOffsets = ReadByte(stream) != 0 ? 1 : 0;
    tracks.Clear();
    for (int32_t n = ReadCount(stream, kMaxStoredRecords); n > 0 && !stream.HasError(); --n) {
        PoseTrack track;
        track.ReadBinary(stream);
        if (!stream.HasError()) tracks.Append(track);
    }
    if (dimension < 1 || dimension > 3) stream.SetError();
}
