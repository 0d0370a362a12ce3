#pragma once
// How the model readers finish each mesh and load its textures; the callers of the
// renderer's model loading pass them through unchanged.
#include <cstdint>

struct ModelLoadSettings {
    uint8_t vertexColours = 0;  // the finished mesh draws its vertex colours
    uint8_t simplify = 1;       // build levels of detail
    float firstPassFactor = 0.0f;
    float ratio = 0.5f;
    uint8_t topologyCheck = 1;
    int32_t textureWidth = -1;  // -1: the texture file's own size
    int32_t textureHeight = -1;
};
