#include "engine/WindowCamera.h"

#include <algorithm>
#include <iterator>
#include <numbers>

#include "core/MathUtil.h"
#include "core/Plane.h"
#include "core/Quaternion.h"
#include "engine/CameraCommandTarget.h"
#include "engine/CameraGround.h"
#include "engine/InputEvent.h"
#include "platform/window/Keys.h"

namespace {

// Keyboard moves cover this many world units per second.
constexpr float kMoveSpeed = 100.0f;
constexpr float kTurnSpeed = std::numbers::pi_v<float>;  // radians per second
// A middle-button drag turns the camera by this many radians per pixel.
constexpr float kDragFactor = std::numbers::pi_v<float> / 360.0f;
// One zoom step changes the eye height by this many keyboard steps.
constexpr float kOverheadZoomSteps = 1.35f;
constexpr float kTiltedZoomSteps = 3.5f;

// A view direction whose downward part is smaller than this counts as level.
constexpr float kLevelTolerance = 0.00001f;

const Plane kGroundPlane(Vector3(0.0f, 0.0f, 1.0f), 0.0f);

bool InTable(int32_t code) { return code >= 0 && code < WindowCamera::kKeyCount; }

// The notches of a zoom record: "=" and "+" come closer, "-" and "_" go back, the
// wheel counts its notches; 0 for anything else.
bool ZoomNotches(const InputEvent& event, int32_t& notches) {
    if (event.kind == kInputWheel) {
        notches = event.code;
        return true;
    }
    if (event.kind != kInputCharacter) return false;
    if (event.code == '=' || event.code == '+')
        notches = -1;
    else if (event.code == '-' || event.code == '_')
        notches = 1;
    else
        return false;
    return true;
}

}  // namespace

Vector3 TransformDirection(const Matrix4& m, const Vector3& v) {
    return Vector3(v.x * m[0] + v.y * m[4] + v.z * m[8], v.x * m[1] + v.y * m[5] + v.z * m[9],
                   v.x * m[2] + v.y * m[6] + v.z * m[10]);
}

WindowCamera::WindowCamera() { GetMouse().AddHeldKeyListener(this); }

WindowCamera::~WindowCamera() { GetMouse().RemoveHeldKeyListener(this); }

void WindowCamera::Reset(MotionMode mode) {
    ResetView();
    motionMode = mode;
}

void WindowCamera::ResetView() {
    std::fill(std::begin(heldKeys), std::end(heldKeys), 0);
    spring.Reset();
}

void WindowCamera::ReleaseHeldKeys() {
    for (int code = 0; code < kKeyCount; ++code) {
        const bool kept =
            code == kInputButtonLeft || code == kInputButtonRight || code == win::kKeyShift || code == win::kKeyControl;
        if (!kept) heldKeys[code] = 0;
    }
    dragActive = 0;
}

void WindowCamera::SetTarget(const Vector3& point) {
    target = point;
    lookAt = GetCameraGround().NearestImage(target, lookAt);
}

void WindowCamera::SetLookAt(const Vector3& point) { lookAt = GetCameraGround().NearestImage(target, point); }

void WindowCamera::SetZoom(float height) {
    zoom = height < minimumHeight ? minimumHeight : (height > maximumHeight ? maximumHeight : height);
}

void WindowCamera::StepFrame(float frameTime) {
    SetLookAt(spring.Step(lookAt, target, frameTime));
    SetPosition(GetCameraGround().WrapPosition(EyeAtZoom()));
}

Vector3 WindowCamera::EyeAtZoom() const {
    const float height = std::clamp(zoom, minimumHeight, maximumHeight);
    // A view that never comes down to the ground keeps the eye above the look-at.
    if (direction.z > -kLevelTolerance) return Vector3(lookAt.x, lookAt.y, height);
    const float back = (height - lookAt.z) / -direction.z;
    Vector3 eye = lookAt - direction * back;
    eye.z = std::clamp(eye.z, minimumHeight, maximumHeight);
    return eye;
}

void WindowCamera::GetMoveAxes(Vector3& side, Vector3& view, Vector3& forward) const {
    view = direction.Normalized();
    if (motionMode == kTilted) {
        forward = ProjectPointOntoPlane(kGroundPlane, view).Normalized();
        side = Vector3(-view.y, view.x, 0.0f);
        return;
    }
    forward = up;
    side = Vector3(-up.y, up.x, 0.0f);
}

void WindowCamera::HandleInput(CameraCommandTarget& window, const InputEvent& event) {
    if (event.kind == kInputFrameTick) HandleFrameTick(window, event);
    if (event.kind == kInputDown && InTable(event.code)) {
        heldKeys[event.code] = 1;
        if (event.code == kInputButtonMiddle) {
            dragActive = 1;
            dragStart = Point(event.x, event.y);
        }
    }
    if (event.kind == kInputUp && InTable(event.code)) {
        heldKeys[event.code] = 0;
        if (event.code == kInputButtonMiddle) dragActive = 0;
    }
    int32_t notches = 0;
    if (!ZoomNotches(event, notches)) return;
    const float step = kMoveSpeed * window.FrameTime();
    const float steps = motionMode == kOverhead ? kOverheadZoomSteps : kTiltedZoomSteps;
    window.PostCameraZoom(-step * float(notches) * steps, notches);
}

void WindowCamera::HandleFrameTick(CameraCommandTarget& window, const InputEvent& event) {
    const float frameTime = window.FrameTime();
    const float step = kMoveSpeed * frameTime;
    float turn = 0.0f;
    if (IsHeld(win::kKeyQ)) turn += kTurnSpeed * frameTime;
    if (IsHeld(win::kKeyE)) turn -= kTurnSpeed * frameTime;
    // With Control held the arrows belong to the window (and its edit boxes).
    const bool arrows = !GetMouse().IsKeyHeld(win::kKeyControl);
    Vector3 side, view, forward;
    GetMoveAxes(side, view, forward);
    Vector3 move;
    if (IsHeld(win::kKeyW) || (arrows && IsHeld(Mouse::kCodeUp))) move += forward * step;
    if (IsHeld(win::kKeyA) || (arrows && IsHeld(Mouse::kCodeLeft))) move += side * step;
    if (IsHeld(win::kKeyS) || (arrows && IsHeld(Mouse::kCodeDown))) move -= forward * step;
    if (IsHeld(win::kKeyD) || (arrows && IsHeld(Mouse::kCodeRight))) move -= side * step;
    HandleTurn(window, event, turn);
    if (FloatNearZero(move.x) && FloatNearZero(move.y) && FloatNearZero(move.z)) return;
    const Vector3 hit = GetCameraGround().PickGroundPoint(Ray(eye + move, direction));
    window.PostCameraVector(CameraCommand::SetCameraTargetPositionDirect, hit);
}

// A drag turns by its horizontal pixels: the tilted camera about the world's z axis,
// the overhead one about its view. Q and E turn the tilted view, or the overhead up.
void WindowCamera::HandleTurn(CameraCommandTarget& window, const InputEvent& event, float turn) {
    const bool dragged = dragActive && (event.x != dragStart.x || event.y != dragStart.y);
    const float dragTurn = -float(event.x - dragStart.x) * kDragFactor;
    if (motionMode == kTilted) {
        if (dragged) turn = dragTurn;
        if (turn == 0.0f) return;
        window.PostCameraVector(CameraCommand::SetCameraView, TransformDirection(Matrix::RotationZ(turn), direction));
        dragStart = Point(event.x, event.y);
        return;
    }
    if (dragged) {
        const Vector3 turnedUp = Quaternion::FromAxisAngle(direction, dragTurn).RotateVector(up);
        window.PostCameraVector(CameraCommand::SetCameraUp, turnedUp);
        dragStart = Point(event.x, event.y);
    }
    if (turn != 0.0f) {
        window.PostCameraVector(CameraCommand::SetCameraUp, TransformDirection(Matrix::RotationZ(turn), up));
    }
}
