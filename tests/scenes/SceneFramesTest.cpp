// The first frame the scene player draws of every scene script of the data set, on the GL
// backend headless, put on one contact sheet with each scene's name under its frame, for a
// person to look at: the build folder's pictures/scene-frames.png.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "PngFile.h"
#include "SceneFixture.h"
#include "core/Image.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/GlTestWindow.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"

namespace {

namespace fs = std::filesystem;
using scenes_test::RuntimeFolder;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kShrink = 4;  // a frame's cell is a quarter of its size each way
constexpr int kCellWidth = kWidth / kShrink;
constexpr int kCellHeight = kHeight / kShrink;
constexpr int kLabelHeight = 24;
constexpr int kPerRow = 5;

// Each cell the average of the block of pixels it stands for.
Image Shrunk(const Image& frame) {
    Image small(kCellWidth, kCellHeight);
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            int red = 0, green = 0, blue = 0;
            for (int dy = 0; dy < kShrink; ++dy) {
                for (int dx = 0; dx < kShrink; ++dx) {
                    const Color pixel = frame.At(x * kShrink + dx, y * kShrink + dy);
                    red += pixel.Red(), green += pixel.Green(), blue += pixel.Blue();
                }
            }
            const int count = kShrink * kShrink;
            small.At(x, y) = Color::FromRGBA(red / count, green / count, blue / count, 255);
        }
    }
    return small;
}

// Pixels unlike the top-left corner's, which shows the sky or the clear colour: a frame
// with almost none shows nothing but its background.
int Drawn(const Image& frame) {
    const Color sky = frame.At(0, 0);
    const auto near = [](int a, int b) { return std::abs(a - b) <= 24; };
    int drawn = 0;
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            const Color pixel = frame.At(x, y);
            const bool same =
                near(pixel.Red(), sky.Red()) && near(pixel.Green(), sky.Green()) && near(pixel.Blue(), sky.Blue());
            drawn += same ? 0 : 1;
        }
    }
    return drawn;
}

std::vector<std::string> SceneNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(RuntimeFolder() / "Scenes" / "English")) {
        if (entry.path().extension() == ".SCE") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SceneFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(RuntimeFolder() / "Actors" / "Professor.act")) {
            GTEST_SKIP() << "no data set in " << RuntimeFolder();
        }
        runtime_ = std::make_unique<runtime_test::RuntimeCopy>();
        working_ = std::make_unique<app_test::WorkingFolder>(runtime_->Path());
        Renderer& renderer = GetRenderer();
        renderer.Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer);
        if (!failure.empty()) GTEST_SKIP() << failure;
        renderer.LoadFont(GetFont(), TexturePath("VornsFontEnglish.tga"), 1);
        GetScreenCamera().SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
    }
    void TearDown() override {
        Scene::FreeSharedResources();
        ForgetSharedMeshes();
        ForgetSparkles();
        GetFont() = Font();
        GetRenderer().Shutdown();
        window_.reset();
        working_.reset();
    }
    // The scene started and drawn once, as a player first sees it.
    static Image FirstFrame(const std::string& sceneName) {
        Scene scene;
        scene.Load(sceneName);
        scene.Restart();
        scene.Update(1.0f / 30.0f);
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        scene.Draw();
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        return frame;
    }
    // The name in the game's font, white on black, as wide as a cell.
    static Image Label(const std::string& name) {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        renderer.SetAlphaBlend();
        renderer.DrawText(String(name.c_str()), Vector2(4.0f, 2.0f), GetFont(), Color(0xFFFFFFFF),
                          (kLabelHeight - 4) / std::max(GetFont().lineHeight, 1.0f));
        renderer.EndFrame();
        Image whole;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(whole), gfx::Result::Ok);
        Image label(kCellWidth, kLabelHeight);
        for (int y = 0; y < kLabelHeight; ++y) {
            for (int x = 0; x < kCellWidth; ++x) label.At(x, y) = whole.At(x, y);
        }
        return label;
    }

    std::unique_ptr<runtime_test::RuntimeCopy> runtime_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<win::SystemWindow> window_;
};

TEST_F(SceneFramesTest, EveryScenesFirstFrameOnOneSheet) {
    const std::vector<std::string> names = SceneNames();
    ASSERT_FALSE(names.empty());
    const int rows = int(names.size() + kPerRow - 1) / kPerRow;
    const int pitch = kCellHeight + kLabelHeight;
    Image sheet(kPerRow * kCellWidth, rows * pitch);
    sheet.Fill(Color(0xFF202020));
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Image frame = FirstFrame(names[i]);
        // Something of the scene is on screen from the start, not an empty sky.
        EXPECT_GT(Drawn(frame), kWidth * kHeight / 50);
        const int x = int(i % kPerRow) * kCellWidth, y = int(i / kPerRow) * pitch;
        sheet.Blit(Shrunk(frame), x, y);
        sheet.Blit(Label(names[i]), x, y + kCellHeight);
    }
    const fs::path pictures = fs::current_path().parent_path() / "pictures";
    fs::create_directories(pictures);
    std::ofstream(pictures / "scene-frames.png", std::ios::binary) << assetgen::EncodePng(sheet);
    std::cout << "picture: " << (pictures / "scene-frames.png").string() << "\n";
}

}  // namespace
