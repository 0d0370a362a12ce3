// The renderer's device, frame cycle, render states and the release of what it owns.
#include "engine/Renderer.h"

#include <algorithm>

#include "core/ThrowError.h"
#include "engine/ActorSet.h"
#include "engine/DynamicMesh.h"
#include "engine/KeyedPoseTrack.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/RendererRef.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "platform/gfx/Adapter.h"
#include "platform/gfx/Buffer.h"
#include "platform/gfx/RecordingAdapter.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/window/SystemWindow.h"

namespace {

// The device's multisample counts run from none to 16 samples.
constexpr int kMaxMultisample = 16;
// Clear flags the device knows: the target and the depth buffer (there is no stencil).
constexpr uint32_t kClearFlagsMask = gfx::kClearTarget | gfx::kClearDepth;

IntRect RectOfSize(uint32_t width, uint32_t height) { return IntRect(0, 0, int32_t(width) - 1, int32_t(height) - 1); }

int64_t SquaredDistance(const Point& size, const gfx::DisplayMode& mode) {
    const int64_t dw = int64_t(size.x) - mode.width;
    const int64_t dh = int64_t(size.y) - mode.height;
    return dh * dh + dw * dw;
}

}  // namespace

Light::Light() {
    type = gfx::LightType::Directional;
    diffuse = {0.75f, 0.75f, 0.75f, 1.0f};
    specular = {1.0f, 1.0f, 1.0f, 1.0f};
    ambient = {0.75f, 0.75f, 0.75f, 1.0f};
    position = Vector3(0, 0, 0);
    direction = Vector3(1, 1, 1);
    range = 500.0f;
    falloff = 1.0f;
    attenuation0 = 1.0f;
    attenuation1 = 0.0f;
    attenuation2 = 0.0f;
    theta = 0.0f;
    phi = 1.0f;
}

Renderer::Renderer() : textureTable_(kTableBuckets) { ResetView(); }

Renderer::~Renderer() { Shutdown(); }

void Renderer::Fail(const char* operation, const char* call, gfx::Result result, const String& extra) {
    String message = String("Renderer::") + operation + "() - " + call + "(): " + gfx::ResultText(result);
    message += extra;
    RaiseError(__LINE__, __FILE__, message, int32_t(result));
}

void Renderer::Check(gfx::Result result, const char* operation, const char* call) {
    if (result != gfx::Result::Ok) Fail(operation, call, result);
}

// --- start-up and shutdown

void Renderer::SetAdapter(std::unique_ptr<gfx::Adapter> adapter) { adapter_ = std::move(adapter); }

bool Renderer::Init(win::SystemWindow* window, const Point& size, int multisample, bool exact) {
    if (device_ != nullptr) return false;
    window_ = window;
    ReadWindowRect();
    UpdatePixelScale();
    ChooseAdapter();
    return CreateDevice(size, multisample, exact);
}

bool Renderer::InitWindowed(win::SystemWindow* window, int multisample) {
    return Init(window, Point(0, 0), multisample, false);
}

bool Renderer::TryCreateDevice(const Point& size, int multisample, bool exact) {
    if (device_ != nullptr) return false;
    ChooseAdapter();
    return CreateDevice(size, multisample, exact);
}

void Renderer::ReadWindowRect() {
    if (window_ == nullptr) return;
    const win::Size client = window_->ClientSize();
    windowRect_ = RectOfSize(uint32_t(client.width), uint32_t(client.height));
}

// The window decides the backend: a real SDL window gets OpenGL, a scripted one (or
// none) the recording device, sized like the window's client area.
void Renderer::ChooseAdapter() {
    if (adapter_ != nullptr) return;
    SDL_Window* native = window_ != nullptr ? window_->NativeWindow() : nullptr;
    if (native != nullptr) {
        adapter_ = gfx::CreateAdapter(gfx::Backend::OpenGl, native);
        return;
    }
    auto recording = std::make_unique<gfx::RecordingAdapter>();
    if (window_ != nullptr) {
        const win::Size client = window_->ClientSize();
        recording->SetClientSize(uint32_t(client.width), uint32_t(client.height));
    }
    adapter_ = std::move(recording);
}

bool Renderer::ChooseFullScreenMode(const Point& size, bool exact, gfx::DisplayMode& mode) {
    const std::vector<gfx::DisplayMode> modes = adapter_->Modes();
    if (modes.empty()) {
        RaiseError(__LINE__, __FILE__,
                   "Renderer::CreateDevice() - gfx::Adapter::Modes(): the adapter lists no display modes", 0);
    }
    // The first of equally near modes wins.
    mode = modes.front();
    for (const gfx::DisplayMode& candidate : modes) {
        if (SquaredDistance(size, candidate) < SquaredDistance(size, mode)) mode = candidate;
    }
    return !exact || SquaredDistance(size, mode) == 0;
}

bool Renderer::CreateDevice(const Point& size, int multisample, bool exact) {
    if (adapter_ == nullptr) ChooseAdapter();
    gfx::PresentParams params;
    params.multisample = uint32_t(std::clamp(multisample, 0, kMaxMultisample));
    params.presentInterval = presentInterval;
    const bool fullScreen = size.x > 0 && size.y > 0;
    gfx::DisplayMode mode;
    if (fullScreen) {
        if (!ChooseFullScreenMode(size, exact, mode)) return false;
        params.windowed = false;
        params.backBufferWidth = mode.width;
        params.backBufferHeight = mode.height;
    } else if (adapter_->CurrentMode().width == 0) {
        Fail("CreateDevice", "gfx::Adapter::CurrentMode", gfx::Result::NotAvailable);
    }
    // Adapters refuse sample counts they lack: fall back one sample at a time.
    for (;;) {
        gfx::Created<gfx::Device> created = adapter_->CreateDevice(params);
        if (created.result == gfx::Result::Ok) {
            device_ = std::move(created.object);
            break;
        }
        if (params.multisample == 0) Fail("CreateDevice", "gfx::Adapter::CreateDevice", created.result);
        --params.multisample;
    }
    params_ = params;
    caps_ = device_->Caps();
    if (fullScreen || window_ == nullptr) {
        windowRect_ = RectOfSize(device_->BackBufferWidth(), device_->BackBufferHeight());
    }
    UpdatePixelScale();
    return true;
}

void Renderer::MakeHeadlessDevice() {
    device_ = std::make_unique<gfx::RecordingDevice>(kHeadlessWidth, kHeadlessHeight);
    caps_ = device_->Caps();
    params_ = device_->Params();
    windowRect_ = RectOfSize(kHeadlessWidth, kHeadlessHeight);
    UpdatePixelScale();
}

gfx::Device& Renderer::GetDevice() {
    if (device_ == nullptr) MakeHeadlessDevice();
    return *device_;
}

void Renderer::ReleaseAll() {
    textures_.clear();
    materials_.clear();
    meshes_.clear();
    dynamicMeshes_.clear();
    releasedForReset_.clear();
    sprites_.clear();
    spriteGrids_.clear();
    nodes_.clear();
    freeNodes_.clear();
    freeInstances_.clear();
    for (std::vector<TableEntry>& bucket : textureTable_) bucket.clear();
    checker_ = nullptr;
    models_.clear();
    actorSets_.clear();
    keyTracks_.clear();
    particleBatch_.Clear();
    particleVertices_.reset();
    particleIndices_.reset();
    particleIndexQuads_ = 0;
    RendererRefBase::ReleaseAll();
}

void Renderer::Shutdown() {
    ReleaseAll();
    device_.reset();
    adapter_.reset();
}

// --- the frame cycle

bool Renderer::GetReady() {
    gfx::Device& device = GetDevice();
    const gfx::Result level = device.TestCooperativeLevel();
    if (level == gfx::Result::DeviceLost) return false;
    if (level == gfx::Result::DeviceNotReset) {
        if (!ResetLostDevice()) return false;
    } else if (level != gfx::Result::Ok) {
        Fail("GetReady", "TestCooperativeLevel", level);
    }
    Check(device.BeginScene(), "BeginFrame", "BeginScene");
    return true;
}

// Dynamic buffers are the only objects the reset takes: release them, reset, then make
// and refill the same ones. A reset that finds the device lost again leaves it lost
// (the next frame tries again), with the buffers still released.
bool Renderer::ResetLostDevice() {
    particleVertices_.reset();
    for (const std::unique_ptr<DynamicMesh>& mesh : dynamicMeshes_) {
        if (!mesh->HasBuffers()) continue;
        mesh->ReleaseBuffers();
        releasedForReset_.push_back(mesh.get());
    }
    const gfx::Result result = device_->Reset();
    if (result == gfx::Result::DeviceLost || result == gfx::Result::DeviceNotReset) return false;
    Check(result, "Reset", "Reset");
    ResetView();
    std::vector<DynamicMesh*> released;
    released.swap(releasedForReset_);
    for (DynamicMesh* mesh : released) CreateDynamicMeshBuffers(mesh);
    return true;
}

void Renderer::Clear(Color colour, float depth, uint32_t flags) {
    FlushParticleBatch();
    flags &= kClearFlagsMask;
    if (flags == 0) return;
    Check(GetDevice().Clear({}, flags, colour, depth), "Clear", "Clear");
}

bool Renderer::IsWindowViewport(const IntRect& viewport) const { return viewport == windowRect_; }

void Renderer::ClearViewport(Color colour, float depth, uint32_t flags) {
    FlushParticleBatch();
    const IntRect& v = camera_.viewport;
    const bool part = !IsWindowViewport(v) && v.right <= windowRect_.right && v.bottom <= windowRect_.bottom;
    const bool valid = v.left >= 0 && v.top >= 0 && v.right - v.left + 1 >= 1 && v.bottom - v.top + 1 >= 1;
    flags &= kClearFlagsMask;
    if (!part || !valid || flags == 0) {
        Clear(colour, depth, flags);
        return;
    }
    const gfx::ClearRect rect{v.left, v.top, v.right + 1, v.bottom + 1};
    Check(GetDevice().Clear({&rect, 1}, flags, colour, depth), "Clear", "Clear");
}

void Renderer::EndFrame() {
    FlushParticleBatch();
    Check(GetDevice().EndScene(), "EndFrame", "EndScene");
}

// A loss during Present is no error: the next GetReady deals with it.
void Renderer::SwapBuffers() {
    const gfx::Result result = GetDevice().Present();
    if (result != gfx::Result::DeviceLost) Check(result, "SwapBuffers", "Present");
}

// --- state

void Renderer::SetWorldMatrix(const Matrix4& matrix) {
    world_ = matrix;
    GetDevice().SetTransform(gfx::TransformKind::World, matrix);
}

void Renderer::SetAlphaBlend() {
    gfx::Device& device = GetDevice();
    device.SetRenderState(gfx::RenderState::AlphaBlendEnable, 1u);
    device.SetRenderState(gfx::RenderState::SrcBlend, gfx::Blend::SrcAlpha);
    device.SetRenderState(gfx::RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
}

void Renderer::SetAdditiveBlend() {
    gfx::Device& device = GetDevice();
    device.SetRenderState(gfx::RenderState::AlphaBlendEnable, 1u);
    device.SetRenderState(gfx::RenderState::SrcBlend, gfx::Blend::One);
    device.SetRenderState(gfx::RenderState::DestBlend, gfx::Blend::One);
}

void Renderer::SetBlendOff() { GetDevice().SetRenderState(gfx::RenderState::AlphaBlendEnable, 0u); }

bool Renderer::IsAlphaBlendOn() { return GetDevice().GetRenderState(gfx::RenderState::AlphaBlendEnable) != 0; }

bool Renderer::IsAdditiveBlend() {
    gfx::Device& device = GetDevice();
    const uint32_t one = uint32_t(gfx::Blend::One);
    return IsAlphaBlendOn() && device.GetRenderState(gfx::RenderState::SrcBlend) == one &&
           device.GetRenderState(gfx::RenderState::DestBlend) == one;
}

void Renderer::SetLight(const gfx::Light& light, bool enable, uint32_t index) {
    gfx::Device& device = GetDevice();
    device.SetLight(index, light);
    device.LightEnable(index, enable);
}

void Renderer::SetLight0Colors(const float* diffuse, const float* ambient) {
    gfx::Device& device = GetDevice();
    gfx::Light light = device.GetLight(0);
    light.diffuse = {diffuse[0], diffuse[1], diffuse[2], diffuse[3]};
    light.ambient = {ambient[0], ambient[1], ambient[2], ambient[3]};
    device.SetLight(0, light);
}

void Renderer::SetLighting(bool on) { GetDevice().SetRenderState(gfx::RenderState::Lighting, uint32_t(on)); }

void Renderer::SetZWrite(bool on) { GetDevice().SetRenderState(gfx::RenderState::ZWriteEnable, uint32_t(on)); }

void Renderer::SetWireFrame(bool on) {
    GetDevice().SetRenderState(gfx::RenderState::FillMode, on ? gfx::Fill::Wireframe : gfx::Fill::Solid);
}

void Renderer::SetNormalize(bool on) { GetDevice().SetRenderState(gfx::RenderState::NormalizeNormals, uint32_t(on)); }

bool Renderer::IsLightingOn() { return GetDevice().GetRenderState(gfx::RenderState::Lighting) != 0; }

bool Renderer::IsZWriteOn() { return GetDevice().GetRenderState(gfx::RenderState::ZWriteEnable) != 0; }

bool Renderer::IsWireFrame() {
    return GetDevice().GetRenderState(gfx::RenderState::FillMode) == uint32_t(gfx::Fill::Wireframe);
}

bool Renderer::IsNormalizeOn() { return GetDevice().GetRenderState(gfx::RenderState::NormalizeNormals) != 0; }

void Renderer::ResetView() {
    camera_ = Camera();
    world_.SetIdentity();
}

void Renderer::UpdatePixelScale() {
    const float width = float(windowRect_.right - windowRect_.left + 1);
    const float height = float(windowRect_.bottom - windowRect_.top + 1);
    if (width < 1.0f || height < 1.0f) return;
    pixelScale_ = 0.5f * std::max(camera_.viewWidth / width, camera_.viewHeight / height);
}

Renderer& GetRenderer() {
    static Renderer renderer;
    return renderer;
}

void SetLODError(float value) { GetRenderer().lodError = value / 20.0f; }
