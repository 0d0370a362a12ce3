#include "world/LaunchPoint.h"

#include "engine/Renderer.h"
#include "world/Arena.h"
#include "world/Terrain.h"

// The cross decal over the square point +- 1 lies on the ground under the point.
void LaunchPoint::Draw() const {
    if (gArena == nullptr) {
        return;
    }
    static Arena::SharedTextureSlot slot;
    const TextureHandle cross = gArena->LoadSharedTexture("X.tga", slot);
    GetRenderer().SetWorldTransform(Matrix4());
    Terrain& terrain = gArena->GetTerrain();
    terrain.DrawDecal(Rect{position.x - 1.0f, position.y - 1.0f, position.x + 1.0f, position.y + 1.0f}, cross,
                      Color(0xFFFFFFFFu), false, 0.0f, 1.0f);
    terrain.RenderDecalMesh();
}
