#pragma once
// Where a window camera sends the moves it reads from the input: the window that owns
// it, which posts them as the game's camera events, so that a tutorial or a network game
// can watch or script them like any other command.
#include <cstdint>

#include "core/Vector3.h"

enum class CameraCommand : int32_t {
    SetCameraView,                  // a new viewing direction
    SetCameraUp,                    // a new up vector
    SetCameraTargetPositionDirect,  // a new target on the ground (integer argument 0)
};

class CameraCommandTarget {
public:
    // The current game's frame time in seconds.
    virtual float FrameTime() const = 0;
    virtual void PostCameraVector(CameraCommand command, const Vector3& value) = 0;
    // ZoomCamera: the change of the eye height, and the notches or key steps behind it.
    virtual void PostCameraZoom(float heightChange, int32_t notches) = 0;

protected:
    ~CameraCommandTarget() = default;
};
