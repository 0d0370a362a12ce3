// The renderer as the world uses it, headless: state kept, drawing counted.
#include "engine/Renderer.h"

#include <algorithm>
#include <iterator>

#include "engine/ModelNode.h"

Renderer::Renderer() = default;

Renderer::~Renderer() = default;

ModelNode* Renderer::LoadModel(const String& path, float, float, int32_t, int32_t, int32_t, float) {
    std::unique_ptr<ModelNode>& model = models_[path.CStr()];
    if (!model) model = std::make_unique<ModelNode>(path.FileTitle());
    return model.get();
}

ActorSet* Renderer::LoadActorSet(const String& path, float) {
    std::unique_ptr<ActorSet>& set = actorSets_[path.CStr()];
    if (set) return set.get();
    set = std::make_unique<ActorSet>();
    std::unique_ptr<ModelNode>& tree = actorModels_[path.CStr()];
    tree = std::make_unique<ModelNode>(path.FileTitle());
    set->trees.Append(tree.get());
    return set.get();
}

void Renderer::RegisterModel(ModelNode*) { ++registerModelCount; }

void Renderer::RenderModel(ModelNode* model, bool, bool) {
    if (model == nullptr) return;
    ++renderModelCount;
}

TextureHandle Renderer::CreateTextureFromFile(const String& path, int32_t, int32_t, int32_t, int32_t, int32_t,
                                              int32_t, int32_t, int32_t) {
    std::unique_ptr<Texture>& texture = textures_[path.CStr()];
    if (!texture) texture = std::make_unique<Texture>(path);
    return texture.get();
}

void Renderer::SetAlphaBlend() {
    alphaBlend_ = true;
    additive_ = false;
}

void Renderer::SetAdditiveBlend() {
    alphaBlend_ = true;
    additive_ = true;
}

void Renderer::SetBlendOff() {
    alphaBlend_ = false;
    additive_ = false;
}

void Renderer::SetLight0Colors(const float* diffuse, const float* ambient) {
    std::copy(diffuse, diffuse + 4, std::begin(light0Diffuse_));
    std::copy(ambient, ambient + 4, std::begin(light0Ambient_));
}

Renderer& GetRenderer() {
    static Renderer renderer;
    return renderer;
}
