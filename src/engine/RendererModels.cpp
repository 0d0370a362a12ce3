// The renderer's model files: loading by name, the ".sbm" cache beside each source, its
// currency test, and actor sets.
#include <algorithm>
#include <cmath>
#include <functional>

#include "core/ConsoleStream.h"
#include "core/FileHelpers.h"
#include "core/FileStream.h"
#include "core/Image.h"
#include "core/MathUtil.h"
#include "core/MemoryReadStream.h"
#include "core/Tga.h"
#include "engine/ActFile.h"
#include "engine/ActorSet.h"
#include "engine/An8Model.h"
#include "engine/KeyedPoseTrack.h"
#include "engine/Mesh.h"
#include "engine/ModelCache.h"
#include "engine/ModelNode.h"
#include "engine/ObjReader.h"
#include "engine/Renderer.h"
#include "platform/sys/Paths.h"

namespace {

// The filters of a painted texture, as the material loader uses them.
constexpr int kFilterLinear = 3;
constexpr int kFilterBox = 5;
constexpr int kFilterMirrorUV = 0x30000;

void ConsoleLine(const String& text) {
    ConsoleStream& console = GetConsoleStream();
    console << text;
    console.Flush();
}

bool HasExtension(const String& name, const char* extension) { return name.Extension().EqualsNoCase(extension); }

String CacheNameOf(const String& name) { return name.StripExtension() + ".sbm"; }

// The full path of the folder the cache lies in, which its texture names are relative to.
String CacheFolderOf(const String& cacheName) {
    const String path = GetFullPath(cacheName);
    return path.Left(path.FindLast("/"));
}

// A failed cache write leaves the old cache (or none); the next load reads the source.
void WriteCacheFile(const String& cacheName, const std::function<void(Stream&)>& write) {
    FileStream stream(cacheName.CStr(), "wb");
    if (!stream.IsOpen()) return;
    write(stream);
    if (!stream.Commit()) ConsoleLine(String("Model cache ") + cacheName + " could not be written");
}

void ScaleAndFit(ModelNode& root, float scale, float fitSize) {
    if (std::fabs(scale - 1.0f) > kDefaultTolerance) root.Scale(scale);
    if (std::fabs(fitSize) > kDefaultTolerance) root.FitToSize(fitSize);
}

void Place(ModelNode& root, int32_t placement) {
    if (placement == 1) {
        root.RestOnGround();
    } else if (placement == 2) {
        root.CentreAtOrigin();
    } else {
        return;
    }
    root.UpdateBounds(false);
}

}  // namespace

// --- cache currency

bool Renderer::IsCacheCurrent(const String& source, const String& cache) {
    std::vector<std::string> visiting;
    return IsCacheCurrentVisiting(source, cache, visiting);
}

// A definition that names itself, directly or through others, makes the cache stale.
bool Renderer::IsCacheCurrentVisiting(const String& source, const String& cache, std::vector<std::string>& visiting) {
    const std::string key = sys::FullPath(source.CStr());
    if (std::find(visiting.begin(), visiting.end(), key) != visiting.end()) return false;
    int order = 0;
    if (!CompareFileTimes(source, cache, order) || order != -1) return false;
    if (HasExtension(source, "obj")) {
        // The bitmap twin is the painted texture's source, converted while the model is
        // read: a newer twin, or none at all, sends the model back to its source.
        const String bitmap = source.Left(source.CharCount() - 3) + "bmp";
        return IsCacheCurrentVisiting(bitmap, cache, visiting);
    }
    if (!HasExtension(source, "act")) return true;
    ActFileLists lists;
    LoadSceneFile(source, 1.0f, 0.0f, ModelLoadSettings(), false, &lists);
    visiting.push_back(key);
    bool current = true;
    for (const StringArray* list : {&lists.meshes, &lists.actFiles, &lists.keyFiles, &lists.poseFiles}) {
        for (const String& file : *list) current = current && IsCacheCurrentVisiting(file, cache, visiting);
    }
    visiting.pop_back();
    return current;
}

// --- reading a cache

// Textures first: a file that names a texture no longer there (or no texture at all) is
// refused before the renderer takes anything from it, and so is one naming a texture by
// full path, which would draw with another folder's pictures.
bool Renderer::AdoptCacheObjects(ModelCacheObjects& objects, const String& folder) {
    std::vector<TextureHandle> textures;
    for (const String& name : objects.textureNames) {
        if (name.IsEmpty()) {
            textures.push_back(GetCheckerTexture());
            continue;
        }
        // A texture the renderer cannot read would be fatal: the cache is refused instead.
        const String path = CachedTexturePath(name, folder);
        Image check;
        if (path.IsEmpty() || (FindTexture(path) == nullptr && ReadTgaFile(path.CStr(), check) != TgaReadResult::kOk)) {
            return false;
        }
        bool hasAlpha = false;
        textures.push_back(CreateTextureImage(path, hasAlpha, -1, -1, 1, kFilterLinear, kFilterMirrorUV, kFilterBox,
                                              kFilterMirrorUV, true));
    }
    for (const ModelCacheObjects::StageTexture& stage : objects.stageTextures) {
        stage.material->stages[stage.stage].texture = textures[size_t(stage.texture)];
    }
    for (std::unique_ptr<ModelNode>& node : objects.nodes) nodes_.push_back(std::move(node));
    for (std::unique_ptr<Mesh>& mesh : objects.meshes) meshes_.push_back(std::move(mesh));
    for (std::unique_ptr<Material>& material : objects.materials) materials_.push_back(std::move(material));
    objects = ModelCacheObjects();
    return true;
}

ModelNode* Renderer::ReadCachedModel(const String& cacheName) {
    MemoryReadStream stream = MemoryReadStream::FromFile(cacheName.CStr());
    if (!stream.IsOpen()) return nullptr;
    auto root = std::make_unique<ModelNode>();
    ModelCacheObjects objects;
    if (!ReadModelCache(stream, *root, objects) || !AdoptCacheObjects(objects, CacheFolderOf(cacheName))) {
        ConsoleLine(String("Model cache ") + cacheName + " is damaged: the source is read instead");
        return nullptr;
    }
    nodes_.push_back(std::move(root));
    return nodes_.back().get();
}

// --- models

ModelNode* Renderer::LoadModelSource(const String& name, const ModelLoadSettings& settings) {
    if (HasExtension(name, "act")) return LoadSceneFile(name, 1.0f, 0.0f, settings, false, nullptr);
    return LoadObjModel(name, 1.0f, 0.0f, settings, false);
}

// The cache holds the model as its source gives it; scale and fit size are applied on
// both paths, so callers with different scales can share one cache.
ModelNode* Renderer::LoadModel(const String& name, float scale, float fitSize, int32_t placement, int32_t vertexColours,
                               int32_t simplify, float firstPassFactor, float ratio, int32_t topologyCheck,
                               bool writeCache, bool reuse, int32_t textureWidth, int32_t textureHeight,
                               bool instance) {
    const String key = GetFullPath(name);
    if (key.IsEmpty()) return nullptr;
    if (reuse) {
        const auto found = models_.find(key.CStr());
        if (found != models_.end()) return CloneModel(found->second, true);
    }
    const ModelLoadSettings settings{uint8_t(vertexColours != 0), uint8_t(simplify != 0), firstPassFactor, ratio,
                                     uint8_t(topologyCheck != 0), textureWidth,           textureHeight};
    const String cacheName = CacheNameOf(name);
    const bool sourceExists = FileExists(name);
    ModelNode* model = nullptr;
    if (writeCache && (sourceExists ? IsCacheCurrent(name, cacheName) : FileExists(cacheName))) {
        model = ReadCachedModel(cacheName);
    }
    if (model == nullptr) {
        if (!sourceExists) return nullptr;
        model = LoadModelSource(name, settings);
        if (model == nullptr) return nullptr;
        if (writeCache) {
            const String folder = CacheFolderOf(cacheName);
            WriteCacheFile(cacheName, [model, &folder](Stream& stream) { WriteModelCache(stream, *model, folder); });
        }
    }
    ScaleAndFit(*model, scale, fitSize);
    model->UpdateBounds(false);
    models_[key.CStr()] = model;
    ModelNode* result = model;
    if (instance) {
        CreateModelTreeMeshes(model);
        result = CloneModel(model, true);
    }
    Place(*model, placement);
    if (result != model) Place(*result, placement);
    return result;
}

// --- actor sets

KeyedPoseTrack* Renderer::CreateKeyTrack() {
    keyTracks_.push_back(std::make_unique<KeyedPoseTrack>());
    return keyTracks_.back().get();
}

bool Renderer::ReadCachedActorSet(const String& cacheName, ActorSet& set) {
    MemoryReadStream stream = MemoryReadStream::FromFile(cacheName.CStr());
    if (!stream.IsOpen()) return false;
    ActorSetObjects objects;
    const String name = set.name;
    bool read = set.ReadBinary(stream, objects);
    const String folder = CacheFolderOf(cacheName);
    for (ModelCacheObjects& model : objects.models) read = read && AdoptCacheObjects(model, folder);
    set.name = name;
    if (!read) {
        // Objects adopted before a refused one stay registered, unused.
        set.entries.Clear();
        ConsoleLine(String("Model cache ") + cacheName + " is damaged: the source is read instead");
        return false;
    }
    for (std::unique_ptr<ModelNode>& root : objects.roots) nodes_.push_back(std::move(root));
    for (std::unique_ptr<KeyedPoseTrack>& track : objects.tracks) keyTracks_.push_back(std::move(track));
    for (const ActorSetEntry& entry : set.entries) CreateModelTreeMeshes(entry.root);
    return true;
}

void Renderer::LoadActorSetSource(ActorSet& set, const ModelLoadSettings& settings) {
    if (HasExtension(set.name, "act")) {
        LoadActorFile(set, set.name, 1.0f, settings);
    } else if (HasExtension(set.name, "an8")) {
        if (!LoadAn8Model(set, 1.0f, settings)) set.entries.Clear();
    } else if (!LoadObjMesh(set, settings)) {
        set.entries.Clear();
    }
}

ModelNode* Renderer::LoadActorSet(const String& name, Array<ActorSetEntry>& entries, float scale, bool restOnGround,
                                  const ModelLoadSettings& settings, bool writeCache, bool reuse) {
    entries.Clear();
    const String key = GetFullPath(name);
    if (key.IsEmpty()) return nullptr;
    const auto found = reuse ? actorSets_.find(key.CStr()) : actorSets_.end();
    ActorSet* set = found != actorSets_.end() ? found->second.get() : nullptr;
    if (set == nullptr) {
        if (!FileExists(name)) return nullptr;
        auto loaded = std::make_unique<ActorSet>(name);
        const String cacheName = CacheNameOf(name);
        const bool fromCache = writeCache && IsCacheCurrent(name, cacheName) && ReadCachedActorSet(cacheName, *loaded);
        if (!fromCache) {
            LoadActorSetSource(*loaded, settings);
            if (writeCache) {
                const String folder = CacheFolderOf(cacheName);
                WriteCacheFile(cacheName, [&loaded, &folder](Stream& stream) { loaded->WriteBinary(stream, folder); });
            }
        }
        for (const ActorSetEntry& entry : loaded->entries) {
            if (entry.root == nullptr) continue;
            ScaleAndFit(*entry.root, scale, 0.0f);
            if (restOnGround) entry.root->RestOnGround();
            entry.root->UpdateBounds(false);
        }
        if (std::fabs(scale - 1.0f) > kDefaultTolerance) {
            Array<Mesh*> meshes;
            loaded->CollectMeshes(meshes);
            // The device meshes were made before scaling.
            for (Mesh* mesh : meshes) {
                mesh->ReleaseDeviceMesh();
                CreateModelMeshes(mesh);
            }
        }
        set = loaded.get();
        actorSets_[key.CStr()] = std::move(loaded);
    }
    entries = set->entries;
    for (ActorSetEntry& entry : entries) entry.root = CloneModel(entry.root, true);
    return entries.IsEmpty() ? nullptr : entries[0].root;
}
