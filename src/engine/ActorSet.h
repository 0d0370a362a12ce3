#pragma once
// The models of one model file: a named list of entries, each a model tree with the
// keyed animation tracks attached to it. The OBJ reader makes one entry, the AN8 reader
// one per figure or object. The whole set is cached in one stream.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Array.h"
#include "core/String.h"
#include "engine/KeyedPoseTrack.h"
#include "engine/ModelCache.h"
#include "engine/ModelNode.h"

class Mesh;
class Material;
class Stream;

struct ActorSetEntry {
    ModelNode* root = nullptr;  // none allowed
    Array<KeyedPoseTrack*> tracks;
};

// What a read of an actor set made, until the renderer adopts it.
struct ActorSetObjects {
    std::vector<std::unique_ptr<ModelNode>> roots;
    std::vector<ModelCacheObjects> models;
    std::vector<std::unique_ptr<KeyedPoseTrack>> tracks;
};

class ActorSet {
public:
    ActorSet() = default;
    explicit ActorSet(const String& fileName) : name(fileName) {}

    // An entry list may hold at most this many entries and tracks per entry.
    static constexpr int32_t kMaxEntries = 4096;

    int AddEntry(const ActorSetEntry& entry) { return entries.Append(entry); }
    // The distinct meshes / materials of every entry's tree, ascending by address.
    void CollectMeshes(Array<Mesh*>& out) const;
    void CollectMaterials(Array<Material*>& out) const;

    // Textures are named relative to `folder`, the full path of the cache's folder.
    void WriteBinary(Stream& stream, const String& folder) const;
    // Fills the entries with new nodes and tracks that `objects` owns until adopted.
    // False for a short or damaged stream.
    bool ReadBinary(Stream& stream, ActorSetObjects& objects);

    String name;
    Array<ActorSetEntry> entries;
};
