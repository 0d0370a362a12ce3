#pragma once
// The rotations of one bone about one axis at key times, as a figure's sequence gives
// them: keys stay ascending by time, and two keys within the shared tolerance of one
// time are one key.
#include <cstdint>

#include "core/Array.h"
#include "core/Quaternion.h"
#include "core/String.h"

struct JointKey {
    Quaternion rotation;
    float time = 0.0f;
};

class JointTrack {
public:
    // The index of the key at the time and true, or the index at which a key of that
    // time belongs and false.
    int FindKey(float time, bool& found) const;
    // At or beyond the end: appended.
    void InsertKey(int index, const JointKey& key);
    // A key at a time already keyed composes with it (the new rotation after the old).
    void AddKey(const JointKey& key);
    // A key at the time interpolated between its neighbours, which wrap around the ends
    // of the track's length; nothing when the track has no keys or one at that time.
    void AddInterpolatedKey(float time);

    String boneName;
    int32_t axis = 0;      // 0 x, 1 y, 2 z
    float length = 0.0f;   // the sequence's length in seconds
    Array<JointKey> keys;  // ascending by time
};
