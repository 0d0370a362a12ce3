#include "engine/OverheadCamera.h"

#include "core/MathUtil.h"
#include "engine/CameraGround.h"

Vector3 OverheadCamera::EyeForTarget(const Vector3& point) {
    return GetCameraGround().WrapPosition(Vector3(point.x, point.y, eye.z));
}

bool OverheadCamera::SetHeading(const Vector3& heading) {
    const Vector3 ground(heading.x, heading.y, 0.0f);
    if (FloatNearZero(ground.Length())) return false;
    SetDirection(Vector3(0.0f, 0.0f, -1.0f));
    SetUp(ground.Normalized());
    return true;
}
