#pragma once
// The scenes' textures come from the data set; a picture that is missing leaves its
// surface plain instead of stopping the program, as the renderer would for a texture
// that must exist.

class Material;

// Shadows and effects ask this every frame, so each name asks the file system once: the
// answer holds until ForgetSceneTextures (a scene loads or the shared resources go).
bool HasSceneTexture(const char* textureName);
void ForgetSceneTextures();
// A material showing the texture, or a plain white one when the file is missing.
Material* CreateSceneMaterial(const char* textureName);
