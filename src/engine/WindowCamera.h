#pragma once
// The camera of a 3-D window: a Camera with a target point on the ground, a spring-
// smoothed look-at point, an eye height (the zoom) between limits, a motion mode and the
// held keys of its window. It turns the window's raw input into camera commands that the
// window posts as events; the window moves the camera each frame with these fields (the
// spring carries the look-at toward the target, the eye follows at the zoom height).
//
// Two kinds: OverheadCamera looks straight down, TiltedCamera looks 45 degrees down
// along a horizontal heading. The ground is the plane z = 0 of a wrap-around arena
// (CameraGround).
#include <cstdint>

#include "core/Matrix4.h"
#include "core/Point.h"
#include "core/Spring.h"
#include "core/Vector3.h"
#include "engine/Camera.h"
#include "engine/Mouse.h"

class CameraCommandTarget;
struct InputEvent;

// The vector times the upper 3 x 3 part of the matrix (row vector, no translation).
Vector3 TransformDirection(const Matrix4& matrix, const Vector3& vector);

class WindowCamera : public Camera, public HeldKeyListener {
public:
    enum MotionMode : int32_t {
        kOverhead = 0,
        kTilted = 1,
    };
    static constexpr int kKeyCount = 256;

    // Every window camera hears of the application losing the focus (through the mouse).
    WindowCamera();
    virtual ~WindowCamera();
    WindowCamera(const WindowCamera&) = delete;
    WindowCamera& operator=(const WindowCamera&) = delete;

    // The eye position that views the target.
    virtual Vector3 EyeForTarget(const Vector3& point) = 0;
    // Direction and up from a heading; false, changing nothing, for a heading that
    // gives no direction on the ground.
    virtual bool SetHeading(const Vector3& heading) = 0;

    // Held keys cleared, spring at rest, the motion mode set.
    void Reset(MotionMode mode);
    // Held keys cleared and the spring at rest: nothing keeps moving the camera.
    void ResetView();
    void ResetSpring() { spring.Reset(); }
    // Keys held while the window lost the keyboard must not stay held: every entry but
    // the left and right buttons, Shift and Control, and the middle-button drag.
    void ReleaseHeldKeys() override;

    // The look-at point becomes its wrapped image nearest the new target.
    void SetTarget(const Vector3& point);
    // The look-at point is the wrapped image of the point nearest the target.
    void SetLookAt(const Vector3& point);
    // Kept within [minimum height, maximum height].
    void SetZoom(float height);
    // The keyboard's movement vectors. Tilted: forward along the view on the ground
    // (unit), side across it (not unit: 0.7071 long at 45 degrees, so sideways moves
    // are slower). Overhead: forward is the up vector.
    void GetMoveAxes(Vector3& side, Vector3& view, Vector3& forward) const;
    // One input record the window received: held keys, the middle-button drag, the zoom
    // keys and the wheel become camera commands posted through the window.
    void HandleInput(CameraCommandTarget& window, const InputEvent& event);
    // The owning window's per-frame motion: the spring carries the look-at toward the
    // target, and the eye goes back from it against the view to the zoom height, within
    // the height limits and wrapped into the arena.
    void StepFrame(float frameTime);
    // Where the line from the look-at back against the view meets the zoom height.
    Vector3 EyeAtZoom() const;

    float maximumHeight = 0.0f;
    float minimumHeight = 0.0f;
    Vector3 target;
    Spring spring;
    Vector3 lookAt;
    float zoom = 0.0f;
    int32_t motionMode = kTilted;
    uint8_t heldKeys[kKeyCount] = {};
    Point dragStart;
    uint8_t dragActive = 0;

private:
    void HandleFrameTick(CameraCommandTarget& window, const InputEvent& event);
    void HandleTurn(CameraCommandTarget& window, const InputEvent& event, float turn);
    bool IsHeld(int code) const { return heldKeys[code] != 0; }
};
