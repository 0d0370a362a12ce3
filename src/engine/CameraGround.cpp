#include "engine/CameraGround.h"

#include "core/MathUtil.h"

namespace {

class FlatGround final : public CameraGround {
public:
    Vector3 WrapPosition(const Vector3& point) const override { return point; }
    Vector3 NearestImage(const Vector3&, const Vector3& point) const override { return point; }
    // A ray along the ground (or away from it) meets it below its origin.
    Vector3 PickGroundPoint(const Ray& ray) const override {
        if (FloatNearZero(ray.direction.z) || ray.origin.z * ray.direction.z > 0.0f) {
            return Vector3(ray.origin.x, ray.origin.y, 0.0f);
        }
        const float t = -ray.origin.z / ray.direction.z;
        return Vector3(ray.origin.x + t * ray.direction.x, ray.origin.y + t * ray.direction.y, 0.0f);
    }
};

const FlatGround flatGround;
const CameraGround* registered = nullptr;

}  // namespace

void SetCameraGround(const CameraGround* ground) { registered = ground; }

const CameraGround& GetCameraGround() { return registered != nullptr ? *registered : flatGround; }
