#pragma once
// A pose set: example keys, each a point in a control space with one rotation per model
// node (and an offset of the whole model), interpolated between the keys with radial
// basis functions (a linear kernel plus a linear part). Before interpolating, the key
// points are reduced to the smallest space that holds them: a line, a plane or space,
// so keys along one axis (a time line) interpolate piecewise linearly. The tracks are
// timed paths through the control space that an AnimationController follows.
#include <cstdint>

#include "core/Array.h"
#include "core/Frame.h"
#include "core/Plane.h"
#include "core/String.h"
#include "core/Vector3.h"
#include "engine/DenseMatrix.h"
#include "engine/Matrix3.h"

class Stream;

struct PoseKey {
    Vector3 offset;
    Array<Matrix3> rotations;  // one per model node, depth first
    Vector3 position;          // the key's point in model space
    Vector3 reduced;           // its coordinates in the reduced space
};

struct PoseTrackKey {
    float duration = 0.0f;  // seconds to reach this key
    Vector3 point;
};

struct PoseTrack {
    String name;
    Array<PoseTrackKey> keys;

    // The form of a pose file: name, count, then each key's point and duration.
    void WriteBinary(Stream& stream) const;
    void ReadBinary(Stream& stream);
};

class PoseAnimation {
public:
    // Keys and node rotations a file may hold; the interpolation system is square in
    // the key count.
    static constexpr int32_t kMaxKeys = 1024;
    static constexpr int32_t kMaxNodes = 4096;

    PoseAnimation() = default;

    // The first track with that name, case ignored; -1 when there is none.
    int FindTrack(const String& trackName) const;
    // Drops keys at the position of an earlier key, chooses the dimension, reduces the
    // key points and factorises the interpolation system.
    void Build();
    // The offset and one orthonormalised rotation per node at the query point. Without
    // keys the result has no rotations; when the system could not be factorised the
    // nearest key stands.
    PoseKey Evaluate(const Vector3& point);

    void WriteBinary(Stream& stream) const;
    // A damaged record sets the stream's error flag.
    void ReadBinary(Stream& stream);

    String name;
    Array<PoseKey> keys;
    Array<PoseTrack> tracks;
    Array<float> keyDistances;  // N x N, row by row
    Array<float> kernelValues;
    DenseMatrix system;
    Array<float> rightHandSide;
    Array<float> weights;
    // Column k of the system's inverse for each key k, n x (system side): a value at a
    // point is linear in the keys' values, so the keys' shares of it are found once per
    // evaluation instead of one solve per value. Made on first evaluation.
    Array<float> keyColumns;
    Array<float> keyShares;
    // Per node: whether its rotation differs between keys. Most nodes of a body keep
    // one rotation in every key, which then stands as it is at every point.
    Array<uint8_t> nodeTurns;
    Vector3 lineOrigin;
    Vector3 lineDirection;
    Plane plane;
    Frame planeFrame;
    int32_t dimension = 3;
    uint8_t hasOffsets = 1;

private:
    void RemoveDuplicateKeys();
    void ChooseDimension();
    bool FitsLine(int first, int second, float tolerance);
    bool FitsPlane(int first, int second, float tolerance);
    void BuildSystem();
    Vector3 Reduce(const Vector3& point) const;
    void BuildEvaluationTables();
    // Each key's share of a value at the point.
    void ComputeShares(const Vector3& reducedPoint);
    // The value at the point whose shares were computed last, from each key's value.
    template <typename KeyValue>
    float Interpolate(KeyValue valueOfKey) const;
    const PoseKey& NearestKey(const Vector3& reducedPoint) const;
};
