#pragma once
// Paths of the game's textures and models, spelled as the data names them; the path
// layer resolves the separators and the case.
#include <cstdint>

#include "core/String.h"

struct Sprite;

String TexturePath(const String& name);
// A renderer sprite of size x size pixels showing the texture, positioned by its centre.
Sprite* LoadTexture(int32_t size, const String& name);
String ActorPath(const String& name);
String ActorModelPath(const String& name);
String ActorPaintedTexturePath(const String& name);
