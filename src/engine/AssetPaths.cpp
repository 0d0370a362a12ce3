// Paths of the game's textures and models.
#include "engine/AssetPaths.h"

#include "engine/Renderer.h"
#include "engine/Sprite.h"

String TexturePath(const String& name) { return "Textures\\" + name; }

Sprite* LoadTexture(int32_t size, const String& name) {
    return GetRenderer().CreateSprite(size, TexturePath(name), Sprite::kAnchorCentre);
}

String ActorPath(const String& name) { return "Actors\\" + name + ".act"; }

String ActorModelPath(const String& name) { return "Actors\\" + name + "_c_painted.obj"; }

String ActorPaintedTexturePath(const String& name) { return "Actors\\" + name + "_c_painted.tga"; }
