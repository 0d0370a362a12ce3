// Fire puffs share one material per texture file. When the renderer shuts down (a program
// shut down and started again in one process) the shared materials must be made again,
// not drawn freed.
#include <filesystem>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Renderer.h"
#include "support/ArenaFixture.h"
#include "support/RuntimeCopy.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "world/FirePuff.h"

namespace {

class FirePuffMaterialReleaseTest : public ArenaFixture {
protected:
    void SetUp() override {
        // The puffs draw with the data set's pictures, from a copy of its own.
        if (!runtime_test::CopyTextures(VORNS_GAME_DIR, folder_.Path()))
            GTEST_SKIP() << "no data set at " << VORNS_GAME_DIR;
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        ArenaFixture::SetUp();
    }
    void TearDown() override {
        if (working_ == nullptr) return;
        ArenaFixture::TearDown();
        working_.reset();
    }

    const Material* MaterialDrawn(FirePuff& puff) {
        EXPECT_TRUE(GetRenderer().GetReady());
        puff.Draw(puff.position);
        GetRenderer().EndFrame();
        return puff.particles.material.Get();
    }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

TEST_F(FirePuffMaterialReleaseTest, AfterTheRenderersShutdownThePuffsMaterialIsMadeAgain) {
    FirePuff* puff = arena->NewFirePuff();
    puff->SetStyle(FirePuff::kStyleGlow);
    puff->Start(Vector3(40.0f, 40.0f, 5.0f), 1.5f, "WhiteBall.tga");
    arena->AddObject(puff);
    const Material* before = MaterialDrawn(*puff);
    GetRenderer().Shutdown();
    // Hold on to the freed memory so a material made again cannot reuse the old address.
    std::vector<std::unique_ptr<Material>> fillers;
    for (int n = 0; n < 64; ++n) fillers.push_back(std::make_unique<Material>());
    const Material* after = MaterialDrawn(*puff);
    EXPECT_NE(after, nullptr);
    EXPECT_NE(after, before) << "drawn with a freed material";
}

}  // namespace
