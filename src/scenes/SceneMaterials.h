#pragma once
// The scenes' textures come from the data set; a picture that is missing leaves its
// surface plain instead of stopping the program, as the renderer would for a texture
// that must exist.

class Material;

bool HasSceneTexture(const char* textureName);
// A material showing the texture, or a plain white one when the file is missing.
Material* CreateSceneMaterial(const char* textureName);
