// Materials of the scenes' textures.
#include "scenes/SceneMaterials.h"

#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "platform/sys/FileSystem.h"

bool HasSceneTexture(const char* textureName) { return sys::Exists(TexturePath(textureName).CStr()); }

Material* CreateSceneMaterial(const char* textureName) {
    Renderer& renderer = GetRenderer();
    return HasSceneTexture(textureName) ? renderer.CreateTexturedMaterial(TexturePath(textureName), -1, -1)
                                        : renderer.CreateMaterial();
}
