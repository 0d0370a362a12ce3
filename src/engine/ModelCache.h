#pragma once
// The binary model cache (".sbm"): a node tree, then its meshes, materials and texture
// records, each object known in the file by a number. The writer numbers the objects of
// each kind 1, 2, 3... in address order (0 means none); the reader checks every number
// it looks up and refuses a file that names an object it does not hold.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Array.h"
#include "core/String.h"
#include "engine/TextureHandle.h"

class Material;
class Mesh;
class ModelNode;
class Stream;

// The writer's numbers for the objects of one or more trees.
class ModelCacheIds {
public:
    ModelCacheIds() = default;
    explicit ModelCacheIds(const ModelNode& root);
    // Adds the meshes, materials and textures of another tree.
    void Collect(const ModelNode& root);

    uint32_t MeshId(const Mesh* mesh) const;
    uint32_t MaterialId(const Material* material) const;
    uint32_t TextureId(TextureHandle texture) const;
    // Nodes are only numbered, never looked up.
    uint32_t NextNodeId() const { return ++nodeCounter_; }

    Array<Mesh*> meshes;  // ascending by address, so their numbers ascend too
    Array<Material*> materials;
    Array<Texture*> textures;

private:
    mutable uint32_t nodeCounter_ = 0;
};

// What a cache read made. The objects belong to it until the renderer adopts them, so a
// file refused half-way frees everything it made.
struct ModelCacheObjects {
    struct StageTexture {
        Material* material = nullptr;
        int stage = 0;
        int texture = 0;  // into textureNames
    };

    // Out of line: the owned kinds are complete only there.
    ModelCacheObjects();
    ~ModelCacheObjects();
    ModelCacheObjects(ModelCacheObjects&&) noexcept;
    ModelCacheObjects& operator=(ModelCacheObjects&&) noexcept;

    std::vector<std::unique_ptr<ModelNode>> nodes;  // every node but the caller's root
    std::vector<std::unique_ptr<Mesh>> meshes;
    std::vector<std::unique_ptr<Material>> materials;
    std::vector<String> textureNames;  // empty: the checker texture
    std::vector<StageTexture> stageTextures;
};

// The reader's state while one model is read.
class ModelCacheReader {
public:
    // A tree may hold at most this many nodes.
    static constexpr int kMaxNodes = 1 << 20;

    explicit ModelCacheReader(ModelCacheObjects& objects) : objects_(objects) {}

    // A new node owned by the objects, or none when the file holds too many.
    ModelNode* NewNode();
    void NoteMesh(ModelNode* node, uint32_t meshId) { nodeMeshes_.push_back({node, meshId}); }

    // The mesh, material and texture sections, then every stored number replaced by
    // the object read for it. False when a number names nothing read.
    bool ReadSections(Stream& stream);

private:
    struct NodeMesh {
        ModelNode* node;
        uint32_t meshId;
    };

    bool ReadIds(Stream& stream, Array<uint32_t>& ids);
    bool LinkMeshes(const Array<uint32_t>& meshIds, const std::vector<Mesh*>& meshes);
    bool LinkMaterials(const Array<uint32_t>& materialIds, const std::vector<Material*>& materials,
                       const std::vector<Mesh*>& meshes);

    ModelCacheObjects& objects_;
    std::vector<NodeMesh> nodeMeshes_;
    struct PendingStage {
        Material* material;
        int stage;
        uint32_t textureId;
    };
    std::vector<PendingStage> pendingStages_;
    int nodeCount_ = 0;
};

// The mesh, material and texture sections for the objects the numbers know. Textures are
// named relative to `folder`, the full path of the folder the cache is written into, so
// that a runtime folder copied or moved elsewhere draws with its own pictures.
void WriteModelSections(Stream& stream, const ModelCacheIds& ids, const String& folder);
void WriteModelCache(Stream& stream, const ModelNode& root, const String& folder);
// A full path as the cache stores it: relative to `folder` (a full path too), climbing
// out of it as far as the two differ.
String CacheRelativePath(const String& path, const String& folder);
// The full path of a texture name read from a cache in `folder`; empty for a name that is
// not relative, which only caches written before names were kept relative hold.
String CachedTexturePath(const String& stored, const String& folder);
// Reads a model into the root (a fresh node). False for a short or damaged file: the
// caller then throws the objects away.
bool ReadModelCache(Stream& stream, ModelNode& root, ModelCacheObjects& objects);
