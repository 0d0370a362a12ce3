#pragma once
// Paths of the game's textures and models, spelled as the data names them; the path
// layer resolves the separators and the case.
#include "core/String.h"

String TexturePath(const String& name);
String ActorPath(const String& name);
String ActorModelPath(const String& name);
String ActorPaintedTexturePath(const String& name);
