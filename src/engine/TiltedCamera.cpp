#include "engine/TiltedCamera.h"

#include <cmath>

#include "core/MathUtil.h"
#include "core/Quaternion.h"
#include "engine/CameraGround.h"

Vector3 TiltedCamera::EyeForTarget(const Vector3& point) {
    const CameraGround& ground = GetCameraGround();
    // A view along the ground never comes down to the target: stay above it.
    if (FloatNearZero(direction.z)) return ground.WrapPosition(Vector3(point.x, point.y, eye.z));
    const float distance = std::fabs((eye.z - point.z) / direction.z);
    return ground.WrapPosition(point - direction * distance);
}

bool TiltedCamera::SetHeading(const Vector3& heading) {
    const Vector3 ground(heading.x, heading.y, 0.0f);
    if (FloatNearZero(ground.Length())) return false;
    const Vector3 along = ground.Normalized();
    const Vector3 axis(-along.y, along.x, 0.0f);
    SetDirection(Quaternion::FromAxisAngle(axis, kTilt).RotateVector(along));
    SetUp(Vector3(0.0f, 0.0f, 1.0f));
    return true;
}
