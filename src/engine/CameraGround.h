#pragma once
// The ground a window camera looks at: the arena's wrap-around and its terrain. The
// engine sits below the world, so the world registers its arena here at start-up.
// Without one (headless tests, screens without a battlefield) the ground is the endless
// plane z = 0 and nothing wraps.
#include "core/Ray.h"
#include "core/Vector3.h"

class CameraGround {
public:
    // The point moved into the arena.
    virtual Vector3 WrapPosition(const Vector3& point) const = 0;
    // The wrapped image of the point nearest the reference.
    virtual Vector3 NearestImage(const Vector3& reference, const Vector3& point) const = 0;
    // Where the ray meets the terrain.
    virtual Vector3 PickGroundPoint(const Ray& ray) const = 0;

protected:
    ~CameraGround() = default;
};

// None restores the flat, unbounded ground.
void SetCameraGround(const CameraGround* ground);
const CameraGround& GetCameraGround();
