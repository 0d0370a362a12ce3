#pragma once
// The scene's light, set once at start-up: the terrain copies the light direction when
// constructed and the objects read both when they take their light.
#include "core/Vector3.h"

Vector3 GetSceneLightDirection();
void SetSceneLightDirection(const Vector3& direction);
const float* GetSecondMaterialColor();  // four floats: red, green, blue, alpha
void SetSecondMaterialColor(float red, float green, float blue, float alpha);
