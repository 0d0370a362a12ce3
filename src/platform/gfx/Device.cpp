#include "platform/gfx/Device.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/Image.h"

namespace gfx {

namespace {

constexpr size_t I(auto e) { return static_cast<size_t>(e); }

bool IsValidPrimitive(PrimitiveType type) {
    return I(type) >= I(PrimitiveType::PointList) && I(type) <= I(PrimitiveType::TriangleFan);
}

const char* TransformName(TransformKind kind) {
    switch (kind) {
        case TransformKind::World: return "World";
        case TransformKind::View: return "View";
        case TransformKind::Projection: return "Projection";
        default: return "?";
    }
}

}  // namespace

uint32_t VerticesForPrimitives(PrimitiveType type, uint32_t count) {
    switch (type) {
        case PrimitiveType::PointList: return count;
        case PrimitiveType::LineList: return count * 2;
        case PrimitiveType::LineStrip: return count + 1;
        case PrimitiveType::TriangleList: return count * 3;
        case PrimitiveType::TriangleStrip:
        case PrimitiveType::TriangleFan: return count + 2;
    }
    return 0;
}

Device::Device(const DeviceCaps& caps, const PresentParams& params, uint32_t width, uint32_t height)
    : caps_(caps), params_(params), width_(width), height_(height) {
    RestoreDefaults();
}

Device::~Device() {
    for (Resource* resource : resources_) resource->owner_ = nullptr;
}

void Device::SetBackBufferSize(uint32_t width, uint32_t height) {
    width_ = width;
    height_ = height;
}

void Device::OrphanAllResources() {
    for (Resource* resource : resources_) {
        ResourceReleased(*resource);
        resource->SetHandle(0);
        if (resource->Kind() != ResourceKind::Texture) SetStoredBytes(static_cast<const Buffer&>(*resource), 0);
        resource->owner_ = nullptr;
    }
    resources_.clear();
    textures_.fill(nullptr);
    stream_ = nullptr;
    indices_ = nullptr;
}

void Device::Register(Resource& resource) {
    resources_.insert(&resource);
    ++stats_.alive[I(resource.Kind())];
    if (resource.Usage() == BufferUsage::Dynamic) ++stats_.dynamicAlive;
}

void Device::Unregister(Resource& resource) {
    if (resources_.erase(&resource) == 0) return;
    --stats_.alive[I(resource.Kind())];
    if (resource.Usage() == BufferUsage::Dynamic) --stats_.dynamicAlive;
    // A released object must not stay bound: the next draw would read freed memory.
    for (DeviceTexture*& bound : textures_)
        if (bound == &resource) bound = nullptr;
    if (stream_ == &resource) stream_ = nullptr;
    if (indices_ == &resource) indices_ = nullptr;
    ResourceReleased(resource);
}

void Device::RestoreDefaults() {
    for (size_t s = 0; s < renderStates_.size(); ++s) renderStates_[s] = DefaultRenderState(RenderState(s));
    for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) {
        for (size_t s = 0; s < stageStates_[stage].size(); ++s)
            stageStates_[stage][s] = DefaultTextureStageState(stage, TextureStageState(s));
        for (size_t s = 0; s < samplerStates_[stage].size(); ++s)
            samplerStates_[stage][s] = DefaultSamplerState(SamplerState(s));
    }
    textures_.fill(nullptr);
    transforms_.fill(Matrix4());
    material_ = Material();
    lights_.fill(Light());
    lightEnabled_.fill(false);
    viewport_ = Viewport{0, 0, width_, height_, 0.0f, 1.0f};
    clipPlanes_.fill(ClipPlane{});
    stream_ = nullptr;
    stride_ = 0;
    format_ = 0;
    indices_ = nullptr;
    inScene_ = false;
}

void Device::LogCall(const char* format, ...) {
    if (!logging_) return;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    log_.emplace_back(line);
}

bool Device::Count(bool changed) {
    ++stats_.stateCalls;
    if (changed) ++stats_.stateChanges;
    return changed;
}

void Device::ResetCounters() {
    const auto alive = stats_.alive;
    const uint32_t dynamicAlive = stats_.dynamicAlive;
    stats_ = DeviceStats();
    stats_.alive = alive;
    stats_.dynamicAlive = dynamicAlive;
}

Result Device::TestCooperativeLevel() { return CheckLost(); }

Result Device::Reset() {
    LogCall("Reset()");
    if (stats_.dynamicAlive > 0) return Result::InvalidCall;
    const Result result = DoReset();
    if (result != Result::Ok) return result;
    ++stats_.resets;
    RestoreDefaults();
    for (uint32_t g = 0; g <= I(StateGroup::ClipPlane); ++g) StateChanged(StateGroup(g), ~0u);
    return Result::Ok;
}

Result Device::BeginScene() {
    LogCall("BeginScene()");
    if (inScene_) return Result::InvalidCall;
    inScene_ = true;
    ++stats_.scenes;
    return Result::Ok;
}

Result Device::EndScene() {
    LogCall("EndScene()");
    if (!inScene_) return Result::InvalidCall;
    inScene_ = false;
    return Result::Ok;
}

Result Device::Present() {
    LogCall("Present()");
    if (inScene_) return Result::InvalidCall;
    ++stats_.presents;
    return DoPresent();
}

Result Device::Clear(std::span<const ClearRect> rects, uint32_t flags, Color colour, float z) {
    LogCall("Clear(%zu, %u, 0x%08X, %g)", rects.size(), flags, colour.argb, z);
    if (flags == 0 || (flags & ~(kClearTarget | kClearDepth)) != 0 || !(z >= 0 && z <= 1)) return Result::InvalidParam;
    ++stats_.clears;
    const ClearRect whole{int32_t(viewport_.x), int32_t(viewport_.y), int32_t(viewport_.x + viewport_.width),
                          int32_t(viewport_.y + viewport_.height)};
    auto clearOne = [&](const ClearRect& r) {
        const ClearRect c{std::max(r.left, whole.left), std::max(r.top, whole.top), std::min(r.right, whole.right),
                          std::min(r.bottom, whole.bottom)};
        if (c.left < c.right && c.top < c.bottom) DoClear(c, flags, colour, z);
    };
    if (rects.empty()) clearOne(whole);
    for (const ClearRect& r : rects) clearOne(r);
    return Result::Ok;
}

Result Device::ReadBackBuffer(Image& image) { return DoReadBackBuffer(image); }

void Device::BeginStillLayer(uint64_t key) {
    LogCall("BeginStillLayer(%llu)", static_cast<unsigned long long>(key));
    DoBeginStillLayer(SettingsHash(key));
}

void Device::EndStillLayer() {
    LogCall("EndStillLayer()");
    DoEndStillLayer();
}

uint64_t Device::SettingsHash(uint64_t seed) const {
    uint64_t hash = 14695981039346656037ull ^ seed;
    auto add = [&hash](const auto& value) { hash = MixHash(hash, value); };
    add(renderStates_);
    add(stageStates_);
    add(samplerStates_);
    for (const DeviceTexture* texture : textures_) add(texture != nullptr ? texture->Handle() : 0u);
    for (const Matrix4& m : transforms_) add(m.m);
    add(material_);
    for (const Light& light : lights_) add(light);
    add(lightEnabled_);
    add(viewport_);
    add(clipPlanes_);
    add(width_);
    add(height_);
    return hash;
}

Result Device::SetRenderState(RenderState state, uint32_t value) {
    LogCall("SetRenderState(%s, %u)", RenderStateName(state), value);
    if (!IsValidRenderState(state, value)) return Result::InvalidParam;
    uint32_t& slot = renderStates_[I(state)];
    if (Count(slot != value)) {
        slot = value;
        StateChanged(StateGroup::Render, uint32_t(state));
    }
    return Result::Ok;
}

uint32_t Device::GetRenderState(RenderState state) const {
    return I(state) < renderStates_.size() ? renderStates_[I(state)] : 0;
}

Result Device::SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) {
    LogCall("SetTextureStageState(%u, %s, %u)", stage, TextureStageStateName(state), value);
    if (stage >= kMaxTextureStages || !IsValidTextureStageState(state, value)) return Result::InvalidParam;
    uint32_t& slot = stageStates_[stage][I(state)];
    if (Count(slot != value)) {
        slot = value;
        StateChanged(StateGroup::Stage, stage);
    }
    return Result::Ok;
}

uint32_t Device::GetTextureStageState(uint32_t stage, TextureStageState state) const {
    if (stage >= kMaxTextureStages || I(state) >= I(TextureStageState::Count)) return 0;
    return stageStates_[stage][I(state)];
}

Result Device::SetSamplerState(uint32_t stage, SamplerState state, uint32_t value) {
    LogCall("SetSamplerState(%u, %s, %u)", stage, SamplerStateName(state), value);
    if (stage >= kMaxTextureStages || !IsValidSamplerState(state, value)) return Result::InvalidParam;
    uint32_t& slot = samplerStates_[stage][I(state)];
    if (Count(slot != value)) {
        slot = value;
        StateChanged(StateGroup::Sampler, stage);
    }
    return Result::Ok;
}

uint32_t Device::GetSamplerState(uint32_t stage, SamplerState state) const {
    if (stage >= kMaxTextureStages || I(state) >= I(SamplerState::Count)) return 0;
    return samplerStates_[stage][I(state)];
}

Result Device::SetTexture(uint32_t stage, DeviceTexture* texture) {
    LogCall("SetTexture(%u, %p)", stage, static_cast<void*>(texture));
    if (stage >= kMaxTextureStages) return Result::InvalidParam;
    // Releasing a resource unbinds it, so the one already bound is alive: binding it
    // again, as every draw of a mesh does, needs no search of the resource set.
    if (texture != nullptr && texture != textures_[stage] && !resources_.contains(texture))
        return Result::InvalidCall;
    if (Count(textures_[stage] != texture)) {
        textures_[stage] = texture;
        StateChanged(StateGroup::Texture, stage);
    }
    return Result::Ok;
}

DeviceTexture* Device::GetTexture(uint32_t stage) const {
    return stage < kMaxTextureStages ? textures_[stage] : nullptr;
}

Result Device::SetTransform(TransformKind kind, const Matrix4& matrix) {
    LogCall("SetTransform(%s)", TransformName(kind));
    if (I(kind) >= I(TransformKind::Count)) return Result::InvalidParam;
    if (Count(!(transforms_[I(kind)] == matrix))) {
        transforms_[I(kind)] = matrix;
        StateChanged(StateGroup::Transform, uint32_t(kind));
    }
    return Result::Ok;
}

const Matrix4& Device::GetTransform(TransformKind kind) const {
    return transforms_[std::min(I(kind), I(TransformKind::Projection))];
}

Result Device::SetMaterial(const Material& material) {
    LogCall("SetMaterial()");
    if (Count(!(material_ == material))) {
        material_ = material;
        StateChanged(StateGroup::Material, 0);
    }
    return Result::Ok;
}

Result Device::SetLight(uint32_t index, const Light& light) {
    LogCall("SetLight(%u, type %u)", index, uint32_t(light.type));
    if (index >= kMaxLights) return Result::InvalidParam;
    const uint32_t type = uint32_t(light.type);
    if (type < uint32_t(LightType::Point) || type > uint32_t(LightType::Directional)) return Result::InvalidParam;
    if (Count(!(lights_[index] == light))) {
        lights_[index] = light;
        StateChanged(StateGroup::Light, index);
    }
    return Result::Ok;
}

Result Device::LightEnable(uint32_t index, bool enable) {
    LogCall("LightEnable(%u, %d)", index, int(enable));
    if (index >= kMaxLights) return Result::InvalidParam;
    if (Count(lightEnabled_[index] != enable)) {
        lightEnabled_[index] = enable;
        StateChanged(StateGroup::Light, index);
    }
    return Result::Ok;
}

const Light& Device::GetLight(uint32_t index) const { return lights_[std::min<uint32_t>(index, kMaxLights - 1)]; }

bool Device::IsLightEnabled(uint32_t index) const { return index < kMaxLights && lightEnabled_[index]; }

Result Device::SetViewport(const Viewport& viewport) {
    LogCall("SetViewport(%u, %u, %u, %u, %g, %g)", viewport.x, viewport.y, viewport.width, viewport.height,
            viewport.minZ, viewport.maxZ);
    const bool inside = viewport.width > 0 && viewport.height > 0 && uint64_t(viewport.x) + viewport.width <= width_ &&
                        uint64_t(viewport.y) + viewport.height <= height_;
    const bool depthOk = viewport.minZ >= 0 && viewport.minZ <= viewport.maxZ && viewport.maxZ <= 1;
    if (!inside || !depthOk) return Result::InvalidParam;
    if (Count(!(viewport_ == viewport))) {
        viewport_ = viewport;
        StateChanged(StateGroup::Viewport, 0);
    }
    return Result::Ok;
}

Result Device::SetClipPlane(uint32_t index, const ClipPlane& plane) {
    LogCall("SetClipPlane(%u, %g, %g, %g, %g)", index, plane[0], plane[1], plane[2], plane[3]);
    if (index >= kMaxClipPlanes) return Result::InvalidParam;
    if (Count(clipPlanes_[index] != plane)) {
        clipPlanes_[index] = plane;
        StateChanged(StateGroup::ClipPlane, index);
    }
    return Result::Ok;
}

const ClipPlane& Device::GetClipPlane(uint32_t index) const {
    return clipPlanes_[std::min<uint32_t>(index, kMaxClipPlanes - 1)];
}

Result Device::SetStreamSource(VertexBuffer* buffer, uint32_t stride) {
    LogCall("SetStreamSource(%p, %u)", static_cast<void*>(buffer), stride);
    if (buffer != nullptr && buffer != stream_ && !resources_.contains(buffer)) return Result::InvalidCall;
    Count(stream_ != buffer || stride_ != stride);
    stream_ = buffer;
    stride_ = stride;
    return Result::Ok;
}

Result Device::SetVertexFormat(VertexFormat format) {
    LogCall("SetVertexFormat(0x%X)", format);
    if (!LayoutOf(format).valid) return Result::InvalidParam;
    Count(format_ != format);
    format_ = format;
    return Result::Ok;
}

Result Device::SetIndices(IndexBuffer* buffer) {
    LogCall("SetIndices(%p)", static_cast<void*>(buffer));
    if (buffer != nullptr && buffer != indices_ && !resources_.contains(buffer)) return Result::InvalidCall;
    Count(indices_ != buffer);
    indices_ = buffer;
    return Result::Ok;
}

Result Device::CheckDraw(PrimitiveType type, uint32_t primitiveCount, DrawCall& call) const {
    if (!inScene_) return Result::InvalidCall;
    if (!IsValidPrimitive(type) || primitiveCount == 0) return Result::InvalidParam;
    call.type = type;
    call.primitiveCount = primitiveCount;
    call.format = format_;
    call.layout = LayoutOf(format_);
    if (!call.layout.valid) return Result::InvalidCall;
    return Result::Ok;
}

void Device::Draw(const DrawCall& call) {
    ++stats_.drawCalls;
    stats_.primitives += call.primitiveCount;
    DoDraw(call);
}

Result Device::DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
    LogCall("DrawPrimitive(%u, %u, %u)", uint32_t(type), startVertex, primitiveCount);
    DrawCall call;
    if (Result r = CheckDraw(type, primitiveCount, call); r != Result::Ok) return r;
    if (stream_ == nullptr || stride_ < call.layout.stride) return Result::InvalidCall;
    const uint64_t end = (uint64_t(startVertex) + VerticesForPrimitives(type, primitiveCount)) * stride_;
    if (end > stream_->Size()) return Result::InvalidParam;
    call.vertexBuffer = stream_;
    call.stride = stride_;
    call.firstVertex = startVertex;
    Draw(call);
    return Result::Ok;
}

Result Device::DrawIndexed(DrawCall& call, const IndexSpan* known) {
    if (stream_ == nullptr || indices_ == nullptr || stride_ < call.layout.stride) return Result::InvalidCall;
    call.vertexBuffer = stream_;
    call.stride = stride_;
    call.indexBuffer = indices_;
    call.indexCount = VerticesForPrimitives(call.type, call.primitiveCount);
    const uint64_t indexEnd = (uint64_t(call.startIndex) + call.indexCount) * indices_->IndexSize();
    if (indexEnd > indices_->Size()) return Result::InvalidParam;
    const IndexSpan span = known != nullptr ? *known : indices_->Span(call.startIndex, call.indexCount);
    const int64_t lowest = int64_t(span.lowest) + call.baseVertex;
    const int64_t highest = int64_t(span.highest) + call.baseVertex;
    if (lowest < 0 || highest >= int64_t(stream_->Size() / stride_)) return Result::InvalidParam;
    call.indexSpan = span;
    Draw(call);
    return Result::Ok;
}

Result Device::DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertex, uint32_t minIndex, uint32_t vertexCount,
                                    uint32_t startIndex, uint32_t primitiveCount) {
    LogCall("DrawIndexedPrimitive(%u, %d, %u, %u, %u, %u)", uint32_t(type), baseVertex, minIndex, vertexCount,
            startIndex, primitiveCount);
    DrawCall call;
    if (Result r = CheckDraw(type, primitiveCount, call); r != Result::Ok) return r;
    call.baseVertex = baseVertex;
    call.startIndex = startIndex;
    return DrawIndexed(call, nullptr);
}

Result Device::DrawIndexedRun(PrimitiveType type, const IndexRun& run) {
    LogCall("DrawIndexedRun(%u, %u, %u)", uint32_t(type), run.startIndex, run.primitiveCount);
    DrawCall call;
    if (Result r = CheckDraw(type, run.primitiveCount, call); r != Result::Ok) return r;
    call.startIndex = run.startIndex;
    const bool current = indices_ != nullptr && run.writes == indices_->Writes();
    return DrawIndexed(call, current ? &run.span : nullptr);
}

Result Device::DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount, const void* vertices, uint32_t stride) {
    LogCall("DrawPrimitiveUP(%u, %u, %u)", uint32_t(type), primitiveCount, stride);
    DrawCall call;
    if (Result r = CheckDraw(type, primitiveCount, call); r != Result::Ok) return r;
    if (vertices == nullptr || stride < call.layout.stride) return Result::InvalidParam;
    call.stride = stride;
    call.userVertices = static_cast<const uint8_t*>(vertices);
    call.userVertexCount = VerticesForPrimitives(type, primitiveCount);
    // Like its namesake, a user-pointer draw leaves no stream bound.
    stream_ = nullptr;
    Draw(call);
    return Result::Ok;
}

Created<DeviceTexture> Device::CreateTexture(uint32_t width, uint32_t height, uint32_t levels) {
    LogCall("CreateTexture(%u, %u, %u)", width, height, levels);
    Created<DeviceTexture> created;
    if (width == 0 || height == 0 || width > caps_.maxTextureWidth || height > caps_.maxTextureHeight) {
        created.result = Result::InvalidParam;
        return created;
    }
    created.object = std::make_unique<DeviceTexture>(*this, width, height, levels);
    ResourceCreated(*created.object);
    for (uint32_t level = 0; level < created.object->LevelCount(); ++level) TextureUpdated(*created.object, level);
    return created;
}

Created<VertexBuffer> Device::CreateVertexBuffer(uint32_t size, BufferUsage usage) {
    LogCall("CreateVertexBuffer(%u, %u)", size, uint32_t(usage));
    Created<VertexBuffer> created;
    if (size == 0) {
        created.result = Result::InvalidParam;
        return created;
    }
    created.object = std::make_unique<VertexBuffer>(*this, size, usage);
    ResourceCreated(*created.object);
    return created;
}

Created<IndexBuffer> Device::CreateIndexBuffer(uint32_t size, IndexFormat format, BufferUsage usage) {
    LogCall("CreateIndexBuffer(%u, %u, %u)", size, uint32_t(format), uint32_t(usage));
    Created<IndexBuffer> created;
    const bool knownFormat = format == IndexFormat::Index16 || format == IndexFormat::Index32;
    if (size == 0 || !knownFormat) {
        created.result = Result::InvalidParam;
        return created;
    }
    created.object = std::make_unique<IndexBuffer>(*this, size, format, usage);
    ResourceCreated(*created.object);
    return created;
}

}  // namespace gfx
