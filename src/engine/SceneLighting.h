#pragma once
// The scene's light: its direction and colours have their values before anything runs,
// because the terrain copies the direction when constructed and the arena is built
// before start-up reaches the lights. The objects read both when they take their light.
#include "core/Vector3.h"

struct Light;

Vector3 GetSceneLightDirection();
void SetSceneLightDirection(const Vector3& direction);
const float* GetSecondMaterialColor();  // four floats: red, green, blue, alpha
void SetSecondMaterialColor(float red, float green, float blue, float alpha);
// The main light: the scene direction, diffuse 0.75 grey, the second material colour as
// ambient, white specular.
Light SceneLight();
// Light 0 becomes the main light again and is switched on: after an object drew with
// its own colours, or where a 3-D view starts drawing lit models.
void UseSceneLight();
