// Keyed pose tracks.
#include "engine/KeyedPoseTrack.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/MathUtil.h"
#include "core/Stream.h"
#include "engine/BinaryFields.h"
#include "engine/ModelNode.h"

namespace {

// A pose tree is written in pre-order; markers only tell whether a link is set.
constexpr uint32_t kLinkMarker = 1;

void WritePoseTree(Stream& stream, const PoseTreeNode* node) {
    for (; node != nullptr; node = node->right.get()) {
        node->rotation.WriteBinary(stream);
        WriteUInt32(stream, node->left != nullptr ? kLinkMarker : 0);
        WritePoseTree(stream, node->left.get());
        WriteUInt32(stream, node->right != nullptr ? kLinkMarker : 0);
    }
}

// Siblings (right links) are read in a loop, children (left links) by recursion.
bool ReadPoseTree(Stream& stream, PoseTreeNode& first, int depth, int& budget) {
    for (PoseTreeNode* node = &first; node != nullptr;) {
        if (--budget < 0 || depth > KeyedPoseTrack::kMaxDepth) return false;
        node->rotation.ReadBinary(stream);
        if (ReadUInt32(stream) != 0) {
            node->left = std::make_unique<PoseTreeNode>();
            if (!ReadPoseTree(stream, *node->left, depth + 1, budget)) return false;
        }
        if (ReadUInt32(stream) != 0) node->right = std::make_unique<PoseTreeNode>();
        if (stream.HasError()) return false;
        node = node->right.get();
    }
    return true;
}

const RotationChannel* FindChannel(const Array<RotationChannel>& channels, const String& bone, int axis) {
    int lo = 0, hi = channels.Count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int order = std::strcmp(channels[mid].boneName.CStr(), bone.CStr());
        const int compare = order != 0 ? order : channels[mid].axis - axis;
        if (compare == 0) return &channels[mid];
        if (compare < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return nullptr;
}

const RotationChannelKey* KeyAt(const RotationChannel& channel, float time) {
    for (const RotationChannelKey& key : channel.keys) {
        if (std::fabs(key.time - time) <= Tolerance) return &key;
    }
    return nullptr;
}

void MultiplyIn(PoseTreeNode* pose, const ModelNode* node, const Array<RotationChannel>& channels, float time) {
    for (; pose != nullptr && node != nullptr; pose = pose->right.get(), node = node->nextSibling) {
        for (int axis = 0; axis < 3; ++axis) {
            const RotationChannel* channel = FindChannel(channels, node->name, axis);
            const RotationChannelKey* key = channel != nullptr ? KeyAt(*channel, time) : nullptr;
            if (key != nullptr) pose->rotation = Quaternion::Multiply(pose->rotation, key->rotation);
        }
        MultiplyIn(pose->left.get(), node->firstChild, channels, time);
    }
}

}  // namespace

PoseTreeNode::~PoseTreeNode() {
    while (right != nullptr) right = std::move(right->right);
}

std::unique_ptr<PoseTreeNode> PoseTreeNode::Clone() const {
    auto copy = std::make_unique<PoseTreeNode>();
    copy->rotation = rotation;
    if (left != nullptr) copy->left = left->Clone();
    PoseTreeNode* to = copy.get();
    for (const PoseTreeNode* from = right.get(); from != nullptr; from = from->right.get()) {
        to->right = std::make_unique<PoseTreeNode>();
        to = to->right.get();
        to->rotation = from->rotation;
        if (from->left != nullptr) to->left = from->left->Clone();
    }
    return copy;
}

std::unique_ptr<PoseTreeNode> PoseTreeNode::ShapedLike(const ModelNode& node) {
    auto first = std::make_unique<PoseTreeNode>();
    PoseTreeNode* to = first.get();
    for (const ModelNode* from = &node; from != nullptr; from = from->nextSibling) {
        if (from != &node) {
            to->right = std::make_unique<PoseTreeNode>();
            to = to->right.get();
        }
        if (from->firstChild != nullptr) to->left = ShapedLike(*from->firstChild);
    }
    return first;
}

KeyedPoseTrack::KeyedPoseTrack(const KeyedPoseTrack& other) { *this = other; }

KeyedPoseTrack& KeyedPoseTrack::operator=(const KeyedPoseTrack& other) {
    if (&other == this) return *this;
    name = other.name;
    model = other.model;
    endTime = other.endTime;
    keys.clear();
    for (const KeyedPose& key : other.keys) {
        keys.push_back({key.pose != nullptr ? key.pose->Clone() : nullptr, key.time});
    }
    return *this;
}

void KeyedPoseTrack::Reset() {
    name.Clear();
    model = nullptr;
    endTime = 1.0f;
    keys.clear();
}

int KeyedPoseTrack::FindKey(float time, bool& found) const {
    int lo = 0, hi = int(keys.size()) - 1;
    found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const float at = keys[size_t(mid)].time;
        if (std::fabs(at - time) <= Tolerance) {
            found = true;
            return mid;
        }
        if (at > time) {
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

void KeyedPoseTrack::InsertKey(int index, std::unique_ptr<PoseTreeNode> pose, float time) {
    index = std::clamp(index, 0, int(keys.size()));
    keys.insert(keys.begin() + index, KeyedPose{std::move(pose), time});
}

void KeyedPoseTrack::TruncateAfter(float time) {
    while (!keys.empty() && keys.back().time > time) keys.pop_back();
    endTime = time;
}

void KeyedPoseTrack::AddChannels(const Array<RotationChannel>& channels) {
    if (model == nullptr) return;
    // Every time once, however many channels have a frame there.
    std::vector<float> times;
    for (const RotationChannel& channel : channels) {
        for (const RotationChannelKey& frame : channel.keys) {
            const bool known = std::any_of(times.begin(), times.end(),
                                           [&frame](float t) { return std::fabs(t - frame.time) <= Tolerance; });
            if (!known) times.push_back(frame.time);
        }
    }
    for (float time : times) {
        bool found = false;
        const int index = FindKey(time, found);
        if (!found) InsertKey(index, PoseTreeNode::ShapedLike(*model), time);
        KeyedPose& key = keys[size_t(index)];
        if (key.pose == nullptr) key.pose = PoseTreeNode::ShapedLike(*model);
        MultiplyIn(key.pose.get(), model, channels, time);
    }
}

void KeyedPoseTrack::WriteBinary(Stream& stream, uint32_t modelId) const {
    WriteCountedString(stream, name);
    WriteUInt32(stream, modelId);
    WriteFloat(stream, endTime);
    WriteInt32(stream, int32_t(keys.size()));
    for (const KeyedPose& key : keys) {
        WriteUInt32(stream, key.pose != nullptr ? kLinkMarker : 0);
        if (key.pose != nullptr) WritePoseTree(stream, key.pose.get());
        WriteFloat(stream, key.time);
    }
}

void KeyedPoseTrack::ReadBinary(Stream& stream) {
    name = ReadCountedString(stream);
    ReadUInt32(stream);
    endTime = ReadFloat(stream);
    keys.clear();
    for (int32_t n = ReadCount(stream, kMaxStoredRecords); n > 0 && !stream.HasError(); --n) {
        KeyedPose key;
        int budget = kMaxNodes;
        if (ReadUInt32(stream) != 0) {
            key.pose = std::make_unique<PoseTreeNode>();
            if (!ReadPoseTree(stream, *key.pose, 0, budget)) {
                stream.SetError();
                return;
            }
        }
        key.time = ReadFloat(stream);
        if (!stream.HasError()) keys.push_back(std::move(key));
    }
}
