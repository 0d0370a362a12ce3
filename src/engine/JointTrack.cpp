#include "engine/JointTrack.h"

#include <cmath>

#include "core/MathUtil.h"

int JointTrack::FindKey(float time, bool& found) const {
    found = false;
    int lo = 0;
    int hi = keys.Count() - 1;
    int mid = 0;
    while (lo <= hi) {
        mid = (lo + hi) / 2;
        const float at = keys[mid].time;
        if (std::fabs(time - at) <= Tolerance) {
            found = true;
            return mid;
        }
        if (at - time > Tolerance) {
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    if (keys.IsEmpty()) return 0;
    return keys[mid].time > time ? mid : mid + 1;
}

void JointTrack::InsertKey(int index, const JointKey& key) {
    if (index < 0) index = 0;
    if (index >= keys.Count()) {
        keys.Append(key);
        return;
    }
    keys.Append(keys[keys.Count() - 1]);
    for (int i = keys.Count() - 2; i > index; --i) keys[i] = keys[i - 1];
    keys[index] = key;
}

void JointTrack::AddKey(const JointKey& key) {
    bool found = false;
    const int index = FindKey(key.time, found);
    if (found) {
        keys[index].rotation = Quaternion::Multiply(key.rotation, keys[index].rotation);
        return;
    }
    InsertKey(index, key);
}

void JointTrack::AddInterpolatedKey(float time) {
    if (keys.IsEmpty()) return;
    bool found = false;
    const int index = FindKey(time, found);
    if (found) return;
    const int count = keys.Count();
    const JointKey& previous = keys[index == 0 ? count - 1 : index - 1];
    const JointKey& next = keys[index == count ? 0 : index];
    JointKey key{previous.rotation, time};
    float span = next.time - previous.time;
    if (span < 0.0f) span += length;
    float elapsed = time - previous.time;
    if (elapsed < 0.0f) elapsed += length;
    // One key, or two at one time once the length is added: nothing to move between.
    if (count > 1 && span > 0.0f) key.rotation = Quaternion::Slerp(previous.rotation, next.rotation, elapsed / span);
    InsertKey(index, key);
}
