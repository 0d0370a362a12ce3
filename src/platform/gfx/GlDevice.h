#pragma once
// The device on OpenGL 2.1 (compatibility profile, fixed function) through SDL2. It
// keeps the device's conventions where GL differs: lighting on with no global ambient,
// clockwise screen triangles in front, depth in 0..1, pixel centres at integers,
// clears limited to the viewport, lights and clip planes re-sent in world space after
// every view change, single-level textures sampled without mip levels, colours stored
// blue, green, red, alpha.
#include <SDL2/SDL_video.h>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Device.h"
#include "platform/gfx/GlApi.h"
#include "platform/gfx/PresentPacer.h"

namespace gfx {

// Sets SDL's GL attributes (2.1 compatibility, double buffer, 24-bit depth, 8-bit
// colour, multisample buffers when asked); call before creating the SDL window with
// SDL_WINDOW_OPENGL.
void PrepareGlWindowAttributes(uint32_t multisample = 0);

class GlDevice : public Device {
public:
    // Creates a context on the window and makes it current. NotAvailable when no GL 2.1
    // context can be made, an entry point is missing, the multisample count exceeds
    // the window's, or a full-screen size is not a display mode.
    static Created<GlDevice> Create(SDL_Window* window, const PresentParams& params);
    ~GlDevice() override;

    const char* BackendName() const override { return "opengl"; }

protected:
    Result CheckLost() override { return Result::Ok; }
    Result DoReset() override;
    Result DoPresent() override;
    void DoClear(const ClearRect& rect, uint32_t flags, Color colour, float z) override;
    void DoDraw(const DrawCall& call) override;
    Result DoReadBackBuffer(Image& image) override;
    void StateChanged(StateGroup group, uint32_t index) override;
    void ResourceCreated(Resource& resource) override;
    void ResourceReleased(Resource& resource) override;
    void TextureUpdated(DeviceTexture& texture, uint32_t level) override;
    void BufferUpdated(Buffer& buffer, uint32_t offset, uint32_t size, bool discard) override;
    void DoBeginStillLayer(uint64_t key) override;
    void DoEndStillLayer() override;

private:
    using SamplerKey = std::array<uint32_t, static_cast<size_t>(SamplerState::Count)>;

    // What a texture unit of the context holds. A unit that already holds what its stage
    // wants is not selected at all: selecting one makes the GL validate its fixed-function
    // state again at the next draw, which costs more than the draw on a software renderer.
    struct UnitState {
        bool known = false;
        bool enabled = false;
        GLuint texture = 0;
        SamplerKey sampler{};
        std::array<uint32_t, 6> combine{};  // colour op and arguments, alpha op and arguments
        uint32_t factor = 0;
        bool operator==(const UnitState&) const = default;
    };
    // Where a client array of the context points.
    struct ArrayPointer {
        bool known = false;
        bool enabled = false;
        GLuint buffer = 0;
        const void* at = nullptr;
        GLsizei stride = 0;
        bool operator==(const ArrayPointer&) const = default;
    };
    enum ArraySlot : uint32_t { kVertexSlot, kNormalSlot, kColourSlot, kFirstTexCoordSlot };

    GlDevice(SDL_Window* window, SDL_GLContext context, const GlApi& gl, const DeviceCaps& caps,
             const PresentParams& params, uint32_t width, uint32_t height);

    void InitialiseContext();
    void MarkAllDirty();
    void ApplyRenderStates();
    void ApplyProjection(bool pretransformed);
    void ApplyModelView(bool pretransformed);
    void SendLights();
    void SendClipPlanes();
    void ApplyClipEnables(bool pretransformed);
    void ApplyLighting(bool pretransformed, bool vertexColour);
    void SendMaterial();
    void ApplyStages();
    UnitState WantedUnit(uint32_t stage, bool enabled, uint32_t factor) const;
    void SendUnit(uint32_t stage);
    void ForgetUnits();
    void ForgetArrays();
    // Switches the client array on or off and sends its pointer (or, off, the constant
    // in its place) through send, unless it already is as wanted.
    template <class Send>
    void PointArray(uint32_t slot, GLenum array, const ArrayPointer& wanted, Send send);
    void ApplySampler(uint32_t stage, const DeviceTexture& texture);
    void ApplyCombine(uint32_t stage, bool alpha);
    void BindArrays(const DrawCall& call);
    const uint8_t* ConvertColours(const DrawCall& call);
    void UploadLevel(const DeviceTexture& texture, uint32_t level);
    void StoreBuffer(const Buffer& buffer, uint32_t bytes);
    void StoreAtLeast(const Buffer& buffer, uint64_t bytes);
    void StoreWhatTheDrawReads(const DrawCall& call);
    void ClearNow(const ClearRect& rect, uint32_t flags, Color colour, float z);
    void FlushClear();
    // The kept picture's key: the layer's, and the waiting clear it was drawn over.
    uint64_t StillLayerKey(uint64_t layerKey) const;
    // Reads away the errors earlier calls left, so that the next check sees only its own.
    void DrainGlErrors();
    bool MakeKeptPicture();
    // Copies the whole back buffer, colour, depth and stencil, into the kept picture
    // (toKept) or back; false when the GL refused.
    bool CopyKeptPicture(bool toKept);
    // A change to what a layer shows: a layer being kept now would not be what it draws.
    void ForgetKeptPicture() {
        kept_ = false;
        if (layerMode_ == LayerMode::Recording) layerMode_ = LayerMode::None;
    }

    SDL_Window* window_;
    SDL_GLContext context_;
    GlApi gl_;
    bool bgraColours_ = false;
    // A window on a screen presents at most once per refresh, whether or not the display
    // paces it.
    PresentPacer pacer_;
    GLuint whiteTexture_ = 0;

    // A clear of the whole back buffer waits for the next draw, read or present: a frame
    // often clears it twice before drawing (the application, then a scene with its own
    // sky colour), and the software renderer fills every pixel for each clear it is given.
    struct PendingClear {
        uint32_t flags = 0;
        Color colour;
        float z = 1.0f;
    };
    PendingClear pendingClear_;

    bool renderDirty_ = true;
    bool stagesDirty_ = true;
    bool projectionDirty_ = true;
    bool viewportDirty_ = true;
    bool viewDirty_ = true;
    bool worldDirty_ = true;
    bool lightsDirty_ = true;
    bool clipDirty_ = true;
    bool materialDirty_ = true;
    bool lastPretransformed_ = false;
    bool colourMaterialOn_ = false;
    uint32_t clipEnabledMask_ = 0;
    uint32_t activeStages_ = 0;

    std::array<UnitState, kMaxTextureStages> units_{};
    std::array<ArrayPointer, kFirstTexCoordSlot + kMaxTextureStages> arrays_{};
    uint32_t clientUnit_ = 0;
    std::unordered_map<GLuint, SamplerKey> appliedSamplers_;
    std::vector<uint8_t> scratch_;

    // A still layer drawn over a waiting clear of colour and depth is kept as a picture;
    // the next frame that begins the same layer over the same clear gets the picture back
    // and its draws are passed over. A software renderer draws a scene's ground each frame
    // for more than the copy costs.
    enum class LayerMode { None, Recording, Skipping };
    LayerMode layerMode_ = LayerMode::None;
    uint64_t recordingKey_ = 0;
    uint64_t lastLayerKey_ = 0;  // of the last layer begun over a waiting clear
    bool keptUsable_ = false;  // framebuffer objects and blits are there, and work
    bool keptStencil_ = false;  // the window's depth buffer has stencil bits
    bool kept_ = false;
    uint64_t keptKey_ = 0;
    GLuint keptFramebuffer_ = 0;
    GLuint keptColour_ = 0;
    GLuint keptDepth_ = 0;
    uint32_t keptWidth_ = 0;
    uint32_t keptHeight_ = 0;
};

}  // namespace gfx
