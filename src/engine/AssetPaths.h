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
String ActorMeshPath(const String& name);
String ActorModelPath(const String& name);
String ActorPaintedTexturePath(const String& name);

// The language the texts, speech, scenes, tutorials and missions come in ("English" until
// "Language.txt" names another).
void SetLanguageName(const String& language);
const String& GetLanguageName();
// Files kept per language: "<folder>\<language>\<name><extension>".
String SpeechPath(const String& name);
String ScenePath(const String& name);
String TutorialPath(const String& name);
String MissionPath(const String& name);
