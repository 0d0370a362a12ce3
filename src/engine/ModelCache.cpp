// The model cache's sections and the numbering of their objects.
#include "engine/ModelCache.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "core/FileHelpers.h"
#include "core/Stream.h"
#include "engine/BinaryFields.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "engine/SortedIdList.h"

namespace {

template <class T>
uint32_t NumberOf(const Array<T*>& list, const T* value) {
    return value == nullptr ? 0 : uint32_t(SortedIdList::Find(list, value) + 1);
}

int IndexOfId(const Array<uint32_t>& ids, uint32_t id) {
    const uint32_t* at = std::lower_bound(ids.begin(), ids.end(), id);
    return at != ids.end() && *at == id ? int(at - ids.begin()) : -1;
}

void WriteIds(Stream& stream, int count) {
    WriteInt32(stream, count);
    for (int i = 0; i < count; ++i) WriteUInt32(stream, uint32_t(i) + 1);
}

// The face materials of a mesh and its levels, which a read mesh holds as numbers.
bool MaterialNumbersKnown(const Mesh& mesh, const Array<uint32_t>& materialIds) {
    for (const MeshFace& face : mesh.faces) {
        const auto id = uint32_t(reinterpret_cast<uintptr_t>(face.material));
        if (id != 0 && IndexOfId(materialIds, id) < 0) return false;
    }
    for (const MeshLevel& level : mesh.levels) {
        if (level.mesh != nullptr && !MaterialNumbersKnown(*level.mesh, materialIds)) return false;
    }
    return true;
}

// The writer stores every vertex with its position, every face with its three corners and
// every edge with both ends. The mesh reader sets a reference that names no record read (one
// past the count, or not at a record's start) to none, which only a damaged file gives.
bool IsWholeMesh(const Mesh& mesh) {
    for (const MeshVertex& vertex : mesh.vertices) {
        if (vertex.position == nullptr) return false;
    }
    for (const MeshFace& face : mesh.faces) {
        if (std::find(std::begin(face.corners), std::end(face.corners), nullptr) != std::end(face.corners)) {
            return false;
        }
    }
    for (const MeshEdge& edge : mesh.edges) {
        if (edge.ends[0] == nullptr || edge.ends[1] == nullptr) return false;
    }
    for (const MeshLevel& level : mesh.levels) {
        if (level.mesh != nullptr && !IsWholeMesh(*level.mesh)) return false;
    }
    return true;
}

// The names between the slashes; empty ones (a leading, trailing or doubled slash) drop out.
StringArray PathComponents(const String& path) {
    StringArray parts;
    path.Split(parts, '/');
    StringArray components;
    for (const String& part : parts) {
        if (!part.IsEmpty()) components.Append(part);
    }
    return components;
}

}  // namespace

ModelCacheObjects::ModelCacheObjects() = default;
ModelCacheObjects::~ModelCacheObjects() = default;
ModelCacheObjects::ModelCacheObjects(ModelCacheObjects&&) noexcept = default;
ModelCacheObjects& ModelCacheObjects::operator=(ModelCacheObjects&&) noexcept = default;

// --- numbering

ModelCacheIds::ModelCacheIds(const ModelNode& root) { Collect(root); }

void ModelCacheIds::Collect(const ModelNode& root) {
    Array<Mesh*> treeMeshes;
    root.GetMeshes(treeMeshes);
    for (Mesh* mesh : treeMeshes) SortedIdList::Insert(meshes, mesh);
    Array<Material*> meshMaterials;
    for (const Mesh* mesh : meshes) {
        mesh->GetMaterials(meshMaterials);
        for (Material* material : meshMaterials) SortedIdList::Insert(materials, material);
        for (const MeshLevel& level : mesh->levels) {
            if (level.mesh == nullptr) continue;
            level.mesh->GetMaterials(meshMaterials);
            for (Material* material : meshMaterials) SortedIdList::Insert(materials, material);
        }
    }
    for (const Material* material : materials) {
        for (const TextureStageSettings& stage : material->stages) {
            if (stage.texture != nullptr) SortedIdList::Insert(textures, stage.texture);
        }
    }
}

uint32_t ModelCacheIds::MeshId(const Mesh* mesh) const { return NumberOf(meshes, mesh); }

uint32_t ModelCacheIds::MaterialId(const Material* material) const { return NumberOf(materials, material); }

uint32_t ModelCacheIds::TextureId(TextureHandle texture) const { return NumberOf(textures, texture); }

// --- writing

void WriteModelSections(Stream& stream, const ModelCacheIds& ids, const String& folder) {
    WriteIds(stream, ids.meshes.Count());
    const auto materialId = [&ids](const Material* material) { return ids.MaterialId(material); };
    for (const Mesh* mesh : ids.meshes) mesh->WriteBinary(stream, materialId);
    WriteIds(stream, ids.materials.Count());
    const auto textureId = [&ids](TextureHandle texture) { return ids.TextureId(texture); };
    for (const Material* material : ids.materials) material->WriteBinary(stream, textureId);
    WriteIds(stream, ids.textures.Count());
    for (const Texture* texture : ids.textures) {
        WriteCountedString(stream, texture->name.IsEmpty() ? String() : CacheRelativePath(texture->name, folder));
    }
}

void WriteModelCache(Stream& stream, const ModelNode& root, const String& folder) {
    const ModelCacheIds ids(root);
    root.WriteTree(stream, ids);
    WriteModelSections(stream, ids, folder);
}

String CacheRelativePath(const String& path, const String& folder) {
    const StringArray to = PathComponents(path);
    const StringArray from = PathComponents(folder);
    int common = 0;
    while (common < to.Count() && common < from.Count() && to[common] == from[common]) ++common;
    String relative;
    for (int i = common; i < from.Count(); ++i) relative += "../";
    for (int i = common; i < to.Count(); ++i) {
        relative += to[i];
        if (i + 1 < to.Count()) relative += "/";
    }
    return relative;
}

String CachedTexturePath(const String& stored, const String& folder) {
    if (stored.IsEmpty() || stored.CStr()[0] == '/') return String();
    return GetFullPath(folder + "/" + stored);
}

// --- reading

ModelNode* ModelCacheReader::NewNode() {
    if (++nodeCount_ > kMaxNodes) return nullptr;
    objects_.nodes.push_back(std::make_unique<ModelNode>());
    return objects_.nodes.back().get();
}

// The numbers must ascend without repeats, so that they can be searched.
bool ModelCacheReader::ReadIds(Stream& stream, Array<uint32_t>& ids) {
    ids.Clear();
    for (int32_t n = ReadCount(stream, kMaxStoredRecords); n > 0 && !stream.HasError(); --n) {
        const uint32_t id = ReadUInt32(stream);
        if (!ids.IsEmpty() && id <= ids[ids.Count() - 1]) return false;
        if (!stream.HasError()) ids.Append(id);
    }
    return !stream.HasError();
}

bool ModelCacheReader::LinkMeshes(const Array<uint32_t>& meshIds, const std::vector<Mesh*>& meshes) {
    for (const NodeMesh& link : nodeMeshes_) {
        if (link.meshId == 0) continue;
        const int index = IndexOfId(meshIds, link.meshId);
        if (index < 0 || meshes[size_t(index)] == nullptr) return false;
        link.node->mesh = meshes[size_t(index)];
    }
    return true;
}

bool ModelCacheReader::LinkMaterials(const Array<uint32_t>& materialIds, const std::vector<Material*>& materials,
                                     const std::vector<Mesh*>& meshes) {
    Array<Material*> numbers;
    Array<Material*> replacements;
    for (int i = 0; i < materialIds.Count(); ++i) {
        if (materialIds[i] == 0) continue;
        numbers.Append(reinterpret_cast<Material*>(uintptr_t(materialIds[i])));
        replacements.Append(materials[size_t(i)]);
    }
    for (Mesh* mesh : meshes) {
        if (mesh == nullptr) continue;
        if (!MaterialNumbersKnown(*mesh, materialIds)) return false;
        mesh->RemapMaterials(numbers, replacements, true);
    }
    return true;
}

bool ModelCacheReader::ReadSections(Stream& stream) {
    Array<uint32_t> meshIds;
    if (!ReadIds(stream, meshIds)) return false;
    std::vector<Mesh*> meshes;
    for (uint32_t id : meshIds) {
        Mesh* mesh = nullptr;
        if (id != 0) {
            objects_.meshes.push_back(std::make_unique<Mesh>());
            mesh = objects_.meshes.back().get();
            mesh->ReadBinary(stream);
            if (!IsWholeMesh(*mesh)) return false;
        }
        meshes.push_back(mesh);
    }

    Array<uint32_t> materialIds;
    if (stream.HasError() || !ReadIds(stream, materialIds)) return false;
    std::vector<Material*> materials;
    Array<uint32_t> stageIds;
    for (uint32_t id : materialIds) {
        Material* material = nullptr;
        if (id != 0) {
            objects_.materials.push_back(std::make_unique<Material>());
            material = objects_.materials.back().get();
            material->ReadBinary(stream, stageIds);
            for (int stage = 0; stage < stageIds.Count(); ++stage) {
                pendingStages_.push_back({material, stage, stageIds[stage]});
            }
        }
        materials.push_back(material);
    }

    Array<uint32_t> textureIds;
    if (stream.HasError() || !ReadIds(stream, textureIds)) return false;
    std::vector<int> textureIndex;
    for (uint32_t id : textureIds) {
        textureIndex.push_back(int(objects_.textureNames.size()));
        objects_.textureNames.push_back(id != 0 ? ReadCountedString(stream) : String());
    }
    if (stream.HasError()) return false;

    if (!LinkMeshes(meshIds, meshes) || !LinkMaterials(materialIds, materials, meshes)) return false;
    for (const PendingStage& pending : pendingStages_) {
        if (pending.textureId == 0) continue;
        const int index = IndexOfId(textureIds, pending.textureId);
        if (index < 0) return false;
        objects_.stageTextures.push_back({pending.material, pending.stage, textureIndex[size_t(index)]});
    }
    return true;
}

bool ReadModelCache(Stream& stream, ModelNode& root, ModelCacheObjects& objects) {
    ModelCacheReader reader(objects);
    if (!root.ReadTree(stream, reader, 0)) return false;
    return reader.ReadSections(stream) && !stream.HasError();
}
