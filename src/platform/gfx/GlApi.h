#pragma once
// The OpenGL entry points the GL backend uses, fetched through SDL_GL_GetProcAddress
// from the current context. Nothing newer than OpenGL 2.1 is needed. Call as
// gl.Clear(...) on a loaded GlApi.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

namespace gfx {

#define VORNS_GL_FUNCTIONS(X)                                                                                         \
    X(ActiveTexture)                                                                                                  \
    X(AlphaFunc)                                                                                                      \
    X(BindBuffer) X(BindTexture) X(BlendFunc) X(BufferData) X(BufferSubData) X(Clear) X(ClearColor) X(ClearDepth)     \
        X(ClearStencil) X(ClientActiveTexture) X(ClipPlane) X(Color4f) X(ColorMaterial) X(ColorPointer) X(CullFace)   \
            X(DeleteBuffers) X(DeleteTextures) X(DepthFunc) X(DepthMask) X(DepthRange) X(Disable)                     \
                X(DisableClientState) X(DrawArrays) X(DrawRangeElements) X(Enable) X(EnableClientState) X(Finish)          \
                    X(FrontFace) X(GenBuffers) X(GenTextures) X(GetError) X(GetIntegerv) X(GetString) X(LightModelfv) \
                        X(LightModeli) X(Lightf) X(Lightfv) X(LoadIdentity) X(LoadMatrixf) X(Materialf) X(Materialfv) \
                            X(MatrixMode) X(Normal3f) X(NormalPointer) X(PixelStorei) X(PolygonMode) X(ReadBuffer)    \
                                X(ReadPixels) X(Scissor) X(TexCoordPointer) X(TexEnvfv) X(TexEnvi) X(TexImage2D)      \
                                    X(TexParameterfv) X(TexParameteri) X(TexSubImage2D) X(VertexPointer) X(Viewport)

// Framebuffer objects and blits, which a 2.1 context may lack: the device does without
// the pictures it keeps when any is missing.
#define VORNS_GL_FRAMEBUFFER_FUNCTIONS(X) \
    X(BindFramebuffer) X(BlitFramebuffer) X(CheckFramebufferStatus) X(DeleteFramebuffers) X(FramebufferTexture2D) X(GenFramebuffers)

struct GlApi {
#define VORNS_GL_MEMBER(name) decltype(&::gl##name) name = nullptr;
    VORNS_GL_FUNCTIONS(VORNS_GL_MEMBER)
    VORNS_GL_FRAMEBUFFER_FUNCTIONS(VORNS_GL_MEMBER)
#undef VORNS_GL_MEMBER

    // Fetches every entry point from the current context; false when one is missing.
    bool Load();
    // Fetches the framebuffer entry points; false when the context lacks one.
    bool LoadFramebuffers();
    // The GL version of the context as major * 10 + minor (21 for 2.1).
    int Version() const;
    bool HasExtension(const char* name) const;
};

}  // namespace gfx
