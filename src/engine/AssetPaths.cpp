// Paths of the game's textures and models.
#include "engine/AssetPaths.h"

String TexturePath(const String& name) { return "Textures\\" + name; }

String ActorPath(const String& name) { return "Actors\\" + name + ".act"; }

String ActorModelPath(const String& name) { return "Actors\\" + name + "_c_painted.obj"; }

String ActorPaintedTexturePath(const String& name) { return "Actors\\" + name + "_c_painted.tga"; }
