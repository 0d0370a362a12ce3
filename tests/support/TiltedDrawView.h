#pragma once
// A fixed camera for drawing the arena outside the battlefield window: it looks 45 degrees
// down at a ground point from the given height, over a picture of the given size. Corner
// rays that miss the ground are cut at farCut.
#include "core/IntRect.h"
#include "core/Ray.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "engine/Camera.h"
#include "world/ArenaDrawView.h"

class TiltedDrawView : public ArenaDrawView {
public:
    TiltedDrawView(const Vector3& target, float height, int width, int pictureHeight, float farPlane, float farCut)
        : target_(target), width_(width), height_(pictureHeight), farCut_(farCut) {
        camera.kind = Camera::kPerspective;
        camera.nearPlane = 1.0f;
        camera.farPlane = farPlane;
        camera.SetFieldOfView(0.7854f);
        camera.SetAspect(float(width) / float(pictureHeight));
        camera.SetPosition(target + Vector3(0.0f, -height, height));
        camera.SetDirection(Vector3(0.0f, height, -height));
        camera.SetUp(Vector3(0.0f, 0.0f, 1.0f));
        camera.viewport = IntRect(0, 0, width - 1, pictureHeight - 1);
    }
    void ViewCornersAtHeight(float height, Vector3 (&corners)[4]) const override {
        const float right = float(width_ - 1), bottom = float(height_ - 1);
        const Vector2 screen[4] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
        for (int i = 0; i < 4; ++i) {
            const Ray ray = camera.GetPickRay(screen[i]);
            const float t = ray.direction.z < -1e-4f ? (height - ray.origin.z) / ray.direction.z : farCut_;
            corners[i] = ray.origin + ray.direction * t;
        }
    }
    Vector3 CameraTarget() const override { return target_; }

    mutable Camera camera;

private:
    Vector3 target_;
    int width_;
    int height_;
    float farCut_;
};
