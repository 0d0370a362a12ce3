// Where a unit's health bar stands over its head, seen from above and from the side.
#include <filesystem>

#include "core/Image.h"
#include "engine/Camera.h"
#include "engine/Renderer.h"
#include "platform/gfx/RecordingDevice.h"
#include "support/TempFolder.h"
#include "support/VornTestWorld.h"
#include "support/WorkingFolder.h"

namespace {

using FrameOverlayHeightTest = VornTestWorld;

// The height of the first quad the unit's overlays draw, under a camera looking along
// the direction from 50 above the unit.
float BarHeightSeenAlong(Vorn& unit, const Vector3& direction) {
    Renderer& renderer = GetRenderer();
    Camera camera;
    camera.SetPosition(unit.position + Vector3(0.0f, 0.0f, 50.0f));
    camera.SetDirection(direction);
    camera.SetUp(direction.x == 0.0f && direction.y == 0.0f ? Vector3(0.0f, 1.0f, 0.0f) : Vector3(0.0f, 0.0f, 1.0f));
    renderer.SetCamera(camera);
    auto& device = dynamic_cast<gfx::RecordingDevice&>(renderer.GetDevice());
    EXPECT_TRUE(renderer.GetReady());
    device.SetCallLog(true);
    device.ClearRecords();
    unit.DrawOverlays(unit.position);
    renderer.EndFrame();
    device.SetCallLog(false);
    if (device.Draws().empty()) return -1.0f;
    return device.Draws().front().world[14];
}

TEST_F(FrameOverlayHeightTest, FromStraightAboveTheBarStandsAtThreeQuartersOfTheRadius) {
    platform_test::TempFolder folder;
    std::filesystem::create_directories(folder / "Textures");
    Image(4, 4).SaveTGA(folder / "Textures/HealthBar.tga");
    app_test::WorkingFolder working(folder.Path());
    Vorn* unit = AddUnit(&red, kRobotMedium, 50.0f, 50.0f, 0.0f);
    unit->showHealthBar = 1;
    const float radius = unit->GetRadius();
    const float ground = unit->position.z;
    // The bar's lift over its stand is 0.15 radius, and from above its corner is level.
    EXPECT_NEAR(BarHeightSeenAlong(*unit, Vector3(0.0f, 0.0f, -1.0f)), ground + radius * (0.75f + 0.15f), 1e-4f);
    // Along the tilted view the bar is upright: its top corner stands over the full radius.
    EXPECT_GT(BarHeightSeenAlong(*unit, Vector3(0.0f, 1.0f, -1.0f)), ground + radius * 1.15f);
}

}  // namespace
