#include "platform/gfx/GlDevice.h"

#include <algorithm>
#include <cstring>

#include "core/Image.h"
#include "platform/sys/Clock.h"

namespace gfx {

namespace {

// A display that does not say how often it refreshes.
constexpr int kAssumedRefreshRate = 60;

// Pixel centres sit at integer coordinates, GL's at half-integers: geometry moves by
// half a pixel. Moving by slightly less keeps edges that lie exactly on integers off
// the GL pixel centres, so a quad from x0 to x1 covers pixels x0 .. x1 - 1 (and rows
// y0 .. y1 - 1), the top-left rule, on any rasteriser.
constexpr float kPixelShift = 0.5f - 1.0f / 64.0f;
// GL's upper bound on a material's shininess.
constexpr float kMaxShininess = 128.0f;

constexpr uint32_t U(auto e) { return static_cast<uint32_t>(e); }

GLenum CompareToGl(uint32_t value) {
    static constexpr GLenum table[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                       GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return table[value - U(Compare::Never)];
}

GLenum BlendToGl(uint32_t value) {
    static constexpr GLenum table[] = {GL_ZERO,
                                       GL_ONE,
                                       GL_SRC_COLOR,
                                       GL_ONE_MINUS_SRC_COLOR,
                                       GL_SRC_ALPHA,
                                       GL_ONE_MINUS_SRC_ALPHA,
                                       GL_DST_ALPHA,
                                       GL_ONE_MINUS_DST_ALPHA,
                                       GL_DST_COLOR,
                                       GL_ONE_MINUS_DST_COLOR,
                                       GL_SRC_ALPHA_SATURATE};
    return table[value - U(Blend::Zero)];
}

GLenum PrimitiveToGl(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::PointList: return GL_POINTS;
        case PrimitiveType::LineList: return GL_LINES;
        case PrimitiveType::LineStrip: return GL_LINE_STRIP;
        case PrimitiveType::TriangleList: return GL_TRIANGLES;
        case PrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
        case PrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
    }
    return GL_TRIANGLES;
}

GLenum BufferTarget(const Buffer& buffer) {
    return buffer.Kind() == ResourceKind::IndexBuffer ? GL_ELEMENT_ARRAY_BUFFER : GL_ARRAY_BUFFER;
}

GLenum AddressToGl(uint32_t value) {
    switch (Address(value)) {
        case Address::Mirror: return GL_MIRRORED_REPEAT;
        case Address::Clamp: return GL_CLAMP_TO_EDGE;
        case Address::Border: return GL_CLAMP_TO_BORDER;
        default: return GL_REPEAT;
    }
}

GLenum MinFilterToGl(uint32_t min, uint32_t mip, bool hasMips) {
    const bool linear = min != U(Filter::Point);
    if (!hasMips || mip == U(Filter::None)) return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == U(Filter::Point)) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

std::array<float, 4> Floats(const ColorValue& c) { return {c.r, c.g, c.b, c.a}; }

std::array<float, 4> Floats(uint32_t packed) { return Color(packed).ToFloats(); }

GLenum SourceToGl(uint32_t arg) {
    switch (arg & kArgSourceMask) {
        case kArgDiffuse: return GL_PRIMARY_COLOR;
        case kArgTexture: return GL_TEXTURE;
        case kArgFactor: return GL_CONSTANT;
        default: return GL_PREVIOUS;  // the diffuse colour at the first stage, as wanted
    }
}

GLenum OperandToGl(uint32_t arg, bool alpha) {
    const bool complement = (arg & kArgComplement) != 0;
    if (alpha || (arg & kArgAlphaReplicate) != 0) return complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    return complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
}

// The matrix that takes the device's clip space to GL's: depth 0..1 becomes -1..1,
// and x and y move by kPixelShift pixels of the viewport (y flips, as GL's window
// y grows upwards). Row-vector form, applied after the projection.
Matrix4 ClipAdjust(const Viewport& vp) {
    Matrix4 m;
    m[10] = 2.0f;
    m[14] = -1.0f;
    m[12] = 2.0f * kPixelShift / float(vp.width);
    m[13] = -2.0f * kPixelShift / float(vp.height);
    return m;
}

// Pre-transformed vertices are pixels of the render target: map them through the
// viewport's GL window onto clip space, with the same half-pixel rule.
Matrix4 ScreenProjection(const Viewport& vp) {
    Matrix4 m;
    const float w = float(vp.width), h = float(vp.height);
    m[0] = 2.0f / w;
    m[5] = -2.0f / h;
    m[10] = 2.0f;
    m[12] = -2.0f * float(vp.x) / w - 1.0f + 2.0f * kPixelShift / w;
    m[13] = 2.0f * float(vp.y) / h + 1.0f - 2.0f * kPixelShift / h;
    m[14] = -1.0f;
    return m;
}

// Seconds between two refreshes of the display that shows the window, or 0 where nothing
// is shown (windows of the offscreen and dummy drivers draw for tests and measurements).
double RefreshPeriod(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) return 0.0;
    SDL_DisplayMode mode{};
    const int refresh =
        SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : kAssumedRefreshRate;
    return 1.0 / double(refresh);
}

}  // namespace

void PrepareGlWindowAttributes(uint32_t multisample) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, int(multisample));
}

Created<GlDevice> GlDevice::Create(SDL_Window* window, const PresentParams& params) {
    Created<GlDevice> created;
    created.result = Result::NotAvailable;
    if (window == nullptr) return created;
    if (!params.windowed) {
        SDL_DisplayMode mode{};
        SDL_DisplayMode wanted{SDL_PIXELFORMAT_UNKNOWN, int(params.backBufferWidth), int(params.backBufferHeight), 0,
                               nullptr};
        const int display = SDL_GetWindowDisplayIndex(window);
        if (SDL_GetClosestDisplayMode(display, &wanted, &mode) == nullptr || mode.w != wanted.w || mode.h != wanted.h ||
            SDL_SetWindowDisplayMode(window, &mode) != 0 || SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0)
            return created;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) return created;
    GlApi gl;
    GLint samples = 0, units = 0, clipPlanes = 0, maxSize = 0;
    if (!gl.Load() || gl.Version() < 21) {
        SDL_GL_DeleteContext(context);
        return created;
    }
    gl.GetIntegerv(GL_SAMPLES, &samples);
    if (params.multisample > uint32_t(std::max(samples, 0))) {
        SDL_GL_DeleteContext(context);
        return created;
    }
    const bool paced = SDL_GL_SetSwapInterval(params.presentInterval != 0 ? 1 : 0) == 0;
    gl.GetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    gl.GetIntegerv(GL_MAX_CLIP_PLANES, &clipPlanes);
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    DeviceCaps caps;
    caps.maxSimultaneousTextures = std::clamp<uint32_t>(uint32_t(units), 1, kMaxTextureStages);
    caps.maxUserClipPlanes = std::min<uint32_t>(uint32_t(clipPlanes), kMaxClipPlanes);
    caps.maxTextureWidth = caps.maxTextureHeight = uint32_t(maxSize);
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    created.object.reset(new GlDevice(window, context, gl, caps, params, uint32_t(width), uint32_t(height)));
    created.object->pacer_ = PresentPacer(params.presentInterval != 0 ? RefreshPeriod(window) : 0.0, paced);
    created.result = Result::Ok;
    return created;
}

GlDevice::GlDevice(SDL_Window* window, SDL_GLContext context, const GlApi& gl, const DeviceCaps& caps,
                   const PresentParams& params, uint32_t width, uint32_t height)
    : Device(caps, params, width, height), window_(window), context_(context), gl_(gl) {
    bgraColours_ = gl_.HasExtension("GL_ARB_vertex_array_bgra") || gl_.HasExtension("GL_EXT_vertex_array_bgra");
    keptUsable_ = gl_.LoadFramebuffers();
    GLint depthBits = 0, stencilBits = 0;
    gl_.GetIntegerv(GL_DEPTH_BITS, &depthBits);
    gl_.GetIntegerv(GL_STENCIL_BITS, &stencilBits);
    // A multisampled window's pictures cannot be copied back into it.
    keptUsable_ = keptUsable_ && params.multisample == 0 && depthBits == 24 && (stencilBits == 0 || stencilBits == 8);
    keptStencil_ = stencilBits == 8;
    InitialiseContext();
}

GlDevice::~GlDevice() {
    SDL_GL_MakeCurrent(window_, context_);
    OrphanAllResources();
    gl_.DeleteTextures(1, &whiteTexture_);
    if (keptFramebuffer_ != 0) gl_.DeleteFramebuffers(1, &keptFramebuffer_);
    const GLuint kept[2] = {keptColour_, keptDepth_};
    gl_.DeleteTextures(2, kept);
    SDL_GL_DeleteContext(context_);
}

void GlDevice::InitialiseContext() {
    gl_.FrontFace(GL_CW);
    gl_.LightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    gl_.LightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    gl_.Disable(GL_DITHER);
    gl_.Disable(GL_FOG);
    gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
    if (whiteTexture_ == 0) {
        // Bound to stages that have no texture: the device reads such a texture as
        // opaque white, so untextured geometry keeps its colours.
        const uint8_t white[4] = {255, 255, 255, 255};
        gl_.GenTextures(1, &whiteTexture_);
        gl_.BindTexture(GL_TEXTURE_2D, whiteTexture_);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, white);
    }
    MarkAllDirty();
}

void GlDevice::MarkAllDirty() {
    renderDirty_ = stagesDirty_ = projectionDirty_ = viewportDirty_ = true;
    viewDirty_ = worldDirty_ = lightsDirty_ = clipDirty_ = materialDirty_ = true;
    ForgetUnits();
    ForgetArrays();
}

// Creating or filling a texture binds it on whichever unit is selected.
void GlDevice::ForgetUnits() {
    for (UnitState& unit : units_) unit.known = false;
    stagesDirty_ = true;
}

// A deleted buffer's name may come back for another buffer while arrays still seem to
// point into it.
void GlDevice::ForgetArrays() {
    for (ArrayPointer& pointer : arrays_) pointer.known = false;
}

Result GlDevice::DoReset() {
    layerMode_ = LayerMode::None;
    ForgetKeptPicture();
    FlushClear();
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    SetBackBufferSize(uint32_t(width), uint32_t(height));
    MarkAllDirty();
    return Result::Ok;
}

Result GlDevice::DoPresent() {
    layerMode_ = LayerMode::None;
    FlushClear();
    SDL_GL_SwapWindow(window_);
    const double rest = pacer_.AfterPresent(double(sys::CounterTicks()) / double(sys::CounterFrequency()));
    if (rest > 0.0) sys::SleepSeconds(rest);
    return Result::Ok;
}

void GlDevice::StateChanged(StateGroup group, uint32_t index) {
    switch (group) {
        case StateGroup::Render:
            renderDirty_ = true;
            if (index == U(RenderState::TextureFactor) || index == ~0u) stagesDirty_ = true;
            if (index == U(RenderState::SpecularEnable) || index == ~0u) materialDirty_ = true;
            break;
        case StateGroup::Stage:
        case StateGroup::Sampler:
        case StateGroup::Texture: stagesDirty_ = true; break;
        case StateGroup::Transform:
            if (index == U(TransformKind::World)) worldDirty_ = true;
            if (index == U(TransformKind::View) || index == ~0u) viewDirty_ = true;
            if (index == U(TransformKind::Projection) || index == ~0u) projectionDirty_ = true;
            break;
        case StateGroup::Material: materialDirty_ = true; break;
        case StateGroup::Light: lightsDirty_ = true; break;
        case StateGroup::Viewport: viewportDirty_ = true; break;
        case StateGroup::ClipPlane: clipDirty_ = true; break;
    }
}

void GlDevice::DoClear(const ClearRect& rect, uint32_t flags, Color colour, float z) {
    if (layerMode_ == LayerMode::Skipping) return;
    const bool whole = rect.left <= 0 && rect.top <= 0 && rect.right >= int32_t(BackBufferWidth()) &&
                       rect.bottom >= int32_t(BackBufferHeight());
    if (!whole) {
        FlushClear();
        ClearNow(rect, flags, colour, z);
        return;
    }
    // Nothing has been drawn over a waiting clear, so what this one clears replaces it.
    if (flags & kClearTarget) pendingClear_.colour = colour;
    if (flags & kClearDepth) pendingClear_.z = z;
    pendingClear_.flags |= flags;
}

void GlDevice::FlushClear() {
    if (pendingClear_.flags == 0) return;
    const ClearRect whole{0, 0, int32_t(BackBufferWidth()), int32_t(BackBufferHeight())};
    ClearNow(whole, pendingClear_.flags, pendingClear_.colour, pendingClear_.z);
    pendingClear_.flags = 0;
}

void GlDevice::ClearNow(const ClearRect& rect, uint32_t flags, Color colour, float z) {
    const GLint bottom = GLint(BackBufferHeight()) - rect.bottom;
    gl_.Enable(GL_SCISSOR_TEST);
    gl_.Scissor(rect.left, bottom, rect.right - rect.left, rect.bottom - rect.top);
    GLbitfield mask = 0;
    if (flags & kClearTarget) {
        const auto c = colour.ToFloats();
        gl_.ClearColor(c[0], c[1], c[2], c[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & kClearDepth) {
        // A clear writes depth whatever the depth-write state says.
        gl_.DepthMask(GL_TRUE);
        gl_.ClearDepth(z);
        // Nothing draws with the stencil, which the depth buffer shares: clearing both
        // fills whole words, where depth alone must keep the stencil bits of every pixel.
        gl_.ClearStencil(0);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    gl_.Clear(mask);
    gl_.Disable(GL_SCISSOR_TEST);
    gl_.DepthMask(GetRenderState(RenderState::ZWriteEnable) ? GL_TRUE : GL_FALSE);
}

Result GlDevice::DoReadBackBuffer(Image& image) {
    if (layerMode_ == LayerMode::Recording) layerMode_ = LayerMode::None;
    FlushClear();
    const uint32_t w = BackBufferWidth(), h = BackBufferHeight();
    std::vector<uint8_t> rows(size_t(w) * h * 4);
    gl_.ReadBuffer(GL_BACK);
    gl_.BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    gl_.ReadPixels(0, 0, GLsizei(w), GLsizei(h), GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    image.Resize(int(w), int(h));
    // GL's rows run from the bottom up; the picture's from the top down.
    for (uint32_t y = 0; y < h; ++y)
        std::memcpy(&image.At(0, int(y)), rows.data() + size_t(h - 1 - y) * w * 4, size_t(w) * 4);
    return Result::Ok;
}

void GlDevice::ResourceCreated(Resource& resource) {
    GLuint name = 0;
    if (resource.Kind() == ResourceKind::Texture) {
        auto& texture = static_cast<DeviceTexture&>(resource);
        gl_.GenTextures(1, &name);
        gl_.BindTexture(GL_TEXTURE_2D, name);
        // Without this a texture of one level counts as incomplete under GL's default
        // mip-mapped minification, and samples as nothing.
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(texture.LevelCount() - 1));
        for (uint32_t level = 0; level < texture.LevelCount(); ++level)
            gl_.TexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGBA8, GLsizei(texture.Width(level)),
                           GLsizei(texture.Height(level)), 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        ForgetUnits();
        resource.SetHandle(name);
        return;
    }
    // The store comes with the first write, or with the first draw when none came first.
    gl_.GenBuffers(1, &name);
    resource.SetHandle(name);
}

void GlDevice::ResourceReleased(Resource& resource) {
    GLuint name = resource.Handle();
    if (name == 0) return;
    // The kept picture may show the resource; another may come back under its name.
    ForgetKeptPicture();
    if (resource.Kind() == ResourceKind::Texture) {
        gl_.DeleteTextures(1, &name);
        appliedSamplers_.erase(name);
        ForgetUnits();
    } else {
        // Called from a dying object's destructor too, so the buffer itself is not touched:
        // a store goes with its name, and a name is only made when a buffer is created.
        gl_.DeleteBuffers(1, &name);
        ForgetArrays();
    }
    resource.SetHandle(0);
}

void GlDevice::UploadLevel(const DeviceTexture& texture, uint32_t level) {
    gl_.BindTexture(GL_TEXTURE_2D, texture.Handle());
    gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, GLint(texture.Pitch(level) / 4));
    gl_.TexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, GLsizei(texture.Width(level)), GLsizei(texture.Height(level)),
                      GL_BGRA, GL_UNSIGNED_BYTE, texture.LevelBits(level));
    gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void GlDevice::TextureUpdated(DeviceTexture& texture, uint32_t level) {
    if (texture.Handle() == 0) return;
    ForgetKeptPicture();
    UploadLevel(texture, level);
    ForgetUnits();
}

// A fresh store of the buffer's first bytes. The bytes go with the new store: emptying
// it first and then filling part of it made a title scene's particles cost the software
// rasteriser three times the processor time.
void GlDevice::StoreBuffer(const Buffer& buffer, uint32_t bytes) {
    const GLenum target = BufferTarget(buffer);
    gl_.BindBuffer(target, buffer.Handle());
    gl_.BufferData(target, bytes, buffer.Data(),
                   buffer.Usage() == BufferUsage::Dynamic ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    SetStoredBytes(buffer, bytes);
    CountBufferBytesSent(bytes);
}

// A draw that reads past the store gets the rest of the bytes first, so it reads what
// the buffer holds.
void GlDevice::StoreAtLeast(const Buffer& buffer, uint64_t bytes) {
    if (bytes > buffer.StoredBytes()) StoreBuffer(buffer, buffer.Size());
}

void GlDevice::BufferUpdated(Buffer& buffer, uint32_t offset, uint32_t size, bool discard) {
    const uint32_t end = offset + size;
    if (end > buffer.StoredBytes()) {
        // A discarding write leaves what lies past its range to be forgotten: only the
        // range, and what comes before it, goes.
        return StoreBuffer(buffer, discard ? end : buffer.Size());
    }
    // A range inside the store is written into it, discarding or not: what the store
    // holds elsewhere is what the buffer holds there, and a store made afresh every frame
    // costs the software rasteriser an allocation, and its pages, each time.
    gl_.BindBuffer(BufferTarget(buffer), buffer.Handle());
    gl_.BufferSubData(BufferTarget(buffer), offset, size, buffer.Data() + offset);
    CountBufferBytesSent(size);
}

void GlDevice::ApplyRenderStates() {
    auto state = [this](RenderState s) { return GetRenderState(s); };
    auto toggle = [this](GLenum cap, bool on) { on ? gl_.Enable(cap) : gl_.Disable(cap); };
    toggle(GL_DEPTH_TEST, state(RenderState::ZEnable) != 0);
    gl_.DepthMask(state(RenderState::ZWriteEnable) ? GL_TRUE : GL_FALSE);
    gl_.DepthFunc(CompareToGl(state(RenderState::ZFunc)));
    const uint32_t cull = state(RenderState::CullMode);
    toggle(GL_CULL_FACE, cull != U(Cull::None));
    // Front faces are clockwise on screen (set at start-up).
    gl_.CullFace(cull == U(Cull::Clockwise) ? GL_FRONT : GL_BACK);
    static constexpr GLenum fills[] = {GL_POINT, GL_LINE, GL_FILL};
    gl_.PolygonMode(GL_FRONT_AND_BACK, fills[state(RenderState::FillMode) - U(Fill::Point)]);
    toggle(GL_BLEND, state(RenderState::AlphaBlendEnable) != 0);
    gl_.BlendFunc(BlendToGl(state(RenderState::SrcBlend)), BlendToGl(state(RenderState::DestBlend)));
    toggle(GL_ALPHA_TEST, state(RenderState::AlphaTestEnable) != 0);
    gl_.AlphaFunc(CompareToGl(state(RenderState::AlphaFunc)), float(state(RenderState::AlphaRef)) / 255.0f);
    toggle(GL_NORMALIZE, state(RenderState::NormalizeNormals) != 0);
    gl_.LightModelfv(GL_LIGHT_MODEL_AMBIENT, Floats(state(RenderState::Ambient)).data());
    renderDirty_ = false;
}

void GlDevice::ApplyProjection(bool pretransformed) {
    const Viewport& vp = GetViewport();
    if (viewportDirty_) {
        gl_.Viewport(GLint(vp.x), GLint(BackBufferHeight() - vp.y - vp.height), GLsizei(vp.width), GLsizei(vp.height));
        gl_.DepthRange(vp.minZ, vp.maxZ);
        viewportDirty_ = false;
        projectionDirty_ = true;
    }
    if (!projectionDirty_ && pretransformed == lastPretransformed_) return;
    const Matrix4 m = pretransformed ? ScreenProjection(vp)
                                     : Matrix4::Multiply(GetTransform(TransformKind::Projection), ClipAdjust(vp));
    gl_.MatrixMode(GL_PROJECTION);
    // A row-vector matrix stored by rows is the column-vector matrix stored by columns.
    gl_.LoadMatrixf(m.m);
    projectionDirty_ = false;
}

void GlDevice::ApplyModelView(bool pretransformed) {
    gl_.MatrixMode(GL_MODELVIEW);
    if (pretransformed) {
        if (!lastPretransformed_) gl_.LoadIdentity();
        return;
    }
    if (viewDirty_ || lightsDirty_ || clipDirty_) {
        // GL takes light positions and clip planes through the modelview of the moment:
        // the view alone puts them in world space.
        gl_.LoadMatrixf(GetTransform(TransformKind::View).m);
        if (viewDirty_ || lightsDirty_) SendLights();
        if (viewDirty_ || clipDirty_) SendClipPlanes();
        viewDirty_ = lightsDirty_ = clipDirty_ = false;
        worldDirty_ = true;
    }
    if (!worldDirty_ && !lastPretransformed_) return;
    const Matrix4 m = Matrix4::Multiply(GetTransform(TransformKind::World), GetTransform(TransformKind::View));
    gl_.LoadMatrixf(m.m);
    worldDirty_ = false;
}

void GlDevice::SendLights() {
    for (uint32_t i = 0; i < kMaxLights; ++i) {
        const GLenum id = GL_LIGHT0 + i;
        if (!IsLightEnabled(i)) {
            gl_.Disable(id);
            continue;
        }
        const Light& light = GetLight(i);
        gl_.Lightfv(id, GL_DIFFUSE, Floats(light.diffuse).data());
        gl_.Lightfv(id, GL_SPECULAR, Floats(light.specular).data());
        gl_.Lightfv(id, GL_AMBIENT, Floats(light.ambient).data());
        if (light.type == LightType::Directional) {
            // GL wants the direction towards the light.
            const float towards[4] = {-light.direction.x, -light.direction.y, -light.direction.z, 0};
            gl_.Lightfv(id, GL_POSITION, towards);
        } else {
            const float at[4] = {light.position.x, light.position.y, light.position.z, 1};
            gl_.Lightfv(id, GL_POSITION, at);
        }
        const bool spot = light.type == LightType::Spot;
        const float direction[3] = {light.direction.x, light.direction.y, light.direction.z};
        gl_.Lightfv(id, GL_SPOT_DIRECTION, direction);
        gl_.Lightf(id, GL_SPOT_CUTOFF, spot ? std::min(90.0f, light.phi * 0.5f * 57.29578f) : 180.0f);
        gl_.Lightf(id, GL_SPOT_EXPONENT, 0.0f);
        const bool noFalloff = light.type == LightType::Directional ||
                               (light.attenuation0 == 0 && light.attenuation1 == 0 && light.attenuation2 == 0);
        gl_.Lightf(id, GL_CONSTANT_ATTENUATION, noFalloff ? 1.0f : light.attenuation0);
        gl_.Lightf(id, GL_LINEAR_ATTENUATION, noFalloff ? 0.0f : light.attenuation1);
        gl_.Lightf(id, GL_QUADRATIC_ATTENUATION, noFalloff ? 0.0f : light.attenuation2);
        gl_.Enable(id);
    }
}

void GlDevice::SendClipPlanes() {
    for (uint32_t i = 0; i < kMaxClipPlanes; ++i) {
        const ClipPlane& p = GetClipPlane(i);
        const GLdouble equation[4] = {p[0], p[1], p[2], p[3]};
        gl_.ClipPlane(GL_CLIP_PLANE0 + i, equation);
    }
}

void GlDevice::ApplyClipEnables(bool pretransformed) {
    const uint32_t mask = pretransformed ? 0 : GetRenderState(RenderState::ClipPlaneEnable);
    if (mask == clipEnabledMask_) return;
    for (uint32_t i = 0; i < kMaxClipPlanes; ++i)
        ((mask >> i) & 1) ? gl_.Enable(GL_CLIP_PLANE0 + i) : gl_.Disable(GL_CLIP_PLANE0 + i);
    clipEnabledMask_ = mask;
}

void GlDevice::SendMaterial() {
    const Material& m = GetMaterial();
    const bool specular = GetRenderState(RenderState::SpecularEnable) != 0;
    const ColorValue none;
    gl_.Materialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Floats(m.diffuse).data());
    gl_.Materialfv(GL_FRONT_AND_BACK, GL_AMBIENT, Floats(m.ambient).data());
    gl_.Materialfv(GL_FRONT_AND_BACK, GL_SPECULAR, Floats(specular ? m.specular : none).data());
    gl_.Materialfv(GL_FRONT_AND_BACK, GL_EMISSION, Floats(m.emissive).data());
    gl_.Materialf(GL_FRONT_AND_BACK, GL_SHININESS, specular ? std::clamp(m.power, 0.0f, kMaxShininess) : 0.0f);
    // Without specular light the separate sum would add nothing to every pixel: a software
    // rasteriser still spends a colour interpolated and added on each.
    gl_.LightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, specular ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
    materialDirty_ = false;
}

void GlDevice::ApplyLighting(bool pretransformed, bool vertexColour) {
    const bool lit = !pretransformed && GetRenderState(RenderState::Lighting) != 0;
    lit ? gl_.Enable(GL_LIGHTING) : gl_.Disable(GL_LIGHTING);
    const bool colourMaterial = lit && vertexColour && GetRenderState(RenderState::ColorVertex) != 0;
    // Colour tracking leaves the last vertex colour in the GL material: send the
    // material again after a draw that used it.
    if (colourMaterialOn_ && !colourMaterial) {
        gl_.Disable(GL_COLOR_MATERIAL);
        materialDirty_ = true;
    }
    if (lit && materialDirty_) SendMaterial();
    if (colourMaterial) {
        gl_.ColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        gl_.Enable(GL_COLOR_MATERIAL);
        materialDirty_ = true;
    }
    colourMaterialOn_ = colourMaterial;
}

void GlDevice::ApplySampler(uint32_t stage, const DeviceTexture& texture) {
    SamplerKey key;
    for (size_t s = 0; s < key.size(); ++s) key[s] = GetSamplerState(stage, SamplerState(s));
    auto found = appliedSamplers_.find(texture.Handle());
    if (found != appliedSamplers_.end() && found->second == key) return;
    appliedSamplers_[texture.Handle()] = key;
    auto at = [&key](SamplerState s) { return key[size_t(s)]; };
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(AddressToGl(at(SamplerState::AddressU))));
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(AddressToGl(at(SamplerState::AddressV))));
    gl_.TexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, Floats(at(SamplerState::BorderColor)).data());
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                      at(SamplerState::MagFilter) == U(Filter::Point) ? GL_NEAREST : GL_LINEAR);
    gl_.TexParameteri(
        GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
        GLint(MinFilterToGl(at(SamplerState::MinFilter), at(SamplerState::MipFilter), texture.LevelCount() > 1)));
}

void GlDevice::ApplyCombine(uint32_t stage, bool alpha) {
    const auto opState = alpha ? TextureStageState::AlphaOp : TextureStageState::ColorOp;
    uint32_t op = GetTextureStageState(stage, opState);
    uint32_t arg1 = GetTextureStageState(stage, alpha ? TextureStageState::AlphaArg1 : TextureStageState::ColorArg1);
    uint32_t arg2 = GetTextureStageState(stage, alpha ? TextureStageState::AlphaArg2 : TextureStageState::ColorArg2);
    if (op == U(TextureOp::Disable)) {
        // An alpha operation switched off under a live colour operation keeps the
        // alpha that reached this stage.
        op = U(TextureOp::SelectArg1);
        arg1 = kArgCurrent;
    }
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum source0 = alpha ? GL_SOURCE0_ALPHA : GL_SOURCE0_RGB;
    const GLenum operand0 = alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB;
    auto setArg = [&](int n, uint32_t arg) {
        gl_.TexEnvi(GL_TEXTURE_ENV, source0 + n, GLint(SourceToGl(arg)));
        gl_.TexEnvi(GL_TEXTURE_ENV, operand0 + n, GLint(OperandToGl(arg, alpha)));
    };
    GLint scale = 1;
    GLenum mode = GL_MODULATE;
    switch (TextureOp(op)) {
        case TextureOp::SelectArg1:
            mode = GL_REPLACE;
            setArg(0, arg1);
            break;
        case TextureOp::SelectArg2:
            mode = GL_REPLACE;
            setArg(0, arg2);
            break;
        case TextureOp::Modulate4x: scale = 4; [[fallthrough]];
        case TextureOp::Modulate2x: scale = std::max(scale, 2); [[fallthrough]];
        case TextureOp::Modulate: mode = GL_MODULATE; break;
        case TextureOp::Add: mode = GL_ADD; break;
        case TextureOp::AddSigned2x: scale = 2; [[fallthrough]];
        case TextureOp::AddSigned: mode = GL_ADD_SIGNED; break;
        case TextureOp::Subtract: mode = GL_SUBTRACT; break;
        default: {
            mode = GL_INTERPOLATE;
            const uint32_t weight = op == U(TextureOp::BlendDiffuseAlpha)   ? kArgDiffuse
                                    : op == U(TextureOp::BlendTextureAlpha) ? kArgTexture
                                    : op == U(TextureOp::BlendFactorAlpha)  ? kArgFactor
                                                                            : kArgCurrent;
            gl_.TexEnvi(GL_TEXTURE_ENV, source0 + 2, GLint(SourceToGl(weight)));
            gl_.TexEnvi(GL_TEXTURE_ENV, operand0 + 2, GL_SRC_ALPHA);
            break;
        }
    }
    if (mode != GL_REPLACE) {
        setArg(0, arg1);
        setArg(1, arg2);
    }
    gl_.TexEnvi(GL_TEXTURE_ENV, combine, GLint(mode));
    gl_.TexEnvi(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, scale);
}

GlDevice::UnitState GlDevice::WantedUnit(uint32_t stage, bool enabled, uint32_t factor) const {
    UnitState unit;
    unit.known = true;
    unit.enabled = enabled;
    if (!enabled) return unit;
    const DeviceTexture* texture = GetTexture(stage);
    unit.texture = texture != nullptr ? texture->Handle() : whiteTexture_;
    if (texture != nullptr) {
        for (size_t s = 0; s < unit.sampler.size(); ++s) unit.sampler[s] = GetSamplerState(stage, SamplerState(s));
    }
    static constexpr TextureStageState kCombine[] = {TextureStageState::ColorOp,   TextureStageState::ColorArg1,
                                                     TextureStageState::ColorArg2, TextureStageState::AlphaOp,
                                                     TextureStageState::AlphaArg1, TextureStageState::AlphaArg2};
    for (size_t i = 0; i < unit.combine.size(); ++i) unit.combine[i] = GetTextureStageState(stage, kCombine[i]);
    unit.factor = factor;
    return unit;
}

void GlDevice::SendUnit(uint32_t stage) {
    const UnitState& unit = units_[stage];
    gl_.ActiveTexture(GL_TEXTURE0 + stage);
    if (!unit.enabled) {
        gl_.Disable(GL_TEXTURE_2D);
        return;
    }
    gl_.Enable(GL_TEXTURE_2D);
    gl_.BindTexture(GL_TEXTURE_2D, unit.texture);
    if (const DeviceTexture* texture = GetTexture(stage)) ApplySampler(stage, *texture);
    gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    gl_.TexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, Floats(unit.factor).data());
    ApplyCombine(stage, false);
    ApplyCombine(stage, true);
}

void GlDevice::ApplyStages() {
    const uint32_t units = Caps().maxSimultaneousTextures;
    uint32_t active = 0;
    while (active < units && GetTextureStageState(active, TextureStageState::ColorOp) != U(TextureOp::Disable))
        ++active;
    const uint32_t factor = GetRenderState(RenderState::TextureFactor);
    for (uint32_t stage = 0; stage < units; ++stage) {
        const UnitState wanted = WantedUnit(stage, stage < active, factor);
        if (units_[stage] == wanted) continue;
        units_[stage] = wanted;
        SendUnit(stage);
    }
    activeStages_ = active;
    stagesDirty_ = false;
}

const uint8_t* GlDevice::ConvertColours(const DrawCall& call) {
    // Without BGRA vertex colours GL wants red first: swap the bytes in a copy.
    const uint8_t* source = call.userVertices != nullptr ? call.userVertices : call.vertexBuffer->Data();
    const size_t bytes =
        call.userVertices != nullptr ? size_t(call.userVertexCount) * call.stride : call.vertexBuffer->Size();
    scratch_.assign(source, source + bytes);
    for (size_t v = call.layout.diffuseOffset; v + 4 <= bytes; v += call.stride)
        std::swap(scratch_[v], scratch_[v + 2]);
    return scratch_.data();
}

template <class Send>
void GlDevice::PointArray(uint32_t slot, GLenum array, const ArrayPointer& wanted, Send send) {
    ArrayPointer& held = arrays_[slot];
    if (held == wanted) return;
    if (slot >= kFirstTexCoordSlot && clientUnit_ != slot - kFirstTexCoordSlot) {
        clientUnit_ = slot - kFirstTexCoordSlot;
        gl_.ClientActiveTexture(GL_TEXTURE0 + clientUnit_);
    }
    if (wanted.enabled != held.enabled || !held.known)
        wanted.enabled ? gl_.EnableClientState(array) : gl_.DisableClientState(array);
    send();
    held = wanted;
}

void GlDevice::BindArrays(const DrawCall& call) {
    const VertexLayout& layout = call.layout;
    const uint8_t* base = nullptr;
    GLuint buffer = 0;
    if (layout.hasDiffuse && !bgraColours_) {
        base = ConvertColours(call);
    } else if (call.userVertices != nullptr) {
        base = call.userVertices;
    } else {
        buffer = call.vertexBuffer->Handle();
    }
    gl_.BindBuffer(GL_ARRAY_BUFFER, buffer);
    // Indices are relative to the base vertex; GL 2.1 has no base-vertex draw, so the
    // arrays start there instead. The offset is only used as an address.
    const intptr_t start = intptr_t(call.baseVertex) * intptr_t(call.stride);
    const GLsizei stride = GLsizei(call.stride);
    auto at = [&](bool enabled, uint32_t offset) {
        if (!enabled) return ArrayPointer{true, false, 0, nullptr, 0};
        return ArrayPointer{true, true, buffer,
                            reinterpret_cast<const void*>(reinterpret_cast<intptr_t>(base) + start + offset), stride};
    };
    const ArrayPointer vertices = at(true, 0);
    PointArray(kVertexSlot, GL_VERTEX_ARRAY, vertices, [&] { gl_.VertexPointer(3, GL_FLOAT, stride, vertices.at); });
    const ArrayPointer normals = at(layout.hasNormal, layout.normalOffset);
    PointArray(kNormalSlot, GL_NORMAL_ARRAY, normals,
               [&] { normals.enabled ? gl_.NormalPointer(GL_FLOAT, stride, normals.at) : gl_.Normal3f(0, 0, 0); });
    const ArrayPointer colours = at(layout.hasDiffuse, layout.diffuseOffset);
    PointArray(kColourSlot, GL_COLOR_ARRAY, colours, [&] {
        colours.enabled ? gl_.ColorPointer(bgraColours_ ? GL_BGRA : 4, GL_UNSIGNED_BYTE, stride, colours.at)
                        : gl_.Color4f(1, 1, 1, 1);
    });
    for (uint32_t stage = 0; stage < Caps().maxSimultaneousTextures; ++stage) {
        const uint32_t set = GetTextureStageState(stage, TextureStageState::TexCoordIndex);
        const ArrayPointer coords = at(stage < activeStages_ && set < layout.texCount, layout.texOffset + 8 * set);
        PointArray(kFirstTexCoordSlot + stage, GL_TEXTURE_COORD_ARRAY, coords, [&] {
            if (coords.enabled) gl_.TexCoordPointer(2, GL_FLOAT, stride, coords.at);
        });
    }
}

void GlDevice::StoreWhatTheDrawReads(const DrawCall& call) {
    if (call.vertexBuffer == nullptr) return;
    const bool wholeStores = call.vertexBuffer->StoredBytes() == call.vertexBuffer->Size() &&
                             (call.indexBuffer == nullptr || call.indexBuffer->StoredBytes() == call.indexBuffer->Size());
    if (wholeStores) return;
    if (call.indexBuffer == nullptr) {
        const uint64_t vertices = call.firstVertex + uint64_t(VerticesForPrimitives(call.type, call.primitiveCount));
        return StoreAtLeast(*call.vertexBuffer, vertices * call.stride);
    }
    StoreAtLeast(*call.indexBuffer, (uint64_t(call.startIndex) + call.indexCount) * call.indexBuffer->IndexSize());
    const uint64_t highest = call.indexSpan.highest;
    StoreAtLeast(*call.vertexBuffer, (uint64_t(int64_t(highest) + call.baseVertex) + 1) * call.stride);
}

void GlDevice::DoDraw(const DrawCall& call) {
    if (layerMode_ == LayerMode::Skipping) return;
    FlushClear();
    StoreWhatTheDrawReads(call);
    const bool pretransformed = call.layout.pretransformed;
    if (renderDirty_) ApplyRenderStates();
    ApplyProjection(pretransformed);
    ApplyModelView(pretransformed);
    ApplyClipEnables(pretransformed);
    ApplyLighting(pretransformed, call.layout.hasDiffuse);
    if (stagesDirty_) ApplyStages();
    lastPretransformed_ = pretransformed;
    BindArrays(call);
    const GLenum mode = PrimitiveToGl(call.type);
    if (call.indexBuffer == nullptr) {
        const uint32_t count = VerticesForPrimitives(call.type, call.primitiveCount);
        gl_.DrawArrays(mode, GLint(call.firstVertex), GLsizei(count));
        return;
    }
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, call.indexBuffer->Handle());
    const GLenum type = call.indexBuffer->Format() == IndexFormat::Index32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    const uintptr_t offset = uintptr_t(call.startIndex) * call.indexBuffer->IndexSize();
    // With the range of the indices the GL need not find it, and fetches and transforms
    // only the vertices in it.
    gl_.DrawRangeElements(mode, call.indexSpan.lowest, call.indexSpan.highest, GLsizei(call.indexCount), type,
                          reinterpret_cast<const void*>(offset));
}

void GlDevice::DoBeginStillLayer(uint64_t key) {
    layerMode_ = LayerMode::None;
    // Only a waiting clear of colour and depth tells what the whole back buffer holds.
    if (!keptUsable_ || pendingClear_.flags != (kClearTarget | kClearDepth)) return;
    const uint64_t full = StillLayerKey(key);
    if (kept_ && keptKey_ == full && keptWidth_ == BackBufferWidth() && keptHeight_ == BackBufferHeight()) {
        if (CopyKeptPicture(false)) {
            // The picture holds the clear.
            pendingClear_.flags = 0;
            layerMode_ = LayerMode::Skipping;
            return;
        }
        keptUsable_ = kept_ = false;
        return;
    }
    // A layer is kept once it has begun alike twice running: one whose camera moves every
    // frame is not copied out each time for nothing.
    const bool again = full == lastLayerKey_;
    lastLayerKey_ = full;
    if (!again) return;
    recordingKey_ = full;
    layerMode_ = LayerMode::Recording;
}

void GlDevice::DoEndStillLayer() {
    const LayerMode mode = layerMode_;
    layerMode_ = LayerMode::None;
    if (mode != LayerMode::Recording) return;
    FlushClear();
    if (!MakeKeptPicture() || !CopyKeptPicture(true)) {
        keptUsable_ = kept_ = false;
        return;
    }
    kept_ = true;
    keptKey_ = recordingKey_;
}

uint64_t GlDevice::StillLayerKey(uint64_t layerKey) const {
    return MixHash(MixHash(layerKey, pendingClear_.colour.argb), pendingClear_.z);
}

void GlDevice::DrainGlErrors() {
    for (int i = 0; i < 8 && gl_.GetError() != GL_NO_ERROR; ++i) continue;
}

bool GlDevice::MakeKeptPicture() {
    const uint32_t w = BackBufferWidth(), h = BackBufferHeight();
    if (keptFramebuffer_ != 0 && keptWidth_ == w && keptHeight_ == h) return true;
    DrainGlErrors();
    if (keptFramebuffer_ == 0) {
        gl_.GenFramebuffers(1, &keptFramebuffer_);
        gl_.GenTextures(1, &keptColour_);
        gl_.GenTextures(1, &keptDepth_);
    }
    // The window's own formats, so a copy is a copy of bytes.
    auto make = [&](GLuint texture, GLint format, GLenum layout, GLenum type) {
        gl_.BindTexture(GL_TEXTURE_2D, texture);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl_.TexImage2D(GL_TEXTURE_2D, 0, format, GLsizei(w), GLsizei(h), 0, layout, type, nullptr);
    };
    make(keptColour_, GL_RGBA, GL_BGRA, GL_UNSIGNED_BYTE);
    if (keptStencil_) {
        make(keptDepth_, GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8);
    } else {
        make(keptDepth_, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT);
    }
    ForgetUnits();
    gl_.BindFramebuffer(GL_FRAMEBUFFER, keptFramebuffer_);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, keptColour_, 0);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, keptStencil_ ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                             GL_TEXTURE_2D, keptDepth_, 0);
    const bool complete = gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    keptWidth_ = w;
    keptHeight_ = h;
    return complete && gl_.GetError() == GL_NO_ERROR;
}

bool GlDevice::CopyKeptPicture(bool toKept) {
    const GLint w = GLint(keptWidth_), h = GLint(keptHeight_);
    DrainGlErrors();
    gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, toKept ? 0 : keptFramebuffer_);
    gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, toKept ? keptFramebuffer_ : 0);
    const GLbitfield mask = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | (keptStencil_ ? GL_STENCIL_BUFFER_BIT : 0);
    // The GL's window rows run the other way from a texture's in memory: the kept
    // picture is stored upside down, so each copy is one of rows in the same order.
    gl_.BlitFramebuffer(0, 0, w, h, 0, h, w, 0, mask, GL_NEAREST);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    return gl_.GetError() == GL_NO_ERROR;
}

}  // namespace gfx
