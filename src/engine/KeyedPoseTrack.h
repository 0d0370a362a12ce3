#pragma once
// Keys of per-node rotations sorted by time, filled from named rotation channels (the
// joint tracks of a figure's sequence). A key's pose tree has the shape of the model
// tree: left is the first child, right the next sibling.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Array.h"
#include "core/Quaternion.h"
#include "core/String.h"

class ModelNode;
class Stream;

struct PoseTreeNode {
    PoseTreeNode() = default;
    // Siblings are let go one by one: a long chain must not recurse.
    ~PoseTreeNode();
    PoseTreeNode(const PoseTreeNode&) = delete;
    PoseTreeNode& operator=(const PoseTreeNode&) = delete;

    Quaternion rotation;
    std::unique_ptr<PoseTreeNode> left;
    std::unique_ptr<PoseTreeNode> right;

    std::unique_ptr<PoseTreeNode> Clone() const;
    // Identity rotations in the shape of the model node's subtree and its siblings.
    static std::unique_ptr<PoseTreeNode> ShapedLike(const ModelNode& node);
};

struct KeyedPose {
    std::unique_ptr<PoseTreeNode> pose;  // none allowed
    float time = 0.0f;
};

// One rotation channel: a bone's rotations about one axis (0 x, 1 y, 2 z) at times.
struct RotationChannelKey {
    Quaternion rotation;
    float time = 0.0f;
};
struct RotationChannel {
    String boneName;
    int32_t axis = 0;
    Array<RotationChannelKey> keys;
};

class KeyedPoseTrack {
public:
    // Pose trees deeper than this (along first-child links) or larger than this are
    // damage in a stored track.
    static constexpr int kMaxDepth = 256;
    static constexpr int kMaxNodes = 1 << 16;

    KeyedPoseTrack() = default;
    KeyedPoseTrack(const KeyedPoseTrack& other);
    KeyedPoseTrack& operator=(const KeyedPoseTrack& other);

    void Reset();
    // The index of the key at the time (within the shared tolerance) and true, or the
    // index it would be inserted at and false.
    int FindKey(float time, bool& found) const;
    void InsertKey(int index, std::unique_ptr<PoseTreeNode> pose, float time);
    // Drops the keys after the time, which becomes the end time.
    void TruncateAfter(float time);
    // For each channel time, the key there (made of identity rotations when new) takes
    // every node's x, y and z channel rotations, multiplied in. The channels must be
    // sorted by bone name (as bytes), then axis.
    void AddChannels(const Array<RotationChannel>& channels);

    // name, model reference, end time, key count, each key's pose tree and time.
    void WriteBinary(Stream& stream, uint32_t modelId) const;
    // The model reference read is dropped: the owner sets `model`.
    void ReadBinary(Stream& stream);

    String name;
    ModelNode* model = nullptr;  // the posed tree
    float endTime = 1.0f;
    std::vector<KeyedPose> keys;  // ascending by time
};
