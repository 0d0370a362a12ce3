#include "world/LaunchPoint.h"

#include "engine/Renderer.h"
#include "world/Arena.h"

// The cross decal over the square point +- 1 lies on the ground under the point.
void LaunchPoint::Draw() const {
    if (gArena == nullptr) {
        return;
    }
    Matrix4 matrix;
    matrix.SetTranslation(gArena->GroundPoint(position.x, position.y));
    GetRenderer().SetWorldTransform(matrix);
}
