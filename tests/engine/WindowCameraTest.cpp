// Window cameras headless: headings, eye placement, zoom limits, the wrap-around of the
// target and look-at points, and the commands the input turns into.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/CameraCommandTarget.h"
#include "engine/CameraGround.h"
#include "engine/InputEvent.h"
#include "engine/Mouse.h"
#include "engine/OverheadCamera.h"
#include "engine/TiltedCamera.h"
#include "platform/window/Message.h"

namespace {

constexpr float kFrameTime = 0.02f;  // one keyboard step: 100 x 0.02 = 2 units

struct Posted {
    CameraCommand command;
    Vector3 value;
};

class Recorder : public CameraCommandTarget {
public:
    float FrameTime() const override { return kFrameTime; }
    void PostCameraVector(CameraCommand command, const Vector3& value) override { vectors.push_back({command, value}); }
    void PostCameraZoom(float heightChange, int32_t notches) override {
        zooms.push_back(heightChange);
        zoomNotches.push_back(notches);
    }
    std::vector<Posted> vectors;
    std::vector<float> zooms;
    std::vector<int32_t> zoomNotches;
};

// An arena 100 units square that wraps.
class SquareArena : public CameraGround {
public:
    Vector3 WrapPosition(const Vector3& p) const override { return Vector3(Wrap(p.x), Wrap(p.y), p.z); }
    Vector3 NearestImage(const Vector3& reference, const Vector3& p) const override {
        return Vector3(Near(reference.x, p.x), Near(reference.y, p.y), p.z);
    }
    Vector3 PickGroundPoint(const Ray& ray) const override {
        const float t = -ray.origin.z / ray.direction.z;
        return ray.origin + ray.direction * t;
    }

private:
    static float Wrap(float v) { return v - 100.0f * std::floor(v / 100.0f); }
    static float Near(float reference, float v) { return v + 100.0f * std::round((reference - v) / 100.0f); }
};

InputEvent Event(int32_t kind, int32_t code, int x = 0, int y = 0) {
    InputEvent event;
    event.Set(kind, code, Point(x, y));
    return event;
}

void ExpectNear(const Vector3& actual, const Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

class WindowCameraTest : public ::testing::Test {
protected:
    WindowCameraTest() {
        tilted_.SetHeading(Vector3(1, 0, 0));
        tilted_.SetPosition(Vector3(0, 0, 40));
    }
    ~WindowCameraTest() override { GetMouse().heldKeys[17] = 0; }

    void Hold(WindowCamera& camera, int32_t code) { camera.HandleInput(window_, Event(kInputDown, code)); }
    void Tick(WindowCamera& camera, int x = 0, int y = 0) {
        camera.HandleInput(window_, Event(kInputFrameTick, 0, x, y));
    }

    TiltedCamera tilted_;
    Recorder window_;
};

TEST_F(WindowCameraTest, TiltedHeadingLooksDownAlongIt) {
    ExpectNear(tilted_.direction, Vector3(0.70710678f, 0, -0.70710678f));
    ExpectNear(tilted_.up, Vector3(0, 0, 1));
    // 40 above the ground: back 40 along x to see the target.
    ExpectNear(tilted_.EyeForTarget(Vector3(10, 5, 0)), Vector3(-30, 5, 40));
    EXPECT_FALSE(tilted_.SetHeading(Vector3(0, 0, 1)));  // no heading on the ground
    ExpectNear(tilted_.direction, Vector3(0.70710678f, 0, -0.70710678f));
    OverheadCamera overhead;
    EXPECT_TRUE(overhead.SetHeading(Vector3(0, 3, 7)));
    ExpectNear(overhead.direction, Vector3(0, 0, -1));
    ExpectNear(overhead.up, Vector3(0, 1, 0));
}

TEST_F(WindowCameraTest, TargetAndLookAtFollowTheWrapAround) {
    SquareArena arena;
    SetCameraGround(&arena);
    tilted_.SetLookAt(Vector3(95, 50, 0));
    tilted_.SetTarget(Vector3(2, 50, 0));
    ExpectNear(tilted_.lookAt, Vector3(-5, 50, 0));  // the image beside the new target
    tilted_.SetLookAt(Vector3(3, 250, 0));
    ExpectNear(tilted_.lookAt, Vector3(3, 50, 0));
    ExpectNear(tilted_.EyeForTarget(Vector3(10, 5, 0)), Vector3(70, 5, 40));
    SetCameraGround(nullptr);
}

TEST_F(WindowCameraTest, HeldKeysMoveTheTargetAlongTheGround) {
    Tick(tilted_);
    EXPECT_TRUE(window_.vectors.empty());
    Hold(tilted_, 'W');
    Hold(tilted_, 'S');
    Tick(tilted_);
    EXPECT_TRUE(window_.vectors.empty());  // forward and back cancel
    tilted_.HandleInput(window_, Event(kInputUp, 'S'));
    Tick(tilted_);
    // The eye moves 2 forward to (2, 0, 40); looking 45 degrees down it sees (42, 0, 0).
    ASSERT_EQ(window_.vectors.size(), 1u);
    EXPECT_EQ(window_.vectors[0].command, CameraCommand::SetCameraTargetPositionDirect);
    ExpectNear(window_.vectors[0].value, Vector3(42, 0, 0));
}

TEST_F(WindowCameraTest, ArrowsMoveOnlyWithoutControl) {
    Hold(tilted_, Mouse::kCodeLeft);
    GetMouse().heldKeys[17] = 1;
    Tick(tilted_);
    EXPECT_TRUE(window_.vectors.empty());
    Hold(tilted_, 'A');  // the letters still move
    Tick(tilted_);
    // Side = (-view.y, view.x, 0) = (0, 0.7071, 0): 2 x 0.7071 = 1.414 to the left.
    ASSERT_EQ(window_.vectors.size(), 1u);
    ExpectNear(window_.vectors[0].value, Vector3(40, 1.41421356f, 0));
    tilted_.HandleInput(window_, Event(kInputUp, 'A'));
    GetMouse().heldKeys[17] = 0;
    Tick(tilted_);
    ASSERT_EQ(window_.vectors.size(), 2u);
    ExpectNear(window_.vectors[1].value, Vector3(40, 1.41421356f, 0));
}

TEST_F(WindowCameraTest, DragAndTurnKeysTurnTheView) {
    tilted_.HandleInput(window_, Event(kInputDown, kInputButtonMiddle, 100, 50));
    Tick(tilted_, 100, 80);  // moved only up and down: no turn
    EXPECT_TRUE(window_.vectors.empty());
    Tick(tilted_, 280, 80);  // 180 pixels right: -pi/2 about z
    ASSERT_EQ(window_.vectors.size(), 1u);
    EXPECT_EQ(window_.vectors[0].command, CameraCommand::SetCameraView);
    ExpectNear(window_.vectors[0].value, Vector3(0, -0.70710678f, -0.70710678f));
    Tick(tilted_, 280, 80);  // the drag started again where it was
    EXPECT_EQ(window_.vectors.size(), 1u);
    tilted_.HandleInput(window_, Event(kInputUp, kInputButtonMiddle, 280, 80));
    OverheadCamera overhead;
    overhead.SetHeading(Vector3(0, 1, 0));
    Hold(overhead, 'Q');
    Tick(overhead);  // pi x 0.02 about z, to the left
    ASSERT_EQ(window_.vectors.size(), 2u);
    EXPECT_EQ(window_.vectors[1].command, CameraCommand::SetCameraUp);
    ExpectNear(window_.vectors[1].value, Vector3(-std::sin(0.02f * 3.14159265f), std::cos(0.02f * 3.14159265f), 0));
}

TEST_F(WindowCameraTest, WheelAndZoomKeysChangeTheHeightByTheMode) {
    tilted_.HandleInput(window_, Event(kInputWheel, 1));
    tilted_.HandleInput(window_, Event(kInputCharacter, '+'));
    OverheadCamera overhead;
    overhead.HandleInput(window_, Event(kInputCharacter, '_'));
    overhead.HandleInput(window_, Event(kInputCharacter, 'x'));
    // -2 x n x 3.5 tilted, -2 x n x 1.35 overhead.
    ASSERT_EQ(window_.zooms.size(), 3u);
    EXPECT_FLOAT_EQ(window_.zooms[0], -7.0f);
    EXPECT_FLOAT_EQ(window_.zooms[1], 7.0f);
    EXPECT_FLOAT_EQ(window_.zooms[2], -2.7f);
    EXPECT_EQ(window_.zoomNotches, (std::vector<int32_t>{1, -1, 1}));
    tilted_.minimumHeight = 37;
    tilted_.maximumHeight = 60;
    tilted_.SetZoom(10);
    EXPECT_EQ(tilted_.zoom, 37);
    tilted_.SetZoom(61);
    EXPECT_EQ(tilted_.zoom, 60);
    // The frame step takes the eye to the zoom height: 45 down along +x, 50 above a
    // look-at 2 above the ground is 48 back.
    tilted_.SetZoom(50);
    tilted_.SetTarget(Vector3(10, 5, 2));
    tilted_.SetLookAt(Vector3(10, 5, 2));
    tilted_.StepFrame(kFrameTime);
    ExpectNear(tilted_.eye, Vector3(-38, 5, 50));
    overhead.minimumHeight = 5;
    overhead.maximumHeight = 40;
    overhead.SetZoom(20);
    overhead.StepFrame(kFrameTime);
    ExpectNear(overhead.eye, Vector3(0, 0, 20));
}

TEST_F(WindowCameraTest, ReleasingHeldKeysKeepsButtonsShiftAndControl) {
    for (int32_t code : {0, 1, 16, 17, int('W'), Mouse::kCodeUp}) Hold(tilted_, code);
    tilted_.HandleInput(window_, Event(kInputDown, kInputButtonMiddle));
    tilted_.HandleInput(window_, Event(kInputDown, 300));  // outside the table: ignored
    tilted_.ReleaseHeldKeys();
    EXPECT_EQ(tilted_.dragActive, 0);
    int held = 0;
    for (uint8_t key : tilted_.heldKeys) held += key;
    EXPECT_EQ(held, 4);
    EXPECT_TRUE(tilted_.heldKeys[16] && tilted_.heldKeys[17] && tilted_.heldKeys[0] && tilted_.heldKeys[1]);
    tilted_.ResetView();
    EXPECT_EQ(tilted_.heldKeys[17], 0);
    // Losing the application's focus reaches every live window camera through the mouse.
    Hold(tilted_, 'W');
    win::Message lost;
    lost.kind = win::MessageKind::Activate;
    lost.active = false;
    GetMouse().HandleMessage(lost);
    EXPECT_EQ(tilted_.heldKeys[int('W')], 0);
    GetMouse().active = 1;
}

}  // namespace
