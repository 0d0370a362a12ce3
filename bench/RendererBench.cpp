// A reference scene drawn through the renderer: 300 small models (a root and two parts,
// each a lit, textured two-quad mesh), 300 more outside the view that culling drops, and
// 20 particle bursts of 20 particles. On the recording device the counters give the
// device calls per frame ("draws", "state_calls", "state_changes"); on the GL backend
// (headless under SDL's offscreen driver) the time per iteration is the frame time at
// 1024 x 768, present included. The nearly empty frame (a clear, one model and a present)
// is what every frame pays before it draws much.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/Image.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/ParticleSystem.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "platform/window/SystemWindow.h"

#include "GlBench.h"

namespace {

constexpr int kVisibleModels = 300;
constexpr int kCulledModels = 300;
constexpr int kParticleSystems = 20;
constexpr int kParticlesEach = 20;

struct Scene {
    std::vector<ModelNode*> models;
    std::vector<Matrix4> places;
    std::vector<std::unique_ptr<ParticleSystem>> bursts;
    std::vector<Matrix4> burstPlaces;
    Camera camera;
};

Material* TexturedMaterial(Renderer& renderer, Color colour) {
    Image image(8, 8);
    image.Fill(colour);
    Material* material = renderer.CreateMaterial();
    material->stages.Append(TextureStageSettings(renderer.CreateTextureImage(image, 1)));
    return material;
}

Mesh* Part(Renderer& renderer, Material* material, float size) {
    Mesh* mesh = renderer.CreateQuad(QuadRect{-size, -size, size, size}, material, 0, 0, 0);
    mesh->hasNormals = 1;
    renderer.CreateModelMeshes(mesh);
    return mesh;
}

Matrix4 At(float x, float y, float z) {
    Matrix4 m;
    m.SetTranslation(Vector3(x, y, z));
    return m;
}

Scene BuildScene(Renderer& renderer) {
    Scene scene;
    Material* body = TexturedMaterial(renderer, Color(0xFF806040u));
    Material* limb = TexturedMaterial(renderer, Color(0xFF4080C0u));
    Mesh* torso = Part(renderer, body, 0.5f);
    Mesh* arm = Part(renderer, limb, 0.2f);
    ModelNode* source = renderer.NewModelNode();
    source->mesh = torso;
    source->bounds = Sphere(Vector3(), 1.0f);
    for (float side : {-0.7f, 0.7f}) {
        ModelNode* part = renderer.NewModelNode();
        part->mesh = arm;
        part->local.SetTranslation(Vector3(side, 0, 0));
        source->LinkChild(part);
    }
    for (int i = 0; i < kVisibleModels + kCulledModels; ++i) {
        scene.models.push_back(renderer.CloneModel(source, true));
        const float x = float(i % 20) * 2.0f - 19.0f, y = float(i / 20 % 15) * 2.0f - 14.0f;
        scene.places.push_back(At(x, y, i < kVisibleModels ? 40.0f : -40.0f));
    }
    Material* spark = TexturedMaterial(renderer, Color(0xFFFFC040u));
    sys::SRand(1);
    for (int i = 0; i < kParticleSystems; ++i) {
        auto burst = std::make_unique<ParticleSystem>();
        burst->particles.SetSize(kParticlesEach);
        burst->material = spark;
        burst->particleSize = 0.5f;
        burst->Reset(Vector3());
        burst->Update(0.3f);
        renderer.CreateParticleMesh(*burst);
        scene.bursts.push_back(std::move(burst));
        scene.burstPlaces.push_back(At(float(i) * 1.5f - 15.0f, 0, 30.0f));
    }
    scene.camera.SetDirection(Vector3(0, 0, 1));
    scene.camera.farPlane = 200.0f;
    scene.camera.viewWidth = 1.33f;
    scene.camera.viewHeight = 1.0f;
    return scene;
}

void DrawFrame(Renderer& renderer, Scene& scene) {
    if (!renderer.GetReady()) return;
    renderer.Clear(Color(0xFF203040u), 1.0f, 3);
    renderer.SetCamera(scene.camera);
    Light light;
    light.direction = Vector3(0.3f, -0.2f, 1.0f);
    renderer.SetLight(light, true, 0);
    renderer.EnableLighting();
    for (size_t i = 0; i < scene.models.size(); ++i) {
        renderer.SetWorldMatrix(scene.places[i]);
        renderer.RenderModel(scene.models[i], true, true);
    }
    renderer.DisableLighting();
    renderer.SetAdditiveBlend();
    for (size_t i = 0; i < scene.bursts.size(); ++i) {
        renderer.SetWorldMatrix(scene.burstPlaces[i]);
        renderer.DrawParticles(*scene.bursts[i]);
    }
    renderer.SetBlendOff();
    renderer.EndFrame();
    renderer.SwapBuffers();
}

void BM_ReferenceSceneRecording(benchmark::State& state) {
    Renderer renderer;
    Scene scene = BuildScene(renderer);
    DrawFrame(renderer, scene);
    gfx::Device& device = renderer.GetDevice();
    device.ResetCounters();
    for (auto _ : state) DrawFrame(renderer, scene);
    const double frames = double(state.iterations());
    state.counters["draws"] = double(device.Stats().drawCalls) / frames;
    state.counters["state_calls"] = double(device.Stats().stateCalls) / frames;
    state.counters["state_changes"] = double(device.Stats().stateChanges) / frames;
}

BENCHMARK(BM_ReferenceSceneRecording)->Unit(benchmark::kMicrosecond);

void BM_ReferenceSceneGl(benchmark::State& state) {
    // The window outlives the renderer that draws into it.
    std::unique_ptr<win::SystemWindow> window;
    Renderer renderer;
    window = OpenBenchRenderer(state, renderer);
    if (window == nullptr) return;
    Scene scene = BuildScene(renderer);
    DrawFrame(renderer, scene);
    renderer.GetDevice().ResetCounters();
    const ProcessCpuPerFrame cpu;
    for (auto _ : state) DrawFrame(renderer, scene);
    cpu.Report(state);
    state.counters["draws"] = double(renderer.GetDevice().Stats().drawCalls) / double(state.iterations());
    renderer.Shutdown();
}

BENCHMARK(BM_ReferenceSceneGl)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NearlyEmptyFrameGl(benchmark::State& state) {
    std::unique_ptr<win::SystemWindow> window;
    Renderer renderer;
    window = OpenBenchRenderer(state, renderer);
    if (window == nullptr) return;
    Scene scene = BuildScene(renderer);
    // One model is drawn, or the driver would drop a frame that only clears unseen.
    scene.models.resize(1);
    const ProcessCpuPerFrame cpu;
    for (auto _ : state) {
        if (!renderer.GetReady()) continue;
        renderer.Clear(Color(0xFF203040u), 1.0f, 3);
        renderer.SetCamera(scene.camera);
        renderer.SetWorldMatrix(scene.places[0]);
        renderer.RenderModel(scene.models[0], true, true);
        renderer.EndFrame();
        renderer.SwapBuffers();
    }
    cpu.Report(state);
    renderer.Shutdown();
}

BENCHMARK(BM_NearlyEmptyFrameGl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
