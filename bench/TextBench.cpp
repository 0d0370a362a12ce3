// A screen full of text: 40 lines of 80 characters in the bitmap font, drawn each frame
// on the pixel camera with alpha blending. On the recording device the counters give the
// device calls per frame ("draws", "state_calls"); on the GL backend (headless under
// SDL's offscreen driver) the time per iteration is the frame time at 1024 x 768,
// present included.
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "core/FileStream.h"
#include "core/Image.h"
#include "engine/Font.h"
#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"

#include "GlBench.h"

namespace {

constexpr int kColumns = 80;
constexpr int kLines = 40;

// A font of 16 x 16-texel cells whose printable glyphs are 6 to 10 texels wide blocks,
// written to a folder of its own; the texture's path.
std::string WriteBenchFont() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vorns-text-bench";
    std::filesystem::create_directories(folder);
    Image image(256, 256);
    image.Fill(Color(0));
    char widths[256] = {};
    for (int code = 32; code <= 126; ++code) {
        widths[code] = char(6 + code % 3 * 2);
        const int left = code % 16 * 16 + (16 - widths[code]) / 2, top = code / 16 * 16;
        for (int y = 3; y < 13; ++y) {
            for (int x = 0; x < widths[code]; ++x) image.At(left + x, top + y) = Color(0xFFFFFFFFu);
        }
    }
    const std::string texture = (folder / "BenchFont.tga").string();
    image.SaveTGA(texture);
    FileStream file((folder / "BenchFont.dat").string(), "wb");
    file.Write(widths, 256);
    file.Commit();
    return texture;
}

// 40 lines of 80 printable characters, cycling through the glyphs.
String ScreenText() {
    std::string text;
    for (int line = 0; line < kLines; ++line) {
        for (int column = 0; column < kColumns; ++column) text += char(33 + (line * 7 + column) % 94);
        text += '\n';
    }
    return String(text.c_str());
}

void DrawFrame(Renderer& renderer, Camera& screen, const Font& font, const String& text) {
    if (!renderer.GetReady()) return;
    renderer.Clear(Color(0xFF000000u), 1.0f, 3);
    renderer.SetCamera(screen);
    renderer.DisableLighting();
    renderer.SetAlphaBlend();
    renderer.DrawText(text, Vector2(4, 4), font, Color(0xFFE0E0E0u), 0.75f);
    renderer.SetBlendOff();
    renderer.EndFrame();
    renderer.SwapBuffers();
}

void RunFrames(benchmark::State& state, Renderer& renderer) {
    Font font;
    renderer.LoadFont(font, String(WriteBenchFont().c_str()), 1);
    Camera screen;
    screen.SetScreenView(renderer.GetWindowRect(), true);
    const String text = ScreenText();
    DrawFrame(renderer, screen, font, text);
    renderer.GetDevice().ResetCounters();
    for (auto _ : state) DrawFrame(renderer, screen, font, text);
    const double frames = double(state.iterations());
    state.counters["glyphs"] = kColumns * kLines;
    state.counters["draws"] = double(renderer.GetDevice().Stats().drawCalls) / frames;
    state.counters["state_calls"] = double(renderer.GetDevice().Stats().stateCalls) / frames;
}

void BM_ScreenOfTextRecording(benchmark::State& state) {
    Renderer renderer;
    RunFrames(state, renderer);
}

BENCHMARK(BM_ScreenOfTextRecording)->Unit(benchmark::kMicrosecond);

void BM_ScreenOfTextGl(benchmark::State& state) {
    // The window outlives the renderer that draws into it.
    std::unique_ptr<win::SystemWindow> window;
    Renderer renderer;
    window = OpenBenchRenderer(state, renderer);
    if (window == nullptr) return;
    RunFrames(state, renderer);
    renderer.Shutdown();
}

BENCHMARK(BM_ScreenOfTextGl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
