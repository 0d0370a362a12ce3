#pragma once
// The fixed-function 3-D device: render, texture-stage and sampler states, lights, a
// material, transforms, the viewport, user clip planes, clears, vertex and index
// buffers, textures, the frame cycle and device loss. This base keeps every piece of
// state with the defaults the renderer's rules assume, validates and counts every call;
// a backend (GlDevice, RecordingDevice) turns the state into pictures, or does not.
//
// Conventions: matrices are the core's Matrix4 (row vectors, translation in elements
// 12-14); projections map depth to 0..1; screen y grows downwards and pixel centres lie
// at integer coordinates; lights and clip planes are in world space; counter-clockwise
// screen triangles are culled by default.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "core/Color.h"
#include "core/Matrix4.h"
#include "platform/gfx/Buffer.h"
#include "platform/gfx/DeviceTexture.h"
#include "platform/gfx/DeviceTypes.h"
#include "platform/gfx/Result.h"
#include "platform/gfx/States.h"
#include "platform/gfx/VertexFormat.h"

class Image;

namespace gfx {

template <class T>
struct Created {
    Result result = Result::Ok;
    std::unique_ptr<T> object;  // set only when result is Ok
};

struct DeviceStats {
    uint64_t drawCalls = 0;
    uint64_t primitives = 0;
    uint64_t stateCalls = 0;    // every state setter called
    uint64_t stateChanges = 0;  // those that changed a value
    uint64_t clears = 0;
    uint64_t scenes = 0;
    uint64_t presents = 0;
    uint64_t resets = 0;
    uint64_t bufferBytesSent = 0;  // buffer bytes a backend handed to its driver
    std::array<uint32_t, static_cast<size_t>(ResourceKind::Count)> alive{};
    uint32_t dynamicAlive = 0;

    uint32_t TexturesAlive() const { return alive[size_t(ResourceKind::Texture)]; }
    uint32_t VertexBuffersAlive() const { return alive[size_t(ResourceKind::VertexBuffer)]; }
    uint32_t IndexBuffersAlive() const { return alive[size_t(ResourceKind::IndexBuffer)]; }
};

// Everything a backend needs for one draw, checked against the buffers' sizes.
struct DrawCall {
    PrimitiveType type = PrimitiveType::TriangleList;
    uint32_t primitiveCount = 0;
    VertexFormat format = 0;
    VertexLayout layout;
    uint32_t stride = 0;
    const VertexBuffer* vertexBuffer = nullptr;  // null for user-pointer draws
    const uint8_t* userVertices = nullptr;
    uint32_t userVertexCount = 0;
    uint32_t firstVertex = 0;                  // first vertex read (non-indexed draws)
    int32_t baseVertex = 0;                    // added to every index (indexed draws)
    const IndexBuffer* indexBuffer = nullptr;  // null for non-indexed draws
    uint32_t startIndex = 0;
    uint32_t indexCount = 0;
    IndexSpan indexSpan;  // the lowest and highest index read (indexed draws)
};

// A run of an index buffer's indices, drawn from base vertex 0, with the lowest and
// highest of them as the caller worked them out after the buffer's write number writes.
struct IndexRun {
    uint32_t startIndex = 0;
    uint32_t primitiveCount = 0;
    IndexSpan span;
    uint32_t writes = 0;
};

// Number of vertices (or indices) that primitives of a type consume.
uint32_t VerticesForPrimitives(PrimitiveType type, uint32_t count);

class Device {
public:
    virtual ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    virtual const char* BackendName() const = 0;
    const DeviceCaps& Caps() const { return caps_; }
    const PresentParams& Params() const { return params_; }
    uint32_t BackBufferWidth() const { return width_; }
    uint32_t BackBufferHeight() const { return height_; }

    // Frame cycle. TestCooperativeLevel gives Ok, DeviceLost (nothing can be done yet)
    // or DeviceNotReset (Reset may now succeed). Reset needs every dynamic buffer
    // released first; on success every state is back at its default.
    Result TestCooperativeLevel();
    Result Reset();
    Result BeginScene();
    Result EndScene();
    // DeviceLost when the device was lost; the next TestCooperativeLevel tells more.
    Result Present();
    bool InScene() const { return inScene_; }

    // Clears the rectangles (all of the viewport when empty), each limited to the
    // viewport; flags from ClearFlags.
    Result Clear(std::span<const ClearRect> rects, uint32_t flags, Color colour, float z);
    // The back buffer as the core's picture (call before Present).
    Result ReadBackBuffer(Image& image);

    Result SetRenderState(RenderState state, uint32_t value);
    template <class E>
    requires std::is_enum_v<E> Result SetRenderState(RenderState state, E value) {
        return SetRenderState(state, static_cast<uint32_t>(value));
    }
    uint32_t GetRenderState(RenderState state) const;

    Result SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value);
    template <class E>
    requires std::is_enum_v<E> Result SetTextureStageState(uint32_t stage, TextureStageState state, E value) {
        return SetTextureStageState(stage, state, static_cast<uint32_t>(value));
    }
    uint32_t GetTextureStageState(uint32_t stage, TextureStageState state) const;

    Result SetSamplerState(uint32_t stage, SamplerState state, uint32_t value);
    template <class E>
    requires std::is_enum_v<E> Result SetSamplerState(uint32_t stage, SamplerState state, E value) {
        return SetSamplerState(stage, state, static_cast<uint32_t>(value));
    }
    uint32_t GetSamplerState(uint32_t stage, SamplerState state) const;

    Result SetTexture(uint32_t stage, DeviceTexture* texture);
    DeviceTexture* GetTexture(uint32_t stage) const;

    Result SetTransform(TransformKind kind, const Matrix4& matrix);
    const Matrix4& GetTransform(TransformKind kind) const;
    Result SetMaterial(const Material& material);
    const Material& GetMaterial() const { return material_; }
    Result SetLight(uint32_t index, const Light& light);
    Result LightEnable(uint32_t index, bool enable);
    const Light& GetLight(uint32_t index) const;
    bool IsLightEnabled(uint32_t index) const;
    // Must lie within the back buffer, at least one pixel, 0 <= minZ <= maxZ <= 1.
    Result SetViewport(const Viewport& viewport);
    const Viewport& GetViewport() const { return viewport_; }
    Result SetClipPlane(uint32_t index, const ClipPlane& plane);
    const ClipPlane& GetClipPlane(uint32_t index) const;

    Result SetStreamSource(VertexBuffer* buffer, uint32_t stride);
    Result SetVertexFormat(VertexFormat format);
    Result SetIndices(IndexBuffer* buffer);
    VertexBuffer* GetStreamSource() const { return stream_; }
    uint32_t GetStreamStride() const { return stride_; }
    VertexFormat GetVertexFormat() const { return format_; }
    IndexBuffer* GetIndices() const { return indices_; }

    Result DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount);
    // Every index read, plus baseVertex, must name a vertex inside the stream.
    Result DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertex, uint32_t minIndex, uint32_t vertexCount,
                                uint32_t startIndex, uint32_t primitiveCount);
    // DrawIndexedPrimitive of a run from base vertex 0 that takes the run's span from the
    // caller instead of looking it up, unless the indices were written since.
    Result DrawIndexedRun(PrimitiveType type, const IndexRun& run);
    // Vertices from the caller's memory, in the current vertex format.
    Result DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount, const void* vertices, uint32_t stride);

    // A still layer: what the caller draws between these two calls is the same every frame
    // it starts from the same device state (a scene's ground under a camera that stays).
    // key names whatever else the drawing depends on. The draws are made as usual; a
    // backend that kept the picture of the same layer over the same waiting clear puts
    // that picture back instead of drawing them.
    void BeginStillLayer(uint64_t key);
    void EndStillLayer();

    Created<DeviceTexture> CreateTexture(uint32_t width, uint32_t height, uint32_t levels);
    Created<VertexBuffer> CreateVertexBuffer(uint32_t size, BufferUsage usage);
    Created<IndexBuffer> CreateIndexBuffer(uint32_t size, IndexFormat format, BufferUsage usage);

    const DeviceStats& Stats() const { return stats_; }
    // Zeroes the call counters; the counts of living objects stay.
    void ResetCounters();

    // A readable line per call ("SetRenderState(Lighting, 0)"), while switched on.
    void SetCallLog(bool on) { logging_ = on; }
    bool IsCallLogOn() const { return logging_; }
    const std::vector<std::string>& CallLog() const { return log_; }
    void ClearCallLog() { log_.clear(); }

protected:
    Device(const DeviceCaps& caps, const PresentParams& params, uint32_t width, uint32_t height);

    enum class StateGroup : uint32_t {
        Render,
        Stage,
        Sampler,
        Texture,
        Transform,
        Material,
        Light,
        Viewport,
        ClipPlane
    };

    // Backend hooks.
    virtual Result CheckLost() = 0;
    virtual Result DoReset() = 0;
    virtual Result DoPresent() = 0;
    // The rectangle is already limited to the viewport and not empty.
    virtual void DoClear(const ClearRect& rect, uint32_t flags, Color colour, float z) = 0;
    virtual void DoDraw(const DrawCall& call) = 0;
    virtual Result DoReadBackBuffer(Image& image) = 0;
    // index: the state, stage, transform kind, light or plane that changed; after a
    // reset every group is reported with index ~0u.
    virtual void StateChanged(StateGroup, uint32_t) {}
    virtual void ResourceCreated(Resource&) {}
    virtual void ResourceReleased(Resource&) {}
    virtual void TextureUpdated(DeviceTexture&, uint32_t) {}
    virtual void BufferUpdated(Buffer&, uint32_t, uint32_t, bool) {}
    // key: the caller's, mixed with every setting of the device.
    virtual void DoBeginStillLayer(uint64_t) {}
    virtual void DoEndStillLayer() {}

    // The hash carried on over the bytes of a value.
    template <typename T>
    static uint64_t MixHash(uint64_t hash, const T& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (size_t i = 0; i < sizeof value; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
        return hash;
    }

    void SetBackBufferSize(uint32_t width, uint32_t height);
    void CountBufferBytesSent(uint64_t bytes) { stats_.bufferBytesSent += bytes; }
    static void SetStoredBytes(const Buffer& buffer, uint32_t bytes) { buffer.storedBytes_ = bytes; }
    DeviceCaps& MutableCaps() { return caps_; }
    // Releases every living object's backend name and orphans it; a backend's
    // destructor calls this while its context still exists.
    void OrphanAllResources();

private:
    friend class Resource;
    friend class DeviceTexture;
    friend class Buffer;

    void Register(Resource& resource);
    void Unregister(Resource& resource);
    void TextureChanged(DeviceTexture& texture, uint32_t level) { TextureUpdated(texture, level); }
    void BufferChanged(Buffer& buffer, uint32_t offset, uint32_t size, bool discard) {
        BufferUpdated(buffer, offset, size, discard);
    }

    void RestoreDefaults();
    // A hash of every setting and of the back buffer's size.
    uint64_t SettingsHash(uint64_t seed) const;
    void LogCall(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Counts a setter call; true when the value changes.
    bool Count(bool changed);
    Result CheckDraw(PrimitiveType type, uint32_t primitiveCount, DrawCall& call) const;
    // Checks the bound stream and indices, completes the call and draws it; known is the
    // span of its indices when the caller has it.
    Result DrawIndexed(DrawCall& call, const IndexSpan* known);
    void Draw(const DrawCall& call);

    DeviceCaps caps_;
    PresentParams params_;
    uint32_t width_;
    uint32_t height_;
    bool inScene_ = false;

    std::array<uint32_t, static_cast<size_t>(RenderState::Count)> renderStates_{};
    std::array<std::array<uint32_t, static_cast<size_t>(TextureStageState::Count)>, kMaxTextureStages> stageStates_{};
    std::array<std::array<uint32_t, static_cast<size_t>(SamplerState::Count)>, kMaxTextureStages> samplerStates_{};
    std::array<DeviceTexture*, kMaxTextureStages> textures_{};
    std::array<Matrix4, static_cast<size_t>(TransformKind::Count)> transforms_{};
    Material material_;
    std::array<Light, kMaxLights> lights_{};
    std::array<bool, kMaxLights> lightEnabled_{};
    Viewport viewport_;
    std::array<ClipPlane, kMaxClipPlanes> clipPlanes_{};
    VertexBuffer* stream_ = nullptr;
    uint32_t stride_ = 0;
    VertexFormat format_ = 0;
    IndexBuffer* indices_ = nullptr;

    std::unordered_set<Resource*> resources_;
    DeviceStats stats_;
    bool logging_ = false;
    std::vector<std::string> log_;
};

}  // namespace gfx
