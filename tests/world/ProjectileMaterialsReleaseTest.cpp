// Beams and flame balls share one material per animation frame. The renderer frees its
// materials when it shuts down (a program shut down and started again in one process);
// the shared ones must then be made again, not drawn freed.
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "core/Color.h"
#include "engine/Renderer.h"
#include "support/ArenaFixture.h"
#include "units/WeaponTable.h"
#include "world/FlameBall.h"
#include "world/LaserBeam.h"

namespace {

class ProjectileMaterialsReleaseTest : public ArenaFixture {
protected:
    static void SetUpTestSuite() { LoadWeaponDefinitions(); }

    // The materials the beam and the ball show over every frame of their animation.
    std::set<const Material*> MaterialsDrawn(LaserBeam& beam, FlameBall& ball) {
        std::set<const Material*> drawn;
        EXPECT_TRUE(GetRenderer().GetReady());
        for (int n = 0; n < LaserBeam::kFrameCount + FlameBall::kFrameCount; ++n) {
            beam.Draw(beam.position);
            ball.Draw(ball.position);
            drawn.insert(beam.trail.material.Get());
            drawn.insert(ball.glow.material.Get());
        }
        GetRenderer().EndFrame();
        return drawn;
    }
};

TEST_F(ProjectileMaterialsReleaseTest, AfterTheRenderersShutdownTheSharedMaterialsAreMadeAgain) {
    LaserBeam* beam = arena->AddLaserBeam(nullptr, Vector3(20, 80, 2.5f), 0.0f, Color::FromRGBA(255, 255, 0, 255));
    FlameBall* ball = arena->NewFlameBall(nullptr, Vector3(20, 60, 0), Vector3(40, 60, 0), 20.0f);
    const std::set<const Material*> before = MaterialsDrawn(*beam, *ball);
    GetRenderer().Shutdown();
    // Hold on to the freed memory so a material made again cannot reuse an old address:
    // allocate until every old address is held (the allocator may first hand out other
    // free blocks of that size, as many as earlier tests of the process left).
    std::vector<std::unique_ptr<Material>> fillers;
    size_t held = 0;
    for (int n = 0; n < 20000 && held < before.size(); ++n) {
        fillers.push_back(std::make_unique<Material>());
        held += before.count(fillers.back().get());
    }
    for (const Material* material : MaterialsDrawn(*beam, *ball)) {
        EXPECT_NE(material, nullptr);
        EXPECT_EQ(before.count(material), 0u) << "drawn with a freed material";
    }
    arena->AddObject(beam);
    arena->AddObject(ball);
}

}  // namespace
