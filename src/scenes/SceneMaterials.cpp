// Materials of the scenes' textures.
#include "scenes/SceneMaterials.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/AssetPaths.h"
#include "engine/Material.h"
#include "engine/Renderer.h"
#include "platform/sys/FileSystem.h"

namespace {

// A handful of names: a list looked through beats hashing a new string each frame.
std::vector<std::pair<std::string, bool>>& KnownTextures() {
    static std::vector<std::pair<std::string, bool>> known;
    return known;
}

}  // namespace

bool HasSceneTexture(const char* textureName) {
    auto& known = KnownTextures();
    for (const auto& [name, exists] : known) {
        if (std::strcmp(name.c_str(), textureName) == 0) return exists;
    }
    const bool exists = sys::Exists(TexturePath(textureName).CStr());
    known.emplace_back(textureName, exists);
    return exists;
}

void ForgetSceneTextures() { KnownTextures().clear(); }

Material* CreateSceneMaterial(const char* textureName) {
    Renderer& renderer = GetRenderer();
    return HasSceneTexture(textureName) ? renderer.CreateTexturedMaterial(TexturePath(textureName), -1, -1)
                                        : renderer.CreateMaterial();
}
