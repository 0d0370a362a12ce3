// The scenes the winning and losing windows play under the professor's text box: in every
// one, from its start to its end (jumps included), the figures stand below that box, and
// none passes in front of the boost count.
#include <algorithm>
#include <string>

#include "SceneFixture.h"
#include "core/Image.h"
#include "core/IntRect.h"
#include "engine/GlTestWindow.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/StageFigurePixels.h"

namespace {

using scenes_test::SceneFixture;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// The mission's text box, 215 rows at the top of the screen, and its frame.
constexpr int kTextBoxBottom = 240;
// The winning window's boost count, above its Customize button, at this screen size.
constexpr IntRect kBoostCount(630, 586, 739, 600);
// The big robot's feet stand behind part of the count; nothing else may pass there.
constexpr int kFeetUnderTheCount = 600;

using stage_pixels::IsFigure;

// The highest row a figure reaches; the floor's far rim at the sides is left out.
int TopFigureRow(const Image& frame) {
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = frame.Width() / 8; x < frame.Width() * 7 / 8; ++x) {
            if (IsFigure(frame.At(x, y))) return y;
        }
    }
    return frame.Height();
}

int FiguresIn(const Image& frame, const IntRect& area) {
    int count = 0;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) count += IsFigure(frame.At(x, y)) ? 1 : 0;
    }
    return count;
}

class LooseResultScenesTest : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        if (IsSkipped()) return;
        // The fixture's scene stands on the headless device: this one draws with GL.
        scene_.reset();
        Scene::FreeSharedResources();
        ForgetSharedMeshes();
        GetRenderer().Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, GetRenderer());
        if (!failure.empty()) GTEST_SKIP() << failure;
        scene_ = std::make_unique<Scene>();
    }
    void TearDown() override {
        SceneFixture::TearDown();
        window_.reset();
    }
    Image Drawn() {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.Clear(Color(0xFF000000), 1.0f, 3);
        scene_->Draw();
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        return frame;
    }

    std::unique_ptr<win::SystemWindow> window_;
};

TEST_F(LooseResultScenesTest, EveryResultScenesFiguresStandBelowTheTextBoxThroughout) {
    for (const char* name :
         {"SmallWin", "SmallEnemyLose", "MediumWin", "MediumEnemyLose", "LargeWin", "LargeEnemyLose", "Celebrate",
          "SmallLose", "SmallEnemyWin", "MediumLose", "MediumEnemyWin", "LargeLose", "LargeEnemyWin"}) {
        scene_->Load(name);
        scene_->Restart();
        const bool celebration = std::string(name) == "Celebrate";
        int highest = kHeight;
        int underTheCount = 0;
        int frames = 0;
        for (; !scene_->IsFinished() && frames < 600; ++frames) {
            scene_->Update(1.0f / 30.0f);
            // The bunny of the big celebration crosses in a few frames: watch each one.
            if (frames % 3 != 0 && !celebration) continue;
            const Image frame = Drawn();
            highest = std::min(highest, TopFigureRow(frame));
            if (celebration) underTheCount = std::max(underTheCount, FiguresIn(frame, kBoostCount));
        }
        EXPECT_LE(underTheCount, kFeetUnderTheCount) << "a figure passes in front of the boost count";
        EXPECT_GT(frames, 30) << name << " plays";
        EXPECT_LT(highest, kHeight) << name << " shows its figures";
        EXPECT_GE(highest, kTextBoxBottom) << name << "'s figures reach under the text box";
    }
}

}  // namespace
