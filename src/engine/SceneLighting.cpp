// The scene's light and its initial values.
#include "engine/SceneLighting.h"

#include "engine/Renderer.h"

namespace {

constexpr float kDiffuse = 0.75f;

Vector3 InitialDirection() {
    Vector3 direction(1.0f, 0.5f, -0.375f);
    direction.Normalize();
    return direction;
}

Vector3 gSceneLightDirection = InitialDirection();
// What the diffuse part leaves of white.
float gSecondMaterialColor[4] = {1.0f - kDiffuse, 1.0f - kDiffuse, 1.0f - kDiffuse, 0.0f};

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

Light SceneLight() {
    Light light;
    light.diffuse = {kDiffuse, kDiffuse, kDiffuse, 0.0f};
    light.ambient = {gSecondMaterialColor[0], gSecondMaterialColor[1], gSecondMaterialColor[2],
                     gSecondMaterialColor[3]};
    light.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    light.direction = gSceneLightDirection;
    return light;
}

void UseSceneLight() { GetRenderer().SetLight(SceneLight(), true, 0); }
