// What a frame's clear leaves in the buffers the game's window has.
#include <gtest/gtest.h>

#include <memory>

#include "GlTestWindow.h"
#include "core/Image.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/GlApi.h"
#include "platform/window/SystemWindow.h"

// The stencil shares its words with the depth: clearing both at once fills whole words,
// where a depth clear alone must keep the stencil bits of every pixel.
TEST(RendererClearTest, ADepthClearEmptiesTheStencilToo) {
    std::unique_ptr<win::SystemWindow> window;
    Renderer renderer;
    const std::string failure = engine_test::OpenGlRenderer(32, 16, window, renderer);
    if (!failure.empty()) GTEST_SKIP() << failure;
    gfx::GlApi gl;
    ASSERT_TRUE(gl.Load());
    GLint bits = 0;
    gl.GetIntegerv(GL_STENCIL_BITS, &bits);
    ASSERT_GT(bits, 0) << "the game's window asks for a stencil";
    gl.ClearStencil(7);
    gl.Clear(GL_STENCIL_BUFFER_BIT);
    renderer.Clear(Color::FromRGBA(0, 0, 0, 255), 1.0f, 3);
    // A whole clear is carried out when something next draws, reads or presents.
    Image frame;
    ASSERT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
    GLubyte stencil = 99;
    gl.ReadPixels(3, 3, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &stencil);
    EXPECT_EQ(stencil, 0);
    renderer.Shutdown();
}
