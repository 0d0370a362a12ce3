// The arena frame: the pass order and each pass's states, one image per visible copy
// of the arena, and a view cut to three copies near the horizon.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/Renderer.h"
#include "platform/gfx/Device.h"
#include "support/ArenaFixture.h"
#include "world/ArenaDrawView.h"

namespace {

struct States {
    uint32_t zWrite, blend, lighting, normalize, fill;
    bool sunFromAbove;  // light 0 on and shining down
};

States CurrentStates() {
    gfx::Device& device = GetRenderer().GetDevice();
    return {device.GetRenderState(gfx::RenderState::ZWriteEnable),
            device.GetRenderState(gfx::RenderState::AlphaBlendEnable),
            device.GetRenderState(gfx::RenderState::Lighting),
            device.GetRenderState(gfx::RenderState::NormalizeNormals),
            device.GetRenderState(gfx::RenderState::FillMode),
            device.IsLightEnabled(0) && device.GetLight(0).direction.z < 0.0f};
}

// A camera over the point (cx, cy) seeing the square of half size `half` at any height.
class SquareView : public ArenaDrawView {
public:
    void ViewCornersAtHeight(float, Vector3 (&corners)[4]) const override {
        const float h = half;
        corners[0] = Vector3(cx - h, cy - h, 0);
        corners[1] = Vector3(cx + h, cy - h, 0);
        corners[2] = Vector3(cx + h, cy + h, 0);
        corners[3] = Vector3(cx - h, cy + h, 0);
    }
    Vector3 CameraTarget() const override { return Vector3(cx, cy, 0); }
    void OnPass(ArenaPass pass) override {
        passes.push_back(pass);
        states.push_back(CurrentStates());
    }
    int IndexOf(ArenaPass pass) const {
        for (size_t k = 0; k < passes.size(); ++k) {
            if (passes[k] == pass) return int(k);
        }
        return -1;
    }

    float cx = 80.0f, cy = 80.0f, half = 50.0f;
    std::vector<ArenaPass> passes;
    std::vector<States> states;
};

struct DrawnImage {
    int kind;
    ArenaPass pass;
};

class DrawProbe : public Probe {
public:
    DrawProbe(int probeKind, std::vector<DrawnImage>& log, const SquareView& view)
        : Probe(probeKind), log_(log), view_(view) {}
    void Draw(const Vector3&) override { log_.push_back({kind, view_.passes.back()}); }

private:
    std::vector<DrawnImage>& log_;
    const SquareView& view_;
};

class ArenaDrawingTest : public ArenaFixture {
protected:
    void SetUp() override {
        ArenaFixture::SetUp();
        ASSERT_TRUE(GetRenderer().GetReady());
    }
    void TearDown() override {
        GetRenderer().EndFrame();
        ArenaFixture::TearDown();
    }

    WorldObject* AddDrawProbe(int kind, float x, float y) {
        probes.push_back(std::make_unique<DrawProbe>(kind, drawn, view));
        Probe* probe = probes.back().get();
        probe->shape.SetSphere(Vector3(), 1.0f);
        arena->AddObject(probe);
        probe->PlaceAt(Vector3(x, y, 0.0f));
        return probe;
    }

    SquareView view;
    std::vector<DrawnImage> drawn;
};

TEST_F(ArenaDrawingTest, KindsAreDrawnInTheirPassesWithThePassStates) {
    for (int kind = 0; kind < kObjectKindCount; ++kind) AddDrawProbe(kind, 20.0f + 5.0f * kind, 80.0f);
    arena->renormaliseNormals = true;
    const int objectsBefore = arena->ObjectCount();
    // Whatever drew last (a cut-scene, the loading screen) left its own light behind.
    GetRenderer().SetLight(Light(), false, 0);
    const States before = CurrentStates();
    arena->Draw(view);

    ASSERT_EQ(view.passes.size(), size_t(ArenaPass::kRestore) + 1);
    for (size_t k = 0; k < view.passes.size(); ++k) EXPECT_EQ(int(view.passes[k]), int(k));

    const std::vector<int> order = {9, 11, 12, 20, 21, 6, 8, 3, 15, 2, 1, 0, 7, 16, 4, 19, 5, 10, 13, 17, 14, 18};
    ASSERT_EQ(drawn.size(), order.size());
    for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(drawn[k].kind, order[k]) << k;
    EXPECT_EQ(drawn[0].pass, ArenaPass::kGroundDecals);
    EXPECT_EQ(drawn[5].pass, ArenaPass::kBeaconsAndGoals);
    EXPECT_EQ(drawn[7].pass, ArenaPass::kSolidObjects);
    EXPECT_EQ(drawn[16].pass, ArenaPass::kTransparentEffects);

    auto at = [this](ArenaPass pass) { return view.states[size_t(view.IndexOf(pass))]; };
    EXPECT_EQ(at(ArenaPass::kTerrain).zWrite, 1u);
    EXPECT_EQ(at(ArenaPass::kTerrain).lighting, 0u);
    EXPECT_EQ(at(ArenaPass::kGroundDecals).zWrite, 0u);
    EXPECT_EQ(at(ArenaPass::kGroundDecals).blend, 1u);
    const States solid = at(ArenaPass::kSolidObjects);
    EXPECT_EQ(solid.zWrite, 1u);
    EXPECT_EQ(solid.blend, 0u);
    EXPECT_EQ(solid.lighting, 1u);
    EXPECT_EQ(solid.normalize, 1u);
    EXPECT_TRUE(solid.sunFromAbove);
    EXPECT_EQ(at(ArenaPass::kTransparentEffects).blend, 1u);
    EXPECT_EQ(at(ArenaPass::kTransparentEffects).normalize, 0u);
    const States after = at(ArenaPass::kRestore);
    EXPECT_EQ(after.zWrite, before.zWrite);
    EXPECT_EQ(after.lighting, before.lighting);
    EXPECT_EQ(after.fill, uint32_t(gfx::Fill::Solid));
    EXPECT_EQ(arena->ObjectCount(), objectsBefore);
}

TEST_F(ArenaDrawingTest, TheWireFrameFlagHoldsThroughTheFrameOnly) {
    arena->wireFrame = true;
    arena->Draw(view);
    EXPECT_EQ(view.states[size_t(view.IndexOf(ArenaPass::kSolidObjects))].fill, uint32_t(gfx::Fill::Wireframe));
    EXPECT_EQ(CurrentStates().fill, uint32_t(gfx::Fill::Solid));
}

TEST_F(ArenaDrawingTest, ObjectsAcrossTheEdgeAreDrawnAtTheirShiftedImages) {
    WorldObject* nearEdge = AddDrawProbe(kKindRock, 155.0f, 5.0f);
    view.cx = 0.0f;
    view.cy = 0.0f;
    view.half = 40.0f;
    arena->Draw(view);
    ASSERT_EQ(nearEdge->points.Count(), 1);
    EXPECT_EQ(nearEdge->points[0], Vector3(-5.0f, 5.0f, 0.0f));
    EXPECT_EQ(arena->drawLists[kKindRock].Count(), 1);
}

TEST_F(ArenaDrawingTest, WideViewsDrawOneImagePerCopyUpToThreeCopiesPerAxis) {
    WorldObject* rock = AddDrawProbe(kKindRock, 85.0f, 85.0f);
    view.half = 200.0f;  // 432 units wide: the rock's images in three copies per axis
    arena->Draw(view);
    EXPECT_EQ(rock->points.Count(), 9);

    // Corners toward the horizon cover at most three copies around the camera target.
    view.half = 1e30f;
    arena->Draw(view);
    EXPECT_EQ(rock->points.Count(), 9);
    EXPECT_EQ(arena->visibleCells.right - arena->visibleCells.left + 1, 3 * kGridSize);
    view.half = std::numeric_limits<float>::infinity();
    arena->Draw(view);
    EXPECT_EQ(rock->points.Count(), 9);
}

}  // namespace
