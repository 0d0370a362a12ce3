// The scene's light, set once at start-up.
#include "engine/SceneLighting.h"

namespace {

Vector3 gSceneLightDirection;
float gSecondMaterialColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};

}  // namespace

Vector3 GetSceneLightDirection() { return gSceneLightDirection; }

void SetSceneLightDirection(const Vector3& direction) { gSceneLightDirection = direction; }

const float* GetSecondMaterialColor() { return gSecondMaterialColor; }

void SetSecondMaterialColor(float red, float green, float blue, float alpha) {
    gSecondMaterialColor[0] = red;
    gSecondMaterialColor[1] = green;
    gSecondMaterialColor[2] = blue;
    gSecondMaterialColor[3] = alpha;
}
