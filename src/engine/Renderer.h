#pragma once
// The program's one renderer. It makes the graphics device on an adapter (OpenGL for a
// real window, the recording twin for a scripted one or a test), runs the frame cycle
// (get ready, clear, draw, end, present), survives a lost device, keeps the current
// camera, world matrix and render states, and owns every GPU object it creates:
// textures, materials, meshes, dynamic meshes, sprites and model nodes live in its
// registries until it releases them all at exit.
//
// A renderer used before Init draws into a headless recording device of 1024 x 768, so
// code that draws runs the same path in tests as in the game. Call Shutdown before SDL
// quits: GL objects must go while their context exists.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Array.h"
#include "core/Color.h"
#include "core/IntRect.h"
#include "core/Matrix4.h"
#include "core/Point.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "engine/Camera.h"
#include "engine/Material.h"
#include "engine/ModelLoadSettings.h"
#include "engine/ParticleBatch.h"
#include "engine/TextureHandle.h"
#include "platform/gfx/DeviceTypes.h"
#include "platform/gfx/Result.h"
#include "platform/gfx/VertexFormat.h"

class ActorSet;
class DynamicMesh;
class Font;
class Image;
class KeyedPoseTrack;
class Mesh;
class ModelNode;
struct ActorSetEntry;
struct ModelCacheObjects;
struct ActorSetObjects;
class ParticleSystem;
struct Sprite;
class SpriteGrid;
namespace gfx {
class Adapter;
class Device;
class DeviceTexture;
class IndexBuffer;
class VertexBuffer;
}  // namespace gfx
namespace win {
class SystemWindow;
}

// A texture the renderer owns, known by the full path of its file.
class Texture {
public:
    String name;  // empty for a texture made from an image
    std::unique_ptr<gfx::DeviceTexture> texture;
};

// The program's default light: directional along (1, 1, 1), diffuse and ambient 0.75
// grey, specular white, range 500.
struct Light : gfx::Light {
    Light();
};

// A mesh of a model tree with the accumulated matrix of its node.
struct MeshInstance {
    Mesh* mesh = nullptr;
    Matrix4 world;
};

// The corners of a quad: (x0, y0) is vertex 0, (x1, y1) vertex 2.
struct QuadRect {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class Renderer {
public:
    // The texture table's and the instance table's bucket count: a prime, so that
    // similar names spread.
    static constexpr int kTableBuckets = 1009;
    // Back-buffer size of the headless device made when drawing starts without Init.
    static constexpr int kHeadlessWidth = 1024;
    static constexpr int kHeadlessHeight = 768;

    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // --- start-up and shutdown
    // A size of 0 x 0 asks for a windowed device; otherwise full screen at the display
    // mode nearest the size (exactly the size with `exact`, else false). False at once
    // when a device exists.
    bool Init(win::SystemWindow* window, const Point& size, int multisample, bool exact);
    bool InitWindowed(win::SystemWindow* window, int multisample);
    // A further attempt after Init returned false.
    bool TryCreateDevice(const Point& size, int multisample, bool exact);
    // The adapter Init uses instead of the one the window calls for (tests script its
    // display modes and multisample limit).
    void SetAdapter(std::unique_ptr<gfx::Adapter> adapter);
    void ChooseAdapter();
    bool CreateDevice(const Point& size, int multisample, bool exact);
    // Destroys every object the renderer made and empties every RendererRef to them; the
    // device stays.
    void ReleaseAll();
    // ReleaseAll, then the device and the adapter.
    void Shutdown();

    // --- the frame cycle; draw, end and present only when GetReady returned true
    bool GetReady();
    // Flags: 1 the target, 2 the depth buffer.
    void Clear(Color colour, float depth, uint32_t flags);
    // Clears only the current camera's viewport when it is a part of the window.
    void ClearViewport(Color colour, float depth, uint32_t flags);
    void EndFrame();
    void SwapBuffers();

    // --- state
    void SetWorldMatrix(const Matrix4& matrix);
    void SetWorldTransform(const Matrix4& matrix) { SetWorldMatrix(matrix); }
    const Matrix4& GetWorldTransform() const { return world_; }
    // Alpha blending with source alpha and inverse source alpha.
    void SetAlphaBlend();
    // Alpha blending with source and destination factors one.
    void SetAdditiveBlend();
    void SetBlendOff();
    bool IsAlphaBlendOn();
    bool IsAdditiveBlend();
    void EnableLighting() { SetLighting(true); }
    void DisableLighting() { SetLighting(false); }
    void SetLight(const gfx::Light& light, bool enable, uint32_t index);
    // Light 0's diffuse and ambient colours (red, green, blue, alpha each).
    void SetLight0Colors(const float* diffuse, const float* ambient);
    void SetLighting(bool on);
    void SetZWrite(bool on);
    void SetWireFrame(bool on);
    void SetNormalize(bool on);
    bool IsLightingOn();
    bool IsZWriteOn();
    bool IsWireFrame();
    bool IsNormalizeOn();
    // The current camera becomes a default camera and the world matrix the identity.
    void ResetView();
    void UpdatePixelScale();

    gfx::Device& GetDevice();
    bool HasDevice() const { return device_ != nullptr; }
    const IntRect& GetWindowRect() const { return windowRect_; }
    const Camera& GetCamera() const { return camera_; }
    float GetPixelScale() const { return pixelScale_; }
    Material& GetDefaultMaterial() { return defaultMaterial_; }

    // --- textures (null for an empty name)
    // A texture from a TGA file. Width or height -1: the file's own. Filters are the
    // loader's numbers (2 point, 3 linear, 4 triangle, 5 box) ORed with flags that only
    // matter when resizing. With reuse, a path loaded before (in any letter case) gives
    // the same record. A file that cannot be read is fatal.
    TextureHandle CreateTextureImage(const String& file, bool& hasAlpha, int width, int height, int mipLevels,
                                     int filter, int filterFlags, int mipFilter, int mipFilterFlags, bool reuse);
    TextureHandle CreateTextureFromFile(const String& file, int width = -1, int height = -1, int mipLevels = 1,
                                        int filter = 3, int filterFlags = 0x30000, int mipFilter = 5,
                                        int mipFilterFlags = 0x30000, bool reuse = true);
    // A new unnamed texture of the image (not in the path table).
    TextureHandle CreateTextureImage(const Image& image, int mipLevels);
    // Copies the image into the texture when their sizes match; otherwise nothing.
    void CreateTextureImage(TextureHandle texture, const Image& image);
    // The image takes the texture's top level.
    void ReadTextureImage(Image& image, TextureHandle texture);
    // Loads (reusing) the file's texture and copies the image into it, so every user of
    // that path shows the new pixels.
    void CreateTextureFromImage(const String& file, const Image& image);
    void LoadImageFile(Image& image, const String& file, int width = -1, int height = -1);
    // The file's picture. A bitmap beside it (the name ending "bmp" in place of its last
    // three letters) that is at least as new is converted first: read, halved when wider
    // than 64 pixels, and saved as the file.
    void LoadConvertedImage(Image& image, const String& file, int width, int height);
    // A 64 x 64 checker of 4-pixel cells, made once.
    TextureHandle GetCheckerTexture();

    // --- materials
    Material* CreateMaterial();
    // Destroys a material of the registry; others are ignored.
    void DestroyMaterial(Material* material);
    // A material with one stage showing the file's texture.
    Material* CreateTexturedMaterial(const String& file, int width, int height);
    // Colours and stages; the stage after the last is disabled.
    void ApplyMaterial(const Material& material);
    void ApplyTextureStage(const TextureStageSettings& stage, uint32_t index);

    // --- meshes
    Mesh* CreateMesh(int positionCapacity, int vertexCapacity, int faceCapacity, int edgeCapacity);
    Mesh* CreateMeshCopy(const Mesh& mesh);
    void DestroyLastMesh();
    // Makes the device mesh once; a mesh without faces gets none and draws nothing.
    void CreateMeshBuffers(Mesh* mesh);
    // Uploads what the change bits name when the mesh is dirty. A mesh whose counts
    // changed since its device mesh was made gets a new one.
    void UpdateMeshBuffers(Mesh* mesh);
    // The device meshes of the mesh and its levels.
    void CreateModelMeshes(Mesh* mesh);
    void CreateModelTreeMeshes(ModelNode* node);
    void SetMeshTexCoord(Mesh* mesh, int vertex, float u, float v, int set);

    // --- quads: four vertices, two faces; flip 1 faces the other way
    Mesh* CreateQuad(const QuadRect& rect, Material* material, float depth, int quarterTurns, int flip);
    Mesh* CreateColoredQuad(const QuadRect& rect, Color colour, float depth, int quarterTurns, int flip);
    Mesh* CreateTexturedQuad(const QuadRect& rect, const String& file, float depth, int quarterTurns, int flip);

    // --- dynamic meshes
    DynamicMesh* CreateDynamicMesh(int positionCapacity, int vertexCapacity, int faceCapacity);
    // Makes the buffers when it has none, then fills them.
    void CreateDynamicMeshBuffers(DynamicMesh* mesh);
    // Rewrites both buffers whole; buffers too small are made anew at double size.
    void UpdateDynamicMeshBuffers(DynamicMesh* mesh);
    // Rewrites only the positions and normals of the vertices from first to end
    // (exclusive) when the faces and the vertex count are those last uploaded; otherwise
    // both buffers whole.
    void UpdateDynamicMeshVertices(DynamicMesh* mesh, int first, int end);
    void DestroyDynamicMesh(DynamicMesh* mesh);
    void DestroyParticleMesh(ParticleSystem& system);
    void RenderDynamicMesh(DynamicMesh* mesh);
    // Dynamic meshes alive now, those of particles and batches alike.
    int DynamicMeshCount() const { return int(dynamicMeshes_.size()); }

    // --- sprites: a unit quad with the file's texture, clamped at its edges
    Sprite* CreateSprite(int x, int y, int width, int height, const String& file, int anchor = 0, float depth = 0.0f,
                         int quarterTurns = 0, int flip = 0);
    Sprite* CreateSprite(int width, int height, const String& file, int anchor = 0, float depth = 0.0f,
                         int quarterTurns = 0, int flip = 0);
    Sprite* CreateSprite(int size, const String& file, int anchor = 0, float depth = 0.0f, int quarterTurns = 0,
                         int flip = 0);
    // A new empty grid, registered.
    SpriteGrid* CreateSpriteGrid();

    // --- drawing, between GetReady and EndFrame
    // Viewport (an unset or oversized one becomes the window, in the camera too), clip
    // planes, view and projection; the camera is kept as the current one.
    void SetCamera(Camera& camera);
    // Draws the tree under the current world matrix; with cull, a root sphere wholly
    // outside the view draws nothing.
    void RenderModel(ModelNode* root, bool useLevels, bool cull);
    // Draws the mesh, or the coarsest of its levels whose error stays within the
    // level-of-detail error on the screen; with levels in use, nothing when it is less
    // than smallestMeshPixels across on the screen.
    void RenderMesh(Mesh* mesh, bool useLevels);
    // What RenderMesh draws of the mesh under the world matrix with levels in use: the
    // mesh, one of its levels, or none when it is too small to see.
    Mesh* ChooseLevel(Mesh* mesh, const Matrix4& world) const;
    // Whether the sphere, in world space, lies wholly outside the current camera's view.
    bool IsOutOfView(const Sphere& sphere) { return camera_.TestSphere(sphere) == 1; }
    void DrawMeshSubsets(Mesh* mesh);
    // One quad of four vertices, made for the system once.
    void CreateParticleMesh(ParticleSystem& system);
    // Each live particle as a camera-facing quad under the current world matrix. Inside
    // a particle batch the quads are gathered instead and drawn at its end.
    void DrawParticles(ParticleSystem& system);
    // Between these, particle draws gather their quads; the end uploads them all at once
    // and draws each run of quads that share a material and states with one call, in
    // the order and the states they were drawn in, so the picture is the one separate
    // draws make. Any other draw, a clear, a camera change or the frame's end draws
    // what was gathered first. Batches nest; the outermost end draws.
    void BeginParticleBatch();
    void EndParticleBatch();
    // The device's still layer (gfx::Device::BeginStillLayer), with the particles gathered
    // before it drawn first and those gathered in it drawn inside it.
    void BeginStillLayer(uint64_t key);
    void EndStillLayer();
    // Blended with source alpha; blending is off afterwards.
    void DrawSpriteTransformed(const Sprite& sprite, const Matrix4& matrix);
    // At the sprite's place and size, drawn twice over itself.
    void DrawSprite(const Sprite& sprite);
    void DrawSpriteScaled(const Sprite& sprite, const Vector2& scale);
    void DrawSpriteUniformScale(const Sprite& sprite, float factor);
    // Scaled, turned by the angle about a point set by the pivot, placed at the position
    // by the sprite's anchor, then through the extra matrix.
    void DrawSpriteRotated(const Sprite& sprite, const Vector2& position, const Vector2& scale, float angle,
                           const Vector2& pivot, const Matrix4& extra);
    void UpdateSpriteMesh(const Sprite& sprite);
    // Every visible item but the hovered one, in item order; then, with drawHover, the
    // hovered one enlarged and last (DrawSpriteGridHover).
    void DrawSpriteGrid(SpriteGrid& grid, bool drawHover);
    // The hovered item, when visible, at 1.5 times its size; the hover is then cleared
    // (the next UpdateHover sets it again).
    void DrawSpriteGridHover(SpriteGrid& grid);

    // --- text in the bitmap font
    // The font's glyph quads from its texture and width file. A missing texture is fatal;
    // a missing or short width file leaves the missing widths 0.
    void LoadFont(Font& font, const String& textureFile, int spacing);
    // The text with its first glyph's top-left at the position; a line feed starts the
    // next line. Sets no blend state: callers switch alpha blending on first.
    void DrawText(const String& text, const Vector2& position, const Font& font, Color colour, float scale);

    // --- model instances
    // A fresh node: a released one, or a new one in the registry.
    ModelNode* NewModelNode();
    // A copy tree sharing the source's meshes. With reuse, a released instance of the
    // source is handed out again, and the copies remember their sources.
    ModelNode* CloneModel(const ModelNode* source, bool reuse);
    // Gives an instance tree back for reuse.
    void RegisterModel(ModelNode* root);
    // Nodes the registry holds, in use and released alike.
    int ModelNodeCount() const { return int(nodes_.size()); }
    // Takes a tree built elsewhere (made with new, linked with LinkChild) into the
    // registry, depth first.
    void RegisterModelNodes(ModelNode* root);
    // The tree's meshes with their accumulated matrices, children before parents.
    void GetModelMeshList(const ModelNode* root, Array<MeshInstance>& list);

    // --- model files (RendererModels.cpp)
    // A model from its file (".act" definitions, else OBJ), or from the ".sbm" cache
    // beside it while that is current, scaled, fitted to the size (0: not fitted) and
    // placed (1 on the ground, 2 centred at the origin). With writeCache the cache is
    // written after a load from the source, and used when the source is missing. With
    // reuse, a model loaded before by the same full path is not read again. With
    // instance the caller gets its own copy of the nodes, sharing the meshes. None when
    // neither source nor usable cache exists.
    ModelNode* LoadModel(const String& name, float scale, float fitSize, int32_t placement, int32_t vertexColours = 0,
                         int32_t simplify = 1, float firstPassFactor = 0.0f, float ratio = 0.5f,
                         int32_t topologyCheck = 1, bool writeCache = true, bool reuse = true,
                         int32_t textureWidth = -1, int32_t textureHeight = -1, bool instance = true);
    // The models of a model file (".act", ".an8", else OBJ) as actor-set entries, each
    // tree a fresh instance; the first entry's tree, or none.
    ModelNode* LoadActorSet(const String& name, Array<ActorSetEntry>& entries, float scale, bool restOnGround,
                            const ModelLoadSettings& settings, bool writeCache, bool reuse);
    // True when the cache is newer than the source and than every file the source
    // names, through nested definitions.
    bool IsCacheCurrent(const String& source, const String& cache);
    // A new, empty keyed track that the renderer owns.
    KeyedPoseTrack* CreateKeyTrack();

    // The largest screen error allowed for a simplified level (see SetLODError).
    float lodError = 1.0f;
    // Meshes drawn with levels and fewer pixels across than this are left out (0: none).
    float smallestMeshPixels = 0.0f;
    int32_t renderModelCount = 0;  // RenderModel calls since construction
    // Display refreshes each present waits for on the next device made: the default
    // paces the frames to the display; measurements that want every frame set 0.
    uint32_t presentInterval = 1;

private:
    struct TableEntry {
        String key;
        Texture* texture = nullptr;
    };

    [[noreturn]] static void Fail(const char* operation, const char* call, gfx::Result result,
                                  const String& extra = String());
    static void Check(gfx::Result result, const char* operation, const char* call);

    void MakeHeadlessDevice();
    void ReadWindowRect();
    bool ChooseFullScreenMode(const Point& size, bool exact, gfx::DisplayMode& mode);
    bool ResetLostDevice();
    bool IsWindowViewport(const IntRect& viewport) const;

    Texture* FindTexture(const String& path) const;
    void InsertTexture(const String& path, Texture* texture);
    Texture* NewTexture(const String& name);
    // True when the file was written anew from its bitmap companion.
    bool ConvertBitmapCompanion(const String& file, int width, int height);

    void WriteDeviceMesh(Mesh& mesh);
    void RecreateDynamicBuffers(DynamicMesh& mesh, int vertexCount, int faceCount);
    gfx::VertexFormat MeshFormat(bool normals, bool colours, int texSets, int& sizeInFloats);

    void SetParticleMaterial(DynamicMesh& mesh, Material* material);
    void GatherParticles(const ParticleSystem& system);
    ParticleRunKey CurrentParticleKey(const Material* material, gfx::VertexFormat format);
    void ApplyParticleRunKey(const ParticleRunKey& key);
    // Draws what the batch gathered and empties it; the states stay as they were.
    void FlushParticleBatch();
    void UploadParticleQuads(uint32_t stride);
    void EnsureParticleIndices(int32_t quads);

    bool IsCacheCurrentVisiting(const String& source, const String& cache, std::vector<std::string>& visiting);
    ModelNode* LoadModelSource(const String& name, const ModelLoadSettings& settings);
    ModelNode* ReadCachedModel(const String& cacheName);
    bool ReadCachedActorSet(const String& cacheName, ActorSet& set);
    bool AdoptCacheObjects(ModelCacheObjects& objects, const String& folder);
    void LoadActorSetSource(ActorSet& set, const ModelLoadSettings& settings);
    void RenderNode(ModelNode* node, std::vector<Matrix4>& stack, bool useLevels);
    void CollectMeshes(const ModelNode* node, const Matrix4& parent, Array<MeshInstance>& list);

    win::SystemWindow* window_ = nullptr;
    IntRect windowRect_;
    std::unique_ptr<gfx::Adapter> adapter_;
    std::unique_ptr<gfx::Device> device_;
    gfx::DeviceCaps caps_;
    gfx::PresentParams params_;
    Camera camera_;
    Matrix4 world_;
    float pixelScale_ = 0.0f;
    Material defaultMaterial_;

    std::vector<std::unique_ptr<Texture>> textures_;
    std::vector<std::vector<TableEntry>> textureTable_;
    Texture* checker_ = nullptr;
    std::vector<std::unique_ptr<Material>> materials_;
    std::vector<std::unique_ptr<Mesh>> meshes_;
    std::vector<std::unique_ptr<DynamicMesh>> dynamicMeshes_;
    // Dynamic meshes whose buffers a device reset took; made again once it succeeds.
    std::vector<DynamicMesh*> releasedForReset_;
    std::vector<std::unique_ptr<Sprite>> sprites_;
    std::vector<std::unique_ptr<SpriteGrid>> spriteGrids_;
    std::vector<std::unique_ptr<ModelNode>> nodes_;
    std::vector<ModelNode*> freeNodes_;
    std::unordered_map<const ModelNode*, std::vector<ModelNode*>> freeInstances_;
    std::map<std::string, ModelNode*> models_;
    std::map<std::string, std::unique_ptr<ActorSet>> actorSets_;
    std::vector<std::unique_ptr<KeyedPoseTrack>> keyTracks_;

    ParticleBatch particleBatch_;
    int32_t particleBatchDepth_ = 0;
    // The gathered quads' vertices, rewritten whole at each flush, and the quads' indices,
    // the same six for every quad, written when they grow.
    std::unique_ptr<gfx::VertexBuffer> particleVertices_;
    std::unique_ptr<gfx::IndexBuffer> particleIndices_;
    int32_t particleIndexQuads_ = 0;
};

Renderer& GetRenderer();
// Stores the option's value / 20 as the renderer's level-of-detail error.
void SetLODError(float value);
