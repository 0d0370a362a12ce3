// One scene of the data set for each background kind, and one with a laser beam, played
// a moment and drawn on the GL backend headless, and the title menu over the shared
// scene. The frames are kept as tests/screenshots/scene_<name>.tga and
// title_over_scene.tga under the build folder for a person to look at.
#include <iostream>

#include "SceneFixture.h"
#include "core/Image.h"
#include "engine/AssetPaths.h"
#include "engine/Font.h"
#include "engine/GlTestWindow.h"
#include "platform/gfx/Device.h"
#include "platform/sys/Random.h"
#include "platform/window/SystemWindow.h"
#include "scenes/Speaker.h"
#include "screens/BackgroundScene.h"
#include "screens/MainMenu.h"
#include "ui/WindowManager.h"

namespace {

using scenes_test::RuntimeFolder;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

bool Near(Color pixel, Color expected, int tolerance = 12) {
    return std::abs(pixel.Red() - expected.Red()) <= tolerance &&
           std::abs(pixel.Green() - expected.Green()) <= tolerance &&
           std::abs(pixel.Blue() - expected.Blue()) <= tolerance;
}

// Pixels of the area that differ from the colour.
int CountOther(const Image& frame, const IntRect& area, Color colour) {
    int count = 0;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) count += Near(frame.At(x, y), colour, 30) ? 0 : 1;
    }
    return count;
}

class SceneScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(RuntimeFolder() / "Actors" / "Professor.act")) {
            GTEST_SKIP() << "no data set in " << RuntimeFolder();
        }
        buildFolder_ = std::filesystem::current_path().string();
        runtime_ = std::make_unique<runtime_test::RuntimeCopy>();
        working_ = std::make_unique<app_test::WorkingFolder>(runtime_->Path());
        Renderer& renderer = GetRenderer();
        renderer.Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer);
        if (!failure.empty()) GTEST_SKIP() << failure;
        renderer.LoadFont(GetFont(), TexturePath("VornsFontEnglish.tga"), 1);
        GetScreenCamera().SetScreenView(IntRect(0, 0, kWidth - 1, kHeight - 1), true);
        scene_ = std::make_unique<Scene>();
    }
    void TearDown() override {
        scene_.reset();
        Scene::FreeSharedResources();
        ForgetSharedMeshes();
        ForgetSparkles();
        GetFont() = Font();
        GetRenderer().Shutdown();
        window_.reset();
        working_.reset();
    }
    Image Keep(const std::string& pictureName) {
        Image frame;
        EXPECT_EQ(GetRenderer().GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        app_test::WorkingFolder back(buildFolder_);
        std::cout << "picture: " << engine_test::KeepPicture(frame, pictureName.c_str()) << "\n";
        return frame;
    }
    Image PlayAndDraw(const char* sceneName, float seconds) {
        scene_->Load(sceneName);
        scene_->Restart();
        for (float played = 0.0f; played < seconds; played += 1.0f / 30.0f) scene_->Update(1.0f / 30.0f);
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        scene_->Draw();
        renderer.EndFrame();
        return Keep(std::string("scene_") + sceneName);
    }

    std::string buildFolder_;
    std::unique_ptr<runtime_test::RuntimeCopy> runtime_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<win::SystemWindow> window_;
    std::unique_ptr<Scene> scene_;
};

TEST_F(SceneScreenshotTest, EachBackgroundWithItsActors) {
    const IntRect whole(0, 0, kWidth - 1, kHeight - 1);
    // Space: the guide in his viewport over the black sky, the subtitle at the bottom.
    Image frame = PlayAndDraw("Intro", 1.0f);
    const IntRect guide = scene_->Guide().GetSpeaker()->ScreenRect();
    EXPECT_GT(CountOther(frame, guide, Color(0xFF000000)),
              (guide.right - guide.left) * (guide.bottom - guide.top) / 20);
    const float lineHeight = 1.5f * GetFont().lineHeight;
    EXPECT_GT(CountOther(frame, IntRect(0, int(kHeight - 4 * lineHeight), kWidth - 1, int(kHeight - 3 * lineHeight)),
                         Color(0xFF000000)),
              50);
    // City and desert clear to their sky colours; the ground and the actors stand below.
    frame = PlayAndDraw("TreeHide", 1.0f);
    EXPECT_TRUE(Near(frame.At(5, 5), Color::FromRGBA(30, 150, 150, 255)));
    EXPECT_GT(CountOther(frame, whole, Color::FromRGBA(30, 150, 150, 255)), kWidth * kHeight / 4);
    frame = PlayAndDraw("MissileChase", 1.5f);
    EXPECT_TRUE(Near(frame.At(5, 5), Color::FromRGBA(130, 50, 150, 255)));
    EXPECT_GT(CountOther(frame, whole, Color::FromRGBA(130, 50, 150, 255)), kWidth * kHeight / 4);
    // The stage's floor and its bodies, and the lab.
    frame = PlayAndDraw("SmallWin", 1.0f);
    EXPECT_GT(CountOther(frame, whole, Color(0xFF000000)), kWidth * kHeight / 20);
    frame = PlayAndDraw("SmallMainMenu", 1.0f);
    EXPECT_GT(CountOther(frame, whole, Color(0xFF000000)), kWidth * kHeight / 20);
    // A laser beam glowing over space.
    frame = PlayAndDraw("Winning1", 6.3f);
    EXPECT_GT(CountOther(frame, whole, Color(0xFF000000)), 500);
}

TEST_F(SceneScreenshotTest, TheTitleMenuStandsOverTheSharedScene) {
    scene_.reset();
    sys::SRand(3);  // the menu picks its scene at random
    CreateSharedScene();
    {
        MainMenu menu;
        GetWindowManager().OpenWindow(&menu);
        const std::string playing = GetSharedScene()->Name();
        EXPECT_EQ(GetBackgroundScene().Name().CStr(), playing);
        EXPECT_EQ(GetSharedScene()->State(), SceneState::Playing);
        for (int frame = 0; frame < 30; ++frame) GetBackgroundScene().Update(1.0f / 30.0f);
        Renderer& renderer = GetRenderer();
        ASSERT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        GetWindowManager().RenderAll();
        renderer.EndFrame();
        const Image frame = Keep("title_over_scene");
        // The menu's ring round its centre, and the scene all about it.
        EXPECT_GT(CountOther(frame, IntRect(0, 400, kWidth - 1, kHeight - 1), Color(0xFF000000)), kWidth * 100);
        GetWindowManager().CloseAllWindows();
    }
    DestroySharedScene();
}

}  // namespace
