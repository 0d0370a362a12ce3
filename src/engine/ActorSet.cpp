// Actor sets and their cache stream.
#include "engine/ActorSet.h"

#include "core/Stream.h"
#include "engine/BinaryFields.h"
#include "engine/Mesh.h"
#include "engine/SortedIdList.h"

void ActorSet::CollectMeshes(Array<Mesh*>& out) const {
    out.Clear();
    Array<Mesh*> meshes;
    for (const ActorSetEntry& entry : entries) {
        if (entry.root == nullptr) continue;
        entry.root->GetMeshes(meshes);
        SortedIdList::Merge(out, meshes);
    }
}

void ActorSet::CollectMaterials(Array<Material*>& out) const {
    out.Clear();
    Array<Material*> materials;
    for (const ActorSetEntry& entry : entries) {
        if (entry.root == nullptr) continue;
        entry.root->GetMaterials(materials);
        SortedIdList::Merge(out, materials);
    }
}

void ActorSet::WriteBinary(Stream& stream, const String& folder) const {
    WriteCountedString(stream, name);
    WriteInt32(stream, entries.Count());
    ModelCacheIds all;
    for (int i = 0; i < entries.Count(); ++i) {
        const ActorSetEntry& entry = entries[i];
        const uint32_t rootId = entry.root != nullptr ? uint32_t(i) + 1 : 0;
        WriteUInt32(stream, rootId);
        if (entry.root != nullptr) {
            WriteModelCache(stream, *entry.root, folder);
            all.Collect(*entry.root);
        }
        WriteInt32(stream, entry.tracks.Count());
        for (int t = 0; t < entry.tracks.Count(); ++t)
            WriteUInt32(stream, entry.tracks[t] != nullptr ? uint32_t(t) + 1 : 0);
        for (const KeyedPoseTrack* track : entry.tracks) {
            if (track != nullptr) track->WriteBinary(stream, rootId);
        }
    }
    WriteModelSections(stream, all, folder);
}

bool ActorSet::ReadBinary(Stream& stream, ActorSetObjects& objects) {
    name = ReadCountedString(stream);
    entries.Clear();
    for (int32_t n = ReadCount(stream, kMaxEntries); n > 0 && !stream.HasError(); --n) {
        ActorSetEntry entry;
        if (ReadUInt32(stream) != 0) {
            objects.roots.push_back(std::make_unique<ModelNode>());
            objects.models.emplace_back();
            entry.root = objects.roots.back().get();
            if (!ReadModelCache(stream, *entry.root, objects.models.back())) return false;
        }
        Array<uint32_t> trackIds;
        for (int32_t t = ReadCount(stream, kMaxEntries); t > 0 && !stream.HasError(); --t) {
            trackIds.Append(ReadUInt32(stream));
        }
        for (uint32_t id : trackIds) {
            if (id == 0) continue;
            objects.tracks.push_back(std::make_unique<KeyedPoseTrack>());
            KeyedPoseTrack* track = objects.tracks.back().get();
            track->ReadBinary(stream);
            track->model = entry.root;
            entry.tracks.Append(track);
        }
        if (stream.HasError()) return false;
        entries.Append(entry);
    }
    // The set-wide sections repeat what the entries hold; they are read to check the
    // file and then dropped.
    ModelCacheObjects spare;
    ModelCacheReader reader(spare);
    return reader.ReadSections(stream) && !stream.HasError();
}
