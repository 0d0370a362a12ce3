// Paths of the game's textures and models.
#include "engine/AssetPaths.h"

#include "engine/Renderer.h"
#include "engine/Sprite.h"

String TexturePath(const String& name) { return "Textures\\" + name; }

Sprite* LoadTexture(int32_t size, const String& name) {
    return GetRenderer().CreateSprite(size, TexturePath(name), Sprite::kAnchorCentre);
}

String ActorPath(const String& name) { return "Actors\\" + name + ".act"; }

String ActorMeshPath(const String& name) { return "Actors\\" + name + ".AN8"; }

String ActorModelPath(const String& name) { return "Actors\\" + name + "_c_painted.obj"; }

String ActorPaintedTexturePath(const String& name) { return "Actors\\" + name + "_c_painted.tga"; }

namespace {

String& Language() {
    static String language = "English";
    return language;
}

String LanguagePath(const char* folder, const String& name, const char* extension) {
    return String(folder) + Language() + "\\" + name + extension;
}

}  // namespace

void SetLanguageName(const String& language) { Language() = language; }

const String& GetLanguageName() { return Language(); }

String SpeechPath(const String& name) { return LanguagePath("Speech\\", name, ".OGG"); }

String ScenePath(const String& name) { return LanguagePath("Scenes\\", name, ".SCE"); }

String TutorialPath(const String& name) { return LanguagePath("Tutorials\\", name, ".TUT"); }

String MissionPath(const String& name) { return LanguagePath("Missions\\", name, ".MIS"); }
