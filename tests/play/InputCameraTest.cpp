// The battlefield's camera as a new player drives it on the training ground: every
// camera key held, the wheel, the zoom keys and a middle-button drag change the picture.
#include <gtest/gtest.h>

#include <string>

#include "InputPlaySteps.h"
#include "battlefield/ArenaWindow.h"
#include "platform/window/Keys.h"
#include "support/PlayerHarness.h"

namespace {

using play_test::PlayerHarness;

struct CameraKey {
    int key;
    const char* name;
};

TEST(InputCameraTest, EveryCameraKeyTheWheelAndAMiddleDragMoveTheView) {
    // Every frame lasts 0.02 s whatever the machine's load: a key held for a long frame
    // turns the view by a right angle, and a wheel notch zooms by the frame's length.
    play_test::HarnessSettings settings = play_test::WithPictures();
    settings.frameSeconds = 0.02f;
    PlayerHarness player(settings);
    if (!player.Unavailable().empty()) GTEST_SKIP() << player.Unavailable();
    input_play::EnterTrainingGround(player);
    // The middle of the field, away from the trays and the screen edges.
    const Point centre(512, 384);
    player.MoveTo(centre);
    Image before = player.Picture();
    ASSERT_FALSE(input_play::Differs(before, player.Picture())) << "the view moves without input";
    const CameraKey keys[] = {{win::kKeyW, "W"},     {win::kKeyA, "A"},       {win::kKeyS, "S"},
                              {win::kKeyD, "D"},     {win::kKeyUp, "Up"},     {win::kKeyLeft, "Left"},
                              {win::kKeyDown, "Down"}, {win::kKeyRight, "Right"}, {win::kKeyQ, "Q"},
                              {win::kKeyE, "E"}};
    for (const CameraKey& held : keys) {
        player.HoldKey(held.key, 8);
        const Image after = player.Picture();
        EXPECT_TRUE(input_play::Differs(before, after)) << held.name << " held left the view as it was";
        before = after;
    }
    player.Wheel(centre, 2);
    Image after = player.Picture();
    EXPECT_TRUE(input_play::Differs(before, after)) << "the wheel left the view as it was";
    before = after;
    // "-" brings the view closer and "+" takes it away, as the key help says.
    const WindowCamera& camera = static_cast<ArenaWindow&>(player.OpenWindow("ArenaWindow")).CurrentCamera();
    const float height = camera.zoom;
    player.Type("-");
    after = player.Picture();
    EXPECT_TRUE(input_play::Differs(before, after)) << "\"-\" left the view as it was";
    EXPECT_LT(camera.zoom, height) << "\"-\" did not bring the view closer";
    before = after;
    const float closer = camera.zoom;
    player.Type("+");
    EXPECT_GT(camera.zoom, closer) << "\"+\" did not take the view away";
    player.Drag(centre, Point(centre.x + 120, centre.y), win::MouseButton::Middle);
    after = player.Picture();
    EXPECT_TRUE(input_play::Differs(before, after)) << "the middle drag left the view as it was";
    player.KeepPicture("input_camera_moved");
}

}  // namespace
