#pragma once
// The renderer as the world uses it: the world transform, model and texture loading,
// model drawing, blending, light 0 and the render states. This one runs headless: it
// keeps the state it is given and counts the drawing it is asked for, so the world can
// run and be checked without a device.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "core/Array.h"
#include "core/Matrix4.h"
#include "core/String.h"
#include "engine/TextureHandle.h"

class ModelNode;

// A texture the renderer owns, known by the path it was made from.
class Texture {
public:
    explicit Texture(const String& texturePath) : path(texturePath) {}
    String path;
};

// The models of an actor file, in file order.
struct ActorSet {
    Array<ModelNode*> trees;
};

class Renderer {
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void SetWorldTransform(const Matrix4& world) { worldTransform_ = world; }
    const Matrix4& GetWorldTransform() const { return worldTransform_; }

    // A model tree cached by path; the renderer owns it. The loader parameters are kept
    // as the callers pass them (scale first).
    ModelNode* LoadModel(const String& path, float weight, float scale, int32_t mode, int32_t a = 0, int32_t b = 1,
                         float tolerance = 0.0f);
    // The models of an actor file, cached by path; the renderer owns them.
    ActorSet* LoadActorSet(const String& path, float scale);
    // Puts a model instance back on the renderer's lists for reuse.
    void RegisterModel(ModelNode* model);
    // Draws the tree with the current world transform.
    void RenderModel(ModelNode* model, bool cull, bool lit);

    // A texture cached by path; the loading parameters are those the callers pass.
    TextureHandle CreateTextureFromFile(const String& path, int32_t width = -1, int32_t height = -1,
                                        int32_t levels = 1, int32_t usage = 3, int32_t format = 0x30000,
                                        int32_t pool = 5, int32_t filter = 0x30000, int32_t mipFilter = 1);

    // Alpha blending with source alpha and inverse source alpha.
    void SetAlphaBlend();
    // Alpha blending with source and destination factors one.
    void SetAdditiveBlend();
    void SetBlendOff();
    bool IsAlphaBlendOn() const { return alphaBlend_; }
    bool IsAdditiveBlend() const { return additive_; }

    // Light 0's two colours (four floats each: red, green, blue, alpha).
    void SetLight0Colors(const float* diffuse, const float* ambient);
    const float* GetLight0Diffuse() const { return light0Diffuse_; }
    const float* GetLight0Ambient() const { return light0Ambient_; }

    void SetLighting(bool on) { lighting_ = on; }
    void SetZWrite(bool on) { zWrite_ = on; }
    void SetWireFrame(bool on) { wireFrame_ = on; }
    void SetNormalize(bool on) { normalize_ = on; }
    bool IsLightingOn() const { return lighting_; }
    bool IsZWriteOn() const { return zWrite_; }
    bool IsWireFrame() const { return wireFrame_; }
    bool IsNormalizeOn() const { return normalize_; }

    int32_t renderModelCount = 0;  // RenderModel calls since construction
    int32_t registerModelCount = 0;

private:
    Matrix4 worldTransform_;
    std::map<std::string, std::unique_ptr<ModelNode>> models_;
    std::map<std::string, std::unique_ptr<ActorSet>> actorSets_;
    std::map<std::string, std::unique_ptr<ModelNode>> actorModels_;
    std::map<std::string, std::unique_ptr<Texture>> textures_;
    bool alphaBlend_ = false;
    bool additive_ = false;
    float light0Diffuse_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float light0Ambient_[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    // The device's defaults: lighting and depth writes on, solid fill, no renormalising.
    bool lighting_ = true;
    bool zWrite_ = true;
    bool wireFrame_ = false;
    bool normalize_ = false;
};

Renderer& GetRenderer();
